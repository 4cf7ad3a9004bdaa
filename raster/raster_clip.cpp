// Line clipping and the point-in-polygon test of the rasterizer.

#include <cstdint>
#include <utility>

#include "raster/raster.h"

namespace mok {
namespace {

// One end of a line seen along one axis: `along` is the clipped coordinate,
// `across` the other one.
struct AxisEnd {
  std::int64_t along;
  std::int64_t across;
};

// Moves `end` onto along = bound toward `other` with a 16.16 parameter:
// t = (|end - bound| << 16) / |end - other|, across += t * (other - end) >> 16.
void MoveOnto(AxisEnd& end, const AxisEnd& other, std::int64_t bound) {
  const std::int64_t t = ((bound - end.along) * 65536) / (other.along - end.along);
  end.across += (t * (other.across - end.across)) >> 16;
  end.along = bound;
}

// Clips both ends to [0, limit] on one axis: first the end below 0, then the
// end beyond the limit. False when both ends lie on the same outer side.
bool ClipAxis(AxisEnd& a, AxisEnd& b, std::int64_t limit) {
  if ((a.along < 0 && b.along < 0) || (a.along > limit && b.along > limit)) return false;
  if (a.along < 0) MoveOnto(a, b, 0);
  if (b.along < 0) MoveOnto(b, a, 0);
  if (a.along > limit) MoveOnto(a, b, limit);
  if (b.along > limit) MoveOnto(b, a, limit);
  return true;
}

constexpr float kNearZ = 0.1f;

void MoveOntoNear(RasterPoint3& p, const RasterPoint3& q) {
  const float t = (kNearZ - p.z) / (q.z - p.z);
  p.x += t * (q.x - p.x);
  p.y += t * (q.y - p.y);
  p.z = kNearZ;
}

}  // namespace

bool clipLine2D(const RasterContext& ctx, int& x0, int& y0, int& x1, int& y1) {
  if (ctx.maxX < 0 || ctx.maxY < 0) return false;
  AxisEnd a{x0, y0};
  AxisEnd b{x1, y1};
  if (!ClipAxis(a, b, ctx.maxX)) return false;
  // The y pass sees the ends with the axes swapped.
  AxisEnd ay{a.across, a.along};
  AxisEnd by{b.across, b.along};
  if (!ClipAxis(ay, by, ctx.maxY)) return false;
  // Moving along the line between two ends inside the column range keeps x
  // inside it, so both ends are now on the target.
  x0 = static_cast<int>(ay.across);
  y0 = static_cast<int>(ay.along);
  x1 = static_cast<int>(by.across);
  y1 = static_cast<int>(by.along);
  return true;
}

bool clipLineNear(RasterPoint3& a, RasterPoint3& b) {
  const bool aNear = a.z < kNearZ;
  const bool bNear = b.z < kNearZ;
  if (aNear && bNear) return false;
  if (aNear) MoveOntoNear(a, b);
  if (bNear) MoveOntoNear(b, a);
  return true;
}

bool pointInPolygon(float px, float py, const RasterPoint2* points, int count) {
  if (points == nullptr || count < 3) return false;
  bool inside = false;
  const RasterPoint2* previous = &points[count - 1];
  for (int i = 0; i < count; ++i) {
    const RasterPoint2* lowX = previous;
    const RasterPoint2* highX = &points[i];
    if (lowX->x > highX->x) std::swap(lowX, highX);
    // Lower x excluded, upper included, so a vertex on the ray counts once.
    if (lowX->x < px && px <= highX->x) {
      // The edge's y at px exceeds py, multiplied out by the positive x extent.
      const double extent = static_cast<double>(highX->x) - lowX->x;
      const double above = (static_cast<double>(lowX->y) - py) * extent +
                           (static_cast<double>(px) - lowX->x) * (static_cast<double>(highX->y) - lowX->y);
      if (above > 0) inside = !inside;
    }
    previous = &points[i];
  }
  return inside;
}

}  // namespace mok
