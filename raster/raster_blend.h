#pragma once
// Channel blending shared by the bilinear filter and the Wu lines.

#include <cstdint>

namespace mok::raster_detail {

// Per channel of two 0x00RRGGBB colours: (a * (256 - w) + b * w) >> 8 for
// w in 0..256, which equals a + ((b - a) * w >> 8) with an arithmetic shift.
// That lane value lies in 0..0xFF00, so red and blue share one multiply in
// 16-bit lanes: the wrap-around of negative differences cancels in the sum.
// The high byte of the result is 0.
[[gnu::always_inline]] inline std::uint32_t LerpChannels(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
  const std::uint32_t aRb = a & 0xFF00FF;
  const std::uint32_t aG = a & 0xFF00;
  const std::uint32_t rb = (((aRb << 8) + ((b & 0xFF00FF) - aRb) * w) >> 8) & 0xFF00FF;
  const std::uint32_t g = (((aG << 8) + ((b & 0xFF00) - aG) * w) >> 8) & 0xFF00;
  return rb | g;
}

}  // namespace mok::raster_detail
