// The span steps divide by a reciprocal; the quotient must be the one of the
// / operator for every pixel count and every difference two 16.16 values
// (plus the rounded members' half texel) can have.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "raster/raster_span_divide.h"

namespace mok::raster_detail {
namespace {

// Near every multiple of n the truncation flips; the extremes are the
// largest differences of two int32 values with the half texel added.
std::vector<std::int64_t> Differences(int n, std::mt19937& rng) {
  constexpr std::int64_t kExtreme = 0xFFFFFFFFLL + 0x8000;
  std::vector<std::int64_t> d = {0, 1, n - 1, n, n + 1, kExtreme, kExtreme - 1, INT32_MAX, INT32_MIN};
  for (const std::int64_t top : {kExtreme, std::int64_t{INT32_MAX}, std::int64_t{0xFFFF}}) {
    const std::int64_t multiple = top / n * n;
    d.insert(d.end(), {multiple, multiple - 1, multiple + 1 <= top ? multiple + 1 : multiple});
  }
  for (int i = 0; i < 8; ++i) d.push_back(static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(kExtreme)));
  const std::size_t positives = d.size();
  for (std::size_t i = 0; i < positives; ++i) d.push_back(-d[i]);
  return d;
}

TEST(SpanQuotient, EqualsTruncatingDivisionForEveryPixelCount) {
  std::mt19937 rng(2026);
  for (int n = 2; n < kSpanReciprocals + 40; ++n) {
    for (const std::int64_t d : Differences(n, rng)) {
      ASSERT_EQ(SpanQuotient(d, n), static_cast<std::int32_t>(d / n)) << d << " / " << n;
    }
  }
}

}  // namespace
}  // namespace mok::raster_detail
