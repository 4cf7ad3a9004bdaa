#include "render/ray_tracer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/mesh_files.h"
#include "render/view_commands.h"
#include "image/image_codecs.h"
#include "tests/core/mesh_test_support.h"
#include "tests/render/mode_test_support.h"
#include "tests/render/plain_ray_tracer.h"

namespace mok {
namespace {

using test::kSceneBackground;
using test::ModeScene;

std::string Resource(const std::string& relative) { return (std::filesystem::path(MOK_SOURCE_DIR) / relative).string(); }

// The sample mesh with its two skins.
struct SampleScene {
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
  ViewRecord view;

  SampleScene() {
    test::ScriptedPrompter prompter;
    EXPECT_TRUE(LoadMesh(*doc, Resource("resources/samples/Sampler/Models/Sampler_d.3d"), prompter));
    const char* skins[] = {"resources/samples/Sampler/Models/Sampler_ring.pcx", "resources/samples/Sampler/Models/Sampler_core.tga"};
    doc->ToChannelUnits();
    for (int channel = 0; channel < 2; ++channel) {
      Result<SkinSlot> skin = LoadImageFile(Resource(skins[channel]), ImageMode::TrueColor);
      EXPECT_TRUE(skin);
      *doc->skinSlots[static_cast<std::size_t>(channel)] = std::move(*skin);
    }
    doc->FromChannelUnits();
    doc->RebuildUvVertices(true);
    doc->SetCurrentFrame(5);
  }
};

void ExpectSameAsPlain(SampleScene& scene, int width, int height) {
  ResizeFrameBuffer(scene.view.frame, width, height, false);
  RayTraceJob job{scene.view, scene.doc.get(), kSceneBackground, nullptr, {}};
  RayTrace(job);
  const std::vector<std::uint32_t> fast = scene.view.frame.colour;
  const std::vector<std::uint16_t> fastDepth = scene.view.frame.depth;
  scene.view.frame.colour.assign(fast.size(), 0);
  test::PlainRayTrace(scene.view, *scene.doc, kSceneBackground);
  EXPECT_EQ(fast, scene.view.frame.colour);
  EXPECT_EQ(fastDepth, scene.view.frame.depth);
  EXPECT_GT(std::count(fast.begin(), fast.end(), kSceneBackground), 0);
  EXPECT_LT(std::count(fast.begin(), fast.end(), kSceneBackground), static_cast<long>(fast.size()));
}

TEST(RayTracer, MatchesThePlainTraceOnTheSampleFromEveryAlignment) {
  SampleScene scene;
  for (ViewAlignment alignment : {ViewAlignment::Front, ViewAlignment::Top, ViewAlignment::Left}) {
    AlignCamera(scene.view.camera, alignment);
    scene.view.camera.distance = 180;
    ExpectSameAsPlain(scene, 61, 47);
  }
}

// At a larger size the faces span many cells, so cells along their edges
// and corners (where whole cells are dropped or taken as fully covered) are
// checked pixel by pixel, near and far and with the view panned off centre.
TEST(RayTracer, MatchesThePlainTraceAcrossManyCellsNearFarAndPanned) {
  SampleScene scene;
  AlignCamera(scene.view.camera, ViewAlignment::Top);
  CenterOnScene(scene.view.camera, *scene.doc);
  for (float distance : {75.0f, 200.0f, 50.0f}) {
    scene.view.camera.distance = distance;
    ExpectSameAsPlain(scene, 243, 137);
  }
  scene.view.camera.distance = 90;
  scene.view.camera.panOffset[0] += 9.5f;
  scene.view.camera.panOffset[1] -= 6.25f;
  ExpectSameAsPlain(scene, 243, 137);
}

TEST(RayTracer, MatchesThePlainTraceCloseUpAndInParallelProjection) {
  SampleScene scene;
  AlignCamera(scene.view.camera, ViewAlignment::Top);
  ExpectSameAsPlain(scene, 80, 60);  // the start distance: the ring reaches past the eye plane
  scene.view.camera.orthographic = 1;
  scene.view.camera.distance = 120;
  ExpectSameAsPlain(scene, 52, 70);
}

TEST(RayTracer, MatchesThePlainTraceOnARealModel) {
  const std::string path = std::string(MOK_SHARED_TESTDATA) + "/real/unreal/F360_d.3d";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "shared test data not found";
  SampleScene scene;  // its view; the document is replaced
  scene.doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  ASSERT_TRUE(LoadMesh(*scene.doc, path, prompter));
  AlignCamera(scene.view.camera, ViewAlignment::Left);
  CenterOnScene(scene.view.camera, *scene.doc);
  const std::array<float, 3>& pan = scene.view.camera.panOffset;  // minus the centre, in (y, z, x) order
  float radius = 0;
  for (const Vec3& p : scene.doc->frames[0]->positions)
    radius = std::max(radius, std::hypot(p.x + pan[2], p.y + pan[0], p.z + pan[1]));
  scene.view.camera.distance = radius * 3;  // the model fills the view
  ExpectSameAsPlain(scene, 64, 48);
}

TEST(RayTracer, FacesSeenFromBehindAreDrawn) {
  ModeScene scene;
  scene.AddFace(0, 1, 2);  // turned away: the rasterized modes cull it
  scene.LoadPlaceholderSkins();
  RayTraceJob job{scene.view, &scene.doc(), kSceneBackground, nullptr, {}};
  RayTrace(job);
  EXPECT_NE(scene.Colour(45, 55), kSceneBackground);
  EXPECT_EQ(scene.Colour(80, 80), kSceneBackground);
}

TEST(RayTracer, OfTwoEqualHitsTheLaterFaceShows) {
  ModeScene scene;
  scene.AddFace(0, 2, 1, 3);
  scene.AddFace(0, 2, 1, 4);
  scene.LoadPlaceholderSkins();
  std::fill(scene.doc().skinSlots[3]->pixels.begin(), scene.doc().skinSlots[3]->pixels.end(), 0x333333u);
  std::fill(scene.doc().skinSlots[4]->pixels.begin(), scene.doc().skinSlots[4]->pixels.end(), 0x444444u);
  RayTraceJob job{scene.view, &scene.doc(), kSceneBackground, nullptr, {}};
  RayTrace(job);
  EXPECT_EQ(scene.Colour(45, 55), 0x444444u);
  scene.doc().triangles[1].textureNum = 3;
  scene.doc().triangles[0].textureNum = 4;
  RayTrace(job);
  EXPECT_EQ(scene.Colour(45, 55), 0x333333u);
}

TEST(RayTracer, FacesWithoutASkinUseTheDefaultSkin) {
  ModeScene scene;
  scene.AddFace(0, 2, 1, 200);
  scene.LoadPlaceholderSkins();
  std::fill(scene.doc().defaultSkin.pixels.begin(), scene.doc().defaultSkin.pixels.end(), 0x0A0B0Cu);
  RayTraceJob job{scene.view, &scene.doc(), kSceneBackground, nullptr, {}};
  RayTrace(job);
  EXPECT_EQ(scene.Colour(45, 55), 0x0A0B0Cu);
}

TEST(RayTracer, ReportsEveryRowInOrder) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  std::vector<int> rows;
  RayTraceJob job{scene.view, &scene.doc(), kSceneBackground, nullptr, [&](int row) { rows.push_back(row); }};
  RayTrace(job);
  ASSERT_EQ(rows.size(), 100u);
  for (int r = 0; r < 100; ++r) EXPECT_EQ(rows[static_cast<std::size_t>(r)], r);
}

TEST(RayTracer, WithoutAModelOnlyRestoresThePriority) {
  struct Counting : FramePriority {
    int raised = 0, restored = 0;
    void Raise() override { ++raised; }
    void Restore() override { ++restored; }
  } priority;
  ModeScene scene;
  scene.view.frame.colour.assign(scene.view.frame.colour.size(), 0x777777);
  RayTraceJob job{scene.view, nullptr, kSceneBackground, &priority, {}};
  RayTrace(job);
  EXPECT_EQ(priority.raised, 1);
  EXPECT_EQ(priority.restored, 1);
  EXPECT_EQ(scene.Colour(10, 10), 0x777777u);
}

TEST(SampleSkinBilinear, WrapsNegativeCoordinatesAndBlendsNeighbours) {
  SkinSlot skin;
  AllocateSkin(skin, 2, 1);
  skin.pixels = {0x000000, 0xC8C8C8};
  EXPECT_EQ(SampleSkinBilinear(skin, 1, 0), 0xC8C8C8u);
  EXPECT_EQ(SampleSkinBilinear(skin, -1, 0), 0xC8C8C8u);
  EXPECT_EQ(SampleSkinBilinear(skin, -0.5, 0), 0x646464u);  // halfway from texel 1 to texel 0
  EXPECT_EQ(SampleSkinBilinear(skin, 0.25, 0), 0x323232u);
  EXPECT_EQ(SampleSkinBilinear(skin, -1e-18, 0), 0x000000u);  // rounds onto the skin's edge, not past it
}

// Every channel of every texel blend, with bytes up to 0xFF and a fourth
// byte that must not show, against the plainly written sample.
TEST(SampleSkinBilinear, EveryChannelMatchesThePlainSampleAndTheFourthByteIsDropped) {
  SkinSlot skin;
  AllocateSkin(skin, 3, 2);
  skin.pixels = {0xFFFFFFFF, 0x80FF0001, 0x00FEFDFC, 0x12345678, 0xFF00FF00, 0x7F80817F};
  for (double u = -3.5; u < 4; u += 0.37)
    for (double v = -2.25; v < 3; v += 0.29) {
      const std::uint32_t got = SampleSkinBilinear(skin, u, v);
      EXPECT_EQ(got, test::PlainSample(skin, u, v)) << u << ", " << v;
      EXPECT_EQ(got >> 24, 0u);
    }
  EXPECT_EQ(SampleSkinBilinear(skin, 0, 0), 0xFFFFFFu);
}

}  // namespace
}  // namespace mok
