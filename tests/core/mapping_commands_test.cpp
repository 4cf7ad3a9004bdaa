#include "core/mapping_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/file_io.h"
#include "core/mapping_file.h"
#include "core/settings.h"
#include "tests/core/edit_test_support.h"

namespace mok {
namespace {

using edit_test::RecordingRefresh;
using edit_test::ScriptedPrompter;

struct CommandFixture : ::testing::Test {
  CommandFixture() {
    dir = std::filesystem::temp_directory_path() /
          ("mok-mapcmd-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir);
    app.loadDir = dir.string();
    MeshDocument& doc = app.doc();
    doc.ResetSkinSlots();
    doc.triangleCount = 2;
    doc.triangles[0].uv[1] = {16, 8};
    doc.triangles[1].uv[2] = {4, 30};
    doc.triangles[1].type = 0x12;
    doc.RebuildUvVertices(false);
    doc.StoreMapping();
  }
  ~CommandFixture() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
  MemorySettings settings;
  ScriptedPrompter prompter;
  RecordingRefresh refresh;
  Application app{settings, prompter, refresh};
};

TEST_F(CommandFixture, ExportAsksForAMkmpFileAndAppendsTheExtension) {
  prompter.chosenFile = (dir / "walls").string();
  ExportMappingCommand(app);
  ASSERT_EQ(prompter.fileDialogs.size(), 1u);
  const FileDialogSpec& spec = prompter.fileDialogs[0];
  EXPECT_TRUE(spec.save);
  EXPECT_EQ(spec.filter, "MOKX Mapping (*.mkmp)|*.mkmp|All Files (*.*)|*.*||");
  EXPECT_EQ(spec.initialName, "*.mkmp");
  EXPECT_EQ(spec.initialDir, dir.string());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(std::filesystem::file_size(dir / "walls.mkmp"), 6u + 2 * 28);
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_EQ(app.loadDir, dir.string());
}

TEST_F(CommandFixture, ExportThatCannotCreateTheFileShowsTheCause) {
  prompter.chosenFile = (dir / "missing" / "walls.mkmp").string();
  ExportMappingCommand(app);
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"Error Saving: 2"}));
}

TEST_F(CommandFixture, ExportCancelledWritesNothing) {
  ExportMappingCommand(app);
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

}  // namespace
}  // namespace mok
