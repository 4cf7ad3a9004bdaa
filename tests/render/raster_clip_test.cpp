// Triangle clipping, the idle edge tables, and safety on hostile input.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "raster/raster_edges.h"
#include "tests/render/raster_canvas.h"

namespace mok::test {
namespace {

constexpr std::uint32_t kInk = 0xFFFFFF;

TEST(TriangleClip, TrianglesWhollyOutsideEachBorderDrawNothingAndLeaveTablesIdle) {
  const RasterVertex outside[4][3] = {
      {Vtx(-10, 0, {0}), Vtx(-1, 5, {0}), Vtx(-5, 9, {0})},  // left of x = 0
      {Vtx(10, 0, {0}), Vtx(20, 5, {0}), Vtx(15, 9, {0})},   // right of maxX = 9
      {Vtx(0, -1, {0}), Vtx(9, -10, {0}), Vtx(5, -3, {0})},  // below row 0
      {Vtx(0, 10, {0}), Vtx(9, 30, {0}), Vtx(5, 12, {0})},   // above maxY = 9
  };
  for (const auto& tri : outside) {
    Canvas c(10, 10);
    fillFlatPick(*c.ctx, tri, 1, kInk);
    EXPECT_EQ(c.CountNot(0), 0);
    EXPECT_TRUE(c.TablesIdle());
    EXPECT_TRUE(c.GuardsIntact());
  }
}

TEST(TriangleClip, EdgeCrossingXZeroIsCutAtItsMidpointSubdivisionPoint) {
  Canvas c(8, 1);
  Texture t(8, 1);
  t.Bind(*c.ctx);
  // Row 0 from (-4, u 0) to (3, u 7). Moving (-4) onto x = 0 toward (3):
  //   mid x (3-4)>>1 = -1, u 3.5       -> still outside, replaces the outer end
  //   mid x (3-1)>>1 = 1,  u 5.25      -> inside, replaces the inner end
  //   mid x (1-1)>>1 = 0,  u 4.375     -> on the border: (0, u 286720)
  // The edge (0, 4.375) -> (3, 7) steps u by 172032/3 = 57344 exactly.
  // Span n = 4: du = 172032/4 = 43008 -> u 4.375, 5.03, 5.69, 6.34
  // -> columns 4, 5, 5, 6 (an unclipped draw would give 3, 4, 5, 6 here).
  RasterVertex v[3] = {Vtx(-4, 0, {0, 0, 0}), Vtx(3, 0, {Fx(7), 0, 0}), Vtx(-4, 0, {0, 0, 0})};
  fillTexturePaint(*c.ctx, v);
  EXPECT_EQ(c.Id(0, 0), 4);
  EXPECT_EQ(c.Id(1, 0), 5);
  EXPECT_EQ(c.Id(2, 0), 5);
  EXPECT_EQ(c.Id(3, 0), 6);
  EXPECT_EQ(c.Id(4, 0), -1);
  EXPECT_TRUE(c.TablesIdle());
}

TEST(TriangleClip, EdgeCrossingRowZeroIsCutAtItsMidpointSubdivisionPoint) {
  Canvas c(1, 8);
  Texture t(1, 16);
  t.Bind(*c.ctx);
  // Column 0 from (y -4, v 0) to (y 3, v 14). Moving y -4 onto row 0:
  //   mid y (3-4)>>1 = -1, v 7 -> outside; mid y (3-1)>>1 = 1, v 10.5 -> inside;
  //   mid y 0, v 8.75 -> on the border.
  // The edge (3, v 14) -> (0, v 8.75) steps v by -1.75: rows 3..0 get
  // v 14, 12.25, 10.5, 8.75 -> texture rows 14, 12, 10, 8.
  RasterVertex v[3] = {Vtx(0, -4, {0, 0, 0}), Vtx(0, 3, {0, Fx(14), 0}), Vtx(0, -4, {0, 0, 0})};
  fillTexturePaint(*c.ctx, v);
  EXPECT_EQ(c.Id(0, 0), 8);
  EXPECT_EQ(c.Id(0, 1), 10);
  EXPECT_EQ(c.Id(0, 2), 12);
  EXPECT_EQ(c.Id(0, 3), 14);
  EXPECT_EQ(c.Id(0, 4), -1);
}

// Draws the triangle into a 10 x 10 target and, shifted by 15, into a
// 40 x 40 one, and counts the pixels of the 10 x 10 window that differ.
int DifferencesAgainstLargerTarget(const RasterVertex (&tri)[3]) {
  Canvas small(10, 10);
  Canvas large(40, 40);
  RasterVertex shifted[3] = {tri[0], tri[1], tri[2]};
  for (RasterVertex& v : shifted) {
    v.x += 15;
    v.y += 15;
  }
  fillFlat(*small.ctx, tri, kInk);
  fillFlat(*large.ctx, shifted, kInk);
  EXPECT_TRUE(small.GuardsIntact());
  EXPECT_TRUE(small.TablesIdle());
  int differences = 0;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) differences += small.Colour(x, y) != large.Colour(x + 15, y + 15) ? 1 : 0;
  }
  return differences;
}

TEST(TriangleClip, ClippedAxisAndDiagonalEdgesCoverExactlyWhatALargerTargetShows) {
  // Edges horizontal, vertical or of slope +1: their midpoints stay on the
  // edge, so clipping moves no pixel.
  const RasterVertex crossing[4][3] = {
      {Vtx(-5, 1, {0}), Vtx(6, 1, {0}), Vtx(6, 12, {0})},         // left and top
      {Vtx(4, -3, {0}), Vtx(15, 8, {0}), Vtx(4, 8, {0})},         // bottom and right
      {Vtx(-20, -20, {0}), Vtx(30, -20, {0}), Vtx(30, 30, {0})},  // all four
      {Vtx(-3, -3, {0}), Vtx(12, 12, {0}), Vtx(-3, 12, {0})},     // diagonal through the corners
  };
  for (const auto& tri : crossing) EXPECT_EQ(DifferencesAgainstLargerTarget(tri), 0);
}

TEST(TriangleClip, ClippedSlantedTrianglesStayInsideTheirBoundingBox) {
  // Midpoint subdivision floors both coordinates, so a clipped slanted edge
  // may land a pixel or two off the true line; it never leaves the corners'
  // bounding box, and the tables are idle afterwards.
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> coord(-30, 40);
  for (int i = 0; i < 300; ++i) {
    RasterVertex tri[3];
    for (RasterVertex& v : tri) v = Vtx(coord(rng), coord(rng), {0});
    Canvas c(10, 10);
    fillFlat(*c.ctx, tri, kInk);
    const auto [minX, maxX] = std::minmax({tri[0].x, tri[1].x, tri[2].x});
    const auto [minY, maxY] = std::minmax({tri[0].y, tri[1].y, tri[2].y});
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        if (c.Colour(x, y) != kInk) continue;
        EXPECT_TRUE(x >= minX && x <= maxX && y >= minY && y <= maxY) << i << ": " << x << "," << y;
      }
    }
    EXPECT_TRUE(c.TablesIdle());
  }
}

TEST(EdgeClip, TheFarEndMovesTowardTheAlreadyMovedNearEnd) {
  using raster_detail::Axis;
  using raster_detail::ClipVertex;
  RasterContext ctx;
  // (-4, u 0) -> (12, u 16) into columns 0..7.
  // Low end onto 0 toward (12, 16): mid (4, 8) inside, mid (0, 4) on the border.
  // High end onto 7 toward the moved (0, 4): mid (6, 10) inside, (9, 13)
  // outside, (7, 11.5) on the border. (Toward the original (-4, 0) it would
  // have been (7, 11).)
  ClipVertex<1> start{-4, 0, {0}};
  ClipVertex<1> end{12, 0, {Fx(16)}};
  ASSERT_TRUE((raster_detail::ClipEdge<Axis::kX>(ctx, start, end, 7)));
  EXPECT_EQ(start.x, 0);
  EXPECT_EQ(start.attr[0], Fx(4));
  EXPECT_EQ(end.x, 7);
  EXPECT_EQ(end.attr[0], Fx(11.5));
  EXPECT_EQ(ctx.clipFlag, 1);
  ClipVertex<1> outside0{8, 0, {0}};
  ClipVertex<1> outside1{30, 0, {0}};
  EXPECT_FALSE((raster_detail::ClipEdge<Axis::kX>(ctx, outside0, outside1, 7)));
}

TEST(EdgeClip, SurvivingEdgesChainIntoAClosedPolygon) {
  using raster_detail::ClipVertex;
  RasterContext ctx;
  // A (-4,0) B (4,0) C (4,8). AB: start moved onto (0,0) -> gives (0,0), B.
  // BC: untouched -> gives C. CA: end moved, mid of (4,8) and (-4,0) is
  // (0,4) -> gives (0,4). The first point closes the chain.
  const ClipVertex<1> tri[3] = {{-4, 0, {0}}, {4, 0, {0}}, {4, 8, {0}}};
  ClipVertex<1> polygon[7];
  const int count = raster_detail::ClipTriangleColumns(ctx, tri, 9, polygon);
  ASSERT_EQ(count, 5);
  const int expected[5][2] = {{0, 0}, {4, 0}, {4, 8}, {0, 4}, {0, 0}};
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(polygon[i].x, expected[i][0]) << i;
    EXPECT_EQ(polygon[i].y, expected[i][1]) << i;
  }
}

TEST(EdgeTables, ResetMakesEveryTargetRowIdle) {
  Canvas c(4, 4);
  c.ctx->leftX[2] = 1;
  c.ctx->rightX[3] = 2;
  c.ctx->minRow = 2;
  c.ctx->maxRow = 3;
  resetEdges(*c.ctx);
  EXPECT_TRUE(c.TablesIdle());
}

// The edge walk one Bresenham point at a time, each point tested on both
// sides: what the row-at-a-time walk must reproduce exactly.
void ScanEdgePointByPoint(RasterContext& ctx, const raster_detail::ClipVertex<3>& p,
                          const raster_detail::ClipVertex<3>& q) {
  const int dx = std::abs(q.x - p.x), dy = std::abs(q.y - p.y), major = std::max(dx, dy);
  int x = p.x, y = p.y, d = 2 * std::min(dx, dy) - major;
  for (int i = 0; i <= major; ++i, d += 2 * std::min(dx, dy)) {
    for (int k = 0; k < 3; ++k) {
      const auto value = static_cast<std::int32_t>(p.attr[k] + i * (major ? (std::int64_t{q.attr[k]} - p.attr[k]) / major : 0));
      if (x < ctx.leftX[y]) ctx.leftAttr[k][y] = value;
      if (x > ctx.rightX[y]) ctx.rightAttr[k][y] = value;
    }
    ctx.leftX[y] = std::min(ctx.leftX[y], x);
    ctx.rightX[y] = std::max(ctx.rightX[y], x);
    if (d >= 0 || dy >= dx) y += q.y >= p.y ? 1 : -1;
    if (d >= 0 || dy < dx) x += q.x >= p.x ? 1 : -1;
    if (d >= 0) d -= 2 * major;
  }
}

TEST(EdgeTables, RowAtATimeWalkRecordsWhatEveryPointWould) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(0, 99), attribute(-(1 << 30), 1 << 30);
  auto fast = std::make_unique<RasterContext>(), slow = std::make_unique<RasterContext>();
  fast->height = slow->height = 100;
  for (int round = 0; round < 300; ++round) {
    // Points, flat edges and edges of every slope, into tables other edges filled in.
    for (int edge = 0; edge < 3; ++edge) {
      raster_detail::ClipVertex<3> p{coordinate(random), coordinate(random), {}}, q = p;
      if (edge > 0) q = {coordinate(random), coordinate(random) / (edge == 1 ? 20 : 1), {}};
      for (int k = 0; k < 3; ++k) p.attr[k] = attribute(random), q.attr[k] = attribute(random);
      raster_detail::ScanEdge(*fast, p, q);
      ScanEdgePointByPoint(*slow, p, q);
    }
    ASSERT_TRUE(fast->leftX == slow->leftX && fast->rightX == slow->rightX) << round;
    ASSERT_TRUE(fast->leftAttr == slow->leftAttr && fast->rightAttr == slow->rightAttr) << round;
    if (round % 4 == 3) resetEdges(*fast), resetEdges(*slow);
  }
}

// Every triangle member, called with fixed id and shade values.
std::vector<std::pair<std::string, std::function<void(RasterContext&, const RasterVertex*)>>> AllMembers() {
  using F = std::function<void(RasterContext&, const RasterVertex*)>;
  return {
      {"fillFlat", F([](RasterContext& c, const RasterVertex* v) { fillFlat(c, v, 0x123456); })},
      {"fillFlatPick", F([](RasterContext& c, const RasterVertex* v) { fillFlatPick(c, v, 1, 0x123456); })},
      {"fillGouraud", F(fillGouraud)},
      {"fillGouraudPick", F([](RasterContext& c, const RasterVertex* v) { fillGouraudPick(c, v, 1); })},
      {"fillPhongMap", F([](RasterContext& c, const RasterVertex* v) { fillPhongMap(c, v, 512); })},
      {"fillPhongMapPick",
       F([](RasterContext& c, const RasterVertex* v) { fillPhongMapPick(c, v, 1, 256); })},
      {"fillPhongMapShade", F(fillPhongMapShade)},
      {"fillPhongMapShadeFiltered", F(fillPhongMapShadeFiltered)},
      {"fillTextureQuick", F(fillTextureQuick)},
      {"fillTextureQuickFiltered", F(fillTextureQuickFiltered)},
      {"fillTexturePick", F([](RasterContext& c, const RasterVertex* v) { fillTexturePick(c, v, 1); })},
      {"fillTexturePickFiltered",
       F([](RasterContext& c, const RasterVertex* v) { fillTexturePickFiltered(c, v, 1); })},
      {"fillTexturePaint", F(fillTexturePaint)},
      {"fillTexturePaintFiltered", F(fillTexturePaintFiltered)},
      {"fillTexFlatQuick",
       F([](RasterContext& c, const RasterVertex* v) { fillTexFlatQuick(c, v, 0x808080); })},
      {"fillTexFlatQuickFiltered",
       F([](RasterContext& c, const RasterVertex* v) { fillTexFlatQuickFiltered(c, v, 0x808080); })},
      {"fillTexFlatPick",
       F([](RasterContext& c, const RasterVertex* v) { fillTexFlatPick(c, v, 1, 0x808080); })},
      {"fillTexFlatPickFiltered",
       F([](RasterContext& c, const RasterVertex* v) { fillTexFlatPickFiltered(c, v, 1, 0x808080); })},
      {"fillTexFlatPaint",
       F([](RasterContext& c, const RasterVertex* v) { fillTexFlatPaint(c, v, 0x808080); })},
      {"fillTexFlatPaintFiltered",
       F([](RasterContext& c, const RasterVertex* v) { fillTexFlatPaintFiltered(c, v, 0x808080); })},
      {"fillTexGouraudQuick", F(fillTexGouraudQuick)},
      {"fillTexGouraudQuickFiltered", F(fillTexGouraudQuickFiltered)},
      {"fillTexGouraudPick", F([](RasterContext& c, const RasterVertex* v) { fillTexGouraudPick(c, v, 1); })},
      {"fillTexGouraudPickFiltered",
       F([](RasterContext& c, const RasterVertex* v) { fillTexGouraudPickFiltered(c, v, 1); })},
      {"fillTexGouraudPaint", F(fillTexGouraudPaint)},
      {"fillTexGouraudPaintFiltered", F(fillTexGouraudPaintFiltered)},
      {"fillTexPhongQuick", F(fillTexPhongQuick)},
      {"fillTexPhongQuickFiltered", F(fillTexPhongQuickFiltered)},
      {"fillTexPhongPick", F([](RasterContext& c, const RasterVertex* v) { fillTexPhongPick(c, v, 1); })},
      {"fillTexPhongPickFiltered",
       F([](RasterContext& c, const RasterVertex* v) { fillTexPhongPickFiltered(c, v, 1); })},
      {"fillTexPhongPaint", F(fillTexPhongPaint)},
      {"fillTexPhongPaintFiltered", F(fillTexPhongPaintFiltered)},
      {"fillSkinTexture", F(fillSkinTexture)},
      {"fillSkinTextureRounded", F(fillSkinTextureRounded)},
      {"fillSkinTexturePaint", F(fillSkinTexturePaint)},
      {"fillSkinTextureFiltered", F(fillSkinTextureFiltered)},
      {"fillSkinTexturePaintFiltered", F(fillSkinTexturePaintFiltered)},
  };
}

// Corner sets no caller should send: extreme, huge, degenerate, random.
std::vector<std::array<RasterVertex, 3>> HostileTriangles() {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::initializer_list<std::int32_t> extremeAttributes = {kMin, kMax, kMin, kMax, kMin, kMax};
  const std::initializer_list<std::int32_t> mixedAttributes = {kMax, kMin, -1, kMax, 0, kMin};
  std::vector<std::array<RasterVertex, 3>> sets = {
      {Vtx(kMin, kMin, extremeAttributes), Vtx(kMax, kMax, mixedAttributes),
       Vtx(kMin, kMax, extremeAttributes)},
      {Vtx(kMax, kMin, mixedAttributes), Vtx(kMin, kMax, extremeAttributes), Vtx(3, 2, mixedAttributes)},
      {Vtx(kMax, 0, extremeAttributes), Vtx(0, kMax, mixedAttributes), Vtx(kMin, kMin, mixedAttributes)},
      {Vtx(-1, -1, extremeAttributes), Vtx(kMax, 2, mixedAttributes), Vtx(2, kMin, extremeAttributes)},
      {Vtx(3, 3, mixedAttributes), Vtx(3, 3, extremeAttributes), Vtx(3, 3, mixedAttributes)},
      {Vtx(0, 0, extremeAttributes), Vtx(6, 0, mixedAttributes), Vtx(0, 4, extremeAttributes)},
  };
  std::mt19937 rng(99);
  std::uniform_int_distribution<std::int32_t> any(kMin, kMax);
  std::uniform_int_distribution<std::int32_t> near(-40, 40);
  for (int i = 0; i < 60; ++i) {
    std::array<RasterVertex, 3> tri;
    for (RasterVertex& v : tri) {
      v.x = i % 2 == 0 ? any(rng) : near(rng);
      v.y = i % 3 == 0 ? any(rng) : near(rng);
      for (std::int32_t& a : v.attr) a = any(rng);
    }
    sets.push_back(tri);
  }
  return sets;
}

TEST(TriangleSafety, NoMemberWritesOutsideTheTargetOrLeavesTablesBusyOnHostileCorners) {
  Texture texture(3, 2);  // not a power of two
  std::vector<std::uint8_t> map(256 * 256, 200);
  const auto members = AllMembers();
  const auto triangles = HostileTriangles();
  for (const auto& [name, fill] : members) {
    Canvas c(7, 5);
    texture.Bind(*c.ctx);
    c.ctx->phongMap = map.data();
    for (const auto& tri : triangles) fill(*c.ctx, tri.data());
    EXPECT_TRUE(c.GuardsIntact()) << name;
    EXPECT_TRUE(c.TablesIdle()) << name;
  }
}

TEST(TriangleSafety, WidestTextureWithHugeStepsWithinIt) {
  // Two pixels stepping u by about 2^30: both inside a 32767-texel-wide
  // texture, the running value after the span would leave the int32 range.
  Texture texture(32767, 1);
  Canvas c(2, 1);
  texture.Bind(*c.ctx);
  RasterVertex tri[3] = {Vtx(0, 0, {0, 0, 0}), Vtx(1, 0, {0x7FFE0000, 0, 0}), Vtx(0, 0, {0, 0, 0})};
  fillTexturePaint(*c.ctx, tri);
  EXPECT_EQ(c.Id(0, 0), 0);
  EXPECT_EQ(c.Id(1, 0), 0x3FFF);  // du = 0x7FFE0000 / 2 = 0x3FFF0000
  EXPECT_TRUE(c.GuardsIntact());
}

TEST(TriangleSafety, OneByOneTargetAndTextureAndOversizedClipLimits) {
  Texture texture(1, 1);
  texture.At(0, 0) = 0x00ABCDEF;
  for (const auto& [name, fill] : AllMembers()) {
    Canvas c(1, 1, 0x777777);
    texture.Bind(*c.ctx);
    std::vector<std::uint8_t> map(256 * 256, 1);
    c.ctx->phongMap = map.data();
    c.ctx->maxX = 50;  // limits beyond the buffer are cut to it
    c.ctx->maxY = 50;
    RasterVertex tri[3] = {Vtx(-5, -5, {0, 0, 0, 0, 0, 0}), Vtx(60, -5, {Fx(9), 0, 0, 0, 0, 0}),
                           Vtx(-5, 60, {0, Fx(9), 0, 0, 0, 0})};
    fill(*c.ctx, tri);
    EXPECT_NE(c.Colour(0, 0), 0x777777u) << name;
    EXPECT_TRUE(c.GuardsIntact()) << name;
    EXPECT_TRUE(c.TablesIdle()) << name;
  }
}

TEST(TriangleSafety, MissingBuffersOrEmptyTextureDrawNothing) {
  Canvas c(4, 4);
  RasterVertex tri[3] = {Vtx(0, 0, {0, 0, 0}), Vtx(3, 0, {0, 0, 0}), Vtx(0, 3, {0, 0, 0})};
  fillTexturePick(*c.ctx, tri, 1);  // no texture bound
  Texture empty(0, 0);
  empty.Bind(*c.ctx);
  fillTexturePaintFiltered(*c.ctx, tri);
  fillPhongMap(*c.ctx, tri, 0);  // no map
  fillTexturePick(*c.ctx, nullptr, 1);
  EXPECT_EQ(c.CountNot(0), 0);
  EXPECT_TRUE(c.TablesIdle());
}

TEST(TriangleSafety, TallTargetsUseAtMost2048Rows) {
  {
    Canvas c(2, kRasterMaxRows);
    RasterVertex tri[3] = {Vtx(0, 0, {0}), Vtx(1, 0, {0}), Vtx(0, 5000, {0})};
    fillFlat(*c.ctx, tri, kInk);
    EXPECT_EQ(c.Colour(0, 0), kInk);
    EXPECT_EQ(c.Colour(0, kRasterMaxRows - 1), kInk);
    EXPECT_TRUE(c.TablesIdle());
  }
  {
    Canvas c(2, 3000);
    RasterVertex tri[3] = {Vtx(0, 0, {0}), Vtx(1, 0, {0}), Vtx(0, 2999, {0})};
    fillFlat(*c.ctx, tri, kInk);
    EXPECT_EQ(c.Colour(0, kRasterMaxRows - 1), kInk);
    EXPECT_EQ(c.Colour(0, kRasterMaxRows), 0u);
    EXPECT_TRUE(c.GuardsIntact());
    EXPECT_TRUE(c.TablesIdle());
  }
}

}  // namespace
}  // namespace mok::test
