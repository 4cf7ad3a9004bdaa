// Camera drags of the 3D view: which camera edit each state and button
// combination applies, the refreshes they ask for, and the session link.

#include <cmath>

#include "tests/render/iso_view_fakes.h"

namespace mok::test {
namespace {

using B = PaneButton;

class IsoCameraTest : public IsoViewTest {
 protected:
  IsoCameraTest() { app.flags.cameraActive = true; }
  void UseTool(CameraTool tool) { app.flags.cameraTool = tool; }
};

TEST_F(IsoCameraTest, StandardToolTurnsTheCameraByTheTrackball) {
  Camera expected = view->camera();
  LightFrame expectedLight;
  RotateCamera(expected, expectedLight, TrackballRotation({30, 30, 45, 38}, kClientWidth, kClientHeight, TrackballHandle::None),
               false);
  Press(B::Left, 30, 30, kHeldLeft);
  Move(45, 38, kHeldLeft);
  EXPECT_EQ(view->camera().orientation, expected.orientation);
  EXPECT_NE(view->camera().orientation, kIdentity3);
  EXPECT_EQ(light.m, kIdentity3);
}

TEST_F(IsoCameraTest, EachMoveTurnsFromThePreviousPoint) {
  Camera expected = view->camera();
  LightFrame unused;
  RotateCamera(expected, unused, TrackballRotation({30, 30, 40, 30}, kClientWidth, kClientHeight, TrackballHandle::None), false);
  RotateCamera(expected, unused, TrackballRotation({40, 30, 40, 45}, kClientWidth, kClientHeight, TrackballHandle::None), false);
  UseTool(CameraTool::Rotate);
  Press(B::Left, 30, 30, kHeldLeft);
  Move(40, 30, kHeldLeft);
  Move(40, 45, kHeldLeft);
  EXPECT_EQ(view->camera().orientation, expected.orientation);
}

TEST_F(IsoCameraTest, VerticalHandleTurnsOnlyAboutTheHorizontalAxis) {
  // Buffer 104 x 80: r = 36, the vertical handle sits at (52, 40 - 36).
  Press(B::Left, 52, 4, kHeldLeft);
  Move(90, 4, kHeldLeft);  // sideways only: the handle allows no turn
  EXPECT_EQ(view->camera().orientation, kIdentity3);
  EXPECT_TRUE(refresh.requests.empty());
  Move(90, 20, kHeldLeft);
  Camera expected;
  LightFrame unused;
  RotateCamera(expected, unused, TrackballRotation({90, 4, 90, 20}, kClientWidth, kClientHeight, TrackballHandle::Vertical), false);
  EXPECT_EQ(view->camera().orientation, expected.orientation);
  EXPECT_FLOAT_EQ(view->camera().orientation[0], 1.0f);  // the x axis stays put
}

TEST_F(IsoCameraTest, HorizontalHandleTurnsOnlyAboutTheVerticalAxis) {
  Press(B::Left, 52 + 36, 40, kHeldLeft);
  Move(88, 70, kHeldLeft);  // up and down only: no turn
  EXPECT_EQ(view->camera().orientation, kIdentity3);
  Move(60, 70, kHeldLeft);
  EXPECT_NE(view->camera().orientation, kIdentity3);
  EXPECT_FLOAT_EQ(view->camera().orientation[4], 1.0f);  // the y axis stays put
}

TEST_F(IsoCameraTest, LockedLightTurnsWithTheCamera) {
  app.flags.lockLight = true;
  Press(B::Left, 30, 30, kHeldLeft);
  Move(45, 38, kHeldLeft);
  EXPECT_NE(light.m, kIdentity3);
}

TEST_F(IsoCameraTest, PanToolMovesTheLookAtPoint) {
  UseTool(CameraTool::Pan);
  Camera expected;
  PanCamera(expected, {20, 20, 30, 25}, 104, 80);
  Press(B::Left, 20, 20, kHeldLeft);
  Move(30, 25, kHeldLeft);
  EXPECT_EQ(view->camera().panOffset, expected.panOffset);
  EXPECT_NE(expected.panOffset[0], 0.0f);
}

TEST_F(IsoCameraTest, RightDragPans) {
  Camera expected;
  PanCamera(expected, {20, 20, 14, 33}, 104, 80);
  Press(B::Right, 20, 20, kHeldRight);
  Move(14, 33, kHeldRight);
  EXPECT_EQ(view->camera().panOffset, expected.panOffset);
  EXPECT_EQ(view->camera().distance, 75.0f);
}

TEST_F(IsoCameraTest, RightDragWithTheLeftHeldDolliesWithTheEyeFixed) {
  Camera expected;
  DollyCamera(expected, {20, 20, 20, 30});
  Press(B::Right, 20, 20, kHeldRight);
  Press(B::Left, 20, 20, kHeldRight | kHeldLeft);
  Move(20, 30, kHeldRight | kHeldLeft);
  EXPECT_EQ(view->camera().panOffset, expected.panOffset);
  EXPECT_EQ(view->camera().distance, expected.distance);
  EXPECT_LT(view->camera().distance, 75.0f);
}

TEST_F(IsoCameraTest, ZoomToolScalesTheDistancePerPixel) {
  UseTool(CameraTool::Zoom);
  Press(B::Left, 20, 40, kHeldLeft);
  Move(20, 30, kHeldLeft);  // ten pixels up: closer
  float expected = 75.0f;
  for (int i = 0; i < 10; ++i) expected = static_cast<float>(expected * 0.998004);
  EXPECT_FLOAT_EQ(view->camera().distance, expected);
}

TEST_F(IsoCameraTest, MiddleDragZooms) {
  Press(B::Middle, 20, 40, kHeldMiddle);
  Move(20, 45, kHeldMiddle);
  float expected = 75.0f;
  for (int i = 0; i < 5; ++i) expected = static_cast<float>(expected * 1.002);
  EXPECT_FLOAT_EQ(view->camera().distance, expected);
}

TEST_F(IsoCameraTest, RightButtonDuringALeftRotateZoomsForAsLongAsItIsHeld) {
  Press(B::Left, 30, 30, kHeldLeft);
  Press(B::Right, 30, 30, kHeldLeft | kHeldRight);
  Move(30, 20, kHeldLeft | kHeldRight);
  EXPECT_EQ(view->camera().orientation, kIdentity3);
  EXPECT_LT(view->camera().distance, 75.0f);
  const float zoomed = view->camera().distance;
  Release(B::Right, 30, 20, kHeldLeft);
  Move(45, 20, kHeldLeft);
  EXPECT_NE(view->camera().orientation, kIdentity3);
  EXPECT_EQ(view->camera().distance, zoomed);
}

TEST_F(IsoCameraTest, FieldOfViewFollowsTheDistanceFromThePressWithTheCursorPutBack) {
  Press(B::Left, 50, 40, kHeldLeft, kModShift);
  EXPECT_LT(host.displayCount, 0);
  Move(70, 44, kHeldLeft);
  EXPECT_FLOAT_EQ(view->camera().fovDegrees, 35.0f);
  EXPECT_EQ(host.warps, (std::vector<std::pair<int, int>>{{50, 40}}));
  Move(60, 40, kHeldLeft);  // measured from the press point again
  EXPECT_FLOAT_EQ(view->camera().fovDegrees, 36.0f);
  Move(50, 40, kHeldLeft);  // the move the warp itself causes changes nothing
  EXPECT_FLOAT_EQ(view->camera().fovDegrees, 36.0f);
  EXPECT_EQ(host.warps.size(), 2u);
  Release(B::Left, 50, 40, 0);
  EXPECT_EQ(host.displayCount, 0);
}

TEST_F(IsoCameraTest, FovToolDoesTheSameAndStopsAtOneDegree) {
  UseTool(CameraTool::Fov);
  Press(B::Left, 100, 40, kHeldLeft);
  for (int i = 0; i < 5; ++i) Move(0, 40, kHeldLeft);  // 5 x -10 degrees
  EXPECT_EQ(view->camera().fovDegrees, 1.0f);
  EXPECT_EQ(host.warps.size(), 5u);
}

TEST_F(IsoCameraTest, OtherCameraDragsLeaveTheCursorAlone) {
  Press(B::Left, 30, 30, kHeldLeft);
  Move(45, 38, kHeldLeft);
  Release(B::Left, 45, 38, 0);
  EXPECT_EQ(host.displayCount, 0);
  EXPECT_TRUE(host.warps.empty());
}

TEST_F(IsoCameraTest, ShiftRightTurnsTheLightNotTheCamera) {
  Press(B::Right, 30, 30, kHeldRight, kModShift);
  Move(45, 38, kHeldRight);
  LightFrame expected;
  RotateLight(Camera{}, expected, TrackballRotation({30, 30, 45, 38}, kClientWidth, kClientHeight, TrackballHandle::None));
  EXPECT_EQ(light.m, expected.m);
  EXPECT_EQ(view->camera().orientation, kIdentity3);
}

// ---- Refreshes ----

TEST_F(IsoCameraTest, DragsRenderQuickDuringAndFullOnceAtTheEnd) {
  Press(B::Left, 30, 30, kHeldLeft);
  Move(35, 30, kHeldLeft);
  Move(40, 33, kHeldLeft);
  Release(B::Left, 40, 33, 0);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshQuick},
                                                     {kPaneIsoView, kRefreshQuick},
                                                     {kPaneIsoView, kRefreshFinal}}));
  EXPECT_EQ(host.releases, 1);
}

TEST_F(IsoCameraTest, AMoveThatChangesNothingRendersNothing) {
  Press(B::Left, 30, 30, kHeldLeft);
  Move(30, 30, kHeldLeft);
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(IsoCameraTest, AClickWithoutMovingStillEndsWithAFullFrame) {
  Press(B::Middle, 30, 30, kHeldMiddle);
  Release(B::Middle, 30, 30, 0);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshFinal}}));
}

TEST_F(IsoCameraTest, WheelZoomsAndRendersInFull) {
  Wheel(120);
  Camera expected;
  WheelZoom(expected, 120);
  EXPECT_EQ(view->camera().distance, expected.distance);
  EXPECT_NEAR(view->camera().distance, 75.0 * std::pow(1.002, 120), 1e-3);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshFinal}}));
  Wheel(0);
  EXPECT_EQ(refresh.requests.size(), 1u);
}

// ---- Session link ----

TEST_F(IsoCameraTest, SyncedCamerasSendEveryCameraChangeButNotTheRelease) {
  app.flags.syncCameras = true;
  Press(B::Right, 20, 20, kHeldRight);
  Move(25, 20, kHeldRight);
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].values, GetCameraState(view->camera()).values);
  Move(25, 20, kHeldRight);  // no change, nothing sent
  Move(25, 28, kHeldRight);
  Release(B::Right, 25, 28, 0);
  EXPECT_EQ(link.sent.size(), 2u);
}

TEST_F(IsoCameraTest, NothingIsSentWithoutSyncOrWhileWatching) {
  Press(B::Left, 30, 30, kHeldLeft);
  Move(45, 38, kHeldLeft);
  Release(B::Left, 45, 38, 0);
  app.flags.syncCameras = true;
  app.flags.watching = true;
  Press(B::Left, 30, 30, kHeldLeft);
  Move(45, 38, kHeldLeft);
  Wheel(120);
  EXPECT_TRUE(link.sent.empty());
}

TEST_F(IsoCameraTest, LightRotationIsNeverSent) {
  app.flags.syncCameras = true;
  UseTool(CameraTool::RotateLight);
  Press(B::Left, 30, 30, kHeldLeft);
  Move(45, 38, kHeldLeft);
  EXPECT_NE(light.m, kIdentity3);
  EXPECT_TRUE(link.sent.empty());
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshQuick}}));
}

TEST_F(IsoCameraTest, WheelSendsTheCameraWhenSynced) {
  app.flags.syncCameras = true;
  Wheel(-120);
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0].values[12], view->camera().distance);
}

}  // namespace
}  // namespace mok::test
