// Hand-checked triangles for each family of fill members.

#include <gtest/gtest.h>

#include <random>

#include "tests/render/raster_canvas.h"

namespace mok::test {
namespace {

constexpr std::uint32_t kBlack = 0;

// ---- Coverage: edge pass and inclusive spans ----

TEST(TriangleCoverage, DiagonalEdgeGivesInclusiveSpansFromLeftToRightEdge) {
  Canvas c(8, 8);
  // Legs on row 0 and column 0, hypotenuse (4,0)-(0,4): dy >= dx, d = 2*4-4 = 4
  // never goes negative, so every step is diagonal: row y spans x = 0 .. 4-y.
  RasterVertex v[3] = {Vtx(0, 0, {0}), Vtx(4, 0, {0}), Vtx(0, 4, {0})};
  fillFlat(*c.ctx, v, 0x123456);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = y <= 4 && x <= 4 - y;
      EXPECT_EQ(c.Colour(x, y), inside ? 0x123456u : kBlack) << x << "," << y;
      EXPECT_EQ(c.Depth(x, y), inside ? 0 : 0xFFFF) << x << "," << y;
    }
  }
  EXPECT_TRUE(c.TablesIdle());
}

TEST(TriangleCoverage, BresenhamStepsMajorAxisOnlyWhileDecisionIsNegative) {
  Canvas c(8, 4);
  // Edge (5,0)->(0,2): dx 5, dy 2, x-major, d starts at 2*2-5 = -1.
  // Points: (5,0) d-1<0 ->(4,0) d=3 ->(3,1) d=-3 ->(2,1) d=1 ->(1,2) d=-5 ->(0,2).
  // With the legs on row 0 and column 0: row 0 spans 0..5, row 1 0..3, row 2 0..1.
  RasterVertex v[3] = {Vtx(0, 0, {0}), Vtx(5, 0, {0}), Vtx(0, 2, {0})};
  fillFlat(*c.ctx, v, 0xFFFFFF);
  const int rightEnd[3] = {5, 3, 1};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = y < 3 && x <= rightEnd[y];
      EXPECT_EQ(c.Colour(x, y), inside ? 0xFFFFFFu : kBlack) << x << "," << y;
    }
  }
}

TEST(TriangleCoverage, CornersOnOneRowFillBetweenExtremeX) {
  Canvas c(8, 5);
  RasterVertex v[3] = {Vtx(3, 3, {0}), Vtx(6, 3, {0}), Vtx(1, 3, {0})};
  fillFlatPick(*c.ctx, v, 9, 0xABCDEF);
  EXPECT_EQ(c.CountNot(kBlack), 6);
  for (int x = 1; x <= 6; ++x) {
    EXPECT_EQ(c.Colour(x, 3), 0xABCDEFu);
    EXPECT_EQ(c.Id(x, 3), 9);
  }
  EXPECT_TRUE(c.TablesIdle());
}

TEST(TriangleCoverage, OnePointTriangleDrawsOnePixelWithItsValues) {
  Canvas c(4, 4);
  Texture t(4, 4);
  t.At(0, 0) = 0x112233;
  t.At(3, 2) = 0x445566;
  t.Bind(*c.ctx);
  // Three different corners on one pixel: the first edge point sets both
  // ends of the row, so the span has one pixel with that point's values.
  // The polygon starts with the second corner (the end of the first edge).
  RasterVertex v[3] = {Vtx(1, 2, {Fx(3), Fx(2), Fx(7)}), Vtx(1, 2, {Fx(0), Fx(0), Fx(1)}),
                       Vtx(1, 2, {Fx(1), Fx(1), Fx(2)})};
  fillTexturePaint(*c.ctx, v);
  EXPECT_EQ(c.CountNot(kBlack), 1);
  EXPECT_EQ(c.Colour(1, 2), 0x112233u);
  EXPECT_EQ(c.Id(1, 2), 0);
  EXPECT_EQ(c.Depth(1, 2), 1);
}

// ---- Depth ----

TEST(TriangleDepth, SpanStepDividesByPixelCountSoRightEndIsNotReached) {
  Canvas c(8, 1);
  // Row 0 from z=0 at x=0 to z=8 at x=4: n = 5, dz = 8/5 = 1 -> 0,1,2,3,4.
  RasterVertex v[3] = {Vtx(0, 0, {0}), Vtx(4, 0, {Fx(8)}), Vtx(0, 0, {0})};
  fillFlat(*c.ctx, v, 0x010203);
  for (int x = 0; x <= 4; ++x) EXPECT_EQ(c.Depth(x, 0), x);
  EXPECT_EQ(c.Depth(5, 0), 0xFFFF);
}

TEST(TriangleDepth, NegativeStepTruncatesTowardZero) {
  Canvas c(8, 1);
  // z from 9 at x=0 to 0 at x=3: n = 4, dz = -9/4 = -2 (not -3) -> 9,7,5,3.
  RasterVertex v[3] = {Vtx(0, 0, {Fx(9)}), Vtx(3, 0, {0}), Vtx(0, 0, {Fx(9)})};
  fillFlat(*c.ctx, v, 0x010203);
  EXPECT_EQ(c.Depth(0, 0), 9);
  EXPECT_EQ(c.Depth(1, 0), 7);
  EXPECT_EQ(c.Depth(2, 0), 5);
  EXPECT_EQ(c.Depth(3, 0), 3);
}

TEST(TriangleDepth, OnlyStrictlyNearerPixelsAreWrittenInAllThreeBuffers) {
  Canvas c(8, 1, 0x777777);
  // Depths along the span: 0,1,2,3,4 (see above).
  c.SetDepth(1, 0, 0);  // nearer than 1: kept
  c.SetDepth(2, 0, 2);  // equal: kept
  c.SetDepth(3, 0, 4);  // farther than 3: drawn
  RasterVertex v[3] = {Vtx(0, 0, {0}), Vtx(4, 0, {Fx(8)}), Vtx(0, 0, {0})};
  fillFlatPick(*c.ctx, v, 42, 0x010203);
  EXPECT_EQ(c.Colour(0, 0), 0x010203u);
  EXPECT_EQ(c.Id(0, 0), 42);
  for (int x : {1, 2}) {
    EXPECT_EQ(c.Colour(x, 0), 0x777777u);
    EXPECT_EQ(c.Id(x, 0), -1);
  }
  EXPECT_EQ(c.Depth(1, 0), 0);
  EXPECT_EQ(c.Depth(2, 0), 2);
  EXPECT_EQ(c.Colour(3, 0), 0x010203u);
  EXPECT_EQ(c.Depth(3, 0), 3);
  EXPECT_EQ(c.Id(3, 0), 42);
}

TEST(TriangleDepth, QuickMembersWriteColourAndDepthButLeaveIdsAlone) {
  Texture t(4, 1);
  t.At(0, 0) = 0x808080;
  RasterVertex v[3] = {Vtx(0, 0, {0, 0, Fx(2)}), Vtx(3, 0, {0, 0, Fx(2)}), Vtx(0, 0, {0, 0, Fx(2)})};
  for (int member = 0; member < 2; ++member) {
    Canvas c(4, 1);
    t.Bind(*c.ctx);
    if (member == 0) {
      fillTextureQuick(*c.ctx, v);
    } else {
      fillTexFlatQuick(*c.ctx, v, 0xFFFFFF);  // shade 255 + 1 keeps the texel
    }
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(c.Colour(x, 0), 0x808080u);
      EXPECT_EQ(c.Depth(x, 0), 2);
      EXPECT_EQ(c.Id(x, 0), -1);
    }
  }
}

// ---- Textures ----

// 8 x 4 texture, texel (column, row) = 0x0000RC with R = row, C = column.
Texture NumberedTexture() {
  Texture t(8, 4);
  for (int r = 0; r < 4; ++r) {
    for (int col = 0; col < 8; ++col) t.At(col, r) = static_cast<std::uint32_t>(r << 4 | col);
  }
  return t;
}

TEST(TriangleTexture, AffineStepsAndTexelIds) {
  Canvas c(8, 1);
  Texture t = NumberedTexture();
  t.Bind(*c.ctx);
  // u from 0 at x=0 to 3 at x=3: du = 3/4 texel -> u = 0, .75, 1.5, 2.25
  // -> columns 0, 0, 1, 2 (the right end value 3 is never reached); v = 2.
  RasterVertex v[3] = {Vtx(0, 0, {0, Fx(2), 0}), Vtx(3, 0, {Fx(3), Fx(2), 0}), Vtx(0, 0, {0, Fx(2), 0})};
  fillTexturePaint(*c.ctx, v);
  const int columns[4] = {0, 0, 1, 2};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(c.Colour(x, 0), static_cast<std::uint32_t>(0x20 | columns[x]));
    EXPECT_EQ(c.Id(x, 0), 2 * 8 + columns[x]);  // rows[2] + column
  }
  Canvas d(8, 1);  // fresh depth: equal depths would not be drawn again
  t.Bind(*d.ctx);
  fillTexturePick(*d.ctx, v, 77);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(d.Id(x, 0), 77);
}

TEST(TriangleTexture, CoordinatesWrapInBothDirections) {
  Canvas c(2, 1);
  Texture t = NumberedTexture();
  t.Bind(*c.ctx);
  // u 8 -> 10 over two pixels: u = 8, 9 -> columns 0, 1 (one width beyond
  // wraps to column 0); v = 5 -> row 1.
  RasterVertex beyond[3] = {Vtx(0, 0, {Fx(8), Fx(5), 0}), Vtx(1, 0, {Fx(10), Fx(5), 0}),
                            Vtx(0, 0, {Fx(8), Fx(5), 0})};
  fillTexturePaint(*c.ctx, beyond);
  EXPECT_EQ(c.Colour(0, 0), 0x10u);
  EXPECT_EQ(c.Colour(1, 0), 0x11u);
  EXPECT_EQ(c.Id(0, 0), 8);
  // u -1 -> 1: u = -1, 0 -> columns 7, 0; v = -1 -> row 3.
  Canvas d(2, 1);
  t.Bind(*d.ctx);
  RasterVertex before[3] = {Vtx(0, 0, {Fx(-1), Fx(-1), 0}), Vtx(1, 0, {Fx(1), Fx(-1), 0}),
                            Vtx(0, 0, {Fx(-1), Fx(-1), 0})};
  fillTexturePaint(*d.ctx, before);
  EXPECT_EQ(d.Colour(0, 0), 0x37u);
  EXPECT_EQ(d.Colour(1, 0), 0x30u);
  EXPECT_EQ(d.Id(0, 0), 3 * 8 + 7);
  EXPECT_EQ(d.Id(1, 0), 3 * 8 + 0);
}

TEST(TriangleTexture, SpanOverSeveralWidthsTakesEachPixelsColumnModuloWidth) {
  Canvas c(40, 1);
  Texture t = NumberedTexture();
  t.Bind(*c.ctx);
  // The edge from x=39 back to x=0 steps u by exactly -67000, so the span's
  // ends are the corner values; du = (39 * 67000) / 40 = 65325.
  const std::int32_t uLeft = -851975;  // -13 texels - 7/65536
  const std::int32_t uRight = uLeft + 39 * 67000;
  RasterVertex v[3] = {Vtx(0, 0, {uLeft, Fx(1), 0}), Vtx(39, 0, {uRight, Fx(1), 0}),
                       Vtx(0, 0, {uLeft, Fx(1), 0})};
  fillTexturePaint(*c.ctx, v);
  for (int x = 0; x < 40; ++x) {
    const std::int64_t u = uLeft + std::int64_t{x} * 65325;
    const std::int64_t whole = u >= 0 ? u / 65536 : -((-u + 65535) / 65536);  // floor
    const int column = static_cast<int>(((whole % 8) + 8) % 8);
    EXPECT_EQ(c.Id(x, 0), 8 + column) << x;
  }
}

// 2 x 2 texture for the bilinear tests (red and blue channels differ).
Texture FilterTexture() {
  Texture t(2, 2);
  t.At(0, 0) = 0xFA0064;  // red 250, blue 100
  t.At(1, 0) = 0x0A00C8;  // red  10, blue 200
  t.At(0, 1) = 0x0000FF;  // red   0, blue 255
  t.At(1, 1) = 0xFF0000;  // red 255, blue   0
  return t;
}

RasterVertex PointVertex(int x, int y, std::int32_t u, std::int32_t v, std::int32_t z = 0) {
  return Vtx(x, y, {u, v, z});
}

TEST(TriangleFiltered, RightNeighbourOfLastColumnIsColumnZero) {
  Canvas c(4, 4);
  Texture t = FilterTexture();
  t.Bind(*c.ctx);
  // u = 1.5 -> iu 1, wu = 0x80 + 1 = 129; v = 0.25 -> iv 0, wv = 0x40 + 1 = 65.
  // T00 = (1,0), T10 = (0,0) (wrapped), T01 = (1,1), T11 = (0,1).
  // Blue: top = 200 + ((100-200)*129 >> 8) = 200 - 51 = 149
  //       bottom = 0 + (255*129 >> 8) = 128
  //       result = 149 + ((128-149)*65 >> 8) = 149 - 6 = 143 = 0x8F
  // Red:  top = 10 + (240*129 >> 8) = 130; bottom = 255 + (-255*129 >> 8) = 126
  //       result = 130 + (-4*65 >> 8) = 128 = 0x80
  RasterVertex v[3] = {PointVertex(2, 1, 0x18000, 0x4000), PointVertex(2, 1, 0x18000, 0x4000),
                       PointVertex(2, 1, 0x18000, 0x4000)};
  fillTexturePaintFiltered(*c.ctx, v);
  EXPECT_EQ(c.Colour(2, 1), 0x80008Fu);
  EXPECT_EQ(c.Id(2, 1), 1);  // the top-left texel of the four
}

TEST(TriangleFiltered, LowerNeighbourOfLastRowIsRowZero) {
  Canvas c(4, 4);
  Texture t = FilterTexture();
  t.Bind(*c.ctx);
  // u = 0.5 -> iu 0, wu 129; v = 1.25 -> iv 1, wv 65; T00 = (0,1), T10 = (1,1),
  // T01 = (0,0) (wrapped), T11 = (1,0).
  // Red:  top = 0 + (255*129 >> 8) = 128; bottom = 250 + (-240*129 >> 8) = 250 - 121 = 129
  //       result = 128 + (1*65 >> 8) = 128 = 0x80
  // Blue: top = 255 + (-255*129 >> 8) = 126; bottom = 100 + (100*129 >> 8) = 150
  //       result = 126 + (24*65 >> 8) = 132 = 0x84
  RasterVertex v[3] = {PointVertex(0, 3, 0x8000, 0x14000), PointVertex(0, 3, 0x8000, 0x14000),
                       PointVertex(0, 3, 0x8000, 0x14000)};
  fillTexturePickFiltered(*c.ctx, v, 5);
  EXPECT_EQ(c.Colour(0, 3), 0x800084u);
  EXPECT_EQ(c.Id(0, 3), 5);
}

TEST(TriangleFiltered, WeightsStartAtOneSoAWholeTexelStillBlendsItsNeighbour) {
  Canvas c(1, 1);
  Texture t(2, 2);
  t.At(0, 0) = 0x0000FF;
  t.At(0, 1) = 0x0000FF;
  t.Bind(*c.ctx);
  // u = v = 0: wu = wv = 1. top = 255 + (-255*1 >> 8) = 254, bottom the same,
  // result = 254 + (0*1 >> 8) = 254.
  RasterVertex v[3] = {PointVertex(0, 0, 0, 0), PointVertex(0, 0, 0, 0), PointVertex(0, 0, 0, 0)};
  fillTextureQuickFiltered(*c.ctx, v);
  EXPECT_EQ(c.Colour(0, 0), 0x0000FEu);
}

TEST(TriangleFiltered, OneTexelTextureGivesThatTexelWithoutItsHighByte) {
  Canvas c(3, 3);
  Texture t(1, 1);
  t.At(0, 0) = 0xFF123456;
  t.Bind(*c.ctx);
  RasterVertex v[3] = {PointVertex(0, 0, Fx(-7.3), Fx(9.9)), PointVertex(2, 0, Fx(3.1), Fx(-2)),
                       PointVertex(0, 2, Fx(100), Fx(0.5))};
  fillTexturePaintFiltered(*c.ctx, v);
  EXPECT_EQ(c.Colour(0, 0), 0x123456u);
  EXPECT_EQ(c.Colour(1, 1), 0x123456u);
  EXPECT_EQ(c.Id(1, 0), 0);
  Canvas d(3, 3);
  t.Bind(*d.ctx);
  fillTextureQuick(*d.ctx, v);  // the unfiltered member copies the texel whole
  EXPECT_EQ(d.Colour(0, 0), 0xFF123456u);
}

// The bilinear formula per channel, written out plainly.
std::uint32_t ReferenceBilinear(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01, std::uint32_t t11,
                                int wu, int wv) {
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int c00 = (t00 >> shift) & 0xFF;
    const int c10 = (t10 >> shift) & 0xFF;
    const int c01 = (t01 >> shift) & 0xFF;
    const int c11 = (t11 >> shift) & 0xFF;
    const int top = c00 + ((c10 - c00) * wu >> 8);
    const int bottom = c01 + ((c11 - c01) * wu >> 8);
    result |= static_cast<std::uint32_t>(top + ((bottom - top) * wv >> 8)) << shift;
  }
  return result;
}

TEST(TriangleFiltered, MatchesThePerChannelFormulaForRandomTexelsAndWeights) {
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    Texture t(2, 2);
    for (std::uint32_t& texel : t.texels) texel = static_cast<std::uint32_t>(rng());
    Canvas c(1, 1);
    t.Bind(*c.ctx);
    const std::int32_t u = static_cast<std::int32_t>(rng() % 0x20000);
    const std::int32_t v = static_cast<std::int32_t>(rng() % 0x20000);
    RasterVertex tri[3] = {PointVertex(0, 0, u, v), PointVertex(0, 0, u, v), PointVertex(0, 0, u, v)};
    fillTextureQuickFiltered(*c.ctx, tri);
    const int iu = u >> 16;
    const int iv = v >> 16;
    const std::uint32_t expected =
        ReferenceBilinear(t.At(iu, iv), t.At(1 - iu, iv), t.At(iu, 1 - iv), t.At(1 - iu, 1 - iv),
                          ((u >> 8) & 0xFF) + 1, ((v >> 8) & 0xFF) + 1);
    ASSERT_EQ(c.Colour(0, 0), expected) << i;
  }
}

std::int64_t FloorDiv65536(std::int64_t value) {
  return value >= 0 ? value / 65536 : -((-value + 65535) / 65536);
}
int FloorMod(std::int64_t value, int size) { return static_cast<int>(((value % size) + size) % size); }

TEST(TriangleTexture, EveryWrapPathTakesEachPixelsCoordinateModuloTheSize) {
  // Power-of-two sizes, sizes whose spans stay inside, and sizes whose
  // spans leave them are drawn by different span loops; all must agree
  // with the modulo of each pixel's own coordinate.
  const int sizes[4][2] = {{8, 4}, {6, 3}, {1, 1}, {5, 7}};
  std::mt19937 rng(3);
  for (const auto& size : sizes) {
    Texture t(size[0], size[1]);
    for (std::uint32_t& texel : t.texels) texel = static_cast<std::uint32_t>(rng()) & 0xFFFFFF;
    for (int i = 0; i < 300; ++i) {
      const int n = 1 + static_cast<int>(rng() % 40);
      const bool inside = i % 2 == 0;
      auto start = [&](int texels) {
        return inside ? static_cast<std::int32_t>(rng() % (texels * 0x10000 / 2))
                      : static_cast<std::int32_t>(rng() % 0x2000000) - 0x1000000;
      };
      auto edgeStep = [&](int texels) {
        return inside ? static_cast<std::int32_t>(rng() % (texels * 0x8000 / 40 + 1))
                      : static_cast<std::int32_t>(rng() % 0x60000) - 0x30000;
      };
      // The edge from the right end back to the left steps exactly, so the
      // span runs from the left corner's values with steps (right - left) / n.
      const std::int32_t u0 = start(size[0]);
      const std::int32_t v0 = start(size[1]);
      const std::int32_t u1 = u0 + (n - 1) * edgeStep(size[0]);
      const std::int32_t v1 = v0 + (n - 1) * edgeStep(size[1]);
      RasterVertex tri[3] = {Vtx(0, 0, {u0, v0, 0}), Vtx(n - 1, 0, {u1, v1, 0}), Vtx(0, 0, {u0, v0, 0})};
      Canvas nearest(40, 1);
      Canvas filtered(40, 1);
      t.Bind(*nearest.ctx);
      t.Bind(*filtered.ctx);
      fillTexturePaint(*nearest.ctx, tri);
      fillTexturePaintFiltered(*filtered.ctx, tri);
      const std::int64_t du = n > 1 ? (std::int64_t{u1} - u0) / n : 0;
      const std::int64_t dv = n > 1 ? (std::int64_t{v1} - v0) / n : 0;
      for (int x = 0; x < n; ++x) {
        const std::int64_t u = u0 + x * du;
        const std::int64_t v = v0 + x * dv;
        const int column = FloorMod(FloorDiv65536(u), size[0]);
        const int row = FloorMod(FloorDiv65536(v), size[1]);
        const int column1 = (column + 1) % size[0];
        const int row1 = (row + 1) % size[1];
        ASSERT_EQ(nearest.Id(x, 0), row * size[0] + column) << size[0] << " " << i << " " << x;
        ASSERT_EQ(filtered.Id(x, 0), row * size[0] + column);
        const std::uint32_t expected =
            ReferenceBilinear(t.At(column, row), t.At(column1, row), t.At(column, row1), t.At(column1, row1),
                              static_cast<int>((u >> 8) & 0xFF) + 1, static_cast<int>((v >> 8) & 0xFF) + 1);
        ASSERT_EQ(filtered.Colour(x, 0), expected) << size[0] << " " << i << " " << x;
      }
    }
  }
}

// ---- Lighting ----

TEST(TriangleShading, TexFlatModulatesByShadePlusOne) {
  Canvas c(2, 2);
  Texture t(1, 1);
  t.At(0, 0) = 0x804020;
  t.Bind(*c.ctx);
  // Shade 0x7F3FFF: red 0x80*(0x7F+1) >> 8 = 0x40, green 0x40*0x40 >> 8 = 0x10,
  // blue 0x20*0x100 >> 8 = 0x20.
  RasterVertex v[3] = {PointVertex(1, 1, 0, 0), PointVertex(1, 1, 0, 0), PointVertex(1, 1, 0, 0)};
  fillTexFlatPick(*c.ctx, v, 3, 0x7F3FFF);
  EXPECT_EQ(c.Colour(1, 1), 0x401020u);
  EXPECT_EQ(c.Id(1, 1), 3);
  Canvas d(2, 2);
  t.Bind(*d.ctx);
  fillTexFlatPaintFiltered(*d.ctx, v, 0x7F3FFF);  // one-texel texture: same result
  EXPECT_EQ(d.Colour(1, 1), 0x401020u);
  EXPECT_EQ(d.Id(1, 1), 0);
}

TEST(TriangleShading, TexGouraudMultipliesWithoutPlusOneAndAllowsTwoFiftySix) {
  Canvas c(1, 1);
  Texture t(1, 1);
  t.At(0, 0) = 0x804020;
  t.Bind(*c.ctx);
  // r 128: 0x80*128 >> 8 = 0x40; g 256: 0x40*256 >> 8 = 0x40 (unchanged); b 0: 0.
  RasterVertex v = Vtx(0, 0, {0, 0, Fx(128), Fx(256), 0, 0});
  RasterVertex tri[3] = {v, v, v};
  fillTexGouraudPick(*c.ctx, tri, 1);
  EXPECT_EQ(c.Colour(0, 0), 0x404000u);
  // Beyond 256 the channel is clamped: g 300 acts as 256.
  Canvas d(1, 1);
  t.Bind(*d.ctx);
  for (RasterVertex& corner : tri) corner.attr[3] = Fx(300);
  fillTexGouraudQuick(*d.ctx, tri);
  EXPECT_EQ(d.Colour(0, 0), 0x404000u);
}

TEST(TriangleShading, GouraudInterpolatesEachChannel) {
  Canvas c(4, 1);
  // The edge (3,0)->(0,0) steps r by -1, g by -2, b by +80 exactly. Span n = 4:
  // dr = 3/4 -> 0, .75, 1.5, 2.25; dg = 6/4 -> 0, 1.5, 3, 4.5;
  // db = -240/4 = -60 -> 240, 180, 120, 60.
  RasterVertex v[3] = {Vtx(0, 0, {0, 0, Fx(240), 0}), Vtx(3, 0, {Fx(3), Fx(6), 0, 0}),
                       Vtx(0, 0, {0, 0, Fx(240), 0})};
  fillGouraudPick(*c.ctx, v, 8);
  EXPECT_EQ(c.Colour(0, 0), 0x0000F0u);
  EXPECT_EQ(c.Colour(1, 0), 0x0001B4u);
  EXPECT_EQ(c.Colour(2, 0), 0x010378u);
  EXPECT_EQ(c.Colour(3, 0), 0x02043Cu);
  EXPECT_EQ(c.Id(3, 0), 8);
}

TEST(TriangleShading, GouraudKeepsChannelsInTheirBytes) {
  Canvas c(1, 1);
  // 0x12.FFFF -> 0x12; 300 is clamped to 255 instead of spilling into red.
  RasterVertex v = Vtx(0, 0, {0x12FFFF, Fx(300), Fx(0x56), 0});
  RasterVertex tri[3] = {v, v, v};
  fillGouraud(*c.ctx, tri);
  EXPECT_EQ(c.Colour(0, 0), 0x12FF56u);
}

// A 256 x 256 map that is zero except where set, and marked ramps.
struct MapSetup {
  std::vector<std::uint8_t> map = std::vector<std::uint8_t>(256 * 256, 0);
  void Bind(RasterContext& ctx) {
    ctx.phongMap = map.data();
    for (int i = 0; i < 768; ++i)
      ctx.shadeRamps[i] = static_cast<std::uint32_t>(0x010000 * (i / 256) + i % 256);
  }
};

TEST(TrianglePhong, MapValueSelectsRampEntryAtTheGivenBase) {
  Canvas c(1, 1);
  MapSetup m;
  m.map[2 * 256 + 3] = 77;  // (mu 3, mv 2)
  m.Bind(*c.ctx);
  c.ctx->shadeRamps[256 + 77] = 0xABCDEF;
  c.ctx->shadeRamps[77] = 0x111111;
  RasterVertex v = Vtx(0, 0, {Fx(3), Fx(2), 0});
  RasterVertex tri[3] = {v, v, v};
  fillPhongMapPick(*c.ctx, tri, 4, 256);
  EXPECT_EQ(c.Colour(0, 0), 0xABCDEFu);
  EXPECT_EQ(c.Id(0, 0), 4);
  Canvas d(1, 1);
  m.Bind(*d.ctx);
  d.ctx->shadeRamps[77] = 0x111111;
  fillPhongMapShade(*d.ctx, tri);
  EXPECT_EQ(d.Colour(0, 0), 0x111111u);
  // A ramp base beyond the last ramp is held at the last ramp (512).
  Canvas e(1, 1);
  m.Bind(*e.ctx);
  e.ctx->shadeRamps[512 + 77] = 0x222222;
  fillPhongMap(*e.ctx, tri, 100000);
  EXPECT_EQ(e.Colour(0, 0), 0x222222u);
}

TEST(TrianglePhong, FilteredShadeBlendsMapIntensitiesAndWrapsAt256) {
  Canvas c(2, 1);
  MapSetup m;
  m.map[2 * 256 + 4] = 255;  // right of (3, 2)
  m.map[5 * 256 + 0] = 255;  // right of (255, 5), wrapped
  m.Bind(*c.ctx);
  // mu 3.5 (wu 129), mv 2.0 (wv 1): top = 0 + (255*129 >> 8) = 128, bottom 0,
  // value = 128 + (-128*1 >> 8) = 127 -> ramp 0 entry 127.
  RasterVertex a = Vtx(0, 0, {0x38000, Fx(2), 0});
  RasterVertex ta[3] = {a, a, a};
  fillPhongMapShadeFiltered(*c.ctx, ta);
  EXPECT_EQ(c.Colour(0, 0), 127u);
  // mu 255.5, mv 5.0: the right neighbour is column 0 -> value 127 again.
  RasterVertex b = Vtx(1, 0, {0xFF8000, Fx(5), 0});
  RasterVertex tb[3] = {b, b, b};
  fillPhongMapShadeFiltered(*c.ctx, tb);
  EXPECT_EQ(c.Colour(1, 0), 127u);
}

TEST(TrianglePhong, TexPhongModulatesByRampColourPlusOne) {
  Canvas c(1, 1);
  MapSetup m;
  m.map[7 * 256 + 5] = 42;
  m.Bind(*c.ctx);
  c.ctx->shadeRamps[42] = 0x7F3FFF;
  Texture t(1, 1);
  t.At(0, 0) = 0x804020;
  t.Bind(*c.ctx);
  RasterVertex v = Vtx(0, 0, {0, 0, Fx(5), Fx(7), 0});
  RasterVertex tri[3] = {v, v, v};
  fillTexPhongPaint(*c.ctx, tri);
  EXPECT_EQ(c.Colour(0, 0), 0x401020u);  // as the flat example above
  EXPECT_EQ(c.Id(0, 0), 0);
}

// ---- 2D skin members ----

TEST(SkinFill, IgnoresDepthAndWritesIdsOnlyWhenPainting) {
  Canvas c(5, 1);
  for (int x = 0; x < 5; ++x) c.SetDepth(x, 0, 0);
  Texture t = NumberedTexture();
  t.Bind(*c.ctx);
  // Edge step -5/4 texel is exact; span du = 5/5 = 1 -> columns 0..4 of row 1.
  RasterVertex v[3] = {Vtx(0, 0, {0, Fx(1)}), Vtx(4, 0, {Fx(5), Fx(1)}), Vtx(0, 0, {0, Fx(1)})};
  fillSkinTexture(*c.ctx, v);
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(c.Colour(x, 0), static_cast<std::uint32_t>(0x10 | x));
    EXPECT_EQ(c.Id(x, 0), -1);
    EXPECT_EQ(c.Depth(x, 0), 0);
  }
  fillSkinTexturePaint(*c.ctx, v);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(c.Id(x, 0), 8 + x);
}

TEST(SkinFill, SpansOfEveryLengthMatchTheDepthTestedMemberOnATextureOfPowerOfTwoSize) {
  // Spans of eight pixels and more run in groups of eight, the last group
  // ending on the span's last pixel whatever the length.
  Texture t(8, 4);
  std::mt19937 rng(11);
  for (std::uint32_t& texel : t.texels) texel = static_cast<std::uint32_t>(rng()) & 0xFFFFFF;
  for (int n = 1; n <= 40; ++n) {
    const std::int32_t u0 = static_cast<std::int32_t>(rng() % 0x2000000) - 0x1000000;
    const std::int32_t v0 = static_cast<std::int32_t>(rng() % 0x2000000) - 0x1000000;
    const std::int32_t u1 = u0 + (n - 1) * (static_cast<std::int32_t>(rng() % 0x60000) - 0x30000);
    const std::int32_t v1 = v0 + (n - 1) * (static_cast<std::int32_t>(rng() % 0x60000) - 0x30000);
    RasterVertex tri[3] = {Vtx(0, 0, {u0, v0, 0}), Vtx(n - 1, 0, {u1, v1, 0}), Vtx(0, 0, {u0, v0, 0})};
    Canvas depthTested(40, 1);
    Canvas skin(40, 1);
    t.Bind(*depthTested.ctx);
    t.Bind(*skin.ctx);
    fillTexturePaint(*depthTested.ctx, tri);
    fillSkinTexturePaint(*skin.ctx, tri);
    for (int x = 0; x < 40; ++x) {
      ASSERT_EQ(skin.Colour(x, 0), depthTested.Colour(x, 0)) << n << " " << x;
      ASSERT_EQ(skin.Id(x, 0), depthTested.Id(x, 0)) << n << " " << x;
    }
    ASSERT_TRUE(skin.GuardsIntact());
  }
}

TEST(SkinFill, RoundedStepAddsHalfATexelBeforeDividing) {
  Texture t(2, 1);
  t.At(0, 0) = 0xAA;
  t.At(1, 0) = 0xBB;
  // u from 0x8000 at x=0 to 0x17FFE at x=1, n = 2.
  // Plain: du = 0xFFFE/2 = 0x7FFF -> u1 = 0xFFFF -> column 0.
  // Rounded: du = (0xFFFE + 0x8000)/2 = 0xBFFF -> u1 = 0x13FFF -> column 1.
  RasterVertex v[3] = {Vtx(0, 0, {0x8000, 0}), Vtx(1, 0, {0x17FFE, 0}), Vtx(0, 0, {0x8000, 0})};
  Canvas plain(2, 1);
  t.Bind(*plain.ctx);
  fillSkinTexture(*plain.ctx, v);
  EXPECT_EQ(plain.Colour(1, 0), 0xAAu);
  Canvas rounded(2, 1);
  t.Bind(*rounded.ctx);
  fillSkinTextureRounded(*rounded.ctx, v);
  EXPECT_EQ(rounded.Colour(0, 0), 0xAAu);
  EXPECT_EQ(rounded.Colour(1, 0), 0xBBu);
}

TEST(SkinFill, FilteredMembersBlendLikeThe3DOnes) {
  Canvas c(4, 4);
  Texture t = FilterTexture();
  t.Bind(*c.ctx);
  RasterVertex v[3] = {Vtx(2, 1, {0x18000, 0x4000}), Vtx(2, 1, {0x18000, 0x4000}),
                       Vtx(2, 1, {0x18000, 0x4000})};
  fillSkinTextureFiltered(*c.ctx, v);
  EXPECT_EQ(c.Colour(2, 1), 0x80008Fu);
  EXPECT_EQ(c.Id(2, 1), -1);
  fillSkinTexturePaintFiltered(*c.ctx, v);
  EXPECT_EQ(c.Id(2, 1), 1);
}

}  // namespace
}  // namespace mok::test
