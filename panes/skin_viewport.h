#pragma once
// Where the skin view shows the skin: the window <-> skin coordinate rules.
//
// W is the pitch (also the logical width), H the height, W/2 and H/2 their
// integer halves, (cu, cv) the view centre in texels.
// - Drawing: a UV vertex (u, v) lands in the colour buffer (row 0 at the
//   bottom of the window) at column W/2 + (u + 0.5 - cu) * zoom and row
//   H/2 - (v + 0.5 - cv) * zoom, truncated toward zero, so it sits on its
//   texel's centre and skin rows grow downward on screen. Rectangles (the
//   skin, the mapping frame) use the same rule without the 0.5.
// - Mouse: a client point (x, y) from the top-left corner is the skin point
//   u = cu + (x - W/2) / zoom, v = cv + (y - H/2) / zoom.
// - Hit tests put a UV vertex at the client point
//   x = W/2 + (u + 0.5 - cu) * zoom, y = H/2 + (v + 0.5 - cv) * zoom.

#include "core/mesh_document.h"
#include "raster/raster.h"

namespace mok {

struct BufferPoint {
  int x = 0;
  int row = 0;  // counted from the bottom
};


struct SkinViewport {
  int pitch = 0;
  int height = 0;
  UvPair center;
  float zoom = 1.5f;

  // A UV vertex in the colour buffer.
  BufferPoint VertexInBuffer(UvPair uv) const;
  // A rectangle corner in the colour buffer.
  BufferPoint CornerInBuffer(float u, float v) const;
  // The skin point under a client point.
  UvPair SkinPoint(int x, int y) const;
  // Where hit tests put a UV vertex, in client coordinates.
  RasterPoint2 VertexInWindow(UvPair uv) const;
};

// The target rectangle of Map from 3D View, in skin coordinates.
struct MappingFrame {
  float u0 = 0;
  float v0 = 0;
  float u1 = 10;
  float v1 = 10;
};

// Puts the frame in order: where u0 > u1 the two swap and the new u0 is
// truncated to a whole number; v likewise.
void OrderFrame(MappingFrame& frame);

}  // namespace mok

namespace mok {

// The active skin when it can be drawn and edited: at least one texel, at
// most kMaxSkinRows rows and texels for its whole size. Null otherwise.
SkinSlot* DrawableActiveSkin(const MeshDocument& doc);

// Truncates both coordinates toward zero to whole texels (grid snap).
void TruncateToTexels(UvPair& uv);

// The UV vertex a face corner uses, or null when its index lies outside the
// table.
const UvPair* CornerUv(const MeshDocument& doc, const MeshTriangle& face, int corner);

}  // namespace mok
