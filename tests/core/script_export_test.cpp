// Writing the import lines: into an existing class, and refusals that leave
// files alone. (Round trips on the shared mod folders: mokcli_scripts_test.)
#include <gtest/gtest.h>

#include <filesystem>

#include "core/mesh_files.h"
#include "core/script_export.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

class ScriptExport : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(pkg / "Classes");
    fs::copy(fs::path(MOK_SOURCE_DIR) / "resources/samples/Sampler/Models", pkg / "Models");
    fs::remove(pkg / "Models" / "Sampler_k.3d");
    ASSERT_TRUE(LoadMesh(*doc, mesh, prompter));
  }
  std::string Text(const fs::path& file) {
    auto bytes = test::ReadBytes(file.string());
    return {bytes.begin(), bytes.end()};
  }

  test::TempDir dir;
  fs::path pkg = dir.path() / "Pkg";
  std::string mesh = (pkg / "Models" / "Sampler_d.3d").string();
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
};

// The mesh keeps the name its scripts gave it; the new lines come first, so
// their channel wins over the older line's.
TEST_F(ScriptExport, LinesGoRightAfterTheClassDeclarationOfAnExistingFileAndWinOverOlderOnes) {
  const std::string before = "// header\nclass Old extends\n  Actor;\n";
  const std::string after =
      "#exec MESH IMPORT MESH=OldName DATAFILE=Models\\Sampler_d.3d\n"
      "#exec MESHMAP SETTEXTURE MESHMAP=OldName NUM=1 TEXTURE=Gone\nvar int x;\n";
  std::string existing = before + after;
  test::WriteBytes(pkg / "Classes" / "Old.uc", {existing.begin(), existing.end()});
  std::string core = (pkg / "Models" / "Sampler_core.tga").string();
  doc->skinSlots[1]->filePath = core;
  doc->skinSlots[1]->hasFile = 1;
  doc->skinSlots[1]->isEmpty = 0;

  auto written = ExportImportLines(*doc, mesh, (pkg / "Classes" / "Old.uc").string());
  ASSERT_TRUE(written) << written.error().message;
  std::string text = Text(pkg / "Classes" / "Old.uc");
  EXPECT_EQ(text.rfind(before + "\n#exec MESH IMPORT MESH=OldName ANIVFILE=Models\\Sampler_a.3d", 0), 0u);
  EXPECT_TRUE(text.ends_with("NUM=1 TEXTURE=Sampler_core\n\n" + after));
  std::optional<ScriptSkins> found = FindScriptSkins(mesh);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->meshName, "OldName");
  ASSERT_EQ(found->skins.size(), 1u);
  EXPECT_EQ(found->skins[0].file, core);
}

TEST_F(ScriptExport, ANewFileBecomesAWholeClassAndRefusalsWriteNothing) {
  ASSERT_TRUE(ExportImportLines(*doc, mesh, (pkg / "Classes" / "New Name.uc").string()));
  EXPECT_NE(Text(pkg / "Classes" / "New Name.uc").find("\nclass New_Name extends Decoration;\n\n#exec MESH IMPORT"),
            std::string::npos);

  auto outside = ExportImportLines(*doc, mesh, (dir / "Other/Classes/X.uc"));
  ASSERT_FALSE(outside);
  EXPECT_EQ(outside.error().message, kMeshOutsidePackageMessage);
  fs::remove_all(pkg / "Classes");
  auto nowhere = ExportImportLines(*doc, mesh, (dir / "X.uc"));
  ASSERT_FALSE(nowhere);
  EXPECT_EQ(nowhere.error().message, kNoPackageMessage);
  EXPECT_FALSE(fs::exists(dir / "X.uc"));
}

}  // namespace
}  // namespace mok
