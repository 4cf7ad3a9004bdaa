#include "render/camera_controls.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace mok {

namespace {

constexpr double kTrackballRadius = 0.8;
constexpr double kZoomInPerPixel = 0.998004;
constexpr double kZoomOutPerPixel = 1.002;
constexpr double kDollyInPerPixel = 0.9980040176624866;
constexpr double kDollyOutPerPixel = 1.002;

struct TrackPoint {
  double u = 0;
  double v = 0;
  double z = 0;
};

// Both mapped coordinates run from about -1 to 1 across the shorter side.
TrackPoint MapToTrackball(int x, int y, int clientWidth, int clientHeight) {
  const double m = std::min(clientWidth, clientHeight);
  return {(2.0 * x - 0.9 * clientWidth) / (0.9 * m), (0.9 * clientHeight - 2.0 * y) / (0.9 * m), 0};
}

// Height on the sphere near the centre, on a hyperbolic sheet further out, so
// points far outside the ball still rotate smoothly.
double TrackballHeight(double u, double v) {
  const double d = std::sqrt(u * u + v * v);
  if (d < kTrackballRadius * 0.7071067811865476) return std::sqrt(kTrackballRadius * kTrackballRadius - d * d);
  const double t = kTrackballRadius * 0.7071067811865475;
  return t * t / d;
}

Mat3 RotationFromQuaternion(double qx, double qy, double qz, double qw) {
  return {static_cast<float>(1 - 2 * (qy * qy + qz * qz)), static_cast<float>(2 * (qx * qy - qw * qz)),
          static_cast<float>(2 * (qw * qy + qx * qz)),     static_cast<float>(2 * (qw * qz + qx * qy)),
          static_cast<float>(1 - 2 * (qx * qx + qz * qz)), static_cast<float>(2 * (qy * qz - qw * qx)),
          static_cast<float>(2 * (qx * qz - qw * qy)),     static_cast<float>(2 * (qw * qx + qy * qz)),
          static_cast<float>(1 - 2 * (qx * qx + qy * qy))};
}

float ClampDistance(double distance) {
  return static_cast<float>(std::clamp(distance, static_cast<double>(kMinCameraDistance),
                                       static_cast<double>(kMaxCameraDistance)));
}

// Multiplies the distance by `factor` `count` times, as the repeated float
// multiplication the drag performs pixel by pixel.
float ScaleDistance(float distance, double factor, int count) {
  for (int i = 0; i < count; ++i) {
    distance = static_cast<float>(distance * factor);
    if (distance <= kMinCameraDistance || distance >= kMaxCameraDistance) break;
  }
  return ClampDistance(distance);
}

// Gram-Schmidt on the rows, the third taken as the cross product of the
// first two. Float products of many small rotations slowly lose length and
// squareness; without this a long session shears the model and changes the
// brightness of a locked light.
Mat3 Orthonormalized(const Mat3& m) {
  double r0[3] = {m[0], m[1], m[2]};
  double r1[3] = {m[3], m[4], m[5]};
  const double l0 = std::sqrt(r0[0] * r0[0] + r0[1] * r0[1] + r0[2] * r0[2]);
  if (l0 == 0) return m;
  for (double& c : r0) c /= l0;
  const double dot = r1[0] * r0[0] + r1[1] * r0[1] + r1[2] * r0[2];
  for (int i = 0; i < 3; ++i) r1[i] -= dot * r0[i];
  const double l1 = std::sqrt(r1[0] * r1[0] + r1[1] * r1[1] + r1[2] * r1[2]);
  if (l1 == 0) return m;
  for (double& c : r1) c /= l1;
  const double r2[3] = {r0[1] * r1[2] - r0[2] * r1[1], r0[2] * r1[0] - r0[0] * r1[2], r0[0] * r1[1] - r0[1] * r1[0]};
  Mat3 out{};
  for (std::size_t i = 0; i < 3; ++i) {
    out[i] = static_cast<float>(r0[i]);
    out[3 + i] = static_cast<float>(r1[i]);
    out[6 + i] = static_cast<float>(r2[i]);
  }
  return out;
}

}  // namespace

TrackballHandle HitTrackballHandle(int x, int y, int width, int height) {
  const int dx = std::abs(x - width / 2);
  const int dy = std::abs(y - height / 2);
  const float r = static_cast<float>(std::min(width, height) * 0.45);
  if (dx < 10 && r - 10 < dy && dy < r + 10) return TrackballHandle::Vertical;
  if (dy < 10 && r - 10 < dx && dx < r + 10) return TrackballHandle::Horizontal;
  return TrackballHandle::None;
}

Mat3 TrackballRotation(const DragStep& step, int clientWidth, int clientHeight, TrackballHandle handle) {
  if (clientWidth < 1 || clientHeight < 1) return kIdentity3;
  TrackPoint p1 = MapToTrackball(step.prevX, step.prevY, clientWidth, clientHeight);
  TrackPoint p2 = MapToTrackball(step.x, step.y, clientWidth, clientHeight);
  if (handle == TrackballHandle::Vertical) p1.u = p2.u = 0;
  if (handle == TrackballHandle::Horizontal) p1.v = p2.v = 0;
  if (p1.u == p2.u && p1.v == p2.v) return kIdentity3;
  p1.z = TrackballHeight(p1.u, p1.v);
  p2.z = TrackballHeight(p2.u, p2.v);

  const double ax = p2.v * p1.z - p2.z * p1.v;
  const double ay = p2.z * p1.u - p2.u * p1.z;
  const double az = p2.u * p1.v - p2.v * p1.u;
  const double axisLength = std::sqrt(ax * ax + ay * ay + az * az);
  if (axisLength == 0) return kIdentity3;  // points in line with the centre: no defined axis

  const double du = p1.u - p2.u, dv = p1.v - p2.v, dz = p1.z - p2.z;
  const double t = std::clamp(std::sqrt(du * du + dv * dv + dz * dz) * 0.625, -1.0, 1.0);
  const double halfAngle = std::asin(t);  // phi / 2 with phi = 2 asin(t)
  const double s = std::sin(halfAngle) / axisLength;
  return RotationFromQuaternion(ax * s, ay * s, az * s, std::cos(halfAngle));
}

void RotateCamera(Camera& camera, LightFrame& light, const Mat3& r, bool lockLight) {
  if (r == kIdentity3) return;
  const Mat3& m = camera.orientation;
  if (lockLight) light.m = Orthonormalized(Multiply(Multiply(Multiply(light.m, m), Transpose(r)), Transpose(m)));
  camera.orientation = Orthonormalized(Multiply(m, r));
}

void RotateLight(const Camera& camera, LightFrame& light, const Mat3& r) {
  if (r == kIdentity3) return;
  const Mat3& m = camera.orientation;
  light.m = Orthonormalized(Multiply(Multiply(Multiply(light.m, m), r), Transpose(m)));
}

void PanCamera(Camera& camera, const DragStep& step, int width, int height) {
  const float s = ProjectionScale(camera, width, height);
  if (!(s > 0) || !std::isfinite(s)) return;
  const float dx = static_cast<float>(step.x - step.prevX);
  const float dy = static_cast<float>(step.y - step.prevY);
  const Mat3& m = camera.orientation;
  camera.panOffset[0] += dx * m[0] / s - dy * m[1] / s;
  camera.panOffset[1] += dx * m[3] / s - dy * m[4] / s;
  camera.panOffset[2] += dx * m[6] / s - dy * m[7] / s;
}

void ZoomCamera(Camera& camera, const DragStep& step) {
  const int dy = step.y - step.prevY;
  if (dy < 0) camera.distance = ScaleDistance(camera.distance, kZoomInPerPixel, -dy);
  if (dy > 0) camera.distance = ScaleDistance(camera.distance, kZoomOutPerPixel, dy);
}

void WheelZoom(Camera& camera, int delta) {
  if (delta >= 0) camera.distance = ScaleDistance(camera.distance, kZoomOutPerPixel, delta);
  else camera.distance = ScaleDistance(camera.distance, kZoomInPerPixel, -delta);
}

void DollyCamera(Camera& camera, const DragStep& step) {
  const int dy = step.y - step.prevY;
  if (dy == 0) return;
  const Mat3& m = camera.orientation;
  const std::array<float, 3> axis = {m[2], m[5], m[8]};
  std::array<float, 3> eye{};
  std::array<float, 3> offset{};
  for (std::size_t i = 0; i < 3; ++i) {
    eye[i] = camera.panOffset[i] - camera.distance * axis[i];
    offset[i] = eye[i] - camera.panOffset[i];
  }
  const double factor = dy > 0 ? kDollyInPerPixel : kDollyOutPerPixel;
  for (int n = std::abs(dy); n > 0; --n) {
    std::array<float, 3> next{};
    for (std::size_t i = 0; i < 3; ++i) next[i] = static_cast<float>(offset[i] * factor);
    const float length = std::sqrt(next[0] * next[0] + next[1] * next[1] + next[2] * next[2]);
    if (length < kMinCameraDistance || length > kMaxCameraDistance) break;
    offset = next;
  }
  for (std::size_t i = 0; i < 3; ++i) camera.panOffset[i] = eye[i] - offset[i];
  camera.distance = std::sqrt(offset[0] * offset[0] + offset[1] * offset[1] + offset[2] * offset[2]);
}

void ChangeFieldOfView(Camera& camera, int dxFromPress) {
  const double f = camera.fovDegrees + 0.1 * dxFromPress;
  camera.fovDegrees = f >= 1 ? static_cast<float>(std::min(f, 120.0)) : 1.0f;
}

DragEffect ApplyCameraTool(const ToolDrag& drag, Camera& camera, LightFrame& light) {
  switch (drag.tool) {
    case CameraTool::Standard:
    case CameraTool::Rotate:
      RotateCamera(camera, light, TrackballRotation(drag.step, drag.clientWidth, drag.clientHeight, drag.handle),
                   drag.lockLight);
      return DragEffect::CameraChanged;
    case CameraTool::Pan:
      PanCamera(camera, drag.step, drag.bufferWidth, drag.bufferHeight);
      return DragEffect::CameraChanged;
    case CameraTool::Zoom:
      ZoomCamera(camera, drag.step);
      return DragEffect::CameraChanged;
    case CameraTool::Fov:
      ChangeFieldOfView(camera, drag.step.x - drag.pressX);
      return DragEffect::CameraChanged;
    case CameraTool::RotateLight:
      RotateLight(camera, light, TrackballRotation(drag.step, drag.clientWidth, drag.clientHeight, drag.handle));
      return DragEffect::LightChanged;
  }
  return DragEffect::None;
}

}  // namespace mok
