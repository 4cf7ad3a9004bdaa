#include "core/packed_vertex.h"

#include <cmath>

namespace mok {
namespace {

// A field of `bits` bits as a signed integer.
std::int32_t SignExtend(std::uint32_t field, int bits) {
  std::uint32_t sign = 1u << (bits - 1);
  return static_cast<std::int32_t>(field ^ sign) - static_cast<std::int32_t>(sign);
}

// value truncated toward zero and clamped to lo..hi; NaN counts as 0.
std::int32_t TruncateClamped(float value, std::int32_t lo, std::int32_t hi, bool* clamped) {
  if (std::isnan(value)) return 0;
  double truncated = std::trunc(static_cast<double>(value));
  if (truncated < lo || truncated > hi) {
    if (clamped) *clamped = true;
    return truncated < lo ? lo : hi;
  }
  return static_cast<std::int32_t>(truncated);
}

std::uint32_t Field(float scaled, int bits, bool* clamped) {
  const std::int32_t limit = 1 << (bits - 1);
  const std::uint32_t mask = (1u << bits) - 1;
  // Strictly between -limit - 1 and limit the truncation is already in
  // range (NaN fails both tests), so the cast alone truncates it.
  if (scaled > static_cast<float>(-limit - 1) && scaled < static_cast<float>(limit))
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) & mask;
  return static_cast<std::uint32_t>(TruncateClamped(scaled, -limit, limit - 1, clamped)) & mask;
}

}  // namespace

Vec3 UnpackVertex(std::uint32_t word) {
  std::int32_t x = SignExtend(word & 0x7FF, 11);
  std::int32_t y = SignExtend((word >> 11) & 0x7FF, 11);
  std::int32_t z = SignExtend(word >> 22, 10);
  return {static_cast<float>(x) * 0.125f, static_cast<float>(y) * -0.125f, static_cast<float>(z) * 0.25f};
}

std::uint32_t PackVertex(const Vec3& position, bool* clamped) {
  std::uint32_t x = Field(position.x * 8.0f, 11, clamped);
  std::uint32_t y = Field(position.y * -8.0f, 11, clamped);
  std::uint32_t z = Field(position.z * 4.0f, 10, clamped);
  return x | (y << 11) | (z << 22);
}

Vec3 DecodeDeusExVertex(const DeusExVertex& stored) {
  constexpr float kScale = 1.0f / 128.0f;
  return {stored.x * kScale, -stored.y * kScale, stored.z * kScale};
}

DeusExVertex EncodeDeusExVertex(const Vec3& position, bool* clamped) {
  auto component = [clamped](float scaled) {
    return static_cast<std::int16_t>(TruncateClamped(scaled, -32768, 32767, clamped));
  };
  return {component(position.x * 128.0f), component(position.y * -128.0f), component(position.z * 128.0f)};
}

}  // namespace mok
