// Hand-checked Wu lines, line clipping and the point-in-polygon test.

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "tests/render/raster_canvas.h"

namespace mok::test {
namespace {

constexpr std::uint32_t Grey(std::uint32_t v) { return v * 0x010101; }

// Line (0,0)-(4,1): x-major, adjust = 65536/4 = 16384, interior steps
// k = 1..3 with accumulator 16384k and no carry: w = 64, 128, 192.
// White on black: line pixel 255*(256-w) >> 8 = 191, 127, 63 on row 0,
// neighbour 255*w >> 8 = 63, 127, 191 on row 1; both ends exactly 255.
void ExpectWhiteXMajorLine(const Canvas& c) {
  const std::uint32_t row0[5] = {255, 191, 127, 63, 0};
  const std::uint32_t row1[5] = {0, 63, 127, 191, 255};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(c.Colour(x, 0), Grey(row0[x])) << x;
    EXPECT_EQ(c.Colour(x, 1), Grey(row1[x])) << x;
  }
}

TEST(WuLine, XMajorBlendsLinePixelAndNeighbourAndHitsBothEnds) {
  Canvas c(6, 3);
  drawLineAA(*c.ctx, 0, 0, 4, 1, 0xFFFFFF);
  ExpectWhiteXMajorLine(c);
  EXPECT_EQ(c.CountNot(0), 8);
}

TEST(WuLine, EndsGivenInEitherOrderDrawTheSamePixels) {
  Canvas c(6, 3);
  drawLineAA(*c.ctx, 4, 1, 0, 0, 0xFFFFFF);
  ExpectWhiteXMajorLine(c);
}

TEST(WuLine, YMajorTowardSmallerXCarriesIntoX) {
  Canvas c(3, 6);
  // (2,0)-(0,5): adjust = 131072/5 = 26214. k=1: acc 26214 (w 102), k=2: 52428
  // (w 204), k=3: 78642 -> carry, x 1, acc 13106 (w 51), k=4: 104856 -> acc 39320
  // (w 153). Line pixel 255*(256-w) >> 8: 153, 51, 204, 102; neighbour at x-1:
  // 255*w >> 8: 101, 203, 50, 152.
  drawLineAA(*c.ctx, 2, 0, 0, 5, 0x0000FF);
  EXPECT_EQ(c.Colour(2, 0), 255u);
  EXPECT_EQ(c.Colour(2, 1), 153u);
  EXPECT_EQ(c.Colour(1, 1), 101u);
  EXPECT_EQ(c.Colour(2, 2), 51u);
  EXPECT_EQ(c.Colour(1, 2), 203u);
  EXPECT_EQ(c.Colour(1, 3), 204u);
  EXPECT_EQ(c.Colour(0, 3), 50u);
  EXPECT_EQ(c.Colour(1, 4), 102u);
  EXPECT_EQ(c.Colour(0, 4), 152u);
  EXPECT_EQ(c.Colour(0, 5), 255u);
  EXPECT_EQ(c.CountNot(0), 10);
}

TEST(WuLine, BlendsEachChannelWithTheOldColour) {
  Canvas c(6, 3, 0x0000FF);
  drawLineAA(*c.ctx, 0, 0, 4, 1, 0xFF0000);
  // k=1, w=64. Line pixel: red 255*192 >> 8 = 0xBF, blue 255*64 >> 8 = 0x3F.
  EXPECT_EQ(c.Colour(1, 0), 0xBF003Fu);
  // Neighbour, weight 256-64: red 255*64 >> 8 = 0x3F, blue 255*192 >> 8 = 0xBF.
  EXPECT_EQ(c.Colour(1, 1), 0x3F00BFu);
}

TEST(WuLine, HorizontalVerticalAndDiagonalLinesArePlainRuns) {
  Canvas c(6, 6);
  drawLineAA(*c.ctx, 1, 5, 5, 5, 0x101010);
  drawLineAA(*c.ctx, 0, 4, 0, 1, 0x202020);
  drawLineAA(*c.ctx, 1, 0, 4, 3, 0x303030);
  for (int x = 1; x <= 5; ++x) EXPECT_EQ(c.Colour(x, 5), 0x101010u);
  for (int y = 1; y <= 4; ++y) EXPECT_EQ(c.Colour(0, y), 0x202020u);
  for (int k = 0; k <= 3; ++k) EXPECT_EQ(c.Colour(1 + k, k), 0x303030u);
  EXPECT_EQ(c.CountNot(0), 5 + 4 + 4);
}

TEST(PlainLine, WalksLikeWuWithoutBlendingOrNeighbours) {
  Canvas c(6, 3);
  drawLine(*c.ctx, 0, 0, 4, 1, 0x123456);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(c.Colour(x, 0), 0x123456u);
  EXPECT_EQ(c.Colour(4, 1), 0x123456u);
  EXPECT_EQ(c.CountNot(0), 5);
}

TEST(MaskedLine, TouchesOnlyPixelsWhoseIdIsTheKey) {
  Canvas c(6, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) c.SetId(x, y, 7);
  }
  c.SetId(2, 0, 8);  // the line runs through here, another triangle shows
  c.SetId(4, 1, 8);  // an end pixel
  drawLineAAMasked(*c.ctx, 0, 0, 4, 1, 0xFFFFFF, 7);
  EXPECT_EQ(c.Colour(0, 0), Grey(255));
  EXPECT_EQ(c.Colour(1, 0), Grey(191));
  EXPECT_EQ(c.Colour(2, 0), 0u);
  EXPECT_EQ(c.Colour(2, 1), Grey(127));
  EXPECT_EQ(c.Colour(4, 1), 0u);
  EXPECT_EQ(c.CountNot(0), 6);
}

TEST(TexturedLine, RestoresTexelsOrBackgroundOnEveryPixelTheWuLineTouches) {
  Canvas c(6, 3, 0x999999);
  Texture t(4, 1);
  t.At(0, 0) = 0xA0;
  t.At(1, 0) = 0xA1;
  t.At(2, 0) = 0xA2;
  t.At(3, 0) = 0xA3;
  t.Bind(*c.ctx);
  c.ctx->background = 0x0B0B0B;
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) c.SetId(x, y, (x + y) % 4);
  }
  c.SetId(1, 1, -1);   // no skin here
  c.SetId(3, 0, 400);  // beyond the texture: treated like no skin
  drawLineTextured(*c.ctx, 0, 0, 4, 1);
  // Touched: row 0 x 0..3 (ends and line pixels), row 1 x 1..4 (neighbours, end).
  EXPECT_EQ(c.Colour(0, 0), 0xA0u);
  EXPECT_EQ(c.Colour(1, 0), 0xA1u);
  EXPECT_EQ(c.Colour(2, 0), 0xA2u);
  EXPECT_EQ(c.Colour(3, 0), 0x0B0B0Bu);
  EXPECT_EQ(c.Colour(1, 1), 0x0B0B0Bu);
  EXPECT_EQ(c.Colour(2, 1), 0xA3u);
  EXPECT_EQ(c.Colour(3, 1), 0xA0u);
  EXPECT_EQ(c.Colour(4, 1), 0xA1u);
  EXPECT_EQ(c.CountNot(0x999999), 8);
}

TEST(WuLine, UnclippedLineDrawsExactlyTheVisiblePartOfTheSameLineOnALargerTarget) {
  const int lines[3][4] = {{-50, -30, 70, 45}, {13, -90, 2, 60}, {-7, 25, 30, -3}};
  for (const auto& l : lines) {
    Canvas small(20, 20);
    Canvas large(200, 200);
    drawLineAA(*small.ctx, l[0], l[1], l[2], l[3], 0xC0FFEE);
    drawLineAA(*large.ctx, l[0] + 100, l[1] + 100, l[2] + 100, l[3] + 100, 0xC0FFEE);
    EXPECT_TRUE(small.GuardsIntact());
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x)
        EXPECT_EQ(small.Colour(x, y), large.Colour(x + 100, y + 100)) << x << "," << y;
    }
  }
}

TEST(WuLine, ExtremeEndPointsStayInsideTheTarget) {
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  Canvas c(16, 16);
  drawLineAA(*c.ctx, kMin, kMin, kMax, kMax / 3, 0xFFFFFF);
  drawLine(*c.ctx, kMax, kMin, kMin, kMax, 0xFFFFFF);
  drawLineAAMasked(*c.ctx, kMin, 5, kMax, 6, 0xFFFFFF, -1);
  drawLineTextured(*c.ctx, 5, kMin, 6, kMax);
  drawLineAA(*c.ctx, kMin, kMin, kMin, kMin, 0xFFFFFF);
  EXPECT_TRUE(c.GuardsIntact());
}

TEST(WuLine, RandomHugeLinesInEveryMemberStayInsideTheTarget) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> any(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
  std::uniform_int_distribution<int> near(-100, 100);
  Canvas c(9, 7);
  Texture t(2, 2);
  t.Bind(*c.ctx);
  auto coordinate = [&](int i) { return i % 3 == 0 ? near(rng) : any(rng); };
  for (int i = 0; i < 400; ++i) {
    const int x0 = coordinate(i), y0 = coordinate(i + 1), x1 = coordinate(i + 2), y1 = coordinate(i);
    drawLine(*c.ctx, x0, y0, x1, y1, 0x111111);
    drawLineAA(*c.ctx, x0, y0, x1, y1, 0x222222);
    drawLineAAMasked(*c.ctx, x0, y0, x1, y1, 0x333333, -1);
    drawLineTextured(*c.ctx, x0, y0, x1, y1);
  }
  EXPECT_TRUE(c.GuardsIntact());
}

// 16-bit target with guard zones.
struct Canvas16 {
  std::vector<std::uint16_t> store;
  std::unique_ptr<RasterContext> ctx = std::make_unique<RasterContext>();
  int pitch;
  Canvas16(int width, int height, int rowPitch)
      : store(static_cast<std::size_t>(rowPitch) * height + 2 * kGuard, 0xBEEF), pitch(rowPitch) {
    std::fill(store.begin() + kGuard, store.end() - kGuard, 0);
    ctx->colour16 = store.data() + kGuard;
    ctx->pitch16 = rowPitch;
    ctx->width = width;
    ctx->height = height;
    ctx->maxX = width - 1;
    ctx->maxY = height - 1;
  }
  std::uint16_t At(int x, int y) const { return store[kGuard + static_cast<std::size_t>(y) * pitch + x]; }
  bool GuardsIntact() const {
    for (int i = 0; i < kGuard; ++i) {
      if (store[i] != 0xBEEF || store[store.size() - 1 - i] != 0xBEEF) return false;
    }
    return true;
  }
};

constexpr std::uint16_t Grey16(std::uint16_t v) { return static_cast<std::uint16_t>(v * 0x421); }

TEST(WuLine16, FiveBitWeights) {
  Canvas16 c(6, 3, 8);
  // Accumulator 16384k -> w = acc >> 11 = 8, 16, 24. Line pixel
  // (old*w + 31*(32-w)) >> 5 = 23, 15, 7; neighbour 31*w >> 5 = 7, 15, 23.
  drawLineAA16(*c.ctx, 0, 0, 4, 1, 0x7FFF);
  const std::uint16_t row0[5] = {31, 23, 15, 7, 0};
  const std::uint16_t row1[5] = {0, 7, 15, 23, 31};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(c.At(x, 0), Grey16(row0[x])) << x;
    EXPECT_EQ(c.At(x, 1), Grey16(row1[x])) << x;
  }
}

TEST(WuLine16, BlendsEachFiveBitChannelWithTheOldColour) {
  Canvas16 c(6, 3, 6);
  drawLine16(*c.ctx, 0, 1, 5, 1, 0x001F);  // blue row under the line's neighbours
  drawLineAA16(*c.ctx, 0, 0, 4, 1, 0x7C00);
  // Neighbour (1,1), w = 8: red 31*8 >> 5 = 7, blue (31*24) >> 5 = 23.
  EXPECT_EQ(c.At(1, 1), (7 << 10) | 23);
}

TEST(PlainLine16, UsesTheRowPitchAndStaysInsideUnclipped) {
  Canvas16 c(4, 4, 7);
  drawLine16(*c.ctx, 0, 0, 3, 3, 0x1234);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(c.At(k, k), 0x1234);
  EXPECT_EQ(c.At(4, 0), 0);  // padding column beyond the width
  drawLine16(*c.ctx, -100, 2, 100, 2, 0x0042);
  drawLineAA16(*c.ctx, -1000, -900, 1000, 800, 0x7FFF);
  EXPECT_EQ(c.At(6, 2), 0);  // the padding columns stay untouched
  std::mt19937 rng(11);
  for (int i = 0; i < 200; ++i) {
    const int x0 = static_cast<int>(rng()), y0 = static_cast<int>(rng());
    drawLine16(*c.ctx, x0, y0, static_cast<int>(rng()), 3, 0x1111);
    drawLineAA16(*c.ctx, 2, y0, x0, static_cast<int>(rng()), 0x2222);
  }
  EXPECT_TRUE(c.GuardsIntact());
}

// ---- Clipping ----

RasterContext& TenByTen() {
  static RasterContext ctx;
  ctx.width = 10;
  ctx.height = 10;
  ctx.maxX = 9;
  ctx.maxY = 9;
  return ctx;
}

TEST(ClipLine2D, MovesEndsWithSixteenDotSixteenParameters) {
  int x0 = -5, y0 = 0, x1 = 5, y1 = 10;
  ASSERT_TRUE(clipLine2D(TenByTen(), x0, y0, x1, y1));
  // x0 < 0: t = 5*65536/10 = 32768, y0 += 32768*10 >> 16 = 5 -> (0, 5).
  // y1 > 9: t = 1*65536/5 = 13107, x1 += 13107*(0-5) >> 16 = -1 -> (4, 9).
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(y0, 5);
  EXPECT_EQ(x1, 4);
  EXPECT_EQ(y1, 9);
}

TEST(ClipLine2D, CutsBothEndsOfALineAcrossTheTarget) {
  int x0 = -10, y0 = 5, x1 = 20, y1 = 5;
  ASSERT_TRUE(clipLine2D(TenByTen(), x0, y0, x1, y1));
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(x1, 9);
  EXPECT_EQ(y0, 5);
  EXPECT_EQ(y1, 5);
}

TEST(ClipLine2D, LinesOutsideAnyBorderOrPastACornerAreRejected) {
  const int outside[5][4] = {{-5, 0, -1, 9}, {10, 0, 15, 9}, {0, -3, 9, -1}, {0, 10, 9, 12}, {-5, 3, 3, -5}};
  for (const auto& l : outside) {
    int x0 = l[0], y0 = l[1], x1 = l[2], y1 = l[3];
    EXPECT_FALSE(clipLine2D(TenByTen(), x0, y0, x1, y1)) << l[0] << "," << l[1];
  }
}

TEST(ClipLine2D, InsideLineIsUnchangedAndExtremeLinesLandOnTheTarget) {
  int x0 = 1, y0 = 2, x1 = 8, y1 = 9;
  ASSERT_TRUE(clipLine2D(TenByTen(), x0, y0, x1, y1));
  EXPECT_EQ(x0, 1);
  EXPECT_EQ(y1, 9);
  constexpr int kMin = std::numeric_limits<int>::min();
  constexpr int kMax = std::numeric_limits<int>::max();
  int a = kMin, b = kMin, c = kMax, d = kMax;
  ASSERT_TRUE(clipLine2D(TenByTen(), a, b, c, d));
  for (int v : {a, b, c, d}) {
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 9);
  }
}

TEST(ClipLineNear, MovesTheNearEndOntoZPointOneAlongTheLine) {
  RasterPoint3 a{1, 2, 0.05f};
  RasterPoint3 b{3, 6, 1.05f};
  ASSERT_TRUE(clipLineNear(a, b));
  // t = (0.1 - 0.05) / (1.05 - 0.05) = 0.05: x = 1 + 0.05*2, y = 2 + 0.05*4.
  EXPECT_NEAR(a.x, 1.1f, 1e-5f);
  EXPECT_NEAR(a.y, 2.2f, 1e-5f);
  EXPECT_FLOAT_EQ(a.z, 0.1f);
  EXPECT_FLOAT_EQ(b.x, 3);
  EXPECT_FLOAT_EQ(b.z, 1.05f);
  // The same with the near end second.
  RasterPoint3 c{3, 6, 1.05f};
  RasterPoint3 d{1, 2, 0.05f};
  ASSERT_TRUE(clipLineNear(c, d));
  EXPECT_NEAR(d.x, 1.1f, 1e-5f);
  EXPECT_FLOAT_EQ(d.z, 0.1f);
}

TEST(ClipLineNear, BothEndsNearerThanPointOneLeaveNothing) {
  RasterPoint3 a{0, 0, 0.09f};
  RasterPoint3 b{5, 5, -3};
  EXPECT_FALSE(clipLineNear(a, b));
  RasterPoint3 c{0, 0, 0.1f};  // exactly on the plane counts as kept
  RasterPoint3 d{5, 5, 7};
  ASSERT_TRUE(clipLineNear(c, d));
  EXPECT_FLOAT_EQ(c.z, 0.1f);
  EXPECT_FLOAT_EQ(d.x, 5);
}

TEST(PointInPolygon, IncludesRightAndBottomEdgesExcludesLeftAndTop) {
  const RasterPoint2 square[4] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  EXPECT_TRUE(pointInPolygon(2, 2, square, 4));
  EXPECT_FALSE(pointInPolygon(5, 2, square, 4));
  EXPECT_FALSE(pointInPolygon(2, 5, square, 4));
  // x span: lower x excluded, upper included.
  EXPECT_FALSE(pointInPolygon(0, 2, square, 4));
  EXPECT_TRUE(pointInPolygon(4, 2, square, 4));
  // The ray goes toward +y and an edge toggles when its y is greater than py.
  EXPECT_FALSE(pointInPolygon(2, 4, square, 4));
  EXPECT_TRUE(pointInPolygon(2, 0, square, 4));
}

TEST(PointInPolygon, SlantedEdgesAndTooFewPoints) {
  const RasterPoint2 tri[3] = {{0, 0}, {8, 0}, {0, 8}};
  EXPECT_TRUE(pointInPolygon(3, 4.9f, tri, 3));  // hypotenuse y at x=3 is 5
  EXPECT_FALSE(pointInPolygon(3, 5, tri, 3));    // on it: not greater
  EXPECT_FALSE(pointInPolygon(3, 5.1f, tri, 3));
  EXPECT_FALSE(pointInPolygon(1, 1, tri, 2));
  EXPECT_FALSE(pointInPolygon(1, 1, nullptr, 3));
}

}  // namespace
}  // namespace mok::test
