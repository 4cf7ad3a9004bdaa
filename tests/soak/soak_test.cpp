// The soak: random rows of the command table (dialogs and file choices
// answered by script), strokes through the painter, undo and redo, corner
// moves and frames on copies of the sample and the real meshes, checking the
// document's invariants after every step. Runs MOK_SOAK_SECONDS (default 1)
// from a seed in MOK_SOAK_SEED (default the time); scripts/soak.sh runs it
// under the sanitizers.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "app/command_table.h"
#include "core/changes.h"
#include "render/frame_buffer.h"
#include "render/render_state.h"
#include "render/view_commands.h"
#include "tests/core/application_fixture.h"
#include "tests/support/document_invariants.h"
#include "tests/support/random_user.h"
#include "tests/support/shared_testdata.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

double EnvNumber(const char* name, double fallback) {
  const char* value = std::getenv(name);
  return value ? std::atof(value) : fallback;
}

// Rows that open a file or write one without asking, and what they choose.
enum : int { kOpen = 32772, kImportMd2 = 32967 };
const std::map<int, const char*> kScriptedFiles = {
    {32773, "saved_d.3d"}, {32774, "saved_d.3d"}, {32783, "skin.bmp"}, {32815, "soak.mkmp"}, {32816, "soak.mkmp"}, {32777, "skin.bmp"}, {32784, "skin.bmp"}};

// The rows a headless run can carry out: with a handler and no window of
// their own. File choices the script does not answer are cancelled.
std::vector<int> RunnableRows() {
  std::vector<int> ids;
  for (const CommandRow& row : CommandRows())
    if (row.run != nullptr && row.window == WindowAction::None && !row.inert) ids.push_back(row.id);
  return ids;
}

class Soak : public test::ApplicationFixture {
 protected:
  Soak() {
    test::AnswerDialogsAtRandom(prompter, random);
    prompter.mkmpImport.answer = MkmpImportOptions{};
  }

  MeshDocument& doc() { return app.doc(); }
  int Pick(std::size_t n) { return test::PickBelow(random, static_cast<int>(n)); }

  // Opens the copy of a source in the temporary folder (made on first use,
  // so saves land there and later opens read them back).
  void OpenSource() {
    const int index = Pick(sources.size());
    const fs::path& source = sources[static_cast<std::size_t>(index)];
    const fs::path folder = dir.path() / std::to_string(index);
    fs::create_directories(folder);
    const std::string stem = source.filename().string().substr(0, source.filename().string().size() - 5);
    for (const char* end : {"_d.3d", "_a.3d", "_k.3d"})
      if (fs::exists(source.parent_path() / (stem + end)))
        fs::copy_file(source.parent_path() / (stem + end), folder / (stem + end), fs::copy_options::skip_existing);
    if (source.extension() == ".md2") fs::copy_file(source, folder / source.filename(), fs::copy_options::skip_existing);
    prompter.Choose((folder / source.filename()).string());
    table.Run(source.extension() == ".md2" ? kImportMd2 : kOpen);
  }

  void RunRow() {
    lastRow = rows[static_cast<std::size_t>(Pick(rows.size()))];
    if (auto file = kScriptedFiles.find(lastRow); file != kScriptedFiles.end()) prompter.Choose(dir / file->second);
    table.Run(lastRow);
  }

  // Drops unused file choices and what the prompter recorded, so a long run
  // keeps its memory.
  void Forget() {
    prompter.files.clear();
    prompter.messages.clear();
    prompter.questions.clear();
    prompter.dialogs.clear();
  }

  void SelectSome() {
    for (int i = 0; i < doc().triangleCount; ++i)
      if (Pick(8) == 0) doc().triangles[static_cast<std::size_t>(i)].state ^= kFaceSelected;
  }

  // A drag of UV corners, now and then far beyond the skin.
  void MoveCorners() {
    const float reach = Pick(4) == 0 ? 1e12f : 50.0f;
    for (int i = 0; i < doc().uvVertexCount; ++i)
      if (Pick(6) == 0) doc().uvVertices[i].v += reach * (static_cast<float>(Pick(2001)) / 1000 - 1);
    doc().RebuildUvVertices(true);
    app.history.Commit(doc(), "Move");
  }

  void RenderAFrame() {
    doc().SetCurrentFrame(Pick(std::max<std::size_t>(doc().frames.size(), 1)));
    ResizeFrameBuffer(view.frame, 96, 72, true);
    if (!SelectRenderMode(app, &view.frame, Pick(10))) return;
    CenterOnScene(view.camera, doc());
    RenderJob job = MakeRenderJob(app, view);
    RenderStateOf(app).current().render(job, kRefreshFinal, kPaneIsoView);
  }

  std::mt19937 random{static_cast<unsigned>(EnvNumber("MOK_SOAK_SEED", static_cast<double>(std::time(nullptr))))};
  std::vector<fs::path> sources = test::SampleAndRealMeshFiles();
  std::vector<int> rows = RunnableRows();
  int lastRow = 0;
  CommandTable table{app};
  Painter painter{app};
  ViewRecord view;
};

TEST_F(Soak, RandomCommandsKeepTheDocumentSound) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(EnvNumber("MOK_SOAK_SECONDS", 1));
  OpenSource();
  long steps = 0;
  while (std::chrono::steady_clock::now() < end) {
    const int kind = Pick(16);
    switch (kind) {
      case 0: OpenSource(); break;
      case 1: case 2: SelectSome(); break;
      case 3: case 4: test::StrokeAtRandom(app, painter, random); break;
      case 5: table.Run(Pick(2) ? kCommandUndo : kCommandRedo); break;
      case 6: MoveCorners(); break;
      case 7: RenderAFrame(); break;
      default: RunRow();
    }
    Forget();
    ASSERT_EQ(test::DocumentInvariantViolation(doc()), "") << "after step " << steps << " of kind " << kind
                                                         << " (last row " << lastRow << ")";
    ++steps;
  }
  std::printf("soak: %ld steps\n", steps);
}

}  // namespace
}  // namespace mok
