#include "render/view_commands.h"

#include <gtest/gtest.h>

#include <memory>

namespace mok {
namespace {

// Two triangles over five vertices of one frame.
std::unique_ptr<MeshDocument> SmallDocument() {
  auto doc = std::make_unique<MeshDocument>();
  auto frame = std::make_unique<AnimFrame>();
  frame->positions = {{0, 0, 0}, {3, 0, 0}, {0, 6, 0}, {9, 9, 9}, {12, 12, 3}};
  doc->frames.push_back(std::move(frame));
  doc->currentVertices = doc->frames[0]->positions.data();
  doc->vertexCount = 5;
  doc->triangleCount = 2;
  doc->triangles[0].vertex[0] = 0;
  doc->triangles[0].vertex[1] = 1;
  doc->triangles[0].vertex[2] = 2;
  doc->triangles[1].vertex[0] = 2;
  doc->triangles[1].vertex[1] = 3;
  doc->triangles[1].vertex[2] = 4;
  return doc;
}

// The model axis that points toward the eye (its camera-space Z falls).
Vec3 TowardEye(const Mat3& orientation) {
  Camera camera;
  camera.orientation = orientation;
  const float base = ToCameraSpace(camera, {0, 0, 0}).z;
  Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  for (const Vec3& a : axes) {
    const float dz = ToCameraSpace(camera, a).z - base;
    if (dz < -0.5f) return a;
    if (dz > 0.5f) return {-a.x, -a.y, -a.z};
  }
  return {};
}

TEST(AlignViews, EachLooksDownOneModelAxis) {
  struct Case {
    ViewAlignment alignment;
    Vec3 towardEye;
  } cases[] = {{ViewAlignment::Front, {1, 0, 0}}, {ViewAlignment::Back, {-1, 0, 0}},
               {ViewAlignment::Left, {0, 1, 0}},  {ViewAlignment::Right, {0, -1, 0}},
               {ViewAlignment::Top, {0, 0, 1}},   {ViewAlignment::Bottom, {0, 0, -1}}};
  for (const Case& c : cases) {
    const Vec3 axis = TowardEye(AlignmentOrientation(c.alignment));
    EXPECT_FLOAT_EQ(axis.x, c.towardEye.x);
    EXPECT_FLOAT_EQ(axis.y, c.towardEye.y);
    EXPECT_FLOAT_EQ(axis.z, c.towardEye.z);
  }
}

TEST(AlignViews, AreRotationsWithModelUpOnScreenExceptTopAndBottom) {
  for (ViewAlignment a : {ViewAlignment::Front, ViewAlignment::Back, ViewAlignment::Left, ViewAlignment::Right}) {
    Camera camera;
    camera.orientation = AlignmentOrientation(a);
    EXPECT_FLOAT_EQ(ToCameraSpace(camera, {0, 0, 1}).y, 1);  // model z is screen up
    const Mat3 p = Multiply(camera.orientation, Transpose(camera.orientation));
    EXPECT_EQ(p, kIdentity3);
  }
  Camera top;
  top.orientation = AlignmentOrientation(ViewAlignment::Top);
  EXPECT_FLOAT_EQ(ToCameraSpace(top, {1, 0, 0}).y, -1);  // model x runs down the screen
}

TEST(AlignViews, KeepPanAndDistance) {
  Camera camera;
  camera.panOffset = {1, 2, 3};
  camera.distance = 40;
  AlignCamera(camera, ViewAlignment::Right);
  EXPECT_EQ(camera.orientation, (Mat3{0, 0, -1, 0, 1, 0, 1, 0, 0}));
  EXPECT_EQ(camera.panOffset, (std::array<float, 3>{1, 2, 3}));
  EXPECT_FLOAT_EQ(camera.distance, 40);
}

TEST(CenterOnSelected, LooksAtTheMeanOfTheSelectedVisibleCentroids) {
  auto doc = SmallDocument();
  doc->triangles[0].state = kFaceSelected;
  doc->triangles[1].state = kFaceSelected;
  Camera camera;
  camera.distance = 20;
  ASSERT_TRUE(CenterOnSelected(camera, *doc));
  // Centroids (1, 2, 0) and (7, 9, 4) times 0.999999; mean (4, 5.5, 2).
  EXPECT_NEAR(camera.panOffset[0], -5.5, 1e-4);
  EXPECT_NEAR(camera.panOffset[1], -2, 1e-4);
  EXPECT_NEAR(camera.panOffset[2], -4, 1e-4);
  EXPECT_FLOAT_EQ(camera.distance, 20);
  EXPECT_EQ(camera.orientation, kIdentity3);
}

TEST(CenterOnSelected, SkipsHiddenTrianglesAndDoesNothingWithoutAny) {
  auto doc = SmallDocument();
  doc->triangles[0].state = kFaceSelected;
  doc->triangles[1].state = kFaceSelected | kFaceHidden;
  Camera camera;
  ASSERT_TRUE(CenterOnSelected(camera, *doc));
  EXPECT_NEAR(camera.panOffset[0], -2, 1e-4);
  EXPECT_NEAR(camera.panOffset[2], -1, 1e-4);

  doc->triangles[0].state = kFaceSelected | kFaceHidden;
  Camera untouched;
  untouched.panOffset = {7, 8, 9};
  EXPECT_FALSE(CenterOnSelected(untouched, *doc));
  EXPECT_EQ(untouched.panOffset, (std::array<float, 3>{7, 8, 9}));
}

TEST(CenterOnScene, LooksAtTheMeanOfTheFramesVertices) {
  auto doc = SmallDocument();
  Camera camera;
  ASSERT_TRUE(CenterOnScene(camera, *doc));
  // Mean of the five vertices: (24, 27, 12) / 5.
  EXPECT_NEAR(camera.panOffset[0], -5.4, 1e-5);
  EXPECT_NEAR(camera.panOffset[1], -2.4, 1e-5);
  EXPECT_NEAR(camera.panOffset[2], -4.8, 1e-5);
}

TEST(CenterOnScene, DoesNothingWithoutAModel) {
  MeshDocument empty;
  Camera camera;
  camera.panOffset = {1, 1, 1};
  EXPECT_FALSE(CenterOnScene(camera, empty));
  EXPECT_FALSE(CenterOnSelected(camera, empty));
  EXPECT_EQ(camera.panOffset, (std::array<float, 3>{1, 1, 1}));
}

TEST(ZoomSkinExtents, FitsTheSkinToNinetyPercentOfTheView) {
  SkinViewZoom view;
  ASSERT_TRUE(ZoomSkinExtents(view, 200, 100, 64, 32));
  EXPECT_FLOAT_EQ(view.centerU, 32);
  EXPECT_FLOAT_EQ(view.centerV, 16);
  EXPECT_FLOAT_EQ(view.zoom, 2.8125f);  // 0.9 * 100 / 32 = 0.9 * 200 / 64
  ASSERT_TRUE(ZoomSkinExtents(view, 200, 100, 65, 10));
  EXPECT_FLOAT_EQ(view.centerU, 32);  // integer half
  EXPECT_NEAR(view.zoom, 0.9 * 200 / 65, 1e-6);
}

TEST(ZoomSkinExtents, ZoomStaysWithinOneAndTwelve) {
  SkinViewZoom view;
  ZoomSkinExtents(view, 200, 100, 3, 3);
  EXPECT_FLOAT_EQ(view.zoom, 12);
  ZoomSkinExtents(view, 200, 100, 1024, 1024);
  EXPECT_FLOAT_EQ(view.zoom, 1);
}

TEST(ZoomSkinExtents, DoesNothingWithoutASkin) {
  SkinViewZoom view{5, 6, 2};
  EXPECT_FALSE(ZoomSkinExtents(view, 200, 100, 0, 0));
  EXPECT_FLOAT_EQ(view.centerU, 5);
  EXPECT_FLOAT_EQ(view.zoom, 2);
}

}  // namespace
}  // namespace mok
