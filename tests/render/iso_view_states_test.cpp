// The 3D view's mouse states: which press starts what, how buttons combine,
// the corner button, and the loss of the mouse from every state.

#include "panes/corner_button.h"
#include "tests/render/iso_view_fakes.h"

namespace mok::test {
namespace {

using S = IsoMouseState;
using B = PaneButton;

struct PressCase {
  const char* name;
  bool cameraActive;
  EditMode editMode;
  bool usesSkins;
  B button;
  unsigned modifiers;
  S expected;
};

class IsoPressStates : public IsoViewTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(IsoPressStates, PressPicksTheStateAndCapturesTheMouse) {
  const PressCase& c = GetParam();
  app.flags.cameraActive = c.cameraActive;
  app.flags.editMode = c.editMode;
  renderer.usesSkins = c.usesSkins;
  const unsigned held = c.button == B::Left ? kHeldLeft : c.button == B::Right ? kHeldRight : kHeldMiddle;
  Press(c.button, 50, 40, held, c.modifiers);
  EXPECT_EQ(view->mouseState(), c.expected);
  EXPECT_EQ(host.captures, 1);
}

INSTANTIATE_TEST_SUITE_P(
    AllPresses, IsoPressStates,
    ::testing::Values(PressCase{"CameraLeft", true, EditMode::Paint, true, B::Left, 0, S::ToolDrag},
                      PressCase{"CameraShiftLeft", true, EditMode::Mapping, true, B::Left, kModShift, S::FovDrag},
                      PressCase{"CameraRight", true, EditMode::Paint, true, B::Right, 0, S::PanDrag},
                      PressCase{"CameraShiftRight", true, EditMode::Mapping, true, B::Right, kModShift, S::LightDrag},
                      PressCase{"CameraMiddle", true, EditMode::Paint, true, B::Middle, 0, S::ZoomDrag},
                      PressCase{"PaintLeft", false, EditMode::Paint, true, B::Left, 0, S::PaintStroke},
                      PressCase{"PaintRight", false, EditMode::Paint, true, B::Right, 0, S::ColourPick},
                      PressCase{"PaintLeftWithoutSkins", false, EditMode::Paint, false, B::Left, 0, S::WaitForRelease},
                      PressCase{"PaintRightWithoutSkins", false, EditMode::Paint, false, B::Right, 0, S::WaitForRelease},
                      PressCase{"MappingLeft", false, EditMode::Mapping, false, B::Left, 0, S::Select},
                      PressCase{"MappingRight", false, EditMode::Mapping, true, B::Right, 0, S::Deselect},
                      PressCase{"MappingShiftLeft", false, EditMode::Mapping, true, B::Left, kModShift, S::Select},
                      PressCase{"MiddleWithoutCamera", false, EditMode::Mapping, true, B::Middle, 0, S::WaitForRelease}),
    [](const ::testing::TestParamInfo<PressCase>& p) { return std::string(p.param.name); });

TEST_F(IsoViewTest, RightClickInPaintModeWithAModeWithoutSkinsTouchesNothing) {
  renderer.usesSkins = false;  // e.g. "Flat Shaded"
  Press(B::Right, 50, 40, kHeldRight);
  Move(52, 41, kHeldRight);
  Release(B::Right, 52, 41, 0);
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_EQ(view->mouseState(), S::Idle);
  EXPECT_EQ(host.releases, 1);
}

TEST_F(IsoViewTest, ASecondButtonNeitherRestartsNorEndsTheDrag) {
  app.flags.cameraActive = true;
  Press(B::Left, 50, 40, kHeldLeft);
  Press(B::Right, 50, 40, kHeldLeft | kHeldRight);
  EXPECT_EQ(view->mouseState(), S::ToolDrag);
  EXPECT_EQ(host.captures, 1);
  Release(B::Right, 50, 40, kHeldLeft);
  EXPECT_EQ(view->mouseState(), S::ToolDrag);
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_EQ(host.releases, 0);
}

TEST_F(IsoViewTest, TheViewWaitsForEveryButtonBeforeItLetsTheMouseGo) {
  app.flags.cameraActive = true;
  Press(B::Right, 50, 40, kHeldRight);
  Press(B::Middle, 50, 40, kHeldRight | kHeldMiddle);
  Release(B::Right, 50, 40, kHeldMiddle);
  EXPECT_EQ(view->mouseState(), S::WaitForRelease);
  EXPECT_EQ(host.releases, 0);
  Release(B::Middle, 50, 40, 0);
  EXPECT_EQ(view->mouseState(), S::Idle);
  EXPECT_EQ(host.releases, 1);
}

TEST_F(IsoViewTest, APressWithNothingToDoWaitsForAllButtons) {
  renderer.usesSkins = false;
  Press(B::Left, 50, 40, kHeldLeft);
  Press(B::Right, 50, 40, kHeldLeft | kHeldRight);
  Release(B::Left, 50, 40, kHeldRight);
  EXPECT_EQ(view->mouseState(), S::WaitForRelease);
  Release(B::Right, 50, 40, 0);
  EXPECT_EQ(view->mouseState(), S::Idle);
}

TEST_F(IsoViewTest, ReleaseWithoutAPressIsIgnored) {
  Release(B::Left, 50, 40, 0);
  EXPECT_EQ(host.releases, 0);
  EXPECT_TRUE(refresh.requests.empty());
}

// ---- Corner button ----

TEST_F(IsoViewTest, CornerButtonWinsOverEveryModeAndShowsPressed) {
  app.flags.cameraActive = true;
  Press(B::Left, 2, 3, kHeldLeft);
  EXPECT_EQ(view->mouseState(), S::CornerButton);
  EXPECT_TRUE(view->cornerButtonPressed());
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshFinal}}));
  view->RenderFrame(kRefreshFinal, kPaneIsoView);
  EXPECT_EQ(renderer.cornerDraws.back(), true);
}

TEST_F(IsoViewTest, CornerButtonCoversItsFifteenScreenPixelsOnly) {
  EXPECT_TRUE(InCornerButton(2, 3, 1));
  EXPECT_TRUE(InCornerButton(16, 17, 1));
  EXPECT_FALSE(InCornerButton(1, 3, 1));
  EXPECT_FALSE(InCornerButton(2, 2, 1));
  EXPECT_FALSE(InCornerButton(17, 10, 1));
  EXPECT_FALSE(InCornerButton(10, 18, 1));
  // At device pixels of a 200 % screen: x 4..33, y 6..35.
  EXPECT_TRUE(InCornerButton(4, 6, 2));
  EXPECT_TRUE(InCornerButton(33, 35, 2));
  EXPECT_FALSE(InCornerButton(3, 6, 2));
  EXPECT_FALSE(InCornerButton(34, 20, 2));
  EXPECT_FALSE(InCornerButton(20, 36, 2));
  const CornerButtonPlace at150 = CornerButtonAt(1.5);
  EXPECT_EQ(at150.left, 3);
  EXPECT_EQ(at150.top, 5);
  EXPECT_EQ(at150.size, 23);
}

TEST_F(IsoViewTest, CornerButtonAtDoubleScaleTakesDoubledPressesAndOpensAtItsCorner) {
  view->screenScale = 2;
  Press(B::Left, 33, 35, kHeldLeft);
  EXPECT_EQ(view->mouseState(), S::CornerButton);
  Release(B::Left, 33, 35, 0);
  EXPECT_EQ(host.menus, (std::vector<std::pair<int, int>>{{4, 6}}));
}

TEST_F(IsoViewTest, CornerButtonPopsUpWhileTheCursorIsOutside) {
  Press(B::Left, 5, 5, kHeldLeft);
  refresh.requests.clear();
  Move(40, 40, kHeldLeft);
  EXPECT_FALSE(view->cornerButtonPressed());
  Move(41, 40, kHeldLeft);  // still outside: nothing to redraw
  Move(6, 6, kHeldLeft);
  EXPECT_TRUE(view->cornerButtonPressed());
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshFinal}, {kPaneIsoView, kRefreshFinal}}));
}

TEST_F(IsoViewTest, CornerButtonReleasedOutsideStillOpensTheMenu) {
  Press(B::Left, 5, 5, kHeldLeft);
  Move(60, 60, kHeldLeft);
  Release(B::Left, 60, 60, 0);
  EXPECT_EQ(host.menus, (std::vector<std::pair<int, int>>{{2, 3}}));
  EXPECT_FALSE(view->cornerButtonPressed());
  EXPECT_EQ(view->mouseState(), S::Idle);
  EXPECT_EQ(host.releases, 1);
}

TEST_F(IsoViewTest, CornerButtonLosingTheMouseOpensNoMenu) {
  Press(B::Left, 5, 5, kHeldLeft);
  refresh.requests.clear();
  LoseCapture();
  EXPECT_TRUE(host.menus.empty());
  EXPECT_FALSE(view->cornerButtonPressed());
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshFinal}}));
}

// ---- Loss of the mouse ----

struct LossCase {
  const char* name;
  bool cameraActive;
  EditMode editMode;
  B button;
  unsigned modifiers;
  std::vector<RefreshCall> expected;  // refreshes sent by the loss itself
};

class IsoCaptureLoss : public IsoViewTest, public ::testing::WithParamInterface<LossCase> {};

TEST_P(IsoCaptureLoss, EveryStateReturnsToIdleWithTheCursorShown) {
  const LossCase& c = GetParam();
  app.flags.cameraActive = c.cameraActive;
  app.flags.editMode = c.editMode;
  app.flags.cameraTool = CameraTool::Fov;  // the tool that hides the cursor
  const unsigned held = c.button == B::Left ? kHeldLeft : c.button == B::Right ? kHeldRight : kHeldMiddle;
  Press(c.button, 50, 40, held, c.modifiers);
  refresh.requests.clear();
  LoseCapture();
  EXPECT_EQ(view->mouseState(), S::Idle);
  EXPECT_EQ(host.displayCount, 0);
  EXPECT_EQ(refresh.requests, c.expected);
  EXPECT_EQ(host.releases, 0);  // the mouse is gone already
  // The next press starts afresh.
  Press(c.button, 50, 40, held, c.modifiers);
  EXPECT_EQ(host.captures, 2);
}

const std::vector<RefreshCall> kFinal3D = {{kPaneIsoView, kRefreshFinal}};

INSTANTIATE_TEST_SUITE_P(
    AllStates, IsoCaptureLoss,
    ::testing::Values(LossCase{"ToolDrag", true, EditMode::Paint, B::Left, 0, kFinal3D},
                      LossCase{"PanDrag", true, EditMode::Paint, B::Right, 0, kFinal3D},
                      LossCase{"FovDrag", true, EditMode::Paint, B::Left, kModShift, kFinal3D},
                      LossCase{"LightDrag", true, EditMode::Paint, B::Right, kModShift, kFinal3D},
                      LossCase{"ZoomDrag", true, EditMode::Paint, B::Middle, 0, kFinal3D},
                      LossCase{"PaintStroke", false, EditMode::Paint, B::Left, 0, {}},
                      LossCase{"ColourPick", false, EditMode::Paint, B::Right, 0, {{kPaneSkinView | kPaneIsoView, kRefreshFinal}}},
                      LossCase{"Select", false, EditMode::Mapping, B::Left, 0, {}},
                      LossCase{"Deselect", false, EditMode::Mapping, B::Right, 0, {}},
                      LossCase{"Wait", false, EditMode::Paint, B::Middle, 0, {}}),
    [](const ::testing::TestParamInfo<LossCase>& p) { return std::string(p.param.name); });

TEST_F(IsoViewTest, LosingTheMouseWhenIdleDoesNothing) {
  LoseCapture();
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_EQ(host.displayCount, 0);
}

TEST_F(IsoViewTest, MovesAfterTheLossChangeNothing) {
  app.flags.cameraActive = true;
  Press(B::Left, 50, 40, kHeldLeft);
  LoseCapture();
  const Camera before = view->camera();
  refresh.requests.clear();
  Move(80, 10, kHeldLeft);
  Release(B::Left, 80, 10, 0);
  EXPECT_EQ(view->camera().orientation, before.orientation);
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_EQ(host.releases, 0);
}

}  // namespace
}  // namespace mok::test
