#include "render/camera.h"

#include <algorithm>
#include <cmath>

namespace mok {

namespace {
constexpr double kCoordinateLimit = 16777216.0;  // 2^24
}

Mat3 Multiply(const Mat3& a, const Mat3& b) {
  Mat3 r{};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      r[row * 3 + col] = a[row * 3] * b[col] + a[row * 3 + 1] * b[3 + col] + a[row * 3 + 2] * b[6 + col];
    }
  }
  return r;
}

Mat3 Transpose(const Mat3& m) { return {m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]}; }

CameraState GetCameraState(const Camera& camera) {
  CameraState state;
  std::copy(camera.orientation.begin(), camera.orientation.end(), state.values.begin());
  std::copy(camera.panOffset.begin(), camera.panOffset.end(), state.values.begin() + 9);
  state.values[12] = camera.distance;
  return state;
}

void SetCameraState(Camera& camera, const CameraState& state) {
  std::copy(state.values.begin(), state.values.begin() + 9, camera.orientation.begin());
  std::copy(state.values.begin() + 9, state.values.begin() + 12, camera.panOffset.begin());
  camera.distance = state.values[12];
}

Vec3 ToCameraSpace(const Camera& camera, const Vec3& vertex) {
  const Mat3& m = camera.orientation;
  const float f = -vertex.y - camera.panOffset[0];
  const float e = -vertex.z - camera.panOffset[1];
  const float d = -vertex.x - camera.panOffset[2];
  return {f * m[0] + e * m[3] + d * m[6], -(f * m[1] + e * m[4] + d * m[7]),
          f * m[2] + e * m[5] + d * m[8] + camera.distance};
}

void TransformVertices(const Camera& camera, std::span<const Vec3> positions, std::vector<Vec3>& out) {
  out.resize(positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) out[i] = ToCameraSpace(camera, positions[i]);
}

float ProjectionScale(const Camera& camera, int width, int height) {
  const double a = camera.fovDegrees * 0.5 * 3.141592 * 0.005555555555555556;
  return static_cast<float>(std::min(width, height) / (2.0 * camera.distance * std::sin(a) / std::cos(a)));
}

ScreenPointF ProjectToScreen(const Camera& camera, float projectionScale, int width, int height, const Vec3& p) {
  const float halfW = static_cast<float>(width / 2);
  const float halfH = static_cast<float>(height / 2);
  if (camera.orthographic) return {halfW - projectionScale * p.x, halfH + projectionScale * p.y};
  const float depth = p.z / camera.distance;
  return {halfW - projectionScale * p.x / depth, halfH + projectionScale * p.y / depth};
}

int TruncateCoordinate(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

}  // namespace mok
