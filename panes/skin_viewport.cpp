#include "panes/skin_viewport.h"

#include <cmath>
#include <utility>

#include "render/camera.h"

namespace mok {

BufferPoint SkinViewport::CornerInBuffer(float u, float v) const {
  return {TruncateCoordinate(pitch / 2 + (u - center.u) * zoom), TruncateCoordinate(height / 2 - (v - center.v) * zoom)};
}

BufferPoint SkinViewport::VertexInBuffer(UvPair uv) const {
  return {TruncateCoordinate(pitch / 2 + (uv.u + 0.5f - center.u) * zoom),
          TruncateCoordinate(height / 2 - (uv.v + 0.5f - center.v) * zoom)};
}

UvPair SkinViewport::SkinPoint(int x, int y) const {
  return {center.u + static_cast<float>(x - pitch / 2) / zoom, center.v + static_cast<float>(y - height / 2) / zoom};
}

RasterPoint2 SkinViewport::VertexInWindow(UvPair uv) const {
  return {pitch / 2 + (uv.u + 0.5f - center.u) * zoom, height / 2 + (uv.v + 0.5f - center.v) * zoom};
}

void OrderFrame(MappingFrame& frame) {
  if (frame.u0 > frame.u1) {
    std::swap(frame.u0, frame.u1);
    frame.u0 = std::trunc(frame.u0);
  }
  if (frame.v0 > frame.v1) {
    std::swap(frame.v0, frame.v1);
    frame.v0 = std::trunc(frame.v0);
  }
}

}  // namespace mok

namespace mok {

SkinSlot* DrawableActiveSkin(const MeshDocument& doc) {
  SkinSlot* skin = doc.activeSkin;
  if (!skin || skin->width < 1 || skin->height < 1 || skin->height > kMaxSkinRows) return nullptr;
  if (skin->pixels.size() < static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height)) return nullptr;
  return skin;
}

void TruncateToTexels(UvPair& uv) {
  uv.u = std::trunc(uv.u);
  uv.v = std::trunc(uv.v);
}

const UvPair* CornerUv(const MeshDocument& doc, const MeshTriangle& face, int corner) {
  const int index = face.uvIndex[corner];
  if (index < 0 || index >= kMaxUvVertices) return nullptr;
  return &doc.uvVertices[static_cast<std::size_t>(index)];
}

}  // namespace mok
