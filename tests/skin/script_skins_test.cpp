// Skins named by the package scripts, loaded on File > Open and on demand.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_commands.h"
#include "app/script_skins.h"
#include "image/image_codecs.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

const fs::path kModFolders = fs::path(MOK_SHARED_TESTDATA) / "real" / "modfolders";
const fs::path kSampleModels = fs::path(MOK_SOURCE_DIR) / "resources" / "samples" / "Sampler" / "Models";

class ScriptSkinsOnOpen : public test::ApplicationFixture {
 protected:
  void Open(const fs::path& mesh) {
    prompter.files.push_back(mesh.string());
    FileOpen(app);
    ASSERT_TRUE(app.doc().meshLoaded);
  }
  const SkinSlot& Slot(int channel) { return *app.doc().skinSlots[static_cast<std::size_t>(channel)]; }
};

TEST_F(ScriptSkinsOnOpen, ARealModMeshOpensWithItsSkinsAndOneMessageForTheRest) {
  fs::path bottle = kModFolders / "firetrucks" / "Models" / "bottle_d.3d";
  if (!fs::exists(bottle)) GTEST_SKIP() << "no " << bottle;
  const std::string message = std::string(kScriptSkinsHeading) + "\n  channel 2: Liquid8 (no TEXTURE IMPORT in this package)";
  Open(bottle);
  EXPECT_EQ(Slot(1).filePath, (kModFolders / "firetrucks" / "Models" / "bottle1.pcx").string());
  EXPECT_EQ(Slot(1).width, 128);
  EXPECT_TRUE(Slot(2).isEmpty);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{message});

  Write(settings, setting::LoadScriptSkins, 0);
  prompter.messages.clear();
  prompter.answers.push_back(Answer::No);  // do not save the mesh on screen
  Open(bottle);
  EXPECT_TRUE(Slot(1).isEmpty);
  EXPECT_TRUE(prompter.messages.empty());

  LoadSkinsFromScripts(app);
  EXPECT_EQ(Slot(1).width, 128);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{message});
}

TEST_F(ScriptSkinsOnOpen, AnUndecodableSkinIsListedWithTheCodecsReasonAndTheOthersStillLoad) {
  fs::path package = dir.path() / "Pkg";
  fs::create_directories(package / "Classes");
  fs::copy(kSampleModels, package / "Models");
  test::WriteBytes(package / "Models" / "broken.pcx", {10, 5, 1, 8, 0, 0});
  std::string script =
      "#exec MESH IMPORT MESH=S ANIVFILE=MODELS\\Sampler_a.3d DATAFILE=MODELS\\Sampler_d.3d\n"
      "#exec TEXTURE IMPORT NAME=Broken FILE=models\\BROKEN.pcx\n"
      "#exec TEXTURE IMPORT NAME=Core FILE=models\\sampler_core.TGA\n"
      "#exec MESHMAP SETTEXTURE MESHMAP=S NUM=0 TEXTURE=Broken\n"
      "#exec MESHMAP SETTEXTURE MESHMAP=S NUM=1 TEXTURE=Core\n"
      "#exec MESHMAP SETTEXTURE MESHMAP=S NUM=40 TEXTURE=Core\n";
  test::WriteBytes(package / "Classes" / "S.uc", {script.begin(), script.end()});
  std::string reason = LoadImageFile(package / "Models" / "broken.pcx", ImageMode::TrueColor).error().message;

  Open(package / "Models" / "Sampler_a.3d");
  EXPECT_TRUE(Slot(0).isEmpty);
  EXPECT_EQ(Slot(1).width, 128);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{std::string(kScriptSkinsHeading) + "\n  channel 0: Broken (" +
                                                        reason + ")\n  channel 40: Core (the mesh has no channel 40)"});
}

TEST_F(ScriptSkinsOnOpen, OnDemandWithoutAnImportingScriptSaysSo) {
  fs::create_directories(dir.path() / "Models");
  fs::copy(kSampleModels, dir.path() / "Models");
  Open(dir.path() / "Models" / "Sampler_d.3d");
  EXPECT_TRUE(prompter.messages.empty());
  LoadSkinsFromScripts(app);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{kNoImportingScriptMessage});
}

}  // namespace
}  // namespace mok
