#include "render/visibility.h"

#include <algorithm>
#include <cmath>

namespace mok {

namespace {

constexpr double kDepthRange = 1073741824.0;  // 2^30

// The face's three camera-space corners, or false when an index is outside
// the vertex array.
bool Corners(const MeshTriangle& face, const std::vector<Vec3>& vertices, Vec3 (&out)[3]) {
  for (int k = 0; k < 3; ++k) {
    const int v = face.vertex[k];
    if (v < 0 || static_cast<std::size_t>(v) >= vertices.size()) return false;
    out[k] = vertices[static_cast<std::size_t>(v)];
  }
  return true;
}

float TripleProduct(const Vec3& a, const Vec3& b, const Vec3& c) {
  return a.x * (b.y * c.z - b.z * c.y) + a.y * (b.z * c.x - b.x * c.z) + a.z * (b.x * c.y - b.y * c.x);
}

}  // namespace

bool IsTwoSided(const MeshTriangle& face) { return (face.type & 0x0F) != 0; }

VisibleTriangles SelectVisibleTriangles(const MeshDocument& doc, const std::vector<Vec3>& cameraVertices) {
  VisibleTriangles visible;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    Vec3 c[3];
    if (face.hidden() || !Corners(face, cameraVertices, c)) continue;
    if (c[0].z < kNearestTriangleZ && c[1].z < kNearestTriangleZ && c[2].z < kNearestTriangleZ) continue;
    if (!IsTwoSided(face) && !(TripleProduct(c[0], c[1], c[2]) > 0)) continue;
    visible.taken.push_back(i);
    // A face crossing the near plane is drawn from the plane on.
    for (const Vec3& p : c) {
      const float z = p.z < kNearestTriangleZ ? kNearestTriangleZ : p.z;
      visible.zmin = std::min(visible.zmin, z);
      visible.zmax = std::max(visible.zmax, z);
    }
  }
  return visible;
}

VisibleTriangles SelectNonHiddenTriangles(const MeshDocument& doc, const std::vector<Vec3>& cameraVertices) {
  VisibleTriangles visible;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    Vec3 c[3];
    if (!face.hidden() && Corners(face, cameraVertices, c)) visible.taken.push_back(i);
  }
  return visible;
}

DepthScale ComputeDepthScale(const VisibleTriangles& visible) {
  if (!visible.hasDepthRange()) return {};
  const double z0 = static_cast<double>(visible.zmin) - 100;
  return {z0, kDepthRange / (static_cast<double>(visible.zmax) + 100 - z0)};
}

std::int32_t DepthAttribute(const DepthScale& depth, float z) {
  const double value = (z - depth.z0) * depth.scale;
  if (std::isnan(value)) return 0;
  return static_cast<std::int32_t>(std::clamp(value, 0.0, kDepthRange - 1));
}

}  // namespace mok
