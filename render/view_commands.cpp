#include "render/view_commands.h"

#include <algorithm>

namespace mok {

namespace {

void LookAt(Camera& camera, const Vec3& point) { camera.panOffset = {-point.y, -point.z, -point.x}; }

bool CornersInRange(const MeshTriangle& face, std::size_t count) {
  for (std::int16_t v : face.vertex) {
    if (v < 0 || static_cast<std::size_t>(v) >= count) return false;
  }
  return true;
}

}  // namespace

Mat3 AlignmentOrientation(ViewAlignment alignment) {
  switch (alignment) {
    case ViewAlignment::Front: return kIdentity3;
    case ViewAlignment::Back: return {-1, 0, 0, 0, 1, 0, 0, 0, -1};
    case ViewAlignment::Left: return {0, 0, 1, 0, 1, 0, -1, 0, 0};
    case ViewAlignment::Right: return {0, 0, -1, 0, 1, 0, 1, 0, 0};
    case ViewAlignment::Top: return {1, 0, 0, 0, 0, 1, 0, -1, 0};
    case ViewAlignment::Bottom: return {1, 0, 0, 0, 0, -1, 0, 1, 0};
  }
  return kIdentity3;
}

void AlignCamera(Camera& camera, ViewAlignment alignment) { camera.orientation = AlignmentOrientation(alignment); }

bool CenterOnSelected(Camera& camera, const MeshDocument& doc) {
  const FramePositions* positions = CurrentPositions(doc);
  if (!positions) return false;
  Vec3 sum;
  int count = 0;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    if (!face.selectedVisible() || !CornersInRange(face, positions->size())) continue;
    const Vec3& a = (*positions)[static_cast<std::size_t>(face.vertex[0])];
    const Vec3& b = (*positions)[static_cast<std::size_t>(face.vertex[1])];
    const Vec3& c = (*positions)[static_cast<std::size_t>(face.vertex[2])];
    sum.x += (a.x + b.x + c.x) * 0.333333f;
    sum.y += (a.y + b.y + c.y) * 0.333333f;
    sum.z += (a.z + b.z + c.z) * 0.333333f;
    ++count;
  }
  if (count == 0) return false;
  LookAt(camera, {sum.x / count, sum.y / count, sum.z / count});
  return true;
}

bool CenterOnScene(Camera& camera, const MeshDocument& doc) {
  const FramePositions* positions = CurrentPositions(doc);
  if (!positions) return false;
  const std::size_t count = std::min(positions->size(), static_cast<std::size_t>(std::max<int>(doc.vertexCount, 0)));
  if (count == 0) return false;
  Vec3 sum;
  for (std::size_t i = 0; i < count; ++i) {
    sum.x += (*positions)[i].x;
    sum.y += (*positions)[i].y;
    sum.z += (*positions)[i].z;
  }
  const float n = static_cast<float>(count);
  LookAt(camera, {sum.x / n, sum.y / n, sum.z / n});
  return true;
}

bool ZoomSkinExtents(SkinViewZoom& view, int viewWidth, int viewHeight, int skinWidth, int skinHeight) {
  if (skinWidth < 1 || skinHeight < 1) return false;
  view.centerU = static_cast<float>(skinWidth / 2);
  view.centerV = static_cast<float>(skinHeight / 2);
  const double zoom = std::min(0.9 * viewHeight / skinHeight, 0.9 * viewWidth / skinWidth);
  view.zoom = static_cast<float>(std::clamp(zoom, static_cast<double>(kMinSkinZoom), static_cast<double>(kMaxSkinZoom)));
  return true;
}

}  // namespace mok
