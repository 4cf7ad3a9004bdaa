#pragma once
// Which triangles a frame draws, and how camera depth is packed into the
// 16-bit depth buffer.

#include <cstdint>
#include <vector>

#include "core/mesh_document.h"

namespace mok {

// The near plane: faces are drawn only from this camera depth on; a face
// with corners on both sides is clipped to it (FaceInFront), one wholly
// nearer is dropped.
inline constexpr float kNearestTriangleZ = 1.0f;

struct VisibleTriangles {
  std::vector<int> taken;  // face indices in index order
  float zmin = 9999999999.0f;
  float zmax = -9999999999.0f;

  bool hasDepthRange() const { return zmin <= zmax; }
};

// A face counts as two-sided when the low four bits of its type are set.
bool IsTwoSided(const MeshTriangle& face);

// Skips hidden faces and faces wholly nearer than kNearestTriangleZ;
// one-sided faces must also face the eye. Unreal meshes, once loaded with
// their y axis turned over, wind their outside faces so that the camera-space
// corners give a . (b x c) > 0 (the signed volume of every closed real mesh
// is negative), so that is the test; keeping the negative side instead would
// show the far inside of every model. zmin and zmax span the corners of every
// taken face (corners nearer than the plane count as on it), so a model made
// only of two-sided faces still gets a depth order.
VisibleTriangles SelectVisibleTriangles(const MeshDocument& doc, const std::vector<Vec3>& cameraVertices);

// Every face that is not hidden, without culling or depth range (wireframe).
VisibleTriangles SelectNonHiddenTriangles(const MeshDocument& doc, const std::vector<Vec3>& cameraVertices);

// depth attribute = truncate((Z - z0) * scale) with z0 = zmin - 100 and
// scale = 2^30 / (zmax + 100 - z0): the stored 16-bit depth (attribute >> 16)
// lies in 0..16383.
struct DepthScale {
  double z0 = 0;
  double scale = 0;
};
DepthScale ComputeDepthScale(const VisibleTriangles& visible);

// Held within 0 .. 2^30 - 1 so a corner outside the range (e.g. a line end)
// still stores a depth nearer than the cleared 0xFFFF.
std::int32_t DepthAttribute(const DepthScale& depth, float z);

}  // namespace mok
