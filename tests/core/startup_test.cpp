#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/application.h"
#include "image/image_codecs.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

const std::string kSample = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d";

class Startup : public ::testing::Test {
 protected:
  Startup() : app(settings, prompter, prompter, refresh) {}

  std::string WriteSkin(const std::string& name) {
    SkinSlot image;
    AllocateSkin(image, 8, 4);
    EXPECT_TRUE(WriteBmp(image, dir / name).ok());
    return dir / name;
  }

  test::TempDir dir;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::RefreshRecorder refresh;
  Application app;
};

// The sample's package script puts its skins into channels 0 and 1; the
// command-line skin still comes behind the slots.
TEST_F(Startup, CommandLineMeshTakesItsScriptSkinsAndAppendsTheSkinAsActiveChannel) {
  std::string skin = WriteSkin("skin one.bmp");
  ASSERT_TRUE(LoadFirstMesh(app, {{kSample, skin}, false}));
  EXPECT_TRUE(prompter.messages.empty());
  for (int channel : {0, 1}) {
    const SkinSlot& slot = *app.doc().skinSlots[static_cast<std::size_t>(channel)];
    EXPECT_FALSE(slot.isEmpty);
    EXPECT_EQ(slot.width, channel == 0 ? 256 : 128);
    EXPECT_TRUE(slot.filePath.ends_with(channel == 0 ? "Models/Sampler_ring.pcx" : "Models/Sampler_core.tga"));
  }
  EXPECT_TRUE(prompter.dialogs.empty());
  ASSERT_EQ(app.doc().slotCount(), 17);
  EXPECT_EQ(app.doc().activeChannel, 16);
  EXPECT_EQ(app.doc().activeSkin, app.doc().skinSlots[16].get());
  EXPECT_EQ(app.doc().activeSkin->width, 8);
  EXPECT_EQ(app.currentFile, kSample);
  EXPECT_EQ(Read(settings, setting::CurFile), kSample);
  EXPECT_GE(refresh.refreshes(), 1);
}

// "Script Skins" 0 holds for every start-up load, the command line and the
// last file alike.
TEST_F(Startup, ScriptSkinsOffLeavesPlaceholdersOnEveryStartupLoad) {
  Write(settings, setting::LoadScriptSkins, 0);
  ASSERT_TRUE(LoadFirstMesh(app, {{kSample}, false}));
  EXPECT_TRUE(app.doc().skinSlots[0]->isEmpty);
  EXPECT_TRUE(app.doc().skinSlots[1]->isEmpty);
  ASSERT_TRUE(LoadFirstMesh(app, {{}, false}));  // the last file, now "CurFile"
  EXPECT_EQ(app.currentFile, kSample);
  EXPECT_TRUE(app.doc().skinSlots[1]->isEmpty);
}

TEST_F(Startup, UnreadableSkinStopsTheRestOfTheArguments) {
  std::string good = WriteSkin("good.bmp");
  ASSERT_TRUE(LoadFirstMesh(app, {{kSample, dir / "missing.pcx", good}, false}));
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back(), kCommandLineSkinError);
  EXPECT_EQ(app.doc().slotCount(), 16);
}

TEST_F(Startup, FailedCommandLineMeshFallsThroughToTheLastFile) {
  Write(settings, setting::CurFile, kSample);
  ASSERT_TRUE(LoadFirstMesh(app, {{dir / "nothing_d.3d"}, false}));
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0], "There was an error loading the Geometry data!");
  EXPECT_EQ(prompter.messages[1], kCommandLineMeshError);
  EXPECT_EQ(app.doc().meshLoaded, 1);
  EXPECT_TRUE(prompter.dialogs.empty());
}

TEST_F(Startup, WithoutFilesOrLastFileOrSampleTheDialogCanEndTheProgram) {
  EXPECT_FALSE(LoadFirstMesh(app, {{}, false}));
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_EQ(prompter.dialogs[0].filter, "Unreal Raw Model (*.3d)|*.3d|All Files (*.*)|*.*||");
  EXPECT_EQ(prompter.dialogs[0].initialName, "*.3d");
  EXPECT_TRUE(prompter.dialogs[0].mustExist);
  EXPECT_EQ(app.doc().meshLoaded, 0);
}

TEST_F(Startup, CtrlSkipsCommandLineAndLastFileAndAlwaysEndsInTheDialog) {
  Write(settings, setting::CurFile, kSample);
  std::string base = std::filesystem::path(kSample).parent_path() / "Sampler";
  prompter.files.push_back(base);  // no dot: ".3d" is appended
  ASSERT_TRUE(LoadFirstMesh(app, {{kSample}, true}));
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_EQ(app.currentFile, base + ".3d");
  EXPECT_EQ(Read(settings, setting::CurFile), base + ".3d");
  EXPECT_EQ(app.loadDir, std::filesystem::path(kSample).parent_path().string());
}

TEST_F(Startup, UnknownLoadDirBecomesTheCurrentDirectoryAndIsWrittenBack) {
  Write(settings, setting::LoadDir, "/no/such/folder");
  LoadFirstMesh(app, {{}, false});
  EXPECT_EQ(app.loadDir, std::filesystem::current_path().string());
  EXPECT_EQ(Read(settings, setting::LoadDir), app.loadDir);
  EXPECT_EQ(prompter.dialogs.at(0).initialDir, app.loadDir);
}

TEST_F(Startup, RelativeNamesAreTakenFromTheStartFolderNotFromTheLoadFolder) {
  std::filesystem::copy(std::filesystem::path(kSample).parent_path(), dir.path() / "start");
  std::filesystem::create_directory(dir.path() / "elsewhere");
  Write(settings, setting::LoadDir, dir / "elsewhere");
  std::filesystem::current_path(dir.path() / "start");
  ASSERT_TRUE(LoadFirstMesh(app, {{"Sampler_a.3d", "Sampler_ring.pcx"}, false}));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(app.loadDir, dir / "elsewhere");
  EXPECT_EQ(app.currentFile, dir / "start/Sampler_a.3d");
  EXPECT_EQ(Read(settings, setting::CurFile), dir / "start/Sampler_a.3d");
  EXPECT_EQ(app.doc().slotCount(), 17);
}

TEST_F(Startup, FirstStartShowsTheBundledSampleWithoutTakingItForTheLastFile) {
  app.resourceDir = std::string(MOK_SOURCE_DIR) + "/resources";
  ASSERT_TRUE(LoadFirstMesh(app, {{}, false}));
  EXPECT_TRUE(prompter.dialogs.empty());
  EXPECT_EQ(app.currentFile, app.resourceDir + "/samples/Sampler/Models/Sampler_d.3d");
  EXPECT_EQ(app.doc().triangleCount, 648);
  EXPECT_FALSE(settings.contains("Project", "CurFile"));
  EXPECT_FALSE(settings.contains("Recent Files", "File1"));
}

TEST_F(Startup, SampleNeitherReplacesALastFileThatFailsNorTheDialogAfterCtrl) {
  app.resourceDir = std::string(MOK_SOURCE_DIR) + "/resources";
  EXPECT_FALSE(LoadFirstMesh(app, {{}, true}));
  EXPECT_EQ(prompter.dialogs.size(), 1u);
  Write(settings, setting::CurFile, dir / "gone_d.3d");
  EXPECT_FALSE(LoadFirstMesh(app, {{}, false}));
  EXPECT_EQ(prompter.dialogs.size(), 2u);
  EXPECT_EQ(app.doc().meshLoaded, 0);
}

TEST_F(Startup, AnMd2ModelLoadsFromTheCommandLineAndAgainAsTheLastFile) {
  std::string model = std::string(MOK_SHARED_TESTDATA) + "/real/md2/m64_crate/tris.md2";
  if (!std::filesystem::exists(model)) GTEST_SKIP() << "no shared test data";
  ASSERT_TRUE(LoadFirstMesh(app, {{model}, false}));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(Read(settings, setting::CurFile), model);
  MemorySettings restarted;
  Write(restarted, setting::CurFile, model);
  test::ScriptedPrompter quiet;
  Application again(restarted, quiet, quiet, refresh);
  ASSERT_TRUE(LoadFirstMesh(again, {{}, false}));
  EXPECT_TRUE(quiet.messages.empty());
  EXPECT_TRUE(quiet.dialogs.empty());
  EXPECT_EQ(again.doc().triangleCount, app.doc().triangleCount);
}

TEST(SettingsTable, SplitterIsScaledAndClamped) {
  MemorySettings settings;
  EXPECT_DOUBLE_EQ(ReadSplitterFraction(settings), 0.65);
  Write(settings, setting::Splitter, 20000);
  EXPECT_DOUBLE_EQ(ReadSplitterFraction(settings), 1.0);
  Write(settings, setting::Splitter, -5);
  EXPECT_DOUBLE_EQ(ReadSplitterFraction(settings), 0.0);
  WriteSplitterFraction(settings, 0.33339);
  EXPECT_EQ(Read(settings, setting::Splitter), 3333);
}

TEST(SettingsTable, EmptyStoreGivesA32TexelDefaultSkinWhileTheDialogShows64) {
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  NullRefreshSink refresh;
  Application app(settings, prompter, prompter, refresh);
  app.ReadStartupSettings();
  const SkinSlot& skin = app.doc().defaultSkin;
  EXPECT_EQ(skin.width, 32);
  EXPECT_EQ(skin.height, 32);
  // 4-texel squares: columns 0..3 match row 0, column 4 does not.
  EXPECT_EQ(skin.pixels[3], skin.pixels[0]);
  EXPECT_NE(skin.pixels[4], skin.pixels[0]);
  EXPECT_EQ(DialogDefaultSkinSize(settings, setting::DefSknResX), 64);
  EXPECT_EQ(DialogDefaultSkinSize(settings, setting::DefSknResY), 64);
  Write(settings, setting::DefSknResX, 9000);
  EXPECT_EQ(DialogDefaultSkinSize(settings, setting::DefSknResX), 512);
  EXPECT_EQ(app.customColors[1], 0x80FF80u);
}

TEST(SettingsTable, ValueOfTheWrongKindReadsAsDefault) {
  MemorySettings settings;
  settings.writeString("Preferences", "Quick Exit", "yes");
  settings.writeInt("Project", "LoadDir", 7);
  EXPECT_EQ(Read(settings, setting::QuickExit), 0);
  EXPECT_EQ(Read(settings, setting::LoadDir), "Unknown");
}

}  // namespace
}  // namespace mok
