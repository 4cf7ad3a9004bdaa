#pragma once
// The 3D view's camera: how a model vertex becomes a camera-space point and a
// screen position.
//
// Axis convention: the camera meets the model in "camera-input" order
// (model y, model z, model x). A vertex (x, y, z) enters as
//   (F, E, D) = (-y - p0, -z - p1, -x - p2)
// and is turned by the row-major orientation M (row vector times matrix):
//   X = F m0 + E m3 + D m6,  Y = -(F m1 + E m4 + D m7),  Z = F m2 + E m5 + D m8 + distance.
// The eye looks along +Z; screen y counts upward from the bottom row because
// the pixel rows are stored bottom-up. Every float-to-int conversion
// truncates toward zero.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/interaction_flags.h"
#include "core/mesh_document.h"

namespace mok {

using Mat3 = std::array<float, 9>;  // row-major m0..m8

inline constexpr Mat3 kIdentity3 = {1, 0, 0, 0, 1, 0, 0, 0, 1};

Mat3 Multiply(const Mat3& a, const Mat3& b);
Mat3 Transpose(const Mat3& m);

struct Camera {
  float fovDegrees = 33.0f;
  std::int32_t orthographic = 0;
  std::int32_t filtered = 1;
  Mat3 orientation = kIdentity3;
  std::array<float, 3> panOffset = {0, 0, 0};  // negated look-at point, camera-input order
  float distance = 75.0f;
};

// The 13 floats two linked copies exchange: m0..m8, p0..p2, distance.
struct CameraState {
  std::array<float, 13> values{};
};
static_assert(sizeof(CameraState) == 13 * sizeof(float));

CameraState GetCameraState(const Camera& camera);
void SetCameraState(Camera& camera, const CameraState& state);

// The program-wide light orientation; its third row is the light direction
// (camera-input axis order).
struct LightFrame {
  Mat3 m = kIdentity3;
  std::array<float, 3> direction() const { return {m[6], m[7], m[8]}; }
};

struct CameraToolCommand {
  CameraTool tool;
  int commandId;
  const char* caption;
};
inline constexpr std::array<CameraToolCommand, 6> kCameraToolCommands = {{
    {CameraTool::Standard, 32917, "Standard Camera Controls"},
    {CameraTool::Rotate, 32918, "Camera Rotate"},
    {CameraTool::Pan, 32920, "Camera Pan"},
    {CameraTool::Zoom, 32919, "Camera Zoom"},
    {CameraTool::Fov, 32921, "Camera FOV"},
    {CameraTool::RotateLight, 32922, "Rotate Light"},
}};

// Camera-space point of a model vertex.
Vec3 ToCameraSpace(const Camera& camera, const Vec3& vertex);

// Camera-space points of every entry of `positions` (resized to match).
void TransformVertices(const Camera& camera, std::span<const Vec3> positions, std::vector<Vec3>& out);

// Pixels per unit at the look-at distance: min(W, H) / (2 distance tan(fov / 2)).
float ProjectionScale(const Camera& camera, int width, int height);

struct ScreenPointF {
  float x = 0;
  float y = 0;
};

// Screen position of a camera-space point; perspective or parallel by the
// camera's `orthographic` switch.
ScreenPointF ProjectToScreen(const Camera& camera, float projectionScale, int width, int height, const Vec3& p);

// Float-to-int truncation toward zero for screen and attribute values. Values
// beyond +-2^24 (points next to the eye plane) are held there and NaN becomes
// 0, so the integer code downstream never sees an undefined conversion.
int TruncateCoordinate(double value);

}  // namespace mok
