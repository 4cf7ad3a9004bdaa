#include "panes/gradient_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "paint_test_support.h"

namespace mok {
namespace {

using test::RefreshCall;

constexpr RefreshCall kBoxQuick{kPaneGradient, kRefreshQuick};
constexpr RefreshCall kBoxFinal{kPaneGradient, kRefreshFinal};
constexpr RefreshCall kIsoQuick{kPaneIsoView, kRefreshQuick};
constexpr RefreshCall kIsoFinal{kPaneIsoView, kRefreshFinal};

// 24 x 227: bar presses above y = 227 - 27 = 200, the band at rows 200..214,
// the buttons at rows 215..226 (A: x 0..11, B: x 12..23).
class GradientBoxTest : public ::testing::Test {
 protected:
  GradientBoxTest() { box.Resize(24, 227); }
  void Click(const PaneEvent& e) { test::Click(box, e); }

  test::PaintApp fixture;
  Application& app = fixture.app;
  test::RefreshRecorder& refresh = fixture.refresh;
  test::BoxRecordingHost host;
  test::FakeSplitterShell shell;
  GradientBox box{fixture.app, fixture.shading, host, shell};
};

// ---- Strength ----

TEST_F(GradientBoxTest, LeftDragInTheBarSetsThePaintStrength) {
  app.paintStrength = 0.3;
  box.HandleEvent(test::PressLeft(5, 0));
  EXPECT_DOUBLE_EQ(app.paintStrength, 1.0);  // top of the bar
  EXPECT_EQ(box.dragState(), GradientBox::kStrengthDrag);
  EXPECT_TRUE(host.captured);
  EXPECT_TRUE(host.hidden);
  box.HandleEvent(test::MoveTo(5, 199));
  EXPECT_DOUBLE_EQ(app.paintStrength, 1.0 - 199.0 / 200.0);  // about 0
  box.HandleEvent(test::MoveTo(5, 100));
  EXPECT_DOUBLE_EQ(app.paintStrength, 0.5);
  box.HandleEvent(test::MoveTo(5, -40));
  EXPECT_DOUBLE_EQ(app.paintStrength, 1.0);
  box.HandleEvent(test::MoveTo(5, 900));
  EXPECT_DOUBLE_EQ(app.paintStrength, 0.0);
  box.HandleEvent(test::ReleaseLeft(5, 900));
  EXPECT_EQ(box.dragState(), GradientBox::kIdle);
  EXPECT_FALSE(host.captured);
  EXPECT_FALSE(host.hidden);
  EXPECT_EQ(host.shownAt, (std::pair{5, 0}));  // back on the press point
  std::vector<RefreshCall> expected(5, kBoxQuick);
  expected.push_back(kBoxFinal);
  EXPECT_EQ(refresh.requests, expected);
}

// ---- Gamma ----

TEST_F(GradientBoxTest, RightPressAtTheTopGivesGammaTwentyAndRebuildsTheTables) {
  shell.renderMode = 7;  // "Textured, F-Shade"
  box.HandleEvent(test::PressRight(5, 0));
  EXPECT_DOUBLE_EQ(fixture.shading.gamma, 20.0);
  EXPECT_EQ(fixture.shading.gammaTable[128], 0);  // (128 / 255)^20 * 255 = 0.0003
  EXPECT_EQ(fixture.shading.gammaTable[255], 255);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kIsoQuick, kBoxQuick}));
  box.HandleEvent(test::MoveTo(5, 100));  // f = 0.5: (1 - 0.5)^2 * 20 = 5
  EXPECT_DOUBLE_EQ(fixture.shading.gamma, 5.0);
  EXPECT_EQ(fixture.shading.gammaTable[128], 8);  // (128 / 255)^5 * 255 = 8.13
  EXPECT_EQ(fixture.shading.gammaTable, BuildGammaTable(5.0));
  box.HandleEvent(test::ReleaseRight(5, 100));
  EXPECT_EQ(refresh.Count(kIsoFinal), 1);
  EXPECT_EQ(refresh.Count(kBoxFinal), 1);
  EXPECT_EQ(host.shownAt, (std::pair{5, 0}));
}

TEST_F(GradientBoxTest, GammaOfOneLiesNearThreeQuartersDown) {
  EXPECT_NEAR(GammaFromBarFraction(0.776), 1.0, 0.01);  // 0.224^2 * 20 = 1.0035
  EXPECT_DOUBLE_EQ(GammaFromBarFraction(1.0), 0.0);
  EXPECT_DOUBLE_EQ(GammaFromBarFraction(-3.0), 20.0);
}

TEST_F(GradientBoxTest, GammaExtremesGiveUsableTables) {
  box.HandleEvent(test::PressRight(5, 199));  // f = 0.995: gamma 0.0005
  box.HandleEvent(test::MoveTo(5, 400));   // f = 1: gamma 0, every entry pow(x, 0) = 1 -> 255
  EXPECT_DOUBLE_EQ(fixture.shading.gamma, 0.0);
  EXPECT_EQ(fixture.shading.gammaTable[0], 255);
  EXPECT_EQ(fixture.shading.gammaTable[200], 255);
}

TEST_F(GradientBoxTest, UnshadedModesAreNotRefreshedByGamma) {
  for (int mode : {0, 1, 5, 6}) {
    shell.renderMode = mode;
    Click(test::PressRight(5, 50));
  }
  EXPECT_EQ(refresh.Count(kIsoQuick) + refresh.Count(kIsoFinal), 0);
}

TEST_F(GradientBoxTest, LosingTheMouseDuringAGammaDragRefreshesTheView) {
  box.HandleEvent(test::PressRight(5, 150));  // f = 0.75: gamma 1.25
  fixture.shading.gammaTable[200] = 0;  // stale, to see the rebuild
  box.HandleEvent(test::LoseCapture());
  EXPECT_EQ(fixture.shading.gammaTable[200], 188);  // (200 / 255)^1.25 * 255 = 188.2
  EXPECT_EQ(refresh.Count(kIsoFinal), 1);  // even in an unshaded mode
  EXPECT_EQ(box.dragState(), GradientBox::kIdle);
  EXPECT_FALSE(host.hidden);
}

TEST(ShadedModes, AreFlatGouraudPhongAndTheTexturedShadedOnes) {
  for (int mode = -1; mode <= 10; ++mode) {
    const bool shaded = mode == 2 || mode == 3 || mode == 4 || mode == 7 || mode == 8 || mode == 9;
    EXPECT_EQ(IsShadedRenderMode(mode), shaded) << mode;
  }
}

// ---- Band and split buttons ----

TEST_F(GradientBoxTest, LeftPressOnTheBandAsksForTheSplitterDrag) {
  box.HandleEvent(test::PressLeft(5, 205));
  EXPECT_EQ(shell.splitterDrags, 1);
  EXPECT_FALSE(host.captured);  // the shell captures for its drag
  box.SetSplitterDrag(true);
  EXPECT_EQ(box.dragState(), GradientBox::kSplitterDrag);
  box.Render();
  EXPECT_EQ(box.canvas().At(0, 200), box.buttonColours.shadow);  // band sunken
  const double strength = app.paintStrength;
  box.HandleEvent(test::PressLeft(5, 40));  // ignored during the drag
  EXPECT_DOUBLE_EQ(app.paintStrength, strength);
  box.HandleEvent(test::ReleaseLeft(5, 40));
  EXPECT_EQ(box.dragState(), GradientBox::kSplitterDrag);
  box.SetSplitterDrag(false);
  EXPECT_EQ(box.dragState(), GradientBox::kIdle);
  box.Render();
  EXPECT_EQ(box.canvas().At(0, 200), box.buttonColours.highlight);
}

TEST_F(GradientBoxTest, RightClickOnTheBandSwapsTheDisplaysOnRelease) {
  box.HandleEvent(test::PressRight(5, 214));
  EXPECT_EQ(box.dragState(), GradientBox::kSwapPress);
  EXPECT_EQ(shell.swaps, 0);
  box.HandleEvent(test::ReleaseLeft(5, 214));  // not the pressed button
  EXPECT_EQ(shell.swaps, 0);
  box.HandleEvent(test::ReleaseRight(5, 214));
  EXPECT_EQ(shell.swaps, 1);
  EXPECT_FALSE(host.captured);
}

TEST_F(GradientBoxTest, StoredPositionsAreStoredAndRecalled) {
  EXPECT_DOUBLE_EQ(box.presetA(), 0.25);
  EXPECT_DOUBLE_EQ(box.presetB(), 0.75);
  shell.split = 0.4;
  Click(test::PressRight(3, 222));  // store into A
  EXPECT_DOUBLE_EQ(box.presetA(), 0.4);
  EXPECT_TRUE(shell.applied.empty());
  shell.split = 0.1;  // the splitter moved since
  Click(test::PressLeft(3, 215));  // recall A
  Click(test::PressLeft(20, 226));  // recall B
  EXPECT_EQ(shell.applied, (std::vector<double>{0.4, 0.75}));
}

TEST_F(GradientBoxTest, CaptureLostOnAButtonDropsItsAction) {
  box.HandleEvent(test::PressLeft(3, 220));
  box.HandleEvent(test::LoseCapture());
  box.HandleEvent(test::ReleaseLeft(3, 220));
  EXPECT_TRUE(shell.applied.empty());
  EXPECT_EQ(box.dragState(), GradientBox::kIdle);
}

// ---- Cursor and wheel ----

TEST_F(GradientBoxTest, BarDragHidesACursorShownMoreThanOnceAndShowsItOnlyOnce) {
  host.displayCount = 2;  // another part of the program showed it twice
  box.HandleEvent(test::PressLeft(7, 30));
  EXPECT_TRUE(host.hidden);
  EXPECT_EQ(host.displayCount, -1);
  box.HandleEvent(test::MoveTo(7, 150));
  box.HandleEvent(test::ReleaseLeft(7, 150));
  EXPECT_EQ(host.displayCount, 0);  // visible, not pushed back up to 2
  EXPECT_EQ(host.shownAt, (std::pair{7, 30}));
}

TEST_F(GradientBoxTest, WheelChangesNothing) {
  app.paintStrength = 0.3;
  box.HandleEvent(test::WheelTurn(5, 20, -120));
  EXPECT_DOUBLE_EQ(app.paintStrength, 0.3);
  EXPECT_EQ(box.dragState(), GradientBox::kIdle);
  EXPECT_TRUE(refresh.requests.empty());
}

// ---- Picture ----

TEST(GradientBoxPicture, FillShowsStrengthShadedByTheGammaCurve) {
  test::PaintApp fixture;
  test::BoxRecordingHost host;
  test::FakeSplitterShell shell;
  GradientBox box(fixture.app, fixture.shading, host, shell);
  box.Resize(24, 129);  // bar rows 2..101: 100 rows
  fixture.app.paintStrength = 0.5;  // filled height 50
  box.Render();
  const BoxCanvas& c = box.canvas();
  // Row d from the bar's bottom (y = 101 - d) shows g[d * 255 / 50].
  EXPECT_EQ(c.At(10, 100), 0x050505u);  // d 1: g[5]
  EXPECT_EQ(c.At(10, 52), 0xF9F9F9u);   // d 49: g[249]
  EXPECT_EQ(c.At(10, 51), 0x000000u);   // d 50: above the fill
  EXPECT_EQ(c.At(10, 2), 0x000000u);
  EXPECT_EQ(c.At(1, 60), box.buttonColours.face);  // beside the bar
  fixture.shading.SetGamma(2.0);
  box.Render();
  EXPECT_EQ(c.At(10, 76), 0x3F3F3Fu);  // d 25: g[127] = 127^2 / 255 = 63.25
  // Band raised, buttons raised.
  EXPECT_EQ(c.At(0, 102), box.buttonColours.highlight);
  EXPECT_EQ(c.At(0, 117), box.buttonColours.highlight);
}

TEST(GradientBoxSize, ShortAndEmptyBoxesAreSafe) {
  test::PaintApp fixture;
  test::BoxRecordingHost host;
  test::FakeSplitterShell shell;
  GradientBox box(fixture.app, fixture.shading, host, shell);
  box.Resize(24, 28);  // no bar rows; presses at y 0 still reach the bar
  box.Render();
  box.HandleEvent(test::PressLeft(5, 0));
  EXPECT_DOUBLE_EQ(fixture.app.paintStrength, 1.0);
  box.HandleEvent(test::ReleaseLeft(5, 0));
  box.Resize(24, 20);  // no bar at all: the top rows are the band
  box.Render();
  box.HandleEvent(test::PressLeft(5, 0));
  EXPECT_EQ(shell.splitterDrags, 1);
  box.Resize(0, 0);
  box.Render();
  box.HandleEvent(test::PressRight(0, 0));
  EXPECT_EQ(box.dragState(), GradientBox::kIdle);
}

}  // namespace
}  // namespace mok
