#include "render/lighting.h"

#include <gtest/gtest.h>

#include <memory>

namespace mok {
namespace {

// With the light frame at identity the light direction is (0, 0, 1) in
// camera-input order, which is model x: l . n = nx.
std::unique_ptr<MeshDocument> FacesWithNormals(std::initializer_list<Vec3> normals) {
  auto doc = std::make_unique<MeshDocument>();
  for (const Vec3& n : normals) {
    MeshTriangle& face = doc->triangles[static_cast<std::size_t>(doc->triangleCount)];
    face.normal = n;
    for (int k = 0; k < 3; ++k) face.vertex[k] = static_cast<std::int16_t>(3 * doc->triangleCount + k);
    ++doc->triangleCount;
  }
  return doc;
}

TEST(FlatLighting, FacingTheLightIsDarkestIndexAndAwayIsBrightest) {
  auto doc = FacesWithNormals({{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  LightFlat(*doc, LightFrame{}, BuildGammaTable(1.0));
  EXPECT_EQ(doc->triangles[0].shade[0], 0);
  EXPECT_EQ(doc->triangles[1].shade[0], 254);
  EXPECT_EQ(doc->triangles[2].shade[0], 127);
  EXPECT_EQ(doc->triangles[3].shade[0], 127);
}

TEST(FlatLighting, GoesThroughTheGammaTable) {
  auto doc = FacesWithNormals({{0, 1, 0}});
  LightFlat(*doc, LightFrame{}, BuildGammaTable(2.0));
  EXPECT_EQ(doc->triangles[0].shade[0], 63);  // 127^2 / 255 = 63.25
}

TEST(FlatLighting, LightDirectionIsTheThirdRowInCameraInputOrder) {
  LightFrame light;
  light.m = {1, 0, 0, 0, 0, 1, 0, -1, 0};  // third row (0, -1, 0): l1 pairs with nz
  auto doc = FacesWithNormals({{0, 0, 1}});
  LightFlat(*doc, light, BuildGammaTable(1.0));
  EXPECT_EQ(doc->triangles[0].shade[0], 254);
}

TEST(FlatLighting, SlightlyLongNormalsStayInTheTable) {
  auto doc = FacesWithNormals({{1.0001f, 0, 0}, {-1.01f, 0, 0}});
  LightFlat(*doc, LightFrame{}, BuildGammaTable(1.0));
  EXPECT_EQ(doc->triangles[0].shade[0], 0);
  EXPECT_EQ(doc->triangles[1].shade[0], 255);
}

TEST(GouraudLighting, AveragesTheFacesOfEachVertex) {
  auto doc = FacesWithNormals({{1, 0, 0}, {-1, 0, 0}});
  // Both faces share vertex 0; terms 0 and 2: 2 * 127 / 2 = 127.
  doc->triangles[1].vertex[0] = 0;
  LightPerVertex(*doc, 6, LightFrame{}, BuildGammaTable(1.0));
  EXPECT_EQ(doc->triangles[0].shade[0], 127);
  EXPECT_EQ(doc->triangles[1].shade[0], 127);
  EXPECT_EQ(doc->triangles[0].shade[1], 0);
  EXPECT_EQ(doc->triangles[1].shade[1], 254);
}

TEST(GouraudLighting, TruncatesTheAverage) {
  auto doc = FacesWithNormals({{0, 1, 0}, {1, 0, 0}, {1, 0, 0}});
  doc->triangles[1].vertex[0] = 0;
  doc->triangles[2].vertex[0] = 0;
  LightPerVertex(*doc, 9, LightFrame{}, BuildGammaTable(1.0));
  EXPECT_EQ(doc->triangles[0].shade[0], 42);  // 127 / 3 = 42.33
}

TEST(EnvironmentLighting, NormalsInCameraSpaceGiveMapCoordinates) {
  auto doc = FacesWithNormals({{0, 1, 0}, {0, 0, -1}, {1, 0, 0}});
  LightEnvironment(*doc, 9, Camera{});
  // Identity camera: cx = -ny, cy = -nz.
  EXPECT_FLOAT_EQ(doc->triangles[0].viewNormal.x, -1);
  EXPECT_EQ(doc->triangles[0].envUv[0][0], 0);
  EXPECT_EQ(doc->triangles[0].envUv[0][1], 128);
  EXPECT_EQ(doc->triangles[1].envUv[2][0], 128);
  EXPECT_EQ(doc->triangles[1].envUv[2][1], 255);  // 256 would wrap to the far edge
  EXPECT_EQ(doc->triangles[2].envUv[1][0], 128);
  EXPECT_EQ(doc->triangles[2].envUv[1][1], 128);
}

TEST(EnvironmentLighting, SharedVerticesAverageTheirFaces) {
  auto doc = FacesWithNormals({{0, 1, 0}, {0, -0.5f, 0}});
  doc->triangles[1].vertex[1] = 0;
  LightEnvironment(*doc, 6, Camera{});
  // Face u: 0 and truncate(1.5 * 128) = 192; average 96.
  EXPECT_EQ(doc->triangles[0].envUv[0][0], 96);
  EXPECT_EQ(doc->triangles[1].envUv[1][0], 96);
  EXPECT_EQ(doc->triangles[1].envUv[0][0], 192);
}

TEST(EnvironmentLighting, ManyFacesOnOneVertexDoNotOverflow) {
  std::vector<Vec3> normals(300, Vec3{0, -1, 0});  // u = 255 each
  auto doc = std::make_unique<MeshDocument>();
  for (std::size_t i = 0; i < normals.size(); ++i) {
    doc->triangles[i].normal = {0, -1, 0};
    doc->triangles[i].vertex[1] = static_cast<std::int16_t>(1 + i);
    doc->triangles[i].vertex[2] = static_cast<std::int16_t>(1 + i);
  }
  doc->triangleCount = 300;
  LightEnvironment(*doc, 302, Camera{});
  EXPECT_EQ(doc->triangles[299].envUv[0][0], 255);
}

TEST(PhongLighting, IdentityFramesGiveTheIdentityMatrix) {
  const Mat3 q = PhongLightMatrix(LightFrame{}, Camera{});
  EXPECT_NEAR(q[0], 1, 1e-7);
  EXPECT_NEAR(q[4], 1, 1e-7);
  EXPECT_NEAR(q[3], 0, 1e-7);
  EXPECT_NEAR(q[6], 0, 1e-7);
  EXPECT_NEAR(q[1], 0, 1e-7);
  EXPECT_NEAR(q[7], 0, 1e-7);
  auto doc = FacesWithNormals({{0.6f, 0.8f, 0}});
  LightPhong(*doc, 3, LightFrame{}, Camera{});
  EXPECT_NEAR(doc->triangles[0].viewNormal.x, -0.8, 1e-6);
  EXPECT_NEAR(doc->triangles[0].viewNormal.y, 0, 1e-6);
}

TEST(PhongLighting, TurnsHalfWayTowardTheLightSeenFromBehind) {
  // Camera aligned to the back: the light direction seen from the camera is
  // turned 180 degrees about the vertical; half of that is 90 degrees, so
  // the map's u follows -nx instead of -ny.
  Camera camera;
  camera.orientation = {-1, 0, 0, 0, 1, 0, 0, 0, -1};
  const Mat3 q = PhongLightMatrix(LightFrame{}, camera);
  EXPECT_NEAR(q[0], 0, 1e-6);
  EXPECT_NEAR(q[6], 1, 1e-6);
  EXPECT_NEAR(q[4], 1, 1e-6);
  auto doc = FacesWithNormals({{0.6f, 0.8f, 0}});
  LightPhong(*doc, 3, LightFrame{}, camera);
  EXPECT_NEAR(doc->triangles[0].viewNormal.x, -0.6, 1e-6);
  EXPECT_EQ(doc->triangles[0].envUv[0][0], 51);  // 0.4 * 128 = 51.2
}

TEST(ApplyLighting, RecomputesNormalsForTheCurrentFrame) {
  auto doc = std::make_unique<MeshDocument>();
  auto frame = std::make_unique<AnimFrame>();
  // (b - a) x (c - b) = (0, 1, 0) x (0, -1, 1) = (1, 0, 0): facing the light.
  frame->positions = {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  doc->frames.push_back(std::move(frame));
  doc->currentVertices = doc->frames[0]->positions.data();
  doc->vertexCount = 3;
  doc->triangleCount = 1;
  doc->triangles[0].vertex[1] = 1;
  doc->triangles[0].vertex[2] = 2;
  doc->triangles[0].normal = {-1, 0, 0};
  ApplyLighting(LightingKind::Flat, *doc, 3, LightFrame{}, Camera{}, BuildGammaTable(1.0));
  EXPECT_FLOAT_EQ(doc->triangles[0].normal.x, 1);
  EXPECT_EQ(doc->triangles[0].shade[0], 0);
}

}  // namespace
}  // namespace mok
