#include "core/packed_vertex.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace mok {
namespace packed_detail {

std::int32_t TruncateClamped(float value, std::int32_t lo, std::int32_t hi, bool* clamped) {
  if (std::isnan(value)) return 0;
  double truncated = std::trunc(static_cast<double>(value));
  if (truncated < lo || truncated > hi) {
    if (clamped) *clamped = true;
    return truncated < lo ? lo : hi;
  }
  return static_cast<std::int32_t>(truncated);
}

}  // namespace packed_detail

namespace {

inline bool Inside(float scaled, float lo, float hi) { return scaled > lo && scaled < hi; }

inline void StoreLittle32(std::uint8_t* at, std::uint32_t word) {
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(at, &word, 4);
  } else {
    for (int k = 0; k < 4; ++k) at[k] = static_cast<std::uint8_t>(word >> (8 * k));
  }
}

}  // namespace

bool PackFrameInRange(const Vec3* positions, std::size_t count, std::uint8_t* out) {
  for (std::size_t i = 0; i < count; ++i) {
    const float x = positions[i].x * 8.0f, y = positions[i].y * -8.0f, z = positions[i].z * 4.0f;
    if (!(Inside(x, -1025.0f, 1024.0f) && Inside(y, -1025.0f, 1024.0f) && Inside(z, -513.0f, 512.0f))) return false;
    // In range the casts truncate toward zero, as PackVertex does.
    StoreLittle32(out + 4 * i, (static_cast<std::uint32_t>(static_cast<std::int32_t>(x)) & 0x7FF) |
                                   (static_cast<std::uint32_t>(static_cast<std::int32_t>(y)) & 0x7FF) << 11 |
                                   static_cast<std::uint32_t>(static_cast<std::int32_t>(z)) << 22);
  }
  return true;
}

Vec3 DecodeDeusExVertex(const DeusExVertex& stored) {
  constexpr float kScale = 1.0f / 128.0f;
  return {stored.x * kScale, -stored.y * kScale, stored.z * kScale};
}

DeusExVertex EncodeDeusExVertex(const Vec3& position, bool* clamped) {
  auto component = [clamped](float scaled) {
    return static_cast<std::int16_t>(packed_detail::TruncateClamped(scaled, -32768, 32767, clamped));
  };
  return {component(position.x * 128.0f), component(position.y * -128.0f), component(position.z * 128.0f)};
}

}  // namespace mok
