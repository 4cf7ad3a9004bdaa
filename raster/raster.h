#pragma once
// Integer triangle and line rasterizer shared by every pane.
//
// Triangles
// ---------
// A triangle is clipped to the target by midpoint subdivision (x first, then
// y), its edges are walked with Bresenham steps into the per-row left/right
// tables of the context, and each touched row is filled from its left to its
// right end with affine (not perspective-correct) interpolation. Everything
// is integer; attributes are 16.16 fixed point.
//
// Clipping: an edge end beyond a border is moved onto it by halving the
// segment between the ends, every component (a + b) >> 1, the far end toward
// the already moved near end. The floors make a clipped slanted edge land
// up to a couple of pixels off its unclipped course (and its attributes
// shift with it); horizontal, vertical and slope +1 edges stay exact.
//
// Fill conventions:
// - A row's span runs from the smallest to the largest x any edge point
//   reached, both INCLUSIVE. There is no top-left rule: pixels on a shared
//   edge are drawn by both triangles (the later one wins, or the depth test
//   decides). A triangle whose corners share one row fills that row between
//   its extreme x.
// - The span steps divide by the pixel count n = R - L + 1, not by n - 1, so
//   the value at the right end is approached but never hit exactly. A
//   one-pixel span takes the left values unchanged.
// - Depth: the stored depth is the attribute's integer part (z >> 16) as a
//   16-bit value, interpolated per span in 16 bits. A pixel is drawn only
//   when its depth is STRICTLY less than the stored one; an equal depth keeps
//   the pixel. A failing pixel is untouched in colour, depth and ids.
// - Texture coordinates wrap in both directions (any sign), addressed as
//   column + texRows[row] with column = (u >> 16) mod texWidth and
//   row = (v >> 16) mod texHeight, the modulo always non-negative.
// - Bilinear ("Filtered") members weigh the four texels around (u, v) with
//   wu = ((u >> 8) & 0xFF) + 1, wv likewise; the right and lower neighbours
//   wrap to column 0 and row 0.
//
// Vertex attributes follow x, y in the order of each member's comment:
//   u, v        texels in 16.16 (whole texels << 16)
//   r, g, b     8.16, 0..255 in the integer part (the textured Gouraud
//               members also take 256, which leaves the texel unchanged)
//   mu, mv      map coordinates 8.16, 0..255 in the integer part
//   z           non-negative scaled depth; z >> 16 is the 16-bit depth
// Colour and map attributes outside their range are clamped to it.
//
// Id writes on a drawn pixel: "Pick" members write the caller's id value,
// "Paint" members the offset of the sampled texel in the texture (for the
// bilinear members, the top-left texel of the four), "Quick" members and
// the plain 2D members write nothing.
//
// Lines
// -----
// Wu lines: both end pixels take the colour exactly; horizontal, vertical
// and 45-degree lines are plain runs; other lines step a 16-bit accumulator
// by (minor << 16) / major along the major axis, walking from the end with
// the smaller y (so both orders of the ends draw the same pixels), advancing
// the minor coordinate on every carry out of 16 bits. The pixel on the line
// is blended with weight w = accumulator >> 8 toward the old colour, its
// neighbour one step further along the minor axis with 256 - w. Every line
// pixel outside the target is skipped, so callers may pass unclipped lines.

#include <cstdint>

#include "raster/raster_context.h"

namespace mok {

struct RasterVertex {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t attr[kRasterMaxAttributes] = {};
};

struct RasterPoint2 {
  float x = 0;
  float y = 0;
};

struct RasterPoint3 {
  float x = 0;
  float y = 0;
  float z = 0;
};

// ---- 3D members: depth-tested; v points to three vertices ----

// z; colour = shade.
void fillFlat(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade);
void fillFlatPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::uint32_t shade);
// r, g, b, z; colour = (r >> 16) << 16 | (g >> 16) << 8 | b >> 16.
void fillGouraud(RasterContext& ctx, const RasterVertex* v);
void fillGouraudPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
// mu, mv, z; colour = shadeRamps[phongMap[(mv >> 16) * 256 + (mu >> 16)] + rampBase],
// rampBase 0, 256 or 512 (clamped to 0..512).
void fillPhongMap(RasterContext& ctx, const RasterVertex* v, std::int32_t rampBase);
void fillPhongMapPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::int32_t rampBase);
// mu, mv, z; map lookup on ramp 0; the filtered twin interpolates the map
// intensities bilinearly (neighbours wrap at 256).
void fillPhongMapShade(RasterContext& ctx, const RasterVertex* v);
void fillPhongMapShadeFiltered(RasterContext& ctx, const RasterVertex* v);

// u, v, z; colour = texel.
void fillTextureQuick(RasterContext& ctx, const RasterVertex* v);
void fillTextureQuickFiltered(RasterContext& ctx, const RasterVertex* v);
void fillTexturePick(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
void fillTexturePickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
void fillTexturePaint(RasterContext& ctx, const RasterVertex* v);
void fillTexturePaintFiltered(RasterContext& ctx, const RasterVertex* v);

// u, v, z; colour = per channel (texel * (shade + 1)) >> 8.
void fillTexFlatQuick(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade);
void fillTexFlatQuickFiltered(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade);
void fillTexFlatPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::uint32_t shade);
void fillTexFlatPickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::uint32_t shade);
void fillTexFlatPaint(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade);
void fillTexFlatPaintFiltered(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade);

// u, v, r, g, b, z; colour = per channel (texel * (interpolated >> 16)) >> 8.
void fillTexGouraudQuick(RasterContext& ctx, const RasterVertex* v);
void fillTexGouraudQuickFiltered(RasterContext& ctx, const RasterVertex* v);
void fillTexGouraudPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
void fillTexGouraudPickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
void fillTexGouraudPaint(RasterContext& ctx, const RasterVertex* v);
void fillTexGouraudPaintFiltered(RasterContext& ctx, const RasterVertex* v);

// u, v, mu, mv, z; colour = per channel (texel * (ramp + 1)) >> 8 with
// ramp = shadeRamps[phong map value] (ramp 0).
void fillTexPhongQuick(RasterContext& ctx, const RasterVertex* v);
void fillTexPhongQuickFiltered(RasterContext& ctx, const RasterVertex* v);
void fillTexPhongPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
void fillTexPhongPickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id);
void fillTexPhongPaint(RasterContext& ctx, const RasterVertex* v);
void fillTexPhongPaintFiltered(RasterContext& ctx, const RasterVertex* v);

// ---- 2D members (skin view): no depth; u, v only ----

void fillSkinTexture(RasterContext& ctx, const RasterVertex* v);
// As fillSkinTexture, but the span steps add half a texel before dividing:
// du = (uR - uL + 0x8000) / n, dv likewise.
void fillSkinTextureRounded(RasterContext& ctx, const RasterVertex* v);
void fillSkinTexturePaint(RasterContext& ctx, const RasterVertex* v);
void fillSkinTextureFiltered(RasterContext& ctx, const RasterVertex* v);
void fillSkinTexturePaintFiltered(RasterContext& ctx, const RasterVertex* v);

// ---- Lines into the 32-bit target ----

// The Wu walk without blending: end pixels and line pixels take the colour.
void drawLine(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint32_t colour);
void drawLineAA(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint32_t colour);
// As drawLineAA, touching only pixels whose id equals key; depth is ignored.
void drawLineAAMasked(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint32_t colour,
                      std::int32_t key);
// Restores every pixel drawLineAA would touch: texels[id] for its id, or
// `background` where the id is negative or beyond the current texture.
void drawLineTextured(RasterContext& ctx, int x0, int y0, int x1, int y1);

// ---- Lines into the 16-bit target (colour in the 5:5:5 layout) ----

void drawLine16(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint16_t colour);
// Wu line with 5-bit weights w = accumulator >> 11: line pixel
// (old * w + colour * (32 - w)) >> 5, neighbour (colour * w + old * (32 - w)) >> 5.
void drawLineAA16(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint16_t colour);

// ---- Geometry ----

// Clips the line in place to [0, maxX] x [0, maxY], moving ends with 16.16
// parametric steps (x bounds first, then y). False when nothing is left.
bool clipLine2D(const RasterContext& ctx, int& x0, int& y0, int& x1, int& y1);
// Clips a camera-space line to z >= 0.1, moving the near end along the line
// onto z = 0.1. False when both ends lie nearer than 0.1.
bool clipLineNear(RasterPoint3& a, RasterPoint3& b);
// Even-odd test with a ray toward +y. An edge counts when px lies in its x
// span with the lower x excluded and the upper included, and toggles when
// the edge's y at px is greater than py. Fewer than 3 points: outside.
bool pointInPolygon(float px, float py, const RasterPoint2* points, int count);

}  // namespace mok
