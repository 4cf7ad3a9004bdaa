// The main window's pane layout, splitter snapping, wheel routing and the
// "Textures" band, against hand-worked numbers.
#include <gtest/gtest.h>

#include "app/pane_layout.h"

namespace mok {
namespace {

void ExpectRect(const Rect& rect, int x, int y, int width, int height) {
  EXPECT_EQ(rect.x, x);
  EXPECT_EQ(rect.y, y);
  EXPECT_EQ(rect.width, width);
  EXPECT_EQ(rect.height, height);
}

TEST(PaneLayout, SplitsTheFreeWidthAndPutsThePaletteBelowOrAbove) {
  PaneLayout layout;  // 0.65, palette below, skin view left
  layout.Relayout(1000, 600);
  // b = (1000 - 24) * 0.65 = 634.4, truncated.
  ExpectRect(layout.leftRect, 0, 0, 634, 565);
  ExpectRect(layout.gradientRect, 634, 0, 24, 565);
  ExpectRect(layout.rightRect, 658, 0, 342, 565);
  ExpectRect(layout.palRect, 0, 565, 1000, 35);
  EXPECT_EQ(&layout.skinRect(), &layout.leftRect);

  layout.palOnTop = 1;
  layout.Swap();
  layout.Relayout(1000, 600);
  ExpectRect(layout.palRect, 0, 0, 1000, 35);
  ExpectRect(layout.leftRect, 0, 35, 634, 565);
  ExpectRect(layout.rightRect, 658, 35, 342, 565);
  EXPECT_EQ(&layout.skinRect(), &layout.rightRect);
  EXPECT_EQ(&layout.isoRect(), &layout.leftRect);
}

TEST(PaneLayout, EndFractionsAndTinyClientsGiveEmptyPanesNeverNegativeOnes) {
  PaneLayout layout;
  layout.splitFraction = 0;
  layout.Relayout(500, 400);
  ExpectRect(layout.leftRect, 0, 0, 0, 365);
  ExpectRect(layout.gradientRect, 0, 0, 24, 365);
  layout.splitFraction = 1;
  layout.Relayout(500, 400);
  ExpectRect(layout.gradientRect, 476, 0, 24, 365);
  ExpectRect(layout.rightRect, 500, 0, 0, 365);

  layout.splitFraction = 0.5;
  layout.Relayout(10, 20);
  ExpectRect(layout.leftRect, 0, 0, 0, 0);
  ExpectRect(layout.gradientRect, 0, 0, 10, 0);
  ExpectRect(layout.rightRect, 24, 0, 0, 0);
  ExpectRect(layout.palRect, 0, 0, 10, 20);
  layout.Relayout(0, 0);
  EXPECT_EQ(layout.BoxAt(0, 0), PaneBox::None);
}

TEST(SplitterDrag, SnapsWithinSixtyFourPixelsAndTheRightSnapWins) {
  EXPECT_DOUBLE_EQ(SplitFractionAt(63, 1000), 0.0);
  EXPECT_DOUBLE_EQ(SplitFractionAt(64, 1000), 0.064);
  EXPECT_DOUBLE_EQ(SplitFractionAt(936, 1000), 0.936);
  EXPECT_DOUBLE_EQ(SplitFractionAt(937, 1000), 1.0);
  EXPECT_DOUBLE_EQ(SplitFractionAt(-40, 1000), 0.0);
  EXPECT_DOUBLE_EQ(SplitFractionAt(1300, 1000), 1.0);
  // Narrower than 128: x = 50 is under 64 and over 100 - 64.
  EXPECT_DOUBLE_EQ(SplitFractionAt(50, 100), 1.0);
  EXPECT_DOUBLE_EQ(SplitFractionAt(30, 100), 0.0);
  EXPECT_DOUBLE_EQ(SplitFractionAt(0, 0), 1.0);
}

TEST(PaneLayout, WheelGoesToTheBoxUnderThePointButNotTheStrip) {
  PaneLayout layout;
  layout.Relayout(1000, 600);
  EXPECT_EQ(WheelTarget(layout, 10, 10), PaneBox::Skin);
  EXPECT_EQ(WheelTarget(layout, 700, 10), PaneBox::Iso);
  EXPECT_EQ(WheelTarget(layout, 640, 10), PaneBox::None);
  EXPECT_EQ(layout.BoxAt(640, 10), PaneBox::Gradient);
  EXPECT_EQ(WheelTarget(layout, 640, 570), PaneBox::Palette);
  layout.Swap();
  EXPECT_EQ(WheelTarget(layout, 10, 10), PaneBox::Iso);
  EXPECT_EQ(WheelTarget(layout, 700, 10), PaneBox::Skin);
}

TEST(TexturesBand, ListsShareTheWidthByWhatTheModeShows) {
  auto places = PlaceTextureLists({true, true, true}, 0, 301);
  EXPECT_EQ(places.texturesRight, 100);
  EXPECT_EQ(places.phongLeft, 100);
  EXPECT_EQ(places.phongRight, 200);  // 100 + 201 / 2
  EXPECT_EQ(places.envLeft, 200);
  EXPECT_EQ(places.envRight, 301);
  places = PlaceTextureLists({true, false, true}, 10, 311);
  EXPECT_EQ(places.texturesRight, 160);
  EXPECT_EQ(places.envLeft, 160);
  EXPECT_EQ(places.envRight, 311);
  places = PlaceTextureLists({false, true, true}, 0, 301);
  EXPECT_EQ(places.phongRight, 150);
  EXPECT_EQ(places.envLeft, 150);
  places = PlaceTextureLists({false, false, true}, 5, 99);
  EXPECT_EQ(places.envLeft, 5);
  EXPECT_EQ(places.envRight, 99);
  places = PlaceTextureLists({true, false, false}, 5, 99);
  EXPECT_EQ(places.texturesRight, 99);
  EXPECT_EQ(places.phongRight, 0);
}

}  // namespace
}  // namespace mok
