#include "app/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/load_dir.h"
#include "core/packed_vertex.h"
#include "tests/core/application_fixture.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

using test::AnimationFile;
using test::ApplicationFixture;
using test::GeometryFile;
using test::ReadBytes;
using test::TestFace;
using test::WriteBytes;

class FileCommands : public ApplicationFixture {
 protected:
  void SetUp() override { WriteMesh("ship", 2); }

  void WriteMesh(const std::string& base, int faces) {
    WriteBytes(dir / (base + "_d.3d"), GeometryFile(faces, 3, std::vector<TestFace>(static_cast<std::size_t>(faces))));
    WriteBytes(dir / (base + "_a.3d"),
               AnimationFile(1, 12, {PackVertex({0, 0, 0}), PackVertex({1, 0, 0}), PackVertex({0, 1, 0})}));
  }
  // Opens name through File Open from a fresh start.
  void OpenFirst(const std::string& name) {
    prompter.files = {dir / name};
    FileOpen(app);
    ASSERT_EQ(app.doc().meshLoaded, 1);
    prompter.messages.clear();
    prompter.dialogs.clear();
  }
};

TEST_F(FileCommands, OpenDialogShowsMeshFilterInTheLoadFolder) {
  app.loadDir = dir.path().string();
  FileOpen(app);  // no file chosen: cancelled
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  const FileDialogSpec& dialog = prompter.dialogs[0];
  EXPECT_FALSE(dialog.save);
  EXPECT_EQ(dialog.filter, "Unreal Raw Model (*.3d)|*.3d|All Files (*.*)|*.*||");
  EXPECT_EQ(dialog.initialName, "*.3d");
  EXPECT_EQ(dialog.initialDir, dir.path().string());
  EXPECT_TRUE(dialog.mustExist);
  EXPECT_EQ(refresh.refreshes(), 0);
  EXPECT_FALSE(settings.contains("Project", "LoadDir"));
}

TEST_F(FileCommands, OpenWithoutAMeshLoadsAndRemembersFileAndFolder) {
  prompter.files = {dir / "ship_a.3d"};
  FileOpen(app);
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(app.doc().triangleCount, 2);
  EXPECT_EQ(app.currentFile, dir / "ship_a.3d");
  EXPECT_EQ(Read(settings, setting::CurFile), dir / "ship_a.3d");
  EXPECT_EQ(app.loadDir, dir.path().string());
  EXPECT_EQ(Read(settings, setting::LoadDir), dir.path().string());
  EXPECT_EQ(refresh.refreshes(), 1);
  EXPECT_EQ(refresh.refills, 1);
}

TEST_F(FileCommands, CancelAtTheSaveQuestionOnlyRefreshes) {
  OpenFirst("ship_d.3d");
  WriteMesh("other", 5);
  prompter.files = {dir / "other_d.3d"};
  prompter.answers = {Answer::Cancel};
  int before = refresh.refreshes();
  FileOpen(app);
  ASSERT_EQ(prompter.questions, std::vector<std::string>{"Save changes to the current Mesh?"});
  EXPECT_EQ(app.doc().triangleCount, 2);
  EXPECT_EQ(app.currentFile, dir / "ship_d.3d");
  EXPECT_EQ(refresh.refreshes(), before + 1);
}

TEST_F(FileCommands, YesSavesTheCurrentMeshBeforeOpeningTheNext) {
  OpenFirst("ship_d.3d");
  app.doc().triangles[0].type = 0x40;
  WriteMesh("other", 5);
  prompter.files = {dir / "other_d.3d"};
  prompter.answers = {Answer::Yes};
  FileOpen(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ReadBytes(dir / "ship_d.3d")[48 + 6], 0x40);
  EXPECT_TRUE(std::filesystem::exists(dir / "ship_k.3d"));
  EXPECT_EQ(app.doc().triangleCount, 5);
  EXPECT_EQ(app.currentFile, dir / "other_d.3d");
}

TEST_F(FileCommands, NoOpensWithoutSaving) {
  OpenFirst("ship_d.3d");
  WriteMesh("other", 5);
  prompter.files = {dir / "other_d.3d"};
  prompter.answers = {Answer::No};
  FileOpen(app);
  EXPECT_FALSE(std::filesystem::exists(dir / "ship_k.3d"));
  EXPECT_EQ(app.doc().triangleCount, 5);
}

TEST_F(FileCommands, AfterAnMd2ImportYesReportsTheFailedSaveAndTheOpenGoesOn) {
  OpenFirst("ship_d.3d");
  app.currentFile = dir / "tris.md2";
  WriteMesh("other", 5);
  prompter.files = {dir / "other_d.3d"};
  prompter.answers = {Answer::Yes};
  FileOpen(app);
  EXPECT_EQ(prompter.messages,
            (std::vector<std::string>{
                "Unable to identify file! (XXX_a.3d, XXX_d.3d, XXX_k.3d, or XXX.3d is needed!)",
                "An error occured while trying to save =["}));
  EXPECT_EQ(app.doc().triangleCount, 5);
  EXPECT_EQ(app.currentFile, dir / "other_d.3d");
}

TEST_F(FileCommands, NameWithoutADotGetsTheMeshExtension) {
  std::filesystem::rename(dir / "ship_d.3d", dir / "ship.3d");
  prompter.files = {dir / "ship"};
  FileOpen(app);
  EXPECT_EQ(app.doc().triangleCount, 2);
  EXPECT_EQ(app.currentFile, dir / "ship.3d");
}

TEST_F(FileCommands, UnreadableChoiceIsReportedAndNothingLoads) {
  prompter.files = {dir / "missing_d.3d"};
  FileOpen(app);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"There was an error loading the specified file!"});
  EXPECT_EQ(app.doc().meshLoaded, 0);
  EXPECT_FALSE(settings.contains("Project", "CurFile"));
  EXPECT_EQ(refresh.refreshes(), 1);
}

TEST_F(FileCommands, LoaderErrorIsShownAndTheFileIsNotRemembered) {
  std::filesystem::remove(dir / "ship_a.3d");
  prompter.files = {dir / "ship_d.3d"};
  FileOpen(app);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"There was an error loading the Animation data!"});
  EXPECT_FALSE(settings.contains("Project", "CurFile"));
}

TEST_F(FileCommands, LoadWarningsAreShownOnceInOneMessage) {
  WriteBytes(dir / "ship_a.3d", AnimationFile(2, 12, {PackVertex({0, 0, 0}), PackVertex({1, 0, 0}),
                                                      PackVertex({0, 1, 0}), PackVertex({0, 1, 0})}));
  prompter.files = {dir / "ship_d.3d"};
  FileOpen(app);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{
                                   "The Animation data's last frame is 8 bytes short; the missing vertex positions "
                                   "read as 0."});
  EXPECT_EQ(app.doc().frames.size(), 2u);
}

TEST_F(FileCommands, SaveWritesToTheCurrentFile) {
  OpenFirst("ship_d.3d");
  app.doc().triangles[1].flags = 9;
  FileSave(app);
  EXPECT_TRUE(prompter.dialogs.empty());
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ReadBytes(dir / "ship_d.3d")[48 + 16 + 15], 9);
}

TEST_F(FileCommands, FailedSaveShowsTheCauseAndThenTheSaveMessage) {
  OpenFirst("ship_d.3d");
  std::filesystem::remove(dir / "ship_a.3d");
  std::filesystem::create_directory(dir / "ship_a.3d");
  FileSave(app);
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"There was an error saving the Animation data!",
                                                         "An error occured while trying to save =["}));
}

TEST_F(FileCommands, SaveOfANonMeshNameRunsSaveAs) {
  OpenFirst("ship_d.3d");
  app.currentFile = dir / "tris.md2";
  app.loadDir = "/somewhere";
  prompter.files = {dir / "copy"};
  FileSave(app);
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  const FileDialogSpec& dialog = prompter.dialogs[0];
  EXPECT_TRUE(dialog.save);
  EXPECT_EQ(dialog.filter, "Unreal Raw Mesh (*.3d)|*.3d|All Files (*.*)|*.*||");
  EXPECT_EQ(dialog.initialName, dir / "tris.md2");
  EXPECT_EQ(dialog.initialDir, "/somewhere");
  EXPECT_TRUE(std::filesystem::exists(dir / "copy_d.3d"));
  EXPECT_TRUE(std::filesystem::exists(dir / "copy_a.3d"));
  EXPECT_TRUE(std::filesystem::exists(dir / "copy_k.3d"));
  EXPECT_EQ(app.currentFile, dir / "copy.3d");
  EXPECT_EQ(Read(settings, setting::CurFile), dir / "copy.3d");
  EXPECT_EQ(app.loadDir, "/somewhere");  // Save As does not remember the folder
}

TEST_F(FileCommands, FailedSaveAsStillChangesTheCurrentFile) {
  OpenFirst("ship_d.3d");
  prompter.files = {dir / "mesh.3ds"};
  FileSaveAs(app);
  EXPECT_EQ(prompter.messages,
            (std::vector<std::string>{
                "Unable to identify file! (XXX_a.3d, XXX_d.3d, XXX_k.3d, or XXX.3d is needed!)",
                "An error occured while attempting to save!"}));
  EXPECT_EQ(app.currentFile, dir / "mesh.3ds");
  EXPECT_EQ(Read(settings, setting::CurFile), dir / "mesh.3ds");
}

TEST_F(FileCommands, CancelledSaveAsChangesNothing) {
  OpenFirst("ship_d.3d");
  FileSaveAs(app);
  EXPECT_EQ(app.currentFile, dir / "ship_d.3d");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FileCommands, PropertiesOkCopiesTheStringsBackWithinTheirLimits) {
  app.doc().fileInfo.authorName = "Ann";
  FileInfo edited;
  edited.authorName = "Bo";
  edited.comments = std::string(4097, 'c');
  edited.date = std::string(300, 'd');
  prompter.properties.answer = edited;
  FileProperties(app);
  ASSERT_EQ(prompter.properties.shown.size(), 1u);
  EXPECT_EQ(prompter.properties.shown[0].authorName, "Ann");
  EXPECT_EQ(app.doc().fileInfo.authorName, "Bo");
  EXPECT_EQ(app.doc().fileInfo.comments, std::string(4096, 'c'));
  EXPECT_EQ(app.doc().fileInfo.date, std::string(256, 'd'));
  EXPECT_EQ(refresh.refreshes(), 0);
}

TEST_F(FileCommands, PropertiesCancelChangesNothing) {
  app.doc().fileInfo.credits = "team";
  FileProperties(app);
  EXPECT_EQ(app.doc().fileInfo.credits, "team");
}

class LoadDir : public ApplicationFixture {};

TEST_F(LoadDir, FolderOfTheChosenFileIsStoredWhileTheCurrentDirectoryStays) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::create_directories(dir.path() / "sub/inner");
  UpdateLoadDir(app, dir / "sub/ship_d.3d");
  EXPECT_EQ(app.loadDir, dir / "sub");
  EXPECT_EQ(Read(settings, setting::LoadDir), dir / "sub");
  UpdateLoadDir(app, "inner/ship_d.3d");  // a relative name lies inside the load folder
  EXPECT_EQ(app.loadDir, dir / "sub/inner");
  EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(LoadDir, BackslashSeparatesToo) {
  UpdateLoadDir(app, dir.path().string() + "\\ship_d.3d");
  EXPECT_EQ(app.loadDir, dir.path().string());
}

TEST_F(LoadDir, RootFolderKeepsItsSeparator) {
  UpdateLoadDir(app, "/ship_d.3d");
  EXPECT_EQ(app.loadDir, "/");
}

TEST_F(LoadDir, MissingFolderFallsBackToTheStoredOne) {
  Write(settings, setting::LoadDir, dir.path().string());
  UpdateLoadDir(app, dir / "gone/ship_d.3d");
  EXPECT_EQ(app.loadDir, dir.path().string());
}

TEST_F(LoadDir, MissingFolderWithoutAStoredOneFallsBackToTheCurrentDirectory) {
  UpdateLoadDir(app, dir / "gone/ship_d.3d");
  EXPECT_EQ(app.loadDir, std::filesystem::current_path().string());
  EXPECT_EQ(Read(settings, setting::LoadDir), app.loadDir);
}

}  // namespace
}  // namespace mok
