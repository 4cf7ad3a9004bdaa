#include "app/mapping_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/mapping_file.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {


// An application with a two-face mesh.
class MappingCommands : public test::ApplicationFixture {
 protected:
  MappingCommands() {
    app.loadDir = dir.path().string();
    MeshDocument& doc = app.doc();
    doc.ResetSkinSlots();
    doc.triangleCount = 2;
    doc.triangles[0].uv[1] = {16, 8};
    doc.triangles[1].uv[2] = {4, 30};
    doc.triangles[1].type = 0x12;
    doc.RebuildUvVertices(false);
    doc.StoreMapping();
    doc.meshLoaded = 1;
  }
  // Writes the current mapping to name and changes the document afterwards.
  void ExportThenChange(const std::string& name) {
    ASSERT_TRUE(ExportMappingTo(app.doc(), dir / name));
    app.doc().triangles[0].uv[1] = {1, 1};
    app.doc().triangles[1].type = 0;
    app.doc().RebuildUvVertices(false);
  }
};

TEST_F(MappingCommands, ExportAsksForAMkmpFileAndAppendsTheExtension) {
  prompter.files = {dir / "walls"};
  ExportMappingCommand(app);
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  const FileDialogSpec& spec = prompter.dialogs[0];
  EXPECT_TRUE(spec.save);
  EXPECT_EQ(spec.filter, "MOKX Mapping (*.mkmp)|*.mkmp|All Files (*.*)|*.*||");
  EXPECT_EQ(spec.initialName, "*.mkmp");
  EXPECT_EQ(spec.initialDir, dir.path().string());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(std::filesystem::file_size(dir / "walls.mkmp"), 6u + 2 * 28);
  EXPECT_TRUE(refresh.refreshes() == 0);
  EXPECT_FALSE(settings.contains("Project", "LoadDir"));
}

TEST_F(MappingCommands, ExportThatCannotCreateTheFileShowsTheCause) {
  prompter.files = {dir / "missing/walls.mkmp"};
  ExportMappingCommand(app);
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"Error Saving: 2"}));
}

TEST_F(MappingCommands, ExportCancelledWritesNothing) {
  ExportMappingCommand(app);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(MappingCommands, ImportShowsTheOptionsAndReadsTheFile) {
  ExportThenChange("m.mkmp");
  prompter.files = {dir / "m"};
  prompter.mkmpImport.edit = [](MkmpImportOptions&) { return true; };
  ImportMappingCommand(app);
  const FileDialogSpec& spec = prompter.dialogs.at(0);
  EXPECT_FALSE(spec.save);
  EXPECT_TRUE(spec.mustExist);
  EXPECT_EQ(spec.filter, "MOKX Mapping (*.mkmp)|*.mkmp|All Files (*.*)|*.*||");
  EXPECT_EQ(spec.initialName, "*.mkmp");
  const MkmpImportOptions& shown = prompter.mkmpImport.shown.back();
  EXPECT_TRUE(shown.importUvs && shown.importTypeFlags && shown.importChannels);
  EXPECT_FALSE(shown.selectedOnly);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_FLOAT_EQ(app.doc().triangles[0].uv[1].u, 16);
  EXPECT_EQ(app.doc().triangles[1].type, 0x12);
  EXPECT_EQ(refresh.lastPaneBits(), kPanesAll);
  EXPECT_EQ(Read(settings, setting::LoadDir), dir.path().string());
}

TEST_F(MappingCommands, ImportWithOnlyUvsLeavesTypeBytes) {
  ExportThenChange("m.mkmp");
  prompter.files = {dir / "m.mkmp"};
  prompter.mkmpImport.edit = [](MkmpImportOptions& options) {
    options.importTypeFlags = false;
    return true;
  };
  ImportMappingCommand(app);
  EXPECT_FLOAT_EQ(app.doc().triangles[0].uv[1].u, 16);
  EXPECT_EQ(app.doc().triangles[1].type, 0);
}

TEST_F(MappingCommands, ImportCancelledInTheOptionsDialogChangesNothing) {
  ExportThenChange("m.mkmp");
  prompter.files = {dir / "m.mkmp"};
  ImportMappingCommand(app);
  EXPECT_FLOAT_EQ(app.doc().triangles[0].uv[1].u, 1);
  EXPECT_TRUE(refresh.refreshes() == 0);
  EXPECT_FALSE(settings.contains("Project", "LoadDir"));
}

TEST_F(MappingCommands, ImportOfAMissingOrForeignFileShowsItsMessage) {
  prompter.files = {dir / "absent.mkmp"};
  prompter.mkmpImport.edit = [](MkmpImportOptions&) { return true; };
  ImportMappingCommand(app);
  test::WriteBytes(dir / "other.mkmp", {'K', '3', 'D', 'F', 2, 0});
  prompter.files = {dir / "other.mkmp"};
  ImportMappingCommand(app);
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"Error Loading: 2", "This isn't a valid UMAP file!"}));
  EXPECT_TRUE(refresh.refreshes() == 0);
}

}  // namespace
}  // namespace mok
