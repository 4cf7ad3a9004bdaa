// What the skin view draws: coordinates, the tiled skin with its texel ids,
// the outline passes, the partial refresh kinds and awkward sizes.

#include <algorithm>
#include <set>

#include "tests/skin/skin_view_test_support.h"

namespace mok {
namespace {

using namespace viewtest;

class SkinViewRender : public SkinViewFixture {};

TEST_F(SkinViewRender, CoordinateRulesAtZoomOneAndAHalf) {
  const SkinViewport at{200, 100, {16, 16}, 1.5f};
  const BufferPoint drawn = at.VertexInBuffer({16, 16});
  EXPECT_EQ(drawn.x, 100);   // 100.75 truncated
  EXPECT_EQ(drawn.row, 49);  // 49.25 truncated: window row 50 from the top
  const UvPair under = at.SkinPoint(100, 50);
  EXPECT_FLOAT_EQ(under.u, 16);
  EXPECT_FLOAT_EQ(under.v, 16);
  const UvPair left = at.SkinPoint(85, 80);
  EXPECT_FLOAT_EQ(left.u, 6);   // 16 + (85 - 100) / 1.5
  EXPECT_FLOAT_EQ(left.v, 36);  // 16 + (80 - 50) / 1.5
  const RasterPoint2 hit = at.VertexInWindow({16, 16});
  EXPECT_FLOAT_EQ(hit.x, 100.75f);
  EXPECT_FLOAT_EQ(hit.y, 50.75f);
  // Negative offsets truncate toward zero, not down.
  EXPECT_EQ(at.VertexInBuffer({15, 16}).x, 99);   // 99.25
  EXPECT_EQ(at.VertexInBuffer({10, 16}).x, 91);   // 91.75
  EXPECT_EQ(at.CornerInBuffer(-70, 16).x, -29);  // -29 exactly
  EXPECT_EQ(at.CornerInBuffer(-70.5f, 16).x, -29);  // -29.75
}

TEST_F(SkinViewRender, OutlineCornerLandsOnItsTexelCentre) {
  PaintSkin(0x102030);
  app.flags.showUvLines = true;
  AddFace({16, 16}, {36, 16}, {16, 36});
  view.RenderView(kRefreshFinal);
  EXPECT_EQ(PixelAt(100, 49), 0x111111u);  // colour 1: unselected outline
  EXPECT_EQ(PixelAt(130, 49), 0x111111u);  // (36, 16): 100.75 + 30
  EXPECT_EQ(PixelAt(100, 50), 0x102030u);  // above the line: skin
  EXPECT_GE(IdAt(100, 50), 0);  // the line leaves the texel ids alone
}

TEST_F(SkinViewRender, PitchIsTheWidthRoundedUpToFour) {
  view.Resize(201, 50);
  EXPECT_EQ(view.pitch(), 204);
  EXPECT_EQ(view.height(), 50);
  EXPECT_EQ(view.ClientWidth(), 201);
  EXPECT_EQ(view.colours().size(), 204u * 50u);
  EXPECT_EQ(view.texelIds().size(), 204u * 50u);
  EXPECT_EQ(view.TexelAt(202, 10), -1);  // rendered but not shown
  EXPECT_EQ(view.TexelAt(-1, 10), -1);
  EXPECT_EQ(view.TexelAt(10, 50), -1);
}

TEST_F(SkinViewRender, UntiledSkinCoversItsOwnRectangleWithIds) {
  view.RenderView(kRefreshFinal);
  // u 0..32 -> columns 100 - 24 = 76 .. 124, v 0..32 -> rows 74 .. 26.
  EXPECT_EQ(IdAt(75, 50), -1);
  EXPECT_EQ(PixelAt(75, 50), 0x777777u);  // colour 7 around the skin
  EXPECT_EQ(IdAt(76, 74), 0);              // top-left texel at the top-left corner
  EXPECT_EQ(IdAt(124, 26), 31 * 32 + 31);  // bottom-right texel at the other corner
  EXPECT_EQ(IdAt(125, 50), -1);
  // The shown texel's colour, through the window point.
  // Window row 50 is buffer row 49: v = 5462 + 25 * 43463 = 16.66.. (16.16),
  // u = 5462 + 24 * 42576 = 15.67..
  const std::int32_t id = view.TexelAt(100, 50);
  EXPECT_EQ(id, 16 * 32 + 15);
  EXPECT_EQ(PixelAt(100, 49), doc().activeSkin->pixels[static_cast<std::size_t>(id)]);
}

TEST_F(SkinViewRender, QuickRenderLeavesNoTexelIds) {
  view.RenderView(kRefreshQuick);
  EXPECT_TRUE(std::all_of(view.texelIds().begin(), view.texelIds().end(), [](std::int32_t id) { return id == -1; }));
  EXPECT_EQ(PixelAt(100, 49), doc().activeSkin->pixels[15 * 32 + 16]);
}

// A drag that only moves lines reuses the skin it drew at its last step; any
// change of the skin or of how the view shows it must still be drawn.
TEST_F(SkinViewRender, QuickStepsOfALinesOnlyDragShowEveryChange) {
  app.flags.editMode = EditMode::Mapping;
  AddFace({4, 4}, {20, 4}, {4, 20}, kFaceSelected);
  Send(Press(kRight, 100, 50));
  ASSERT_EQ(view.dragState(), kSkinTransform);
  auto expectFresh = [&](const char* change) {
    view.RenderView(kRefreshQuick);
    SkinView fresh{app, *raster, host};
    fresh.viewCenter = view.viewCenter;
    fresh.zoom = view.zoom;
    fresh.filtered = view.filtered;
    fresh.tiled = view.tiled;
    fresh.tileRepeat = view.tileRepeat;
    fresh.Resize(view.ClientWidth(), view.height());
    fresh.RenderView(kRefreshQuick);
    EXPECT_EQ(view.colours(), fresh.colours()) << change;
    EXPECT_EQ(view.texelIds(), fresh.texelIds()) << change;
  };
  view.RenderView(kRefreshFinal);
  expectFresh("first step");
  Send(MoveTo(103, 52, kHeldRight));
  expectFresh("lines moved");
  doc().activeSkin->pixels[15 * 32 + 16] ^= 0xFFFFFF;
  expectFresh("one texel");
  view.zoom = 2;
  expectFresh("zoom");
  view.viewCenter.u += 0.5f;
  expectFresh("centre");
  view.filtered = 1;
  expectFresh("filter");
  view.tiled = 1;
  view.tileRepeat = 3;
  expectFresh("tiling");
  app.customColors[7] = 0x123456;
  expectFresh("background");
  AllocateSkin(*doc().activeSkin, 16, 64);
  expectFresh("skin size");
  view.Resize(160, 90);
  expectFresh("buffer size");
  view.ResizeBuffers(150, 90);
  app.customColors[7] = 0x654321;
  expectFresh("background between a resize and its render");
}

TEST_F(SkinViewRender, TiledSkinShowsNineCopiesWithIdsIntoTheOneSkin) {
  SkinSlot& skin = *doc().activeSkin;
  AllocateSkin(skin, 64, 64);
  for (std::size_t i = 0; i < skin.pixels.size(); ++i) skin.pixels[i] = static_cast<std::uint32_t>(i * 7919 % 0xFFFFFF);
  view.Resize(256, 256);
  view.zoom = 1;
  view.viewCenter = {32, 32};
  view.tiled = 1;
  view.tileRepeat = 3;
  view.RenderView(kRefreshFinal);
  // u from -64 to 128 lands on columns 128 - 96 = 32 .. 224; rows likewise.
  std::set<std::int32_t> seen;
  for (int row = 0; row < 256; ++row) {
    for (int x = 0; x < 256; ++x) {
      if (InCornerButton(x, 255 - row, 1)) continue;
      const bool inside = x >= 32 && x <= 224 && row >= 32 && row <= 224;
      const std::int32_t id = IdAt(x, row);
      if (!inside) {
        ASSERT_EQ(id, -1) << x << "," << row;
        ASSERT_EQ(PixelAt(x, row), 0x777777u);
        continue;
      }
      ASSERT_GE(id, 0) << x << "," << row;
      ASSERT_LT(id, 64 * 64);
      ASSERT_EQ(PixelAt(x, row), skin.pixels[static_cast<std::size_t>(id)]);
      seen.insert(id);
    }
  }
  EXPECT_EQ(seen.size(), 64u * 64u);
  // The middle of every copy shows about the middle texel of the skin: one
  // rectangle of 193 pixels carries 192 texels, so later copies lag a little.
  for (int by = 0; by < 3; ++by) {
    for (int bx = 0; bx < 3; ++bx) {
      const std::int32_t id = IdAt(32 + bx * 64 + 32, 224 - by * 64 - 32);
      EXPECT_NEAR(id % 64, 32, 2) << bx << "," << by;
      EXPECT_NEAR(id / 64, 32, 2) << bx << "," << by;
    }
  }
}

TEST_F(SkinViewRender, RepeatBelowOneDrawsAsOne) {
  view.tiled = 1;
  view.tileRepeat = 1;
  view.RenderView(kRefreshFinal);
  const std::vector<std::int32_t> once = view.texelIds();
  view.tileRepeat = 0.5f;
  view.RenderView(kRefreshFinal);
  EXPECT_EQ(view.texelIds(), once);
}

TEST_F(SkinViewRender, HugeRepeatOfALargeSkinStaysWithinItsTexels) {
  SkinSlot& skin = *doc().activeSkin;
  AllocateSkin(skin, 2048, 16);
  view.tiled = 1;
  view.tileRepeat = 99;  // 99 skins of 2048 texels do not fit 16.16
  view.zoom = 1;
  view.RenderView(kRefreshFinal);
  for (std::int32_t id : view.texelIds()) ASSERT_LT(id, 2048 * 16);
  EXPECT_GE(IdAt(100, 50), 0);
}

TEST_F(SkinViewRender, OutlinePassesColourByStateAndSkipHiddenFaces) {
  PaintSkin(0x102030);
  app.flags.editMode = EditMode::Mapping;  // mapping mode shows outlines without the menu switch
  AddFace({2, 2}, {6, 2}, {2, 6}, 0);                           // unselected
  AddFace({10, 2}, {14, 2}, {10, 6}, kFaceSelected);            // selected
  AddFace({18, 2}, {22, 2}, {18, 6}, kFaceHidden);              // hidden
  AddFace({26, 2}, {30, 2}, {26, 6}, kFaceHidden | kFaceEditing);  // hidden, being edited
  AddFace({2, 20}, {6, 20}, {2, 24}, kFaceSelected | kFaceHidden);  // hidden and selected
  AddFace({10, 20}, {14, 20}, {10, 24}, 0, 1);                  // another channel
  view.RenderView(kRefreshFinal);
  const SkinViewport at = view.viewport();
  auto colourAt = [&](UvPair uv) {
    const BufferPoint p = at.VertexInBuffer(uv);
    return PixelAt(p.x, p.row);
  };
  EXPECT_EQ(colourAt({2, 2}), 0x111111u);
  EXPECT_EQ(colourAt({10, 2}), 0x222222u);
  EXPECT_EQ(colourAt({18, 2}), 0x102030u);
  EXPECT_EQ(colourAt({26, 2}), 0x333333u);
  EXPECT_EQ(colourAt({2, 20}), 0x102030u);
  EXPECT_EQ(colourAt({10, 20}), 0x102030u);
}

TEST_F(SkinViewRender, PaintModeWithoutUvLinesDrawsNoOutlines) {
  PaintSkin(0x102030);
  AddFace({2, 2}, {6, 2}, {2, 6});
  view.RenderView(kRefreshFinal);
  const BufferPoint p = view.viewport().VertexInBuffer({2, 2});
  EXPECT_EQ(PixelAt(p.x, p.row), 0x102030u);
}

TEST_F(SkinViewRender, BackgroundKindRecoloursOnlyPixelsWithoutTexels) {
  PaintSkin(0x102030);
  view.RenderView(kRefreshFinal);
  app.customColors[7] = 0xABCDEF;
  view.RenderView(kRefreshBackground);
  EXPECT_EQ(PixelAt(60, 10), 0xABCDEFu);
  EXPECT_EQ(PixelAt(100, 49), 0x102030u);
  // The corner button, on the background too, is drawn again.
  EXPECT_EQ(PixelAt(9, 100 - 1 - 4), view.buttonColours.face);
}

TEST_F(SkinViewRender, PaintKindRecoloursTheStrokeMaskAndRestoresOutlines) {
  PaintSkin(0x102030);
  app.flags.showUvLines = true;
  AddFace({16, 16}, {20, 16}, {16, 20});
  view.RenderView(kRefreshFinal);
  SkinSlot& skin = *doc().activeSkin;
  const std::size_t painted = 16 * 32 + 16;  // the texel under the face's first corner
  const std::size_t untouched = 3 * 32 + 3;
  skin.pixels[painted] = 0xFF0000;
  skin.pixels[untouched] = 0x00FF00;  // changed, but not in the stroke
  painter.mask.assign(32 * 32, 0);
  painter.mask[painted] = 1;
  view.RenderView(kRefreshPaint);
  const BufferPoint corner = view.viewport().VertexInBuffer({16, 16});
  EXPECT_EQ(PixelAt(corner.x, corner.row), 0x111111u);  // the outline is back on top
  EXPECT_EQ(PixelAt(corner.x + 1, corner.row + 1), 0xFF0000u);
  const BufferPoint other = view.viewport().VertexInBuffer({3, 3});
  EXPECT_EQ(PixelAt(other.x, other.row), 0x102030u);
}

TEST_F(SkinViewRender, WithoutAnActiveSkinOnlyTheOverlaysAreDrawn) {
  PaintSkin(0x102030);
  view.RenderView(kRefreshFinal);
  doc().activeSkin = nullptr;
  app.flags.showUvLines = true;
  AddFace({16, 16}, {36, 16}, {16, 36});
  view.RenderView(kRefreshFinal);
  EXPECT_EQ(PixelAt(100, 49), 0x111111u);
  EXPECT_EQ(PixelAt(101, 60), 0x102030u);  // the old picture stays
  // Row 60: v = 5462 + 14 * 43463 = 9.37..; column 101: u = 5462 + 25 * 42576 = 16.3..
  EXPECT_EQ(IdAt(101, 60), 9 * 32 + 16);
}

TEST_F(SkinViewRender, OneTexelSkinFillsItsSquare) {
  AllocateSkin(*doc().activeSkin, 1, 1);
  doc().activeSkin->pixels[0] = 0x123456;
  view.viewCenter = {0.5f, 0.5f};
  view.zoom = 12;
  view.RenderView(kRefreshFinal);
  // u 0..1 -> columns 100 - 6 .. 100 + 6.
  EXPECT_EQ(IdAt(100, 50), 0);
  EXPECT_EQ(PixelAt(94, 44), 0x123456u);
  EXPECT_EQ(IdAt(93, 50), -1);
  EXPECT_EQ(IdAt(107, 50), -1);
}

TEST_F(SkinViewRender, DegenerateAndHugeSizes) {
  view.Resize(0, 40);
  view.RenderView(kRefreshFinal);
  EXPECT_EQ(view.pitch(), 0);
  EXPECT_EQ(view.TexelAt(0, 0), -1);
  view.Resize(-5, -5);
  EXPECT_TRUE(view.colours().empty());
  view.Resize(1 << 20, 1 << 20);
  EXPECT_EQ(view.pitch(), kMaxViewPitch);
  EXPECT_EQ(view.height(), kRasterMaxRows);
  EXPECT_EQ(view.colours().size(), static_cast<std::size_t>(kMaxViewPitch) * kRasterMaxRows);
}

TEST_F(SkinViewRender, MappingFrameIsDrawnInOrderInMappingMode) {
  PaintSkin(0x102030);
  view.frameVisible = 1;
  view.mappingFrame = {20.7f, 4, 4, 20};  // u0 > u1: swapped, new u0 truncated to 4
  view.RenderView(kRefreshFinal);
  EXPECT_EQ(PixelAt(view.viewport().CornerInBuffer(4, 4).x, 70), 0x102030u);  // Paint mode: no frame
  app.flags.editMode = EditMode::Mapping;
  view.RenderView(kRefreshFinal);
  EXPECT_FLOAT_EQ(view.mappingFrame.u0, 4);
  EXPECT_FLOAT_EQ(view.mappingFrame.u1, 20.7f);
  const BufferPoint corner = view.viewport().CornerInBuffer(4, 4);
  EXPECT_EQ(PixelAt(corner.x, corner.row), 0x111111u);
  const BufferPoint mid = view.viewport().CornerInBuffer(4, 12);
  EXPECT_EQ(PixelAt(mid.x, mid.row), 0x111111u);
}

TEST_F(SkinViewRender, CornerButtonRaisedAndSunken) {
  view.RenderView(kRefreshFinal);
  const ButtonColours& c = view.buttonColours;
  auto at = [&](int x, int y) { return PixelAt(x, 100 - 1 - y); };
  EXPECT_EQ(at(2, 3), c.highlight);
  EXPECT_EQ(at(16, 17), c.shadow);
  EXPECT_EQ(at(5, 5), c.face);
  EXPECT_EQ(at(17, 18), 0x777777u);  // just outside
  DrawCornerButton(const_cast<std::uint32_t*>(view.colours().data()), view.pitch(), view.height(), true, c, 1);
  EXPECT_EQ(at(2, 3), c.shadow);
  EXPECT_EQ(at(16, 17), c.highlight);
  // A tiny buffer clips the button.
  std::vector<std::uint32_t> tiny(4 * 5, 1);
  DrawCornerButton(tiny.data(), 4, 5, false, c, 1);
  EXPECT_EQ(tiny[2], c.highlight);  // (2, 4), the bottom row
  EXPECT_EQ(tiny[1], 1u);
}

TEST_F(SkinViewRender, CornerButtonAtDoubleScaleDoublesEveryPictureEdge) {
  view.screenScale = 2;
  view.RenderView(kRefreshFinal);
  const ButtonColours& c = view.buttonColours;
  auto at = [&](int x, int y) { return PixelAt(x, 100 - 1 - y); };
  EXPECT_EQ(at(4, 6), c.highlight);
  EXPECT_EQ(at(5, 7), c.highlight);  // the bevel is two pixels wide
  EXPECT_EQ(at(6, 8), c.face);
  EXPECT_EQ(at(33, 35), c.shadow);
  EXPECT_EQ(at(32, 34), c.shadow);
  EXPECT_EQ(at(34, 36), 0x777777u);  // just outside
  // The glyph's first bar starts at picture pixel (3, 4): a 2 x 2 block.
  for (int y : {14, 15})
    for (int x : {10, 11}) EXPECT_EQ(at(x, y), c.text);
  EXPECT_EQ(at(9, 14), c.face);
}

}  // namespace
}  // namespace mok
