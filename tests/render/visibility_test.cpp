#include "render/visibility.h"

#include <gtest/gtest.h>

#include <memory>

namespace mok {
namespace {

// Faces over camera-space corners given directly. A face faces the eye when
// a . (b x c) > 0: for (0,0,z), (1,0,z), (0,1,z) that is z * 1 > 0.
struct Scene {
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
  std::vector<Vec3> vertices;

  int AddFace(Vec3 a, Vec3 b, Vec3 c, std::uint8_t type = kTypeNormalOneSided) {
    const int base = static_cast<int>(vertices.size());
    vertices.insert(vertices.end(), {a, b, c});
    MeshTriangle& face = doc->triangles[static_cast<std::size_t>(doc->triangleCount)];
    for (int k = 0; k < 3; ++k) face.vertex[k] = static_cast<std::int16_t>(base + k);
    face.type = type;
    return doc->triangleCount++;
  }
  int AddFacing(float z, std::uint8_t type = kTypeNormalOneSided) { return AddFace({0, 0, z}, {1, 0, z}, {0, 1, z}, type); }
  int AddAway(float z, std::uint8_t type = kTypeNormalOneSided) { return AddFace({0, 0, z}, {0, 1, z}, {1, 0, z}, type); }
};

TEST(SelectVisibleTriangles, TakesFrontFacingOneSidedFaces) {
  Scene s;
  s.AddFacing(10);
  s.AddAway(10);
  VisibleTriangles v = SelectVisibleTriangles(*s.doc, s.vertices);
  EXPECT_EQ(v.taken, std::vector<int>{0});
}

TEST(SelectVisibleTriangles, AllFacingAwayLeavesNothing) {
  Scene s;
  s.AddAway(10);
  s.AddAway(20);
  VisibleTriangles v = SelectVisibleTriangles(*s.doc, s.vertices);
  EXPECT_TRUE(v.taken.empty());
  EXPECT_FALSE(v.hasDepthRange());
}

TEST(SelectVisibleTriangles, TwoSidedFacesAreTakenFacingAway) {
  Scene s;
  s.AddAway(10, kTypeNormalTwoSided);
  s.AddAway(10, kTypeMasked);
  s.AddAway(10, kTypeWeaponPlaceholder);
  s.AddAway(10, kTypeFullbright);  // modifier bits alone do not make it two-sided
  VisibleTriangles v = SelectVisibleTriangles(*s.doc, s.vertices);
  EXPECT_EQ(v.taken, (std::vector<int>{0, 1, 2}));
}

TEST(SelectVisibleTriangles, FacesCrossingTheNearPlaneAreTakenFromThePlaneOn) {
  Scene s;
  s.AddFace({0, 0, 0.99f}, {1, 0, 10}, {0, 1, 10});
  s.AddFace({0, 0, 0.5f}, {1, 0, 0.99f}, {0, 1, 0.2f}, kTypeNormalTwoSided);  // wholly nearer
  s.AddFace({0, 0, -4}, {0, 1, 12}, {1, 0, 12}, kTypeNormalTwoSided);
  VisibleTriangles v = SelectVisibleTriangles(*s.doc, s.vertices);
  EXPECT_EQ(v.taken, (std::vector<int>{0, 2}));
  EXPECT_FLOAT_EQ(v.zmin, 1);
  EXPECT_FLOAT_EQ(v.zmax, 12);
}

TEST(SelectVisibleTriangles, SkipsHiddenFacesAndBadCorners) {
  Scene s;
  s.AddFacing(10);
  s.doc->triangles[0].state = kFaceHidden | kFaceSelected;
  s.AddFacing(10);
  s.doc->triangles[1].vertex[2] = 999;
  VisibleTriangles v = SelectVisibleTriangles(*s.doc, s.vertices);
  EXPECT_TRUE(v.taken.empty());
  EXPECT_TRUE(SelectNonHiddenTriangles(*s.doc, s.vertices).taken.empty());
}

TEST(SelectVisibleTriangles, DepthRangeSpansTheTakenCorners) {
  Scene s;
  s.AddFace({0, 0, 12}, {1, 0, 14}, {0, 1, 30});
  s.AddAway(500);  // not taken: no influence
  s.AddFacing(8, kTypeNormalTwoSided);
  VisibleTriangles v = SelectVisibleTriangles(*s.doc, s.vertices);
  EXPECT_FLOAT_EQ(v.zmin, 8);
  EXPECT_FLOAT_EQ(v.zmax, 30);
}

TEST(SelectNonHiddenTriangles, KeepsBackFacingAndNearFaces) {
  Scene s;
  s.AddAway(10);
  s.AddFacing(-5);
  s.AddFacing(10);
  s.doc->triangles[2].state = kFaceHidden;
  EXPECT_EQ(SelectNonHiddenTriangles(*s.doc, s.vertices).taken, (std::vector<int>{0, 1}));
}

TEST(DepthScale, PacksTheRangeIntoFourteenBits) {
  VisibleTriangles v;
  v.zmin = 10;
  v.zmax = 20;
  const DepthScale d = ComputeDepthScale(v);
  EXPECT_DOUBLE_EQ(d.z0, -90);
  // scale = 2^30 / (20 + 100 + 90): (10 + 90) / 210 * 16384 = 7801.9 and
  // (20 + 90) / 210 * 16384 = 8582.1.
  EXPECT_EQ(DepthAttribute(d, 10) >> 16, 7801);
  EXPECT_EQ(DepthAttribute(d, 20) >> 16, 8582);
  EXPECT_LT(DepthAttribute(d, 10), DepthAttribute(d, 15));
}

TEST(DepthScale, StoredDepthStaysWithinFourteenBitsForAnyRange) {
  for (float range : {0.0f, 0.5f, 100.0f, 1e6f}) {
    VisibleTriangles v;
    v.zmin = 1;
    v.zmax = 1 + range;
    const DepthScale d = ComputeDepthScale(v);
    EXPECT_GE(DepthAttribute(d, v.zmin) >> 16, 0);
    EXPECT_LE(DepthAttribute(d, v.zmax) >> 16, 16383);
  }
}

TEST(DepthScale, ValuesOutsideTheRangeAreHeldWithin) {
  VisibleTriangles v;
  v.zmin = 10;
  v.zmax = 20;
  const DepthScale d = ComputeDepthScale(v);
  EXPECT_EQ(DepthAttribute(d, -1000), 0);
  EXPECT_EQ(DepthAttribute(d, 1e9f) >> 16, 16383);
}

}  // namespace
}  // namespace mok
