#include "render/lighting.h"

#include <algorithm>
#include <cmath>

#include "render/saturate.h"

namespace mok {

namespace {

bool CornersInRange(const MeshTriangle& face, std::size_t vertexCount) {
  for (std::int16_t v : face.vertex) {
    if (v < 0 || static_cast<std::size_t>(v) >= vertexCount) return false;
  }
  return true;
}

float LightTerm(const std::array<float, 3>& l, const Vec3& n) { return 1 - (l[0] * n.y + l[1] * n.z + l[2] * n.x); }

std::uint8_t Gamma(const GammaTable& gamma, long index) { return gamma[static_cast<std::size_t>(std::clamp(index, 0L, 255L))]; }

// A face's map coordinate, 0..255; a normal pointing straight at the edge of
// the map would give 256 and wrap to the opposite edge as a byte.
int MapCoordinate(float c) { return SaturatingInt((c + 1) * 128, 0, 255); }

// Averages the faces' (viewNormal.x, viewNormal.y) map coordinates over each
// vertex and stores them per corner. Sums are 32-bit: a vertex may be shared
// by more faces than a 16-bit sum of 255s allows.
void AverageMapCoordinates(MeshDocument& doc, std::size_t vertexCount) {
  std::vector<std::int32_t> sumU(vertexCount, 0), sumV(vertexCount, 0), count(vertexCount, 0);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    if (!CornersInRange(face, vertexCount)) continue;
    const int u = MapCoordinate(face.viewNormal.x);
    const int v = MapCoordinate(face.viewNormal.y);
    for (std::int16_t vertex : face.vertex) {
      const auto k = static_cast<std::size_t>(vertex);
      sumU[k] += u;
      sumV[k] += v;
      ++count[k];
    }
  }
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    if (!CornersInRange(face, vertexCount)) continue;
    for (int k = 0; k < 3; ++k) {
      const auto vertex = static_cast<std::size_t>(face.vertex[k]);
      face.envUv[k][0] = static_cast<std::uint8_t>(sumU[vertex] / count[vertex]);
      face.envUv[k][1] = static_cast<std::uint8_t>(sumV[vertex] / count[vertex]);
    }
  }
}

}  // namespace

int FaceLightIndex(const std::array<float, 3>& light, const Vec3& normal) {
  return SaturatingInt(LightTerm(light, normal) * 127, 0, 255);
}

void LightFlat(MeshDocument& doc, const LightFrame& light, const GammaTable& gamma) {
  const auto l = light.direction();
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    face.shade[0] = Gamma(gamma, FaceLightIndex(l, face.normal));
  }
}

void LightPerVertex(MeshDocument& doc, std::size_t vertexCount, const LightFrame& light, const GammaTable& gamma) {
  const auto l = light.direction();
  std::vector<float> sum(vertexCount, 0);
  std::vector<int> count(vertexCount, 0);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    if (!CornersInRange(face, vertexCount)) continue;
    const float term = LightTerm(l, face.normal);
    for (std::int16_t v : face.vertex) {
      sum[static_cast<std::size_t>(v)] += term;
      ++count[static_cast<std::size_t>(v)];
    }
  }
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    if (!CornersInRange(face, vertexCount)) continue;
    for (int k = 0; k < 3; ++k) {
      const auto v = static_cast<std::size_t>(face.vertex[k]);
      face.shade[k] = Gamma(gamma, SaturatingInt(sum[v] * 127 / count[v], 0, 255));
    }
  }
}

void LightEnvironment(MeshDocument& doc, std::size_t vertexCount, const Camera& camera) {
  const Mat3& m = camera.orientation;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    const float f = -face.normal.y, e = -face.normal.z, d = -face.normal.x;
    face.viewNormal.x = f * m[0] + e * m[3] + d * m[6];
    face.viewNormal.y = f * m[1] + e * m[4] + d * m[7];
  }
  AverageMapCoordinates(doc, vertexCount);
}

Mat3 PhongLightMatrix(const LightFrame& light, const Camera& camera) {
  const Mat3& l = light.m;
  const Mat3& m = camera.orientation;
  double a[3], b[3];
  for (std::size_t j = 0; j < 3; ++j) {
    a[j] = l[0] * m[j] + l[3] * m[3 + j] + l[6] * m[6 + j];
    b[j] = l[2] * m[j] + l[5] * m[3 + j] + l[8] * m[6 + j];
  }
  const double t1 = std::atan2(b[0], b[2]);
  const double b2 = std::cos(t1) * b[2] + std::sin(t1) * b[0];
  const double a2 = std::cos(t1) * a[2] + std::sin(t1) * a[0];
  const double a0 = std::cos(t1) * a[0] - std::sin(t1) * a[2];
  const double t2 = std::atan2(b[1], b2);
  const double a1 = std::cos(t2) * a[1] - std::sin(t2) * a2;
  const double t3 = std::atan2(a1, a0);
  const double h1 = t1 / 2, h2 = t2 / 2, h3 = t3 / 2;
  Mat3 q{};
  q[0] = static_cast<float>(std::cos(h1) * std::cos(h3) - std::sin(h1) * std::sin(h2) * std::sin(h3));
  q[3] = static_cast<float>(-std::cos(h1) * std::sin(h3) - std::sin(h1) * std::sin(h2) * std::cos(h3));
  q[6] = static_cast<float>(std::sin(h1) * std::cos(h2));
  q[1] = static_cast<float>(std::cos(h2) * std::sin(h3));
  q[4] = static_cast<float>(std::cos(h2) * std::cos(h3));
  q[7] = static_cast<float>(std::sin(h2));
  return q;
}

void LightPhong(MeshDocument& doc, std::size_t vertexCount, const LightFrame& light, const Camera& camera) {
  const Mat3 q = PhongLightMatrix(light, camera);
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    const Vec3& n = face.normal;
    face.viewNormal.x = -(n.y * q[0] + n.z * q[3] + n.x * q[6]);
    face.viewNormal.y = -(n.y * q[1] + n.z * q[4] + n.x * q[7]);
  }
  AverageMapCoordinates(doc, vertexCount);
}

void ApplyLighting(LightingKind kind, MeshDocument& doc, std::size_t vertexCount, const LightFrame& light,
                   const Camera& camera, const GammaTable& gamma) {
  if (kind == LightingKind::None) return;
  doc.ComputeFaceNormals();
  switch (kind) {
    case LightingKind::None: break;
    case LightingKind::Flat: LightFlat(doc, light, gamma); break;
    case LightingKind::PerVertex: LightPerVertex(doc, vertexCount, light, gamma); break;
    case LightingKind::EnvironmentMap: LightEnvironment(doc, vertexCount, camera); break;
    case LightingKind::PhongMap: LightPhong(doc, vertexCount, light, camera); break;
  }
}

}  // namespace mok
