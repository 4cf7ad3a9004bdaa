#include "core/packed_vertex.h"

#include <cmath>

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
