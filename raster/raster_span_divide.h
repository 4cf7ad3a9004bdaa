#pragma once
// Division of a span's attribute difference by its pixel count without a
// division instruction. Internal to the rasterizer: the span steps of
// raster_triangles.cpp use it, and it gives exactly the truncating quotient.

#include <array>
#include <cstddef>
#include <cstdint>

namespace mok::raster_detail {

// Pixel counts below this take a reciprocal from the table; longer spans
// divide.
inline constexpr int kSpanReciprocals = 2048;

// ceil(2^64 / n) for n = 2 .. kSpanReciprocals - 1 (entries 0 and 1 unused).
// For a magnitude a < 2^53 the high 64 bits of a * ceil(2^64 / n) are a / n
// truncated: with e = ceil(2^64 / n) * n - 2^64 < n, the product over 2^64
// exceeds a / n by a * e / (n * 2^64) < 1 / n, while a / n lies at least
// 1 / n below the next whole number.
inline constexpr std::array<std::uint64_t, kSpanReciprocals> kSpanReciprocal = [] {
  std::array<std::uint64_t, kSpanReciprocals> table{};
  for (int n = 2; n < kSpanReciprocals; ++n) table[n] = UINT64_MAX / static_cast<std::uint64_t>(n) + 1;
  return table;
}();

// difference / n truncated toward zero (as the / operator), cast to 32 bits;
// n >= 2 and |difference| < 2^53.
inline std::int32_t SpanQuotient(std::int64_t difference, int n) {
  if (n >= kSpanReciprocals) return static_cast<std::int32_t>(difference / n);
  __extension__ typedef unsigned __int128 Wide;
  // The sign as a mask rather than a branch: a span's differences are as
  // often negative as not, so a branch on the sign mispredicts half the time.
  const auto sign = static_cast<std::uint64_t>(difference >> 63);
  const std::uint64_t magnitude = (static_cast<std::uint64_t>(difference) ^ sign) - sign;
  const auto quotient =
      static_cast<std::uint64_t>((static_cast<Wide>(magnitude) * kSpanReciprocal[static_cast<std::size_t>(n)]) >> 64);
  return static_cast<std::int32_t>((quotient ^ sign) - sign);
}

}  // namespace mok::raster_detail
