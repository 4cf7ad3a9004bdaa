#include "render/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mok {
namespace {

// fov 90 degrees makes tan(fov / 2) almost exactly 1, so the scale is
// min(W, H) / (2 distance) to six digits.
Camera SquareCamera() {
  Camera camera;
  camera.fovDegrees = 90.0f;
  camera.distance = 50.0f;
  return camera;
}

TEST(CameraDefaults, StartAsTheViewIsCreated) {
  Camera camera;
  EXPECT_FLOAT_EQ(camera.fovDegrees, 33.0f);
  EXPECT_EQ(camera.orthographic, 0);
  EXPECT_EQ(camera.filtered, 1);
  EXPECT_EQ(camera.orientation, kIdentity3);
  EXPECT_FLOAT_EQ(camera.distance, 75.0f);
}

TEST(CameraTransform, UsesModelAxesInTheOrderYZXNegatedAndFlipsY) {
  Camera camera;
  // (F, E, D) = (-2, -3, -1); X = F, Y = -E, Z = D + 75.
  Vec3 p = ToCameraSpace(camera, {1, 2, 3});
  EXPECT_FLOAT_EQ(p.x, -2);
  EXPECT_FLOAT_EQ(p.y, 3);
  EXPECT_FLOAT_EQ(p.z, 74);
}

TEST(CameraTransform, PanOffsetIsSubtractedInCameraInputOrder) {
  Camera camera;
  camera.panOffset = {1, 2, 3};
  // (F, E, D) = (-2 - 1, -3 - 2, -1 - 3).
  Vec3 p = ToCameraSpace(camera, {1, 2, 3});
  EXPECT_FLOAT_EQ(p.x, -3);
  EXPECT_FLOAT_EQ(p.y, 5);
  EXPECT_FLOAT_EQ(p.z, 71);
}

TEST(CameraTransform, RowVectorTimesRowMajorOrientation) {
  Camera camera;
  camera.orientation = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  camera.distance = 0;
  // (F, E, D) = (-1, 0, 0) for the vertex (0, 1, 0): the first row.
  Vec3 p = ToCameraSpace(camera, {0, 1, 0});
  EXPECT_FLOAT_EQ(p.x, -1);
  EXPECT_FLOAT_EQ(p.y, 2);
  EXPECT_FLOAT_EQ(p.z, -3);
}

TEST(CameraTransform, TransformVerticesCoversEveryPosition) {
  Camera camera;
  std::vector<Vec3> positions = {{0, 0, 0}, {1, 2, 3}, {0, 0, 10}};
  std::vector<Vec3> out;
  TransformVertices(camera, positions, out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_FLOAT_EQ(out[0].z, 75);
  EXPECT_FLOAT_EQ(out[2].y, 10);
}

TEST(ProjectionScale, IsHalfTheShorterSideOverDistanceTimesTanHalfFov) {
  Camera camera;  // fov 33: tan(16.5 deg) = 0.2962134
  EXPECT_NEAR(ProjectionScale(camera, 300, 200), 200 / (2 * 75 * 0.2962134), 1e-4);
  EXPECT_NEAR(ProjectionScale(SquareCamera(), 100, 100), 1.0, 1e-5);
  EXPECT_NEAR(ProjectionScale(SquareCamera(), 100, 400), 1.0, 1e-5);
}

TEST(ScreenPosition, PerspectiveDividesByDepthOverDistance) {
  Camera camera = SquareCamera();
  const float s = ProjectionScale(camera, 100, 100);
  // Z / distance = 2: sx = 50 - 7.25 / 2, sy = 50 + 3.25 / 2.
  ScreenPointF p = ProjectToScreen(camera, s, 100, 100, {7.25f, 3.25f, 100});
  EXPECT_NEAR(p.x, 46.375, 1e-4);
  EXPECT_NEAR(p.y, 51.625, 1e-4);
  EXPECT_EQ(TruncateCoordinate(p.x), 46);
  EXPECT_EQ(TruncateCoordinate(p.y), 51);
  // Three times as deep: 50 - 7.25 / 6 = 48.79.
  ScreenPointF far = ProjectToScreen(camera, s, 100, 100, {7.25f, 3.25f, 300});
  EXPECT_EQ(TruncateCoordinate(far.x), 48);
}

TEST(ScreenPosition, OrthographicIgnoresDepthButNotDistanceOrFov) {
  Camera camera = SquareCamera();
  camera.orthographic = 1;
  const float s = ProjectionScale(camera, 100, 100);
  ScreenPointF near = ProjectToScreen(camera, s, 100, 100, {7.25f, 3.25f, 100});
  ScreenPointF far = ProjectToScreen(camera, s, 100, 100, {7.25f, 3.25f, 300});
  EXPECT_EQ(TruncateCoordinate(near.x), 42);  // 42.75
  EXPECT_EQ(TruncateCoordinate(near.y), 53);  // 53.25
  EXPECT_FLOAT_EQ(near.x, far.x);
  EXPECT_FLOAT_EQ(near.y, far.y);
  camera.distance = 100;  // twice as far: half the scale
  ScreenPointF smaller = ProjectToScreen(camera, ProjectionScale(camera, 100, 100), 100, 100, {7.25f, 3.25f, 100});
  EXPECT_NEAR(smaller.x, 50 - 3.625, 1e-4);
}

TEST(ScreenPosition, CentreUsesIntegerHalvesOfOddSizes) {
  Camera camera = SquareCamera();
  ScreenPointF p = ProjectToScreen(camera, 1.0f, 101, 77, {0, 0, 50});
  EXPECT_FLOAT_EQ(p.x, 50);
  EXPECT_FLOAT_EQ(p.y, 38);
}

TEST(TruncateCoordinate, TruncatesTowardZeroAndHoldsExtremes) {
  EXPECT_EQ(TruncateCoordinate(-3.7), -3);
  EXPECT_EQ(TruncateCoordinate(3.7), 3);
  EXPECT_EQ(TruncateCoordinate(1e30), 16777216);
  EXPECT_EQ(TruncateCoordinate(-INFINITY), -16777216);
  EXPECT_EQ(TruncateCoordinate(NAN), 0);
}

TEST(CameraState, HoldsOrientationPanAndDistanceInThatOrder) {
  Camera camera;
  camera.orientation = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  camera.panOffset = {10, 11, 12};
  camera.distance = 13;
  camera.fovDegrees = 50;
  CameraState state = GetCameraState(camera);
  for (int i = 0; i < 13; ++i) EXPECT_FLOAT_EQ(state.values[static_cast<std::size_t>(i)], i + 1.0f);
  Camera other;
  SetCameraState(other, state);
  EXPECT_EQ(other.orientation, camera.orientation);
  EXPECT_EQ(other.panOffset, camera.panOffset);
  EXPECT_FLOAT_EQ(other.distance, 13);
  EXPECT_FLOAT_EQ(other.fovDegrees, 33);  // not part of the exchanged block
}

TEST(CameraToolCommands, CarryTheirIdsAndCaptions) {
  EXPECT_EQ(kCameraToolCommands[2].tool, CameraTool::Pan);
  EXPECT_EQ(kCameraToolCommands[2].commandId, 32920);
  EXPECT_STREQ(kCameraToolCommands[2].caption, "Camera Pan");
  EXPECT_EQ(kCameraToolCommands[3].commandId, 32919);
  EXPECT_STREQ(kCameraToolCommands[5].caption, "Rotate Light");
}

}  // namespace
}  // namespace mok
