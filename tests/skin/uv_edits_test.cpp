// The Mapping menu's selection edits and Map from 3D View.

#include <cmath>
#include <filesystem>

#include "core/mesh_files.h"
#include "render/camera.h"
#include "panes/camera_projection.h"
#include "tests/skin/skin_view_test_support.h"

namespace mok {
namespace {

using namespace viewtest;

class UvEdits : public SkinViewFixture {};

TEST_F(UvEdits, FlipMapsTheSelectionsVRangeOntoItself) {
  const int s = AddFace({2, 10}, {6, 12}, {4, 30}, kFaceSelected);
  const int shared = AddFace({2, 10}, {0, 0}, {1, 0});           // shares (2, 10) with s
  const int hidden = AddFace({8, 40}, {9, 40}, {8, 41}, kFaceSelected | kFaceHidden);
  FlipSelected(app);
  EXPECT_FLOAT_EQ(CornerOf(s, 0).v, 30);
  EXPECT_FLOAT_EQ(CornerOf(s, 1).v, 28);  // 30 - (12 - 10)
  EXPECT_FLOAT_EQ(CornerOf(s, 2).v, 10);
  EXPECT_FLOAT_EQ(CornerOf(s, 1).u, 6);
  EXPECT_FLOAT_EQ(CornerOf(shared, 0).v, 10);  // the unselected corner stays and splits off
  EXPECT_FLOAT_EQ(CornerOf(hidden, 0).v, 40);
  EXPECT_EQ(refresh.refills, 1);
}

TEST_F(UvEdits, MirrorMapsTheUrangeAndReachesEveryChannel) {
  const int s = AddFace({10, 1}, {12, 2}, {30, 3}, kFaceSelected);
  const int other = AddFace({20, 5}, {21, 5}, {20, 6}, kFaceSelected, 3);
  MirrorSelected(app);
  EXPECT_FLOAT_EQ(CornerOf(s, 0).u, 30);
  EXPECT_FLOAT_EQ(CornerOf(s, 1).u, 28);
  EXPECT_FLOAT_EQ(CornerOf(s, 2).u, 10);
  EXPECT_FLOAT_EQ(CornerOf(other, 1).u, 19);  // 30 - (21 - 10)
}

TEST_F(UvEdits, EmptySelectionChangesNothingButStillRefreshes) {
  const int f = AddFace({1, 2}, {3, 4}, {5, 6});
  FlipSelected(app);
  MirrorSelected(app);
  RotateSelected90(app);
  SnapSelectedToGrid(app);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).u, 5);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).v, 6);
  EXPECT_EQ(refresh.refills, 4);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(UvEdits, RotateTurnsAQuarterAboutTheBoxCentre) {
  const int f = AddFace({10, 10}, {12, 10}, {10, 14}, kFaceSelected);  // centre (11, 12)
  RotateSelected90(app);
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 9);   // 11 + (10 - 12)
  EXPECT_FLOAT_EQ(CornerOf(f, 0).v, 13);  // 12 - (10 - 11)
  EXPECT_FLOAT_EQ(CornerOf(f, 1).u, 9);
  EXPECT_FLOAT_EQ(CornerOf(f, 1).v, 11);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).u, 13);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).v, 13);
}

TEST_F(UvEdits, RotatePastTheSkinEdgeIsRefusedAndChangesNothing) {
  const int f = AddFace({28, 10}, {31, 10}, {28, 20}, kFaceSelected);  // (28, 20) would reach u = 34.5
  const int g = AddFace({28, 10}, {2, 2}, {3, 3});
  RotateSelected90(app);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0],
            "Rotation of the selected triangles will place them outside of the skin area...aborting.");
  EXPECT_FLOAT_EQ(doc().triangles[f].uv[2].u, 28);
  EXPECT_FLOAT_EQ(doc().triangles[f].uv[2].v, 20);
  EXPECT_FLOAT_EQ(CornerOf(f, 1).u, 31);
  EXPECT_EQ(doc().triangles[f].uvIndex[0], doc().triangles[g].uvIndex[0]);
  EXPECT_EQ(refresh.refills, 1);
}

TEST_F(UvEdits, SnapSelectedTruncatesEachSharedVertexOnce) {
  const int f = AddFace({-0.7f, 3.9f}, {5.5f, 2}, {7, 8.25f}, kFaceSelected);
  const int g = AddFace({-0.7f, 3.9f}, {9.5f, 9.5f}, {10, 10});
  const int h = AddFace({1.5f, 1.5f}, {2, 2}, {3, 3}, kFaceSelected | kFaceHidden);
  SnapSelectedToGrid(app);
  EXPECT_EQ(CornerOf(f, 0).u, 0.0f);
  EXPECT_EQ(CornerOf(f, 0).v, 3.0f);
  EXPECT_EQ(CornerOf(g, 0).u, 0.0f);  // the shared vertex moved for both faces
  EXPECT_EQ(CornerOf(f, 1).u, 5.0f);
  EXPECT_EQ(CornerOf(f, 2).v, 8.0f);
  EXPECT_EQ(CornerOf(g, 1).u, 9.5f);
  EXPECT_EQ(CornerOf(h, 0).u, 1.5f);
}

// Camera space = the model point moved 10 along z; a 100 x 100 view at 2
// pixels per unit and distance 10.
class ShiftedView final : public ViewProjection {
 public:
  int width = 100;
  int height = 100;
  float scale = 2;
  Vec3 ToCameraSpace(const Vec3& p) const override { return {p.x, p.y, p.z + 10}; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  float ProjectionScale() const override { return scale; }
  float Distance() const override { return 10; }
};

class MapFromView : public UvEdits {
 protected:
  MapFromView() {
    auto frame = std::make_unique<AnimFrame>();
    frame->positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {5, 5, 5}, {6, 5, 5}, {5, 6, 5}};
    doc().frames.push_back(std::move(frame));
    doc().SetCurrentFrame(0);
    refresh.requests.clear();
    prompter.mapFrom3DView.answer = MapFrom3DViewOptions{};
  }
  void Map() { MapFrom3DView(app, projection, view.mappingFrame, view.mapOptions); }

  ShiftedView projection;
};

TEST_F(MapFromView, DefaultFrameTakesTheWholeProjection) {
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected | kFaceHidden);
  const int g = AddFace({40, 40}, {41, 40}, {40, 41});
  Map();
  // Plain projection without Flip and Mirror: x = -2 X + 50, y = -2 Y + 50, so
  // the corners land on (50, 50), (48, 50), (50, 48): 2 pixels become 10 texels.
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 10);
  EXPECT_FLOAT_EQ(CornerOf(f, 0).v, 10);
  EXPECT_FLOAT_EQ(CornerOf(f, 1).u, 0);
  EXPECT_FLOAT_EQ(CornerOf(f, 1).v, 10);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).u, 10);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).v, 0);
  EXPECT_FLOAT_EQ(CornerOf(g, 0).u, 40);
  EXPECT_EQ(refresh.refills, 1);
  ASSERT_EQ(prompter.mapFrom3DView.shown.size(), 1u);
  EXPECT_EQ(prompter.mapFrom3DView.shown[0].projection, 0);
  EXPECT_FALSE(prompter.mapFrom3DView.shown[0].flip);
}

TEST_F(MapFromView, FlipAndMirrorTurnThePicture) {
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected);
  prompter.mapFrom3DView.answer->flip = true;
  prompter.mapFrom3DView.answer->mirror = true;
  view.mappingFrame = {20, 30, 0, 10};  // put in order as (0, 10)-(20, 30)
  Map();
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 0);
  EXPECT_FLOAT_EQ(CornerOf(f, 0).v, 10);
  EXPECT_FLOAT_EQ(CornerOf(f, 1).u, 20);
  EXPECT_FLOAT_EQ(CornerOf(f, 2).v, 30);
}

TEST_F(MapFromView, NoBackfacesTakesOnlyFacesTowardTheCamera) {
  // Face 0 at camera space a (0, 0, 10), b (1, 0, 10), c (0, 1, 10):
  // b x a = (0, -10, 0) and c . (b x a) = -10 < 0, so it faces the camera.
  // Face 1 uses the same points wound the other way round.
  const int front = AddFace({60, 60}, {61, 60}, {60, 61}, kFaceSelected);
  const int back = AddFace({70, 70}, {71, 70}, {70, 71}, kFaceSelected);  // vertices 3, 4, 5
  prompter.mapFrom3DView.answer->noBackfaces = true;
  Map();
  EXPECT_FLOAT_EQ(CornerOf(front, 0).u, 10);
  EXPECT_FLOAT_EQ(CornerOf(front, 1).u, 0);
  EXPECT_FLOAT_EQ(CornerOf(back, 0).u, 70);
  EXPECT_FLOAT_EQ(CornerOf(back, 2).v, 71);
}

TEST_F(MapFromView, AssignChannelIsRememberedAndMovesTheFaces) {
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected, 2);
  prompter.mapFrom3DView.answer->assignChannel = true;
  Map();
  EXPECT_EQ(doc().triangles[f].textureNum, 0);
  EXPECT_TRUE(view.mapOptions.assignChannel);
  prompter.mapFrom3DView.answer = std::nullopt;
  Map();  // the dialog opens with the remembered choice
  ASSERT_EQ(prompter.mapFrom3DView.shown.size(), 2u);
  EXPECT_TRUE(prompter.mapFrom3DView.shown[1].assignChannel);
}

TEST_F(MapFromView, CancelOrNoFrameChangesNothing) {
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected);
  prompter.mapFrom3DView.answer = std::nullopt;
  Map();
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 50);
  prompter.mapFrom3DView.answer = MapFrom3DViewOptions{};
  doc().frames.clear();
  doc().currentVertices = nullptr;
  Map();
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 50);
  EXPECT_EQ(refresh.refills, 0);
  EXPECT_EQ(prompter.mapFrom3DView.shown.size(), 2u);
}

TEST_F(MapFromView, ZeroSizedViewPutsEverythingOnTheFrameCorner) {
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected);
  projection.width = projection.height = 0;
  projection.scale = 0;
  view.mappingFrame = {3, 4, 10, 10};
  Map();
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(CornerOf(f, k).u, 3);
    EXPECT_FLOAT_EQ(CornerOf(f, k).v, 4);
  }
}

TEST_F(MapFromView, DividedProjectionScalesByDepthAndSnapTruncates) {
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected);
  doc().triangles[f].vertex[0] = 6;  // (5, 5, 5): Z = 15, k = 1.5
  doc().triangles[f].vertex[1] = 7;
  doc().triangles[f].vertex[2] = 8;
  prompter.mapFrom3DView.answer->projection = 1;
  app.flags.snapToGrid = true;
  view.mappingFrame = {0, 0, 7, 7};
  Map();
  // x = -2 X / 1.5 + 50: 43.33, 42, 43.33; the span 1.33 pixels becomes 7 texels.
  EXPECT_EQ(CornerOf(f, 0).u, 7.0f);
  EXPECT_EQ(CornerOf(f, 1).u, 0.0f);
  EXPECT_EQ(CornerOf(f, 2).v, 0.0f);
}

TEST_F(MapFromView, CameraAdapterUsesTheCameraScaleAndDistance) {
  Camera camera;
  const CameraViewProjection adapter(camera, 200, 100);
  EXPECT_FLOAT_EQ(adapter.Distance(), 75);
  EXPECT_FLOAT_EQ(adapter.ProjectionScale(), ProjectionScale(camera, 200, 100));
  const Vec3 p = adapter.ToCameraSpace({1, 2, 3});
  const Vec3 q = ToCameraSpace(camera, {1, 2, 3});
  EXPECT_FLOAT_EQ(p.z, q.z);
  EXPECT_EQ(CameraViewProjection(camera, 0, 0).ProjectionScale(), 0.0f);
}

}  // namespace
}  // namespace mok

namespace mok {
namespace {

class MapFromViewSnap : public viewtest::SkinViewFixture {};

TEST_F(MapFromViewSnap, SnappedMappingSurvivesTheNextRebuild) {
  auto frame = std::make_unique<AnimFrame>();
  frame->positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {3, 0, 0}, {0, 3, 0}};
  doc().frames.push_back(std::move(frame));
  doc().SetCurrentFrame(0);
  const int f = AddFace({50, 50}, {51, 50}, {50, 51}, kFaceSelected);
  const int g = AddFace({40.5f, 40}, {41, 40}, {40, 41});  // not selected: only the final snap
  prompter.mapFrom3DView.answer = MapFrom3DViewOptions{};
  app.flags.snapToGrid = true;
  view.mappingFrame = {0.5f, 0.5f, 7.5f, 7.5f};  // corners land on 0.5 and 7.5, snapped to 0 and 7
  MapFrom3DView(app, ShiftedView{}, view.mappingFrame, view.mapOptions);
  EXPECT_EQ(CornerOf(f, 0).u, 7.0f);
  EXPECT_EQ(doc().triangles[f].uv[0].u, 7.0f);  // the corner agrees with its vertex
  doc().RebuildUvVertices(false);
  EXPECT_EQ(CornerOf(f, 0).u, 7.0f);
  EXPECT_EQ(CornerOf(f, 1).u, 0.0f);
  EXPECT_EQ(CornerOf(g, 0).u, 40.0f);  // every vertex is snapped, and stays so
  EXPECT_EQ(CornerOf(g, 1).u, 41.0f);
}

}  // namespace
}  // namespace mok

namespace mok {
namespace {

// A real closed model seen at a slant (no face edge-on): No Backfaces maps
// the faces toward the camera, about half of them, and leaves the others.
TEST_F(MapFromViewSnap, NoBackfacesOnARealModelMapsAboutHalf) {
  const std::string mesh = std::string(MOK_SHARED_TESTDATA) + "/real/unreal/XCSup1_d.3d";
  if (!std::filesystem::exists(mesh)) GTEST_SKIP() << "no shared test data";
  ASSERT_TRUE(LoadMesh(doc(), mesh, prompter).ok());
  doc().RebuildUvVertices(true);
  std::vector<std::array<UvPair, 3>> before(static_cast<std::size_t>(doc().triangleCount));
  for (int i = 0; i < doc().triangleCount; ++i) {
    doc().triangles[i].state = kFaceSelected;
    for (int k = 0; k < 3; ++k) before[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] = CornerOf(i, k);
  }
  Camera camera;
  const float cx = std::cos(0.5f), sx = std::sin(0.5f), cy = std::cos(0.7f), sy = std::sin(0.7f);
  camera.orientation = Multiply(Mat3{1, 0, 0, 0, cx, sx, 0, -sx, cx}, Mat3{cy, 0, -sy, 0, 1, 0, sy, 0, cy});
  prompter.mapFrom3DView.answer = MapFrom3DViewOptions{};
  prompter.mapFrom3DView.answer->noBackfaces = true;
  MapFrom3DView(app, CameraViewProjection(camera, 400, 300), view.mappingFrame, view.mapOptions);
  int mapped = 0;
  for (int i = 0; i < doc().triangleCount; ++i) {
    bool moved = false;
    for (int k = 0; k < 3; ++k) {
      const UvPair now = CornerOf(i, k);
      const UvPair old = before[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)];
      moved = moved || now.u != old.u || now.v != old.v;
    }
    if (!moved) continue;
    ++mapped;
    for (int k = 0; k < 3; ++k) {
      EXPECT_GE(CornerOf(i, k).u, 0);
      EXPECT_LE(CornerOf(i, k).u, 10);
      EXPECT_GE(CornerOf(i, k).v, 0);
      EXPECT_LE(CornerOf(i, k).v, 10);
    }
  }
  EXPECT_GT(mapped, doc().triangleCount / 4);
  EXPECT_LT(mapped, doc().triangleCount * 3 / 4);
}

}  // namespace
}  // namespace mok
