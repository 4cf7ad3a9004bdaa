#include "panes/painting.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "paint_test_support.h"

namespace mok {
namespace {

using test::PaintApp;
using test::RefreshCall;

constexpr RefreshCall kPaintRefresh{kPaneSkinView | kPaneIsoView, kRefreshPaint};
constexpr RefreshCall kRestoreRefresh{kPaneSkinView | kPaneIsoView | kRenderWithoutRepaint, kRefreshPaint};

PaintBlend Blend(std::uint32_t colour, float strength, bool colorize = false) {
  PaintBlend b;
  b.colour = colour;
  b.strength = strength;
  b.colorize = colorize;
  return b;
}

std::vector<std::uint8_t> MaskFor(const SkinSlot& skin) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height), 0);
}

// A view that shows a skin at an integer zoom from its top-left corner: window
// pixel (x, y) shows texel (y / zoom, x / zoom); pixels beyond the skin show
// nothing. Ids are stored bottom-up like every pane buffer.
struct ZoomedView {
  ZoomedView(int skinWidth, int skinHeight, int zoom, int width, int height) : pitch(width), rows(height) {
    ids.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), -1);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const int u = x / zoom;
        const int v = y / zoom;
        if (u < skinWidth && v < skinHeight) {
          ids[static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
              v * skinWidth + u;
        }
      }
    }
  }
  TexelIdView view() const { return {ids.data(), pitch, rows, pitch}; }
  std::vector<std::int32_t> ids;
  int pitch;
  int rows;
};

class PaintingTest : public ::testing::Test {
 protected:
  SkinSlot& AddSkin(int width, int height, std::uint32_t fill) {
    auto slot = std::make_unique<SkinSlot>();
    AllocateSkin(*slot, width, height);
    std::fill(slot->pixels.begin(), slot->pixels.end(), fill);
    SkinSlot& skin = *slot;
    app.doc().skinSlots.push_back(std::move(slot));
    app.doc().activeSkin = &skin;
    return skin;
  }
  std::uint32_t Texel(const SkinSlot& skin, int column, int row) const {
    return skin.pixels[static_cast<std::size_t>(row * skin.width + column)];
  }
  int PaintedCount(const SkinSlot& skin, std::uint32_t original) const {
    int n = 0;
    for (std::uint32_t t : skin.pixels) n += t != original ? 1 : 0;
    return n;
  }

  PaintApp fixture;
  Application& app = fixture.app;
  test::RefreshRecorder& refresh = fixture.refresh;
  Painter painter{fixture.app};
};

// ---- PaintTexel ----

TEST(PaintTexel, FullStrengthGivesTheDrawingColourWithAZeroFourthByte) {
  EXPECT_EQ(PaintTexel(0xFF123456, Blend(0xABCDEF, 1.0F)), 0x00ABCDEFu);
  EXPECT_EQ(PaintTexel(0x00FFFFFF, Blend(0x000000, 1.0F)), 0x00000000u);
}

TEST(PaintTexel, HalfStrengthTruncatesTowardTheTexel) {
  // 0 + (255 - 0) * 0.5 = 127.5 -> 127 per channel.
  EXPECT_EQ(PaintTexel(0x000000, Blend(0xFFFFFF, 0.5F)), 0x7F7F7Fu);
  // 255 + (0 - 255) * 0.5 = 127.5 -> 127 (toward zero).
  EXPECT_EQ(PaintTexel(0xFFFFFF, Blend(0x000000, 0.5F)), 0x7F7F7Fu);
  // red 100 + (200 - 100) * 0.25 = 125; green 10 + (0 - 10) * 0.25 = 7.5 -> 7;
  // blue 40 + (40 - 40) * 0.25 = 40.
  EXPECT_EQ(PaintTexel(0x640A28, Blend(0xC80028, 0.25F)), 0x7D0728u);
}

TEST(PaintTexel, StrengthZeroKeepsTheTexelButDropsTheFourthByte) {
  EXPECT_EQ(PaintTexel(0xFF102030, Blend(0xFFFFFF, 0.0F)), 0x00102030u);
}

TEST(PaintTexel, ColorizeTintsGreyAndKeepsItsBrightness) {
  // Grey 0x80: value 128 / 256 = 0.5; red has hue 0, saturation 1, so the
  // drawing colour becomes HSV(0, 1, 0.5) = (0.5, 0, 0) -> 128, 0, 0.
  EXPECT_EQ(PaintTexel(0x808080, Blend(0xFF0000, 1.0F, true)), 0x800000u);
  EXPECT_EQ(PaintTexel(0x000000, Blend(0xFF0000, 1.0F, true)), 0x000000u);
  // White has no saturation: a bluish texel of value 0x80 becomes grey 0x80.
  EXPECT_EQ(PaintTexel(0x204080, Blend(0xFFFFFF, 1.0F, true)), 0x808080u);
  // Half strength on grey 0x80 toward (128, 0, 0): red stays 128, green and
  // blue 128 + (0 - 128) * 0.5 = 64.
  EXPECT_EQ(PaintTexel(0x808080, Blend(0xFF0000, 0.5F, true)), 0x804040u);
}

TEST(PaintTexel, ApplicationSettingsMakeTheBlend) {
  PaintApp fixture;
  fixture.app.customColors[3] = 0x123456;
  fixture.app.activeColor = 3;
  fixture.app.paintStrength = 1.5;  // out of range: held at full strength
  fixture.app.flags.colorizeMode = true;
  const PaintBlend blend = CurrentBlend(fixture.app);
  EXPECT_EQ(blend.colour, 0x123456u);
  EXPECT_FLOAT_EQ(blend.strength, 1.0F);
  EXPECT_TRUE(blend.colorize);
}

TEST(PaintTexel, ActiveColourOutOfRangeUsesTheLastUserColour) {
  PaintApp fixture;
  fixture.app.customColors[7] = 0x010203;
  fixture.app.activeColor = 12;
  EXPECT_EQ(CurrentBlend(fixture.app).colour, 0x010203u);
  fixture.app.activeColor = -4;
  EXPECT_EQ(CurrentBlend(fixture.app).colour, fixture.app.customColors[0]);
}

// ---- StampBrush ----

TEST_F(PaintingTest, SecondPassInOneStrokeLeavesTheTexelAlone) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  auto mask = MaskFor(skin);
  EXPECT_TRUE(StampBrush(skin, mask, 5, 0, Blend(0xFFFFFF, 0.5F)));
  EXPECT_FALSE(StampBrush(skin, mask, 5, 0, Blend(0xFFFFFF, 0.5F)));
  EXPECT_EQ(Texel(skin, 1, 1), 0x7F7F7Fu);
  EXPECT_EQ(PaintedCount(skin, 0), 1);
}

TEST_F(PaintingTest, BrushAtTheCornerPaintsOnlyTexelsInsideTheSkin) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  auto mask = MaskFor(skin);
  ASSERT_TRUE(StampBrush(skin, mask, 0, 1, Blend(0xFFFFFF, 1.0F)));
  EXPECT_EQ(PaintedCount(skin, 0), 4);  // rows 0-1 x columns 0-1 of the 3 x 3 square
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) EXPECT_EQ(Texel(skin, column, row), 0xFFFFFFu);
  }
  auto other = MaskFor(skin);
  ASSERT_TRUE(StampBrush(skin, other, 15, 2, Blend(0x00FF00, 1.0F)));
  // Around (3, 3) with radius 2 the skin holds rows 1-3 x columns 1-3.
  EXPECT_EQ(Texel(skin, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(Texel(skin, 1, 1), 0x00FF00u);
  EXPECT_EQ(Texel(skin, 0, 3), 0x000000u);
  EXPECT_EQ(PaintedCount(skin, 0), 4 + 9 - 1);  // (1, 1) was white and is now green
}

TEST_F(PaintingTest, StampOnAWideSkinUsesTheSkinWidthForRowAndColumn) {
  SkinSlot& skin = AddSkin(512, 256, 0x000000);
  auto mask = MaskFor(skin);
  ASSERT_TRUE(StampBrush(skin, mask, 200 * 512 + 400, 2, Blend(0xFFFFFF, 1.0F)));
  EXPECT_EQ(PaintedCount(skin, 0), 25);
  EXPECT_EQ(Texel(skin, 398, 198), 0xFFFFFFu);
  EXPECT_EQ(Texel(skin, 402, 202), 0xFFFFFFu);
  EXPECT_EQ(Texel(skin, 403, 200), 0x000000u);
  EXPECT_EQ(Texel(skin, 400, 197), 0x000000u);
}

TEST_F(PaintingTest, TexelIdsOutsideTheSkinPaintNothing) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  auto mask = MaskFor(skin);
  for (std::int32_t bad : {-1, -2, 16, 1 << 30}) EXPECT_FALSE(StampBrush(skin, mask, bad, 2, Blend(0xFFFFFF, 1.0F)));
  auto shortMask = std::vector<std::uint8_t>(3, 0);
  EXPECT_FALSE(StampBrush(skin, shortMask, 0, 0, Blend(0xFFFFFF, 1.0F)));
  EXPECT_EQ(PaintedCount(skin, 0), 0);
}

TEST_F(PaintingTest, RadiusBeyondTheLargestBrushIsHeldAtFiveByFive) {
  SkinSlot& skin = AddSkin(16, 16, 0x000000);
  auto mask = MaskFor(skin);
  StampBrush(skin, mask, 8 * 16 + 8, 9, Blend(0xFFFFFF, 1.0F));
  EXPECT_EQ(PaintedCount(skin, 0), 25);
}

// ---- Views ----

TEST(TexelIdView, WindowRowsCountFromTheTopOverBottomUpIds) {
  // 3 x 2 buffer, ids bottom-up: row 0 in memory is the bottom line.
  const std::int32_t ids[] = {10, 11, 12, 20, 21, 22};
  TexelIdView view{ids, 3, 2, 3};
  EXPECT_EQ(view.TexelAt({0, 0}), 20);  // top line
  EXPECT_EQ(view.TexelAt({2, 1}), 12);  // bottom line
  EXPECT_EQ(view.TexelAt({3, 0}), -1);
  EXPECT_EQ(view.TexelAt({0, -1}), -1);
  TexelIdView narrow{ids, 3, 2, 2};  // the third column is padding past the client area
  EXPECT_EQ(narrow.TexelAt({2, 0}), -1);
}

// ---- Strokes ----

TEST_F(PaintingTest, PencilAtZoomEightPaintsEachTexelOnce) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  app.paintStrength = 0.5;
  app.flags.brushKind = BrushKind::Pencil;
  const ZoomedView zoomed(4, 4, 8, 32, 32);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {1, 1}));
  // Wander inside texel (0, 0), then cross into (1, 0) and come back.
  for (WindowPoint p : {WindowPoint{2, 3}, {6, 6}, {7, 1}, {3, 5}, {12, 4}, {9, 2}, {5, 5}}) {
    painter.MoveStroke(zoomed.view(), p);
  }
  // Painted once: 127, not 127 + (255 - 127) * 0.5 = 191.
  EXPECT_EQ(Texel(skin, 0, 0), 0x7F7F7Fu);
  EXPECT_EQ(Texel(skin, 1, 0), 0x7F7F7Fu);
  EXPECT_EQ(PaintedCount(skin, 0), 2);
  painter.EndStroke();
  EXPECT_FALSE(painter.StrokeInProgress());
  EXPECT_TRUE(painter.StrokeMask().empty());
}

TEST_F(PaintingTest, AStrokeIsOneUndoStep) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  app.history.Reset(app.doc());
  app.customColors[0] = 0xFFFFFF;
  app.flags.brushKind = BrushKind::Pencil;
  const ZoomedView zoomed(4, 4, 8, 32, 32);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {4, 4}));
  painter.MoveStroke(zoomed.view(), {28, 4});
  painter.EndStroke();
  EXPECT_EQ(app.history.UndoName(), "Paint Stroke");
  ASSERT_TRUE(app.history.Undo(app.doc()));
  EXPECT_EQ(PaintedCount(skin, 0), 0);
  ASSERT_TRUE(app.history.Redo(app.doc()));
  EXPECT_EQ(PaintedCount(skin, 0), 4);
}

TEST_F(PaintingTest, LineBrushLeavesOnlyTheFinalLine) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  app.flags.brushKind = BrushKind::Line;
  const ZoomedView zoomed(4, 4, 8, 32, 32);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {4, 4}));
  painter.MoveStroke(zoomed.view(), {28, 4});  // along the top row
  EXPECT_EQ(PaintedCount(skin, 0), 4);
  painter.MoveStroke(zoomed.view(), {4, 28});  // back, then down the left column
  painter.EndStroke();
  for (int row = 0; row < 4; ++row) EXPECT_EQ(Texel(skin, 0, row), 0xFFFFFFu) << row;
  EXPECT_EQ(PaintedCount(skin, 0), 4);
  // Each move first renders the restored texels without showing them.
  EXPECT_EQ(refresh.Count(kRestoreRefresh), 2);
}

// The views recolour the marked texels when they see the restore request, so
// the old line's texels must still be marked then, with their colours back;
// the request is sent, not posted, so the views draw before the mask clears.
TEST_F(PaintingTest, RestoreRequestSeesTheOldLineStillMarked) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  app.flags.brushKind = BrushKind::Line;
  std::vector<std::vector<int>> markedAtRestore;
  refresh.onRefresh = [&](const RefreshRequest& request) {
    if (request.redraw != Redraw::RenderOnly) return;
    EXPECT_EQ(request.delivery, Delivery::Send);
    std::vector<int> marked;
    for (std::size_t i = 0; i < painter.StrokeMask().size(); ++i) {
      if (painter.StrokeMask()[i] == 0) continue;
      marked.push_back(static_cast<int>(i));
      EXPECT_EQ(skin.pixels[i], 0u) << i;  // already restored
    }
    markedAtRestore.push_back(marked);
  };
  const ZoomedView zoomed(4, 4, 8, 32, 32);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {4, 4}));
  painter.MoveStroke(zoomed.view(), {28, 4});
  painter.MoveStroke(zoomed.view(), {4, 28});
  // First the press stamp, then the line along the top row.
  EXPECT_EQ(markedAtRestore, (std::vector<std::vector<int>>{{0}, {0, 1, 2, 3}}));
}

TEST_F(PaintingTest, LineBackOnAnEmptyPressPointStillShowsTheRestoredSkin) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  app.flags.brushKind = BrushKind::Line;
  const ZoomedView zoomed(4, 4, 8, 64, 64);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {40, 4}));  // press beside the skin
  painter.MoveStroke(zoomed.view(), {4, 4});
  EXPECT_EQ(PaintedCount(skin, 0), 4);  // the top row up to the press column
  refresh.requests.clear();
  painter.MoveStroke(zoomed.view(), {40, 4});  // a line of one point with no texel
  EXPECT_EQ(PaintedCount(skin, 0), 0);
  // The restore was rendered without a repaint; a repaint must follow.
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kRestoreRefresh, kPaintRefresh}));
}

TEST_F(PaintingTest, PointBrushOverNoSkinPaintsAndRefreshesNothing) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  const ZoomedView zoomed(4, 4, 8, 64, 64);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {40, 40}));  // beyond the skin
  painter.MoveStroke(zoomed.view(), {50, 2});
  EXPECT_EQ(PaintedCount(skin, 0), 0);
  EXPECT_TRUE(refresh.requests.empty());
  painter.MoveStroke(zoomed.view(), {9, 9});
  EXPECT_EQ(Texel(skin, 1, 1), 0xFFFFFFu);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kPaintRefresh}));
  EXPECT_EQ(painter.StrokeMask()[5], 1);
}

TEST_F(PaintingTest, PencilLineVisitsThePixelsOfTheAccumulatorWalk) {
  SkinSlot& skin = AddSkin(32, 8, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  app.flags.brushKind = BrushKind::Pencil;
  const ZoomedView zoomed(32, 8, 1, 32, 8);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {0, 0}));
  painter.MoveStroke(zoomed.view(), {31, 5});
  // dx 31, dy 5: step = 5 * 65536 / 31 = 10570. The accumulator carries after
  // steps 7 (73990), 13 (137410), 19 (200830) and 25 (264250), so y is 0 for
  // x 0-6, 1 for 7-12, 2 for 13-18, 3 for 19-24, 4 for 25-30, and the end (31, 5).
  std::set<int> expected;
  for (int x = 0; x < 31; ++x) expected.insert((x < 7 ? 0 : x < 13 ? 1 : x < 19 ? 2 : x < 25 ? 3 : 4) * 32 + x);
  expected.insert(5 * 32 + 31);
  std::set<int> painted;
  for (int i = 0; i < 32 * 8; ++i) {
    if (skin.pixels[static_cast<std::size_t>(i)] != 0) painted.insert(i);
  }
  EXPECT_EQ(painted, expected);
  // One refresh for the press stamp and one at the end of the segment.
  EXPECT_EQ(refresh.Count(kPaintRefresh), 2);
}

TEST_F(PaintingTest, LinesAreClippedToTheClientArea) {
  SkinSlot& skin = AddSkin(32, 8, 0x000000);
  app.customColors[0] = 0xFFFFFF;
  app.flags.brushKind = BrushKind::Pencil;
  const ZoomedView zoomed(32, 8, 1, 32, 8);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {-10, 2}));
  painter.MoveStroke(zoomed.view(), {-10, 2});  // one point outside: nothing
  EXPECT_EQ(PaintedCount(skin, 0), 0);
  painter.MoveStroke(zoomed.view(), {40, 2});
  for (int x = 0; x < 32; ++x) EXPECT_EQ(Texel(skin, x, 2), 0xFFFFFFu) << x;
  EXPECT_EQ(PaintedCount(skin, 0), 32);
  painter.MoveStroke(zoomed.view(), {40, 50});  // wholly outside: nothing left
  EXPECT_EQ(PaintedCount(skin, 0), 32);
}

TEST_F(PaintingTest, WithoutAnActiveSkinThereIsNoStroke) {
  const ZoomedView zoomed(4, 4, 1, 4, 4);
  EXPECT_FALSE(painter.BeginStroke(zoomed.view(), {1, 1}));
  painter.MoveStroke(zoomed.view(), {2, 2});
  EXPECT_FALSE(painter.PickAt(zoomed.view(), {1, 1}));
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(PaintingTest, PlaceholderSkinsCanBePainted) {
  SkinSlot& skin = AddSkin(4, 4, 0);
  MakePlaceholder(skin, 0, PlaceholderSpec{4, 4, 1});
  ASSERT_EQ(skin.isEmpty, 1);
  app.customColors[0] = 0x123456;
  const ZoomedView zoomed(4, 4, 1, 4, 4);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {2, 1}));
  EXPECT_EQ(Texel(skin, 2, 1), 0x123456u);
}

TEST_F(PaintingTest, SkinWithoutTexelsGivesNoStroke) {
  SkinSlot& skin = AddSkin(4, 4, 0);
  skin.pixels.clear();
  const ZoomedView zoomed(4, 4, 1, 4, 4);
  EXPECT_FALSE(painter.BeginStroke(zoomed.view(), {1, 1}));
}

TEST_F(PaintingTest, ChangingTheActiveSkinMidStrokeStopsPainting) {
  AddSkin(4, 4, 0);
  const ZoomedView zoomed(4, 4, 1, 4, 4);
  ASSERT_TRUE(painter.BeginStroke(zoomed.view(), {0, 0}));
  SkinSlot& other = AddSkin(4, 4, 0);
  app.customColors[0] = 0xFFFFFF;
  painter.MoveStroke(zoomed.view(), {3, 3});
  EXPECT_EQ(PaintedCount(other, 0), 0);
}

// ---- Colour pick ----

TEST_F(PaintingTest, PickTakesTheTexelUnderTheCursorIntoTheActiveColour) {
  SkinSlot& skin = AddSkin(4, 4, 0x000000);
  skin.pixels[6] = 0xFF123456;  // a 32-bit TGA texel with its alpha byte
  app.activeColor = 4;
  const ZoomedView zoomed(4, 4, 8, 64, 64);
  EXPECT_TRUE(painter.PickAt(zoomed.view(), {17, 9}));  // texel (2, 1) = index 6
  EXPECT_EQ(app.customColors[4], 0x123456u);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPanePalette, kRefreshFinal}}));
  EXPECT_FALSE(painter.PickAt(zoomed.view(), {18, 10}));  // same colour: no change
  EXPECT_FALSE(painter.PickAt(zoomed.view(), {60, 60}));  // background
  EXPECT_FALSE(painter.PickAt(zoomed.view(), {-3, 10}));  // outside the view
  EXPECT_EQ(app.customColors[4], 0x123456u);
  painter.EndPick();
  EXPECT_EQ(refresh.requests.back(), (RefreshCall{kPaneSkinView | kPaneIsoView, kRefreshFinal}));
}

TEST_F(PaintingTest, PickIgnoresIdsOutsideTheSkin) {
  SkinSlot& skin = AddSkin(2, 2, 0x000000);
  skin.pixels[3] = 0x00FF00;
  EXPECT_FALSE(painter.PickTexel(4));
  EXPECT_FALSE(painter.PickTexel(-1));
  EXPECT_TRUE(painter.PickTexel(3));
  EXPECT_EQ(app.customColors[0], 0x00FF00u);
}

}  // namespace
}  // namespace mok
