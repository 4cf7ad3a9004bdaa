#include "panes/uv_drags.h"

#include <algorithm>
#include <cmath>

#include "render/camera.h"
#include "render/frame_steps.h"
#include "render/saturate.h"
#include "raster/raster.h"

namespace mok {

namespace {

constexpr int kPickRadius = 6;  // screen pixels
constexpr double kRotatePerPixel = 0.005;
constexpr double kScalePerPixel = 0.004;
constexpr float kFrameGrip = 2;

bool UsesVertex(const MeshTriangle& face, int vertex) {
  return face.uvIndex[0] == vertex || face.uvIndex[1] == vertex || face.uvIndex[2] == vertex;
}

// Marks the faces that use `vertex` (only selected faces when `selectedOnly`)
// as being edited and points their first corner on it at the grab vertex.
// Returns how many faces follow the drag.
int DetachCorners(MeshDocument& doc, int vertex, int grab, bool selectedOnly) {
  int moved = 0;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (selectedOnly && !face.selected()) continue;
    face.state &= ~kFaceEditing;
    if (!UsesVertex(face, vertex)) continue;
    face.state |= kFaceEditing;
    for (int k = 0; k < 3; ++k) {
      if (face.uvIndex[k] != vertex) continue;
      face.uvIndex[k] = static_cast<std::int16_t>(grab);
      break;
    }
    ++moved;
  }
  return moved;
}

bool AnySelectedUses(const MeshDocument& doc, int vertex) {
  for (int i = 0; i < doc.triangleCount; ++i)
    if (doc.triangles[i].selected() && UsesVertex(doc.triangles[i], vertex)) return true;
  return false;
}

void TakeImageSnapshot(const MeshDocument& doc, MappingDrag& drag) {
  if (const SkinSlot* skin = DrawableActiveSkin(doc)) {
    const std::size_t texels = static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height);
    drag.imageSnapshot.assign(skin->pixels.begin(), skin->pixels.begin() + static_cast<std::ptrdiff_t>(texels));
  }
}

void TakeUvSnapshot(const MeshDocument& doc, MappingDrag& drag) {
  drag.uvSnapshot.assign(doc.uvVertices.begin(), doc.uvVertices.end());
}

// Snap rule of the move transform: a step of less than half a texel either
// way becomes 0 (backward) or half a texel (forward).
double SnapStep(double step) {
  if (step > -0.5 && step < 0) return 0;
  if (step > 0 && step < 0.5) return 0.5;
  return step;
}

// What one step of a selection transform does to every marked vertex: the
// move's offset, the rotation's sine and cosine.
struct TransformStep {
  double du = 0;
  double dv = 0;
  double sin = 0;
  double cos = 1;
};

UvPair Transformed(const MappingDrag& drag, const TransformStep& step, UvPair current, UvPair start, bool snap) {
  const double pu = drag.pivot.u;
  const double pv = drag.pivot.v;
  double u = current.u;
  double v = current.v;
  switch (drag.transform) {
    case SelectionTransform::Rotate: {
      const double s = step.sin;
      const double c = step.cos;
      u = pu + (start.v - pv) * s + (start.u - pu) * c;
      v = pv + (start.v - pv) * c - (start.u - pu) * s;
      break;
    }
    case SelectionTransform::Scale:
      u = pu + drag.sx * (start.u - pu);
      v = pv + drag.sy * (start.v - pv);
      break;
    case SelectionTransform::Move:
      u += step.du;
      v += step.dv;
      break;
  }
  if (snap) {
    u = std::trunc(u);
    v = std::trunc(v);
  }
  return {static_cast<float>(u), static_cast<float>(v)};
}

// A 16.16 texture coordinate of the warp: the whole texel plus just under
// half a texel, held where the shift cannot overflow.
std::int32_t WarpTexCoord(float texel) {
  const double whole = std::clamp(static_cast<double>(std::trunc(texel)), -32768.0, 32766.0);
  return static_cast<std::int32_t>(whole) * 65536 + 32767;
}

}  // namespace

int NearestUvVertex(const MeshDocument& doc, const SkinViewport& viewport, int x, int y, double screenScale) {
  int best = -1;
  const long long reach = std::llround(kPickRadius * std::clamp(screenScale, 1.0, 8.0));
  long long bestDistance = reach * reach;
  for (int i = 0; i < doc.uvVertexCount; ++i) {
    if (doc.uvVertexChannel[static_cast<std::size_t>(i)] != doc.activeChannel) continue;
    const RasterPoint2 at = viewport.VertexInWindow(doc.uvVertices[static_cast<std::size_t>(i)]);
    const long long dx = TruncateCoordinate(x - at.x);
    const long long dy = TruncateCoordinate(y - at.y);
    const long long distance = dx * dx + dy * dy;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

VertexPick BeginVertexDrag(MappingEditTarget target, MappingDrag& drag, int x, int y) {
  MeshDocument& doc = target.app.doc();
  const int picked = NearestUvVertex(doc, target.viewport, x, y, target.screenScale);
  if (picked < 0) return VertexPick::NoneNear;
  const int grab = doc.uvVertexCount;
  if (grab >= kMaxUvVertices) return VertexPick::TableFull;
  doc.uvVertices[static_cast<std::size_t>(grab)] = doc.uvVertices[static_cast<std::size_t>(picked)];
  doc.uvVertexChannel[static_cast<std::size_t>(grab)] = doc.uvVertexChannel[static_cast<std::size_t>(picked)];
  // Corners of the selection follow alone when the vertex belongs to it.
  DetachCorners(doc, picked, grab, AnySelectedUses(doc, picked));
  drag = MappingDrag{};
  drag.grabVertex = grab;
  if (target.app.flags.warpTexture) {
    TakeImageSnapshot(doc, drag);
    TakeUvSnapshot(doc, drag);
  }
  return VertexPick::Grabbed;
}

bool MoveVertexDrag(MappingEditTarget target, MappingDrag& drag, int x, int y) {
  if (drag.grabVertex < 0) return false;
  MeshDocument& doc = target.app.doc();
  const InteractionFlags& flags = target.app.flags;
  UvPair& grab = doc.uvVertices[static_cast<std::size_t>(drag.grabVertex)];
  const UvPair cursor = target.viewport.SkinPoint(x, y);
  if (cursor.u == grab.u && cursor.v == grab.v) return false;
  if (!flags.lockX) grab.u = cursor.u;
  if (!flags.lockY) grab.v = cursor.v;
  if (flags.snapToGrid) TruncateToTexels(grab);
  if (flags.warpTexture) WarpTexture(target, drag);
  return true;
}

UvPair GrabbedUv(const MeshDocument& doc, const MappingDrag& drag) {
  if (drag.grabVertex < 0 || drag.grabVertex >= kMaxUvVertices) return {};
  return doc.uvVertices[static_cast<std::size_t>(drag.grabVertex)];
}

bool SameCornerTexel(UvPair a, UvPair b) {
  auto texel = [](float c) { return SaturatingInt(c, kMinCornerTexel, kMaxCornerTexel); };
  return texel(a.u) == texel(b.u) && texel(a.v) == texel(b.v);
}

void BeginSelectionTransform(MappingEditTarget target, MappingDrag& drag, int x, int y, bool shift, bool ctrl) {
  MeshDocument& doc = target.app.doc();
  drag = MappingDrag{};
  drag.transform = shift ? SelectionTransform::Rotate : ctrl ? SelectionTransform::Scale : SelectionTransform::Move;
  drag.pivot = target.viewport.SkinPoint(x, y);
  TakeUvSnapshot(doc, drag);
  doc.uvMarks.fill(0);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!face.selected() || face.textureNum != doc.activeChannel) continue;
    for (int k = 0; k < 3; ++k)
      if (CornerUv(doc, face, k)) doc.uvMarks[static_cast<std::size_t>(face.uvIndex[k])] = 1;
  }
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    bool marked = false;
    for (int k = 0; k < 3; ++k) marked = marked || (CornerUv(doc, face, k) && doc.uvMarks[static_cast<std::size_t>(face.uvIndex[k])]);
    face.state = marked ? (face.state | kFaceEditing) : (face.state & ~kFaceEditing);
  }
  if (target.app.flags.warpTexture) TakeImageSnapshot(doc, drag);
}

void MoveSelectionTransform(MappingEditTarget target, MappingDrag& drag, int dx, int dy) {
  MeshDocument& doc = target.app.doc();
  const InteractionFlags& flags = target.app.flags;
  if (drag.uvSnapshot.size() != kMaxUvVertices) return;
  if (flags.lockX) dx = 0;
  if (flags.lockY) dy = 0;
  TransformStep step;
  switch (drag.transform) {
    case SelectionTransform::Rotate:
      drag.angle += dy * kRotatePerPixel;
      step.sin = std::sin(drag.angle);
      step.cos = std::cos(drag.angle);
      break;
    case SelectionTransform::Scale:
      drag.sy += dy * kScalePerPixel;
      drag.sx = flags.uniformScale ? drag.sy : drag.sx + dx * kScalePerPixel;
      break;
    case SelectionTransform::Move:
      step.du = dx / static_cast<double>(target.viewport.zoom);
      step.dv = dy / static_cast<double>(target.viewport.zoom);
      if (flags.snapToGrid) {
        step.du = SnapStep(step.du);
        step.dv = SnapStep(step.dv);
      }
      break;
  }
  for (std::size_t i = 0; i < kMaxUvVertices; ++i) {
    if (!doc.uvMarks[i]) continue;
    doc.uvVertices[i] = Transformed(drag, step, doc.uvVertices[i], drag.uvSnapshot[i], flags.snapToGrid);
  }
  if (flags.warpTexture) WarpTexture(target, drag);
}

void EndMappingDrag(MeshDocument& doc, MappingDrag& drag) {
  doc.RebuildUvVertices(true);
  for (int i = 0; i < doc.triangleCount; ++i) doc.triangles[i].state &= ~kFaceEditing;
  drag = MappingDrag{};
}

bool SweepSelection(MeshDocument& doc, const SkinViewport& viewport, int x, int y, bool select) {
  bool changed = false;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (face.textureNum != doc.activeChannel) continue;
    RasterPoint2 corners[3];
    bool valid = true;
    for (int k = 0; k < 3; ++k) {
      const UvPair* uv = CornerUv(doc, face, k);
      valid = valid && uv;
      if (!uv) break;
      corners[k] = viewport.VertexInWindow(*uv);
    }
    if (!valid || !pointInPolygon(static_cast<float>(x), static_cast<float>(y), corners, 3)) continue;
    const std::uint32_t before = face.state;
    face.state = select ? (face.state | kFaceSelected) : (face.state & ~kFaceSelected);
    changed = changed || face.state != before;
  }
  return changed;
}

int BeginFrameDrag(MappingFrame& frame, UvPair p) {
  OrderFrame(frame);
  if (p.u < frame.u0 - kFrameGrip || p.u > frame.u1 + kFrameGrip || p.v < frame.v0 - kFrameGrip ||
      p.v > frame.v1 + kFrameGrip) {
    frame = {p.u, p.v, p.u, p.v};
    return kFrameNew;
  }
  if (p.u > frame.u0 + kFrameGrip && p.u < frame.u1 - kFrameGrip && p.v > frame.v0 + kFrameGrip &&
      p.v < frame.v1 - kFrameGrip)
    return kFrameMove;
  if (std::trunc(std::fabs(p.u - frame.u0)) <= kFrameGrip) return kFrameLeft;
  if (std::trunc(std::fabs(p.u - frame.u1)) <= kFrameGrip) return kFrameRight;
  if (std::trunc(std::fabs(p.v - frame.v0)) <= kFrameGrip) return kFrameTop;
  return kFrameBottom;
}

void MoveFrameDrag(MappingFrame& frame, int part, UvPair cursor, UvPair motion, const InteractionFlags& flags) {
  switch (part) {
    case kFrameNew:
      frame.u0 = cursor.u;
      frame.v0 = cursor.v;
      break;
    case kFrameMove:
      if (!flags.lockX) {
        frame.u0 += motion.u;
        frame.u1 += motion.u;
      }
      if (!flags.lockY) {
        frame.v0 += motion.v;
        frame.v1 += motion.v;
      }
      break;
    case kFrameLeft:
      if (!flags.lockX) frame.u0 = cursor.u;
      break;
    case kFrameRight:
      if (!flags.lockX) frame.u1 = cursor.u;
      break;
    case kFrameTop:
      if (!flags.lockY) frame.v0 = cursor.v;
      break;
    case kFrameBottom:
      if (!flags.lockY) frame.v1 = cursor.v;
      break;
    default:
      break;
  }
}

void WarpTexture(MappingEditTarget target, const MappingDrag& drag) {
  MeshDocument& doc = target.app.doc();
  SkinSlot* skin = DrawableActiveSkin(doc);
  const std::size_t texels = skin ? static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height) : 0;
  if (!skin || drag.imageSnapshot.size() != texels || drag.uvSnapshot.size() != kMaxUvVertices) return;
  std::copy(drag.imageSnapshot.begin(), drag.imageSnapshot.end(), skin->pixels.begin());
  BuildRowOffsets(*skin);
  RasterContext& ctx = target.raster;
  ctx.colour = skin->pixels.data();
  ctx.depth = nullptr;
  ctx.ids = nullptr;
  ctx.width = skin->width;
  ctx.height = skin->height;
  ctx.maxX = skin->width - 1;
  ctx.maxY = skin->height - 1;
  ctx.texels = drag.imageSnapshot.data();
  ctx.texRows = skin->rowOffsets.data();
  ctx.texWidth = skin->width;
  ctx.texHeight = skin->height;
  resetEdges(ctx);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!(face.state & kFaceEditing)) continue;
    RasterVertex corners[3];
    bool valid = true;
    for (int k = 0; k < 3 && valid; ++k) {
      const UvPair* now = CornerUv(doc, face, k);
      valid = now != nullptr;
      if (!valid) break;
      const UvPair& start = drag.uvSnapshot[static_cast<std::size_t>(face.uvIndex[k])];
      corners[k].x = TruncateCoordinate(now->u);
      corners[k].y = TruncateCoordinate(now->v);
      corners[k].attr[0] = WarpTexCoord(start.u);
      corners[k].attr[1] = WarpTexCoord(start.v);
    }
    if (!valid) continue;
    if (target.filtered)
      fillSkinTextureFiltered(ctx, corners);
    else
      fillSkinTextureRounded(ctx, corners);
  }
}

}  // namespace mok
