// Face culling on meshes made by other people. On a closed model the faces a
// view keeps must be the ones the depth test would show anyway: culling only
// saves work. Keeping the wrong side shows the inside of the far half, and
// then almost no pixel agrees.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/mesh_files.h"
#include "render/frame_pipeline.h"
#include "render/view_commands.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

std::unique_ptr<MeshDocument> LoadReal(const std::string& base) {
  const auto path = std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / "unreal" / (base + "_d.3d");
  if (!std::filesystem::exists(path)) return nullptr;
  auto doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  if (!LoadMesh(*doc, path.string(), prompter).ok()) return nullptr;
  return doc;
}

struct IdDrawer : FrameDrawer {
  void DrawPass(FrameState& frame, const TexturePass& pass) override {
    for (int index : pass.triangles) {
      const auto v = FaceVertices(frame, index, AttributeLayout::Depth);
      fillFlatPick(frame.raster(), v.data(), index, 0xFFFFFF);
    }
  }
};

// The id buffer of one frame; with `everyFace` all faces count as two-sided.
std::vector<std::int32_t> FaceIds(MeshDocument& doc, ViewRecord& view, bool everyFace) {
  std::vector<std::uint8_t> types;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    types.push_back(face.type);
    if (everyFace) face.type = kTypeNormalTwoSided;
  }
  RasterContext raster;
  const GammaTable gamma = BuildGammaTable(1.0);
  const LightFrame light;
  FrameJob job{view, &doc, raster, gamma, light};
  IdDrawer drawer;
  RunFrame(job, {}, drawer);
  for (int i = 0; i < doc.triangleCount; ++i) doc.triangles[static_cast<std::size_t>(i)].type = types[static_cast<std::size_t>(i)];
  return view.frame.ids;
}

class RealMeshCulling : public ::testing::TestWithParam<const char*> {};

TEST_P(RealMeshCulling, KeepsTheFacesTheDepthTestWouldShow) {
  auto doc = LoadReal(GetParam());
  if (!doc) GTEST_SKIP() << "real mesh not available";
  for (ViewAlignment a : {ViewAlignment::Front, ViewAlignment::Back, ViewAlignment::Left, ViewAlignment::Right,
                          ViewAlignment::Top, ViewAlignment::Bottom}) {
    ViewRecord view;
    ResizeFrameBuffer(view.frame, 200, 200, false);
    ASSERT_TRUE(CenterOnScene(view.camera, *doc));
    AlignCamera(view.camera, a);
    view.camera.distance = 400;
    const std::vector<std::int32_t> culled = FaceIds(*doc, view, false);
    const std::vector<std::int32_t> all = FaceIds(*doc, view, true);
    int shown = 0, agree = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] < 0) continue;
      ++shown;
      if (culled[i] == all[i]) ++agree;
    }
    ASSERT_GT(shown, 500);
    EXPECT_GE(agree, shown * 95 / 100) << "alignment " << static_cast<int>(a);
  }
}

INSTANTIATE_TEST_SUITE_P(ClosedOneSidedModels, RealMeshCulling, ::testing::Values("coin100", "Skull", "XCSup1", "UFO"));

}  // namespace
}  // namespace mok
