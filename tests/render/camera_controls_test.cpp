#include "render/camera_controls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace mok {
namespace {

double OrthonormalError(const Mat3& m) {
  const Mat3 p = Multiply(m, Transpose(m));
  double worst = 0;
  for (std::size_t i = 0; i < 9; ++i) worst = std::max(worst, static_cast<double>(std::fabs(p[i] - kIdentity3[i])));
  return worst;
}

double Determinant(const Mat3& m) {
  return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) + m[2] * (m[3] * m[7] - m[4] * m[6]);
}

double MaxDifference(const Mat3& a, const Mat3& b) {
  double worst = 0;
  for (std::size_t i = 0; i < 9; ++i) worst = std::max(worst, static_cast<double>(std::fabs(a[i] - b[i])));
  return worst;
}

TEST(Trackball, SamePointGivesExactlyTheIdentity) {
  EXPECT_EQ(TrackballRotation({40, 30, 40, 30}, 200, 100, TrackballHandle::None), kIdentity3);
}

TEST(Trackball, SmallDragTurnsByTheAngleSubtendedOnTheBall) {
  // In a 100 x 100 client the ball centre sits at (45, 45). Moving to (54, 45)
  // maps (0, 0) -> (0.2, 0): P1 = (0, 0, 0.8), P2 = (0.2, 0, sqrt(0.6)), so the
  // turn is about -y with sin(phi) = 0.2 / 0.8 = 0.25.
  Mat3 r = TrackballRotation({45, 45, 54, 45}, 100, 100, TrackballHandle::None);
  const float c = std::sqrt(1 - 0.0625f);
  EXPECT_NEAR(r[0], c, 1e-6);
  EXPECT_NEAR(r[2], -0.25, 1e-6);
  EXPECT_NEAR(r[4], 1, 1e-6);
  EXPECT_NEAR(r[6], 0.25, 1e-6);
  EXPECT_NEAR(r[8], c, 1e-6);
  EXPECT_NEAR(r[1], 0, 1e-7);
  EXPECT_NEAR(r[3], 0, 1e-7);
}

TEST(Trackball, DragFarOutsideTheBallTurnsAtMostHalfARound) {
  // |P1 - P2| * 0.625 is far above 1 and is clamped: exactly 180 degrees,
  // whose trace is -1.
  Mat3 r = TrackballRotation({45, 45, 5000, 45}, 100, 100, TrackballHandle::None);
  EXPECT_NEAR(r[0] + r[4] + r[8], -1.0, 1e-5);
  EXPECT_LT(OrthonormalError(r), 1e-6);
}

TEST(Trackball, VerticalHandleKeepsOnlyTheVerticalMotion) {
  // A purely horizontal move on the vertical handle does nothing.
  EXPECT_EQ(TrackballRotation({45, 45, 80, 45}, 100, 100, TrackballHandle::Vertical), kIdentity3);
  // A diagonal move turns about the x axis only.
  Mat3 r = TrackballRotation({45, 45, 80, 30}, 100, 100, TrackballHandle::Vertical);
  EXPECT_NEAR(r[0], 1, 1e-6);
  EXPECT_LT(r[4], 1);
}

TEST(Trackball, HorizontalHandleKeepsOnlyTheHorizontalMotion) {
  EXPECT_EQ(TrackballRotation({45, 45, 45, 10}, 100, 100, TrackballHandle::Horizontal), kIdentity3);
  Mat3 r = TrackballRotation({45, 45, 60, 10}, 100, 100, TrackballHandle::Horizontal);
  EXPECT_NEAR(r[4], 1, 1e-6);
  EXPECT_LT(r[0], 1);
}

TEST(Trackball, EmptyClientAreaDoesNotRotate) {
  EXPECT_EQ(TrackballRotation({0, 0, 10, 10}, 0, 100, TrackballHandle::None), kIdentity3);
}

TEST(Trackball, ManySmallDragsKeepTheOrientationOrthonormal) {
  Camera camera;
  LightFrame light;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> position(0, 399);
  std::uniform_int_distribution<int> nudge(-3, 3);
  int x = 200, y = 150;
  for (int i = 0; i < 20000; ++i) {
    const int nx = std::clamp(x + nudge(random), 0, 399);
    const int ny = std::clamp(y + nudge(random), 0, 299);
    RotateCamera(camera, light, TrackballRotation({x, y, nx, ny}, 400, 300, TrackballHandle::None), true);
    x = nx;
    y = ny;
    if (i % 1000 == 0) x = position(random) % 400, y = position(random) % 300;
  }
  EXPECT_LT(OrthonormalError(camera.orientation), 1e-6);
  EXPECT_NEAR(Determinant(camera.orientation), 1.0, 1e-4);
  EXPECT_LT(OrthonormalError(light.m), 1e-6);
}

TEST(Trackball, DragOutAndBackReturnsToTheStart) {
  Camera camera;
  LightFrame light;
  for (int x = 100; x < 300; ++x) RotateCamera(camera, light, TrackballRotation({x, 120, x + 1, 121}, 400, 300, TrackballHandle::None), false);
  EXPECT_GT(MaxDifference(camera.orientation, kIdentity3), 0.5);
  for (int x = 300; x > 100; --x) RotateCamera(camera, light, TrackballRotation({x, 121, x - 1, 120}, 400, 300, TrackballHandle::None), false);
  EXPECT_LT(MaxDifference(camera.orientation, kIdentity3), 1e-4);
}

TEST(Trackball, FullTurnInSmallStepsComesBackToTheStart) {
  // On the vertical handle a vertical move turns about the x axis only; the
  // same one-pixel move repeated N times must match one turn by N angles.
  const Mat3 step = TrackballRotation({180, 135, 180, 136}, 400, 300, TrackballHandle::Vertical);
  const double angle = std::atan2(step[5], step[4]);
  const int n = static_cast<int>(std::lround(2 * M_PI / std::fabs(angle)));
  ASSERT_GT(n, 100);
  Camera camera;
  LightFrame light;
  for (int i = 0; i < n; ++i) RotateCamera(camera, light, step, false);
  const double rest = n * angle;
  const Mat3 expected = {1, 0, 0, 0, static_cast<float>(std::cos(rest)), static_cast<float>(std::sin(rest)),
                         0, static_cast<float>(-std::sin(rest)), static_cast<float>(std::cos(rest))};
  EXPECT_LT(MaxDifference(camera.orientation, expected), 1e-4);
  EXPECT_LT(MaxDifference(camera.orientation, kIdentity3), std::fabs(angle));
  EXPECT_LT(OrthonormalError(camera.orientation), 1e-5);
}

TEST(LockLightToCamera, LightKeepsItsPlaceOnScreen) {
  Camera camera;
  camera.orientation = TrackballRotation({100, 100, 130, 90}, 400, 300, TrackballHandle::None);
  LightFrame light;
  light.m = TrackballRotation({200, 100, 180, 140}, 400, 300, TrackballHandle::None);
  const Mat3 seenBefore = Multiply(light.m, camera.orientation);
  const Mat3 r = TrackballRotation({150, 150, 190, 120}, 400, 300, TrackballHandle::None);
  RotateCamera(camera, light, r, true);
  EXPECT_LT(MaxDifference(Multiply(light.m, camera.orientation), seenBefore), 1e-6);
}

TEST(LockLightToCamera, OffLeavesTheLightAlone) {
  Camera camera;
  LightFrame light;
  RotateCamera(camera, light, TrackballRotation({150, 150, 190, 120}, 400, 300, TrackballHandle::None), false);
  EXPECT_EQ(light.m, kIdentity3);
  EXPECT_NE(camera.orientation, kIdentity3);
}

TEST(RotateLight, TurnsTheLightAsSeenFromTheCameraOnly) {
  Camera camera;
  camera.orientation = TrackballRotation({100, 100, 130, 90}, 400, 300, TrackballHandle::None);
  const Mat3 orientation = camera.orientation;
  LightFrame light;
  const Mat3 r = TrackballRotation({150, 150, 190, 120}, 400, 300, TrackballHandle::None);
  RotateLight(camera, light, r);
  EXPECT_EQ(camera.orientation, orientation);
  // L' M = L M R.
  EXPECT_LT(MaxDifference(Multiply(light.m, orientation), Multiply(orientation, r)), 1e-6);
}

TEST(HitTrackballHandle, FindsTheHandlesOnTheCircle) {
  // 200 x 100: centre (100, 50), r = 45.
  EXPECT_EQ(HitTrackballHandle(105, 50 + 45, 200, 100), TrackballHandle::Vertical);
  EXPECT_EQ(HitTrackballHandle(95, 50 - 40, 200, 100), TrackballHandle::Vertical);
  EXPECT_EQ(HitTrackballHandle(110, 95, 200, 100), TrackballHandle::None);  // dx = 10 is not < 10
  EXPECT_EQ(HitTrackballHandle(100 + 54, 55, 200, 100), TrackballHandle::Horizontal);
  EXPECT_EQ(HitTrackballHandle(100 + 55, 55, 200, 100), TrackballHandle::None);  // r + 10 is not inside
  EXPECT_EQ(HitTrackballHandle(100, 50, 200, 100), TrackballHandle::None);
}

Camera SquareCamera() {
  Camera camera;
  camera.fovDegrees = 90.0f;
  camera.distance = 50.0f;
  return camera;
}

TEST(Pan, MovesTheLookAtPointByPixelsOverScale) {
  Camera camera = SquareCamera();  // s = 1 in a 100 x 100 view
  PanCamera(camera, {20, 20, 30, 16}, 100, 100);
  EXPECT_NEAR(camera.panOffset[0], 10, 1e-4);
  EXPECT_NEAR(camera.panOffset[1], 4, 1e-4);
  EXPECT_FLOAT_EQ(camera.panOffset[2], 0);
}

TEST(Pan, ThePointAtTheCentreFollowsTheMouse) {
  Camera camera = SquareCamera();
  camera.orientation = {0, 0, 1, 0, 1, 0, -1, 0, 0};  // Align Left
  PanCamera(camera, {50, 50, 62, 41}, 100, 100);
  const float s = ProjectionScale(camera, 100, 100);
  ScreenPointF p = ProjectToScreen(camera, s, 100, 100, ToCameraSpace(camera, {0, 0, 0}));
  EXPECT_NEAR(p.x, 62, 1e-3);
  EXPECT_NEAR(p.y, 100 - 41, 1e-3);  // rows count upward
}

TEST(Zoom, UpwardBringsTheEyeCloserDownwardMovesItAway) {
  Camera camera;
  ZoomCamera(camera, {0, 50, 0, 40});
  EXPECT_NEAR(camera.distance, 75 * std::pow(0.998004, 10), 1e-4);
  Camera other;
  ZoomCamera(other, {0, 40, 0, 50});
  EXPECT_NEAR(other.distance, 75 * std::pow(1.002, 10), 1e-4);
  Camera still;
  ZoomCamera(still, {0, 40, 9, 40});
  EXPECT_FLOAT_EQ(still.distance, 75);
}

TEST(WheelZoom, OneNotchEitherWay) {
  Camera out;
  WheelZoom(out, 120);
  EXPECT_NEAR(out.distance, 95.3208, 1e-3);  // 75 * 1.002^120
  Camera in;
  WheelZoom(in, -120);
  EXPECT_NEAR(in.distance, 59.0113, 1e-3);  // 75 * 0.998004^120
  Camera none;
  WheelZoom(none, 0);
  EXPECT_FLOAT_EQ(none.distance, 75);
}

TEST(WheelZoom, EndlessZoomingStaysRecoverable) {
  Camera camera;
  for (int i = 0; i < 100; ++i) WheelZoom(camera, -32768);
  EXPECT_GE(camera.distance, kMinCameraDistance);
  const float closest = camera.distance;
  WheelZoom(camera, 120);
  EXPECT_GT(camera.distance, closest);
  for (int i = 0; i < 100; ++i) WheelZoom(camera, 32767);
  EXPECT_TRUE(std::isfinite(camera.distance));
  EXPECT_LE(camera.distance, kMaxCameraDistance);
}

std::array<float, 3> EyePoint(const Camera& c) {
  const Mat3& m = c.orientation;
  return {c.panOffset[0] - c.distance * m[2], c.panOffset[1] - c.distance * m[5], c.panOffset[2] - c.distance * m[8]};
}

TEST(Dolly, DownwardMovesTheLookAtPointTowardTheFixedEye) {
  Camera camera;
  DollyCamera(camera, {0, 10, 0, 20});
  const double k = std::pow(0.9980040176624866, 10);
  EXPECT_NEAR(camera.distance, 75 * k, 1e-4);
  EXPECT_NEAR(camera.panOffset[2], -75 + 75 * k, 1e-4);
  EXPECT_FLOAT_EQ(camera.panOffset[0], 0);
  EXPECT_NEAR(EyePoint(camera)[2], -75, 1e-4);
}

TEST(Dolly, EyeStaysPutUnderAnyOrientation) {
  Camera camera;
  camera.orientation = TrackballRotation({100, 100, 160, 40}, 400, 300, TrackballHandle::None);
  camera.panOffset = {3, -4, 5};
  const auto eye = EyePoint(camera);
  DollyCamera(camera, {0, 30, 0, 5});  // upward: away from the eye
  EXPECT_NEAR(camera.distance, 75 * std::pow(1.002, 25), 1e-3);
  const auto after = EyePoint(camera);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(after[i], eye[i], 1e-3);
}

TEST(FieldOfView, FollowsTheMouseAndStopsAtOneAndAHundredTwenty) {
  Camera camera;
  ChangeFieldOfView(camera, 50);
  EXPECT_FLOAT_EQ(camera.fovDegrees, 38);
  ChangeFieldOfView(camera, -370);  // 38 - 37 = 1: allowed exactly
  EXPECT_FLOAT_EQ(camera.fovDegrees, 1);
  ChangeFieldOfView(camera, -100000);
  EXPECT_FLOAT_EQ(camera.fovDegrees, 1);
  ChangeFieldOfView(camera, 3);  // 1.3
  EXPECT_NEAR(camera.fovDegrees, 1.3, 1e-6);
  ChangeFieldOfView(camera, 100000);
  EXPECT_FLOAT_EQ(camera.fovDegrees, 120);
  ChangeFieldOfView(camera, 1);
  EXPECT_FLOAT_EQ(camera.fovDegrees, 120);
}

TEST(ApplyCameraTool, DispatchesByTool) {
  ToolDrag drag;
  drag.step = {45, 45, 54, 35};
  drag.clientWidth = drag.clientHeight = drag.bufferWidth = drag.bufferHeight = 100;
  drag.pressX = 44;
  LightFrame light;

  Camera rotated;
  EXPECT_EQ(ApplyCameraTool(drag, rotated, light), DragEffect::CameraChanged);
  EXPECT_NE(rotated.orientation, kIdentity3);

  drag.tool = CameraTool::Zoom;
  Camera zoomed;
  ApplyCameraTool(drag, zoomed, light);
  EXPECT_NEAR(zoomed.distance, 75 * std::pow(0.998004, 10), 1e-4);

  drag.tool = CameraTool::Fov;
  Camera wider;
  ApplyCameraTool(drag, wider, light);
  EXPECT_NEAR(wider.fovDegrees, 34, 1e-5);  // dx from the press point = 10

  drag.tool = CameraTool::Pan;
  Camera panned;
  ApplyCameraTool(drag, panned, light);
  EXPECT_NE(panned.panOffset[0], 0);

  drag.tool = CameraTool::RotateLight;
  Camera still;
  EXPECT_EQ(ApplyCameraTool(drag, still, light), DragEffect::LightChanged);
  EXPECT_EQ(still.orientation, kIdentity3);
  EXPECT_NE(light.m, kIdentity3);
}

}  // namespace
}  // namespace mok
