#pragma once
// Per-frame lighting of the triangles. Results go into each face's render
// scratch: `shade` (flat light in [0], or the three corner lights), `envUv`
// (map coordinates of the corners) and `viewNormal` (the face normal turned
// toward the viewer, x and y). Normals and the light direction are in
// camera-input axis order (model y, z, x), as everywhere the camera meets the
// model.

#include <vector>

#include "core/mesh_document.h"
#include "render/camera.h"
#include "render/shading.h"

namespace mok {

enum class LightingKind {
  None,
  Flat,            // one light per face
  PerVertex,       // Gouraud: corner lights averaged over each vertex's faces
  EnvironmentMap,  // map coordinates from normals in camera space
  PhongMap,        // map coordinates from normals in the light frame
};

// Light index of a face before the gamma table: (1 - l.n) * 127, 0..254 for
// unit vectors.
int FaceLightIndex(const std::array<float, 3>& light, const Vec3& normal);

void LightFlat(MeshDocument& doc, const LightFrame& light, const GammaTable& gamma);
void LightPerVertex(MeshDocument& doc, std::size_t vertexCount, const LightFrame& light, const GammaTable& gamma);
void LightEnvironment(MeshDocument& doc, std::size_t vertexCount, const Camera& camera);
void LightPhong(MeshDocument& doc, std::size_t vertexCount, const LightFrame& light, const Camera& camera);

// The first two columns of the phong matrix (Q0, Q3, Q6 / Q1, Q4, Q7; the
// rest zero): the light frame seen from the camera, turned half-way, so the
// map's bright spot sits where light reflects toward the eye.
Mat3 PhongLightMatrix(const LightFrame& light, const Camera& camera);

// Recomputes the face normals of the current frame, then lights by kind.
// `vertexCount` is the number of positions of the current frame.
void ApplyLighting(LightingKind kind, MeshDocument& doc, std::size_t vertexCount, const LightFrame& light,
                   const Camera& camera, const GammaTable& gamma);

}  // namespace mok
