// The skin view's mouse state machine: navigation, the corner button, the
// hand-off to painting, press rules and the loss of the mouse.

#include <cmath>
#include <limits>

#include "tests/skin/skin_view_test_support.h"

namespace mok {
namespace {

using namespace viewtest;

class SkinViewInput : public SkinViewFixture {};

TEST_F(SkinViewInput, WheelZoomsByPowersAndStaysWithinRange) {
  view.WheelZoom(120);
  EXPECT_NEAR(view.zoom, 1.5 * std::pow(1.00125, 120), 1e-4);
  EXPECT_NEAR(view.zoom / 1.5, 1.162, 1e-3);
  view.WheelZoom(-120);
  EXPECT_NEAR(view.zoom, 1.5, 1e-3);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kFinalSkin, kFinalSkin}));
  view.WheelZoom(120 * 100);
  EXPECT_FLOAT_EQ(view.zoom, 12);
  view.WheelZoom(std::numeric_limits<int>::min());
  EXPECT_FLOAT_EQ(view.zoom, 1);
  view.WheelZoom(std::numeric_limits<int>::max());
  EXPECT_FLOAT_EQ(view.zoom, 12);
}

TEST_F(SkinViewInput, WheelEventReachesTheZoom) {
  PaneEvent wheel;
  wheel.type = PaneEventType::Wheel;
  wheel.wheelDelta = -240;
  Send(wheel);
  EXPECT_NEAR(view.zoom, 1.5 * std::pow(0.9987515, 240), 1e-4);
}

TEST_F(SkinViewInput, LeftNavigationPansWithRelativeMotion) {
  app.flags.cameraActive = true;
  Send(Press(kLeft, 50, 50));
  EXPECT_EQ(view.dragState(), kSkinNavigate);
  EXPECT_EQ(host.captures, 1);
  EXPECT_EQ(host.hideCalls, 1);  // the count went negative at once
  Send(MoveTo(56, 47, kHeldLeft));
  EXPECT_FLOAT_EQ(view.viewCenter.u, 12);  // 16 - 6 / 1.5
  EXPECT_FLOAT_EQ(view.viewCenter.v, 18);  // 16 + 3 / 1.5
  ASSERT_EQ(host.warps.size(), 1u);
  EXPECT_EQ(host.warps[0], std::make_pair(50, 50));
  Send(MoveTo(50, 50, kHeldLeft));  // the echo of the warp moves nothing
  EXPECT_FLOAT_EQ(view.viewCenter.u, 12);
  Send(Release(kLeft, 50, 50));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kQuickSkin, kFinalSkin}));
  EXPECT_EQ(host.showCalls, 1);
  EXPECT_EQ(host.displayCount, 0);
  EXPECT_EQ(host.releases, 1);
}

TEST_F(SkinViewInput, RightNavigationZoomsPerPixel) {
  app.flags.cameraActive = true;
  Send(Press(kRight, 50, 50));
  Send(MoveTo(50, 60, kHeldRight));
  EXPECT_NEAR(view.zoom, 1.5 * std::pow(0.99900097, 10), 1e-5);
  Send(MoveTo(50, 30, kHeldRight));
  EXPECT_NEAR(view.zoom, 1.5 * std::pow(0.99900097, 10) * std::pow(1.001, 20), 1e-5);
  Send(MoveTo(50, 50 - 5000, kHeldRight));
  EXPECT_FLOAT_EQ(view.zoom, 12);
  Send(Release(kRight, 50, 50));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(refresh.requests.back(), kFinalSkin);
}

TEST_F(SkinViewInput, SecondButtonTurnsPanIntoZoomAndTheLastReleaseEnds) {
  app.flags.cameraActive = true;
  Send(Press(kLeft, 50, 50));
  Send(Press(kRight, 50, 50, 0, kHeldLeft));  // no second drag
  EXPECT_EQ(view.dragState(), kSkinNavigate);
  EXPECT_EQ(host.captures, 1);
  Send(MoveTo(50, 40, kHeldLeft | kHeldRight));
  EXPECT_NEAR(view.zoom, 1.5 * std::pow(1.001, 10), 1e-5);
  EXPECT_FLOAT_EQ(view.viewCenter.v, 16);
  Send(Release(kLeft, 50, 50, kHeldRight));
  EXPECT_EQ(view.dragState(), kSkinNavigate);  // the right button still drives it
  Send(Release(kRight, 50, 50));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(host.releases, 1);
  EXPECT_EQ(host.displayCount, 0);
}

TEST_F(SkinViewInput, CursorCallsAreBoundedWhenTheCountNeverMoves) {
  host.countStuck = true;
  app.flags.cameraActive = true;
  Send(Press(kLeft, 50, 50));
  EXPECT_EQ(host.hideCalls, kMaxCursorCalls);
  Send(Release(kLeft, 50, 50));
  EXPECT_EQ(host.showCalls, 1);  // the stuck count of 0 already shows it
}

TEST_F(SkinViewInput, CornerButtonOpensTheMenuWhereverItIsReleased) {
  Send(Press(kLeft, 5, 5));
  EXPECT_EQ(view.dragState(), kSkinCornerButton);
  EXPECT_TRUE(view.cornerButtonPressed());
  Send(MoveTo(40, 40, kHeldLeft));
  EXPECT_FALSE(view.cornerButtonPressed());
  Send(MoveTo(10, 10, kHeldLeft));
  EXPECT_TRUE(view.cornerButtonPressed());
  Send(MoveTo(40, 40, kHeldLeft));
  Send(Release(kLeft, 40, 40));
  EXPECT_FALSE(view.cornerButtonPressed());
  EXPECT_EQ(view.dragState(), kSkinIdle);
  ASSERT_EQ(host.menus.size(), 1u);
  EXPECT_EQ(host.menus[0], std::make_pair(2, 3));
  EXPECT_EQ(host.releases, 1);
  EXPECT_EQ(refresh.requests.size(), 5u);  // pressed, raised, pressed, raised, final
}

TEST_F(SkinViewInput, CornerButtonTakesPrecedenceOverTheCamera) {
  app.flags.cameraActive = true;
  Send(Press(kLeft, 2, 3));
  EXPECT_EQ(view.dragState(), kSkinCornerButton);
  Send(CaptureLoss());
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_FALSE(view.cornerButtonPressed());
  EXPECT_TRUE(host.menus.empty());
  Send(Press(kLeft, 17, 10));  // just right of the button
  EXPECT_EQ(view.dragState(), kSkinNavigate);
}

TEST_F(SkinViewInput, PaintModeHandsStrokesAndPicksToThePainter) {
  Send(Press(kLeft, 60, 40));
  EXPECT_EQ(view.dragState(), kSkinPaintStroke);
  Send(MoveTo(61, 41, kHeldLeft));
  Send(Release(kLeft, 61, 41));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  Send(Press(kRight, 70, 30));
  EXPECT_EQ(view.dragState(), kSkinColourPick);
  Send(MoveTo(71, 30, kHeldRight));
  Send(Release(kRight, 71, 30));
  EXPECT_EQ(painter.calls,
            (std::vector<std::string>{"begin 60,40", "continue 61,41", "end", "pick 70,30", "pick 71,30"}));
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kFinalEdit}));
  EXPECT_EQ(host.captures, 2);
  EXPECT_EQ(host.releases, 2);
}

TEST_F(SkinViewInput, CaptureLossEndsAStrokeAndForgetsTheDrag) {
  Send(Press(kLeft, 60, 40));
  Send(CaptureLoss());
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(painter.calls.back(), "end");
  Send(Release(kLeft, 60, 40));  // no capture any more: ignored
  EXPECT_EQ(host.releases, 0);
  Send(Press(kRight, 60, 40));  // the view takes presses again
  EXPECT_EQ(view.dragState(), kSkinColourPick);
}

TEST_F(SkinViewInput, CaptureLossDuringNavigationShowsTheCursorAgain) {
  app.flags.cameraActive = true;
  Send(Press(kRight, 50, 50));
  Send(MoveTo(50, 55, kHeldRight));
  Send(CaptureLoss());
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(host.displayCount, 0);
  EXPECT_EQ(refresh.requests.back(), kFinalSkin);
  EXPECT_EQ(host.releases, 0);
  Send(MoveTo(50, 90, kHeldRight));  // moves while idle do nothing
  EXPECT_NEAR(view.zoom, 1.5 * std::pow(0.99900097, 5), 1e-5);
}

TEST_F(SkinViewInput, MovesWithoutADragDoNothing) {
  Send(MoveTo(10, 10, 0));
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_TRUE(painter.calls.empty());
}

TEST_F(SkinViewInput, MiddlePressIsIgnored) {
  PaneEvent middle = Press(kLeft, 50, 50);
  middle.button = PaneButton::Middle;
  Send(middle);
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(host.captures, 0);
}

TEST_F(SkinViewInput, SknFilterIsReadAtCreationAndWrittenAtTheEnd) {
  Write(settings, setting::SknFilter, 1);
  {
    SkinView other(app, *raster, host);
    EXPECT_EQ(other.filtered, 1);
    ToggleSkinFilter(app, other);
    EXPECT_EQ(refresh.requests.back(), kFinalSkin);
  }
  EXPECT_EQ(Read(settings, setting::SknFilter), 0);
}

TEST_F(SkinViewInput, ViewCentreStartsAtHalfTheDefaultSkinSize) {
  doc().placeholderSpec.width = 64;
  doc().placeholderSpec.height = 128;
  SkinView other(app, *raster, host);
  EXPECT_FLOAT_EQ(other.viewCenter.u, 32);
  EXPECT_FLOAT_EQ(other.viewCenter.v, 64);
  EXPECT_FLOAT_EQ(other.zoom, 1.5f);
}

TEST_F(SkinViewInput, MenuCommandsToggleAndRefresh) {
  ToggleUvLines(app);
  EXPECT_TRUE(app.flags.showUvLines);
  ToggleSkinTiled(app, view);
  EXPECT_EQ(view.tiled, 1);
  EXPECT_EQ(refresh.refills, 2);
  ToggleMappingFrame(app, view);
  EXPECT_EQ(view.frameVisible, 1);
  EXPECT_EQ(refresh.requests.back(), kFinalSkin);
}

TEST_F(SkinViewInput, TilingSetupStoresTheDialogChoicesWithinRange) {
  TilingSetup(app, view);  // cancelled
  EXPECT_EQ(refresh.refills, 0);
  prompter.tiling.answer = TilingOptions{true, 250};
  TilingSetup(app, view);
  EXPECT_EQ(view.tiled, 1);
  EXPECT_FLOAT_EQ(view.tileRepeat, 99);
  prompter.tiling.answer = TilingOptions{false, std::numeric_limits<float>::quiet_NaN()};
  TilingSetup(app, view);
  EXPECT_EQ(view.tiled, 0);
  EXPECT_FLOAT_EQ(view.tileRepeat, 1);
  EXPECT_EQ(refresh.refills, 2);
}

}  // namespace
}  // namespace mok

namespace mok {
namespace {

class SkinViewLimits : public viewtest::SkinViewFixture {};

TEST_F(SkinViewLimits, PanningFarAwayStopsAtTheCentreLimitAndStillRenders) {
  app.flags.cameraActive = true;
  view.zoom = 1;
  Send(Press(PaneButton::Left, 50, 50));
  Send(MoveTo(50 - 2000000000, 50 + 2000000000, kHeldLeft));
  Send(Release(PaneButton::Left, 0, 0));
  EXPECT_FLOAT_EQ(view.viewCenter.u, 131072);
  EXPECT_FLOAT_EQ(view.viewCenter.v, -131072);
  view.RenderView(kRefreshFinal);
  EXPECT_EQ(view.TexelAt(100, 50), -1);  // the skin is far out of sight
}

TEST(PaneCursorChoice, CameraFirstThenEditModeUnlessCustomCursorsAreOff) {
  EXPECT_EQ(ChoosePaneCursor(1, true, EditMode::Mapping), PaneCursor::Camera);
  EXPECT_EQ(ChoosePaneCursor(1, false, EditMode::Mapping), PaneCursor::Mapping);
  EXPECT_EQ(ChoosePaneCursor(1, false, EditMode::Paint), PaneCursor::Paint);
  EXPECT_EQ(ChoosePaneCursor(0, true, EditMode::Mapping), PaneCursor::System);
}

}  // namespace
}  // namespace mok

namespace mok {
namespace {

// The skin view driving the program's own painter.
class SkinViewPainting : public viewtest::SkinViewFixture {
 protected:
  SkinViewPainting() {
    view.SetPainter(&handoff);
    PaintSkin(0x102030);
    view.RenderView(kRefreshFinal);
    app.activeColor = 4;  // 0x444444
  }
  Painter realPainter{app};
  PainterHandoff handoff{realPainter};
};

TEST_F(SkinViewPainting, StrokePaintsTheTexelUnderTheCursorAndTheViewRecoloursIt) {
  const std::int32_t texel = view.TexelAt(100, 50);
  ASSERT_EQ(texel, 16 * 32 + 15);
  viewtest::Send(view, viewtest::Press(PaneButton::Left, 100, 50));
  EXPECT_EQ(doc().activeSkin->pixels[static_cast<std::size_t>(texel)], 0x444444u);
  EXPECT_EQ(doc().activeSkin->pixels[static_cast<std::size_t>(texel + 1)], 0x102030u);
  ASSERT_FALSE(refresh.requests.empty());
  EXPECT_EQ(refresh.requests.back(), (viewtest::RefreshCall{kPaneSkinView | kPaneIsoView, kRefreshPaint}));
  view.RenderView(kRefreshPaint);  // what the shell does with that request
  EXPECT_EQ(PixelAt(100, 49), 0x444444u);
  viewtest::Send(view, viewtest::Release(PaneButton::Left, 100, 50));
  EXPECT_TRUE(realPainter.StrokeMask().empty());
}

TEST_F(SkinViewPainting, RightDragPicksTheTexelColour) {
  doc().activeSkin->pixels[16 * 32 + 15] = 0xFEDCBA;
  viewtest::Send(view, viewtest::Press(PaneButton::Right, 100, 50));
  EXPECT_EQ(app.customColors[4], 0xFEDCBAu);
  viewtest::Send(view, viewtest::MoveTo(5, 95, kHeldRight));  // over the background: no change
  EXPECT_EQ(app.customColors[4], 0xFEDCBAu);
  viewtest::Send(view, viewtest::Release(PaneButton::Right, 5, 95));
  EXPECT_EQ(refresh.requests.back(), viewtest::kFinalEdit);
}

}  // namespace
}  // namespace mok
