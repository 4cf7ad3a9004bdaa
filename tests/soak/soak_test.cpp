// The soak: random commands, edits, strokes, saves and frames on the sample
// and the real meshes, checking the document's invariants after every step.
// Runs MOK_SOAK_SECONDS (default 1) from a seed in MOK_SOAK_SEED (default
// the time); scripts/soak.sh runs it under the sanitizers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "core/changes.h"
#include "core/channels.h"
#include "core/face_edits.h"
#include "core/mapping_file.h"
#include "core/md2_import.h"
#include "core/mesh_files.h"
#include "core/selection.h"
#include "render/frame_buffer.h"
#include "render/render_state.h"
#include "render/view_commands.h"
#include "panes/painting.h"
// The skin view's CornerUv() shadows the frame pipeline's CornerUv type; the
// two only ever meet in this file.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#include "panes/uv_edits.h"
#pragma GCC diagnostic pop
#include "tests/core/application_fixture.h"
#include "tests/support/document_invariants.h"
#include "tests/support/shared_testdata.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

double EnvNumber(const char* name, double fallback) {
  const char* value = std::getenv(name);
  return value ? std::atof(value) : fallback;
}

class Soak : public test::ApplicationFixture {
 protected:
  MeshDocument& doc() { return app.doc(); }
  unsigned Pick(unsigned n) { return static_cast<unsigned>(random() % n); }

  void LoadSource() {
    const fs::path& source = sources[Pick(static_cast<unsigned>(sources.size()))];
    if (source.extension() == ".md2") ASSERT_TRUE(ImportMd2(doc(), source.string()));
    else ASSERT_TRUE(LoadMesh(doc(), source.string(), prompter));
    Notify(app, Change::Mesh);
  }

  void Select() {
    void (*const commands[])(Application&) = {SelectAll,      SelectNone,        InvertSelection, SelectConnected,
                                               GrowSelection, ShrinkSelection, HideSelectedFaces, UnhideAll};
    for (int i = 0; i < doc().triangleCount; ++i)
      if (Pick(8) == 0) doc().triangles[i].state ^= kFaceSelected;
    commands[Pick(8)](app);
  }

  void Edit() {
    switch (Pick(8)) {
      case 0: DeleteSelectedFaces(app); break;
      case 1: FlipSelectedFaces(app); break;
      case 2: TurnEdge(app); break;
      case 3: ClearSelectedMapping(app); break;
      case 4: AssignChannelToSelected(doc(), static_cast<int>(Pick(20))); break;
      case 5: FlipSelected(app); break;
      case 6: RotateSelected90(app); break;
      default: SnapSelectedToGrid(app);
    }
  }

  void MoveCorners() {
    const float reach = Pick(4) == 0 ? 1e12f : 50.0f;
    for (int i = 0; i < doc().uvVertexCount; ++i)
      if (Pick(6) == 0) doc().uvVertices[i].v += reach * (static_cast<float>(Pick(2001)) / 1000 - 1);
    doc().RebuildUvVertices(true);
  }

  void SaveAndLoadBack() {
    Result<MeshFileContents> files = BuildMeshFiles(doc());
    ASSERT_TRUE(files);
    ASSERT_TRUE(LoadMeshFromBytes(doc(), {files->geometry, files->animation, files->info}, prompter));
  }

  void MappingOutAndBack() {
    std::vector<std::uint8_t> mapping = BuildMappingFile(doc());
    ASSERT_TRUE(ApplyMappingFile(doc(), mapping, MkmpImportOptions{}));
  }

  void Stroke() {
    SkinSlot* skin = doc().activeSkin;
    if (!skin || skin->width < 1 || skin->height < 1) return;
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height));
    for (int stamp = 0; stamp < 20; ++stamp)
      StampBrush(*skin, mask, static_cast<std::int32_t>(Pick(static_cast<unsigned>(mask.size() + 50))) - 25,
                 static_cast<int>(Pick(4)), PaintBlend{0x123456, 0.5f, Pick(2) == 0});
  }

  void RenderAFrame() {
    doc().SetCurrentFrame(static_cast<int>(Pick(static_cast<unsigned>(std::max<std::size_t>(doc().frames.size(), 1)))));
    ResizeFrameBuffer(view.frame, 96, 72, true);
    if (!SelectRenderMode(app, &view.frame, static_cast<int>(Pick(10)))) return;
    CenterOnScene(view.camera, doc());
    RenderJob job = MakeRenderJob(app, view);
    RenderStateOf(app).current().render(job, kRefreshFinal, kPaneIsoView);
  }

  std::mt19937 random{static_cast<unsigned>(EnvNumber("MOK_SOAK_SEED", static_cast<double>(std::time(nullptr))))};
  std::vector<fs::path> sources = test::SampleAndRealMeshFiles();
  ViewRecord view;
};

TEST_F(Soak, RandomCommandsKeepTheDocumentSound) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(EnvNumber("MOK_SOAK_SECONDS", 1));
  LoadSource();
  long steps = 0;
  while (std::chrono::steady_clock::now() < end) {
    const unsigned kind = Pick(9);
    switch (kind) {
      case 0: LoadSource(); break;
      case 1: Select(); break;
      case 2: Edit(); break;
      case 3: MoveCorners(); break;
      case 4: SaveAndLoadBack(); break;
      case 5: MappingOutAndBack(); break;
      case 6: Stroke(); break;
      default: RenderAFrame();
    }
    ASSERT_EQ(test::DocumentInvariantViolation(doc()), "") << "after step " << steps << " of kind " << kind;
    ++steps;
  }
  std::printf("soak: %ld steps\n", steps);
}

}  // namespace
}  // namespace mok
