#pragma once
// Triangle clipping and the edge pass of the rasterizer: a triangle's edges
// are clipped to the target by midpoint subdivision and walked with
// Bresenham steps into the left/right tables of the context. Internal to the
// rasterizer; the triangle members in raster_triangles.cpp use it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

#include "raster/raster_context.h"

namespace mok::raster_detail {

// A vertex with N attributes in the working precision of the clipper.
template <int N>
struct ClipVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t attr[N] = {};
};

// Clip rectangle of a triangle draw, inclusive: columns 0..right, rows 0..top.
struct ClipBounds {
  std::int32_t right = -1;
  std::int32_t top = -1;
};

enum class Axis { kX, kY };

template <Axis A, int N>
std::int32_t Coord(const ClipVertex<N>& p) {
  return A == Axis::kX ? p.x : p.y;
}

// (a + b) >> 1 without overflow: the sum is taken in 64 bits.
inline std::int32_t Half(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>((static_cast<std::int64_t>(a) + b) >> 1);
}

template <int N>
ClipVertex<N> Midpoint(const ClipVertex<N>& p, const ClipVertex<N>& q) {
  ClipVertex<N> m;
  m.x = Half(p.x, q.x);
  m.y = Half(p.y, q.y);
  for (int k = 0; k < N; ++k) m.attr[k] = Half(p.attr[k], q.attr[k]);
  return m;
}

// The point of the edge whose coordinate equals `bound`, found by halving the
// bracket [inside, outside] (every component) until a midpoint lands on it.
// `outside` lies strictly beyond the bound; `inside` on it or short of it.
// The bracket spans at least two units while neither end is on the bound,
// so each midpoint lies strictly inside it and the loop ends.
template <Axis A, int N>
ClipVertex<N> MoveOntoBound(ClipVertex<N> inside, ClipVertex<N> outside, std::int32_t bound) {
  if (Coord<A>(inside) == bound) return inside;
  const bool outsideBelow = Coord<A>(outside) < bound;
  for (;;) {
    ClipVertex<N> mid = Midpoint(inside, outside);
    const std::int32_t c = Coord<A>(mid);
    if (c == bound) return mid;
    if ((c < bound) == outsideBelow) {
      outside = mid;
    } else {
      inside = mid;
    }
  }
}

// Clips the edge start->end to [0, limit] on one axis: the end with the
// smaller coordinate is moved onto 0 when below it, then the larger one onto
// `limit` when beyond it. False when the edge lies wholly on one side.
// Records in ctx.clipFlag whether the edge's start moved.
template <Axis A, int N>
bool ClipEdge(RasterContext& ctx, ClipVertex<N>& start, ClipVertex<N>& end, std::int32_t limit) {
  const bool startIsLow = Coord<A>(start) <= Coord<A>(end);
  ClipVertex<N>& low = startIsLow ? start : end;
  ClipVertex<N>& high = startIsLow ? end : start;
  if (Coord<A>(low) > limit || Coord<A>(high) < 0) return false;
  bool startMoved = false;
  if (Coord<A>(low) < 0) {
    low = MoveOntoBound<A>(high, low, 0);
    startMoved = startIsLow;
  }
  if (Coord<A>(high) > limit) {
    high = MoveOntoBound<A>(low, high, limit);
    startMoved = startMoved || !startIsLow;
  }
  ctx.clipFlag = startMoved ? 1 : 0;
  return true;
}

// The attributes of an edge's points: point i holds start + i * step in
// 64 bits, what adding the step i times gives.
template <int N>
struct EdgeValues {
  std::int64_t start[N];
  std::int64_t step[N];

  void StoreAt(int i, std::array<EdgeTable, kRasterMaxAttributes>& tables, int row) const {
    for (int k = 0; k < N; ++k) tables[k][row] = static_cast<std::int32_t>(start[k] + i * step[k]);
  }
};

template <int N>
void ExtendLeft(RasterContext& ctx, const EdgeValues<N>& values, int x, int y, int i) {
  if (x < ctx.leftX[y]) {
    ctx.leftX[y] = x;
    values.StoreAt(i, ctx.leftAttr, y);
  }
}

template <int N>
void ExtendRight(RasterContext& ctx, const EdgeValues<N>& values, int x, int y, int i) {
  if (x > ctx.rightX[y]) {
    ctx.rightX[y] = x;
    values.StoreAt(i, ctx.rightAttr, y);
  }
}

// Bresenham walk of one clipped edge into the edge tables. Every point that
// extends its row to the left or right records the running attributes for
// that side. Attribute steps divide by the major length, truncating.
//
// A mostly horizontal edge puts a run of points on each row, all stepping
// the same way along x: of those only the first can extend the row on the
// side the run comes from and only the last on the side it goes to, so the
// walk goes a row at a time and tests just those two.
template <int N>
void ScanEdge(RasterContext& ctx, const ClipVertex<N>& p, const ClipVertex<N>& q) {
  ctx.minRow = std::min({ctx.minRow, p.y, q.y});
  ctx.maxRow = std::max({ctx.maxRow, p.y, q.y});
  const int dx = std::abs(q.x - p.x);
  const int dy = std::abs(q.y - p.y);
  const int sx = q.x >= p.x ? 1 : -1;
  const int sy = q.y >= p.y ? 1 : -1;
  const bool yMajor = dy >= dx;
  const int major = yMajor ? dy : dx;
  const int minor = yMajor ? dx : dy;
  EdgeValues<N> values;
  for (int k = 0; k < N; ++k) {
    values.start[k] = p.attr[k];
    values.step[k] = major > 0 ? (static_cast<std::int64_t>(q.attr[k]) - p.attr[k]) / major : 0;
  }
  int x = p.x;
  int y = p.y;
  int d = 2 * minor - major;
  if (yMajor) {
    for (int i = 0; i <= major; ++i) {
      ExtendLeft(ctx, values, x, y, i);
      ExtendRight(ctx, values, x, y, i);
      // Whether x steps is as good as random for most slopes: masks, not a
      // branch.
      const int stepX = -static_cast<int>(d >= 0);
      x += sx & stepX;
      d += 2 * minor - (2 * major & stepX);
      y += sy;
    }
    return;
  }
  for (int i = 0; i <= major;) {
    // The point stays on its row while d < 0, gaining 2 * minor a step.
    int run = major - i + 1;
    if (d >= 0) run = 1;
    else if (minor > 0) run = std::min(run, 1 + (2 * minor - 1 - d) / (2 * minor));
    const int last = x + sx * (run - 1);
    if (sx > 0) {
      ExtendLeft(ctx, values, x, y, i);
      ExtendRight(ctx, values, last, y, i + run - 1);
    } else {
      ExtendRight(ctx, values, x, y, i);
      ExtendLeft(ctx, values, last, y, i + run - 1);
    }
    i += run;
    x = last + sx;
    y += sy;
    d += 2 * minor * run - 2 * major;
  }
}

// Clips the three edges to the column range and chains the survivors into a
// closed polygon: an edge whose start moved gives its clipped start and end,
// any other surviving edge its end only; the first point closes the chain.
// Returns the number of points written to `out` (at most 7).
template <int N>
int ClipTriangleColumns(RasterContext& ctx, const ClipVertex<N> (&tri)[3], std::int32_t right,
                        ClipVertex<N> (&out)[7]) {
  int count = 0;
  for (int e = 0; e < 3; ++e) {
    ClipVertex<N> start = tri[e];
    ClipVertex<N> end = tri[(e + 1) % 3];
    if (!ClipEdge<Axis::kX>(ctx, start, end, right)) continue;
    if (ctx.clipFlag != 0) out[count++] = start;
    out[count++] = end;
  }
  if (count > 0) out[count++] = out[0];
  return count;
}

// Clips the triangle to the bounds and records its edges in the tables.
template <int N>
void ScanTriangle(RasterContext& ctx, const ClipVertex<N> (&tri)[3], ClipBounds bounds) {
  ClipVertex<N> polygon[7];
  const int count = ClipTriangleColumns(ctx, tri, bounds.right, polygon);
  for (int i = 0; i + 1 < count; ++i) {
    ClipVertex<N> start = polygon[i];
    ClipVertex<N> end = polygon[i + 1];
    if (ClipEdge<Axis::kY>(ctx, start, end, bounds.top)) ScanEdge(ctx, start, end);
  }
}

}  // namespace mok::raster_detail
