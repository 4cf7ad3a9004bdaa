#include "app/md2_command.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_commands.h"
#include "core/md2_import.h"
#include "core/mesh_files.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

// A one-triangle MD2 with one frame named "base", on a 64 x 64 skin.
std::vector<std::uint8_t> TinyMd2() {
  ByteWriter w;
  w.text("IDP2");
  // version, skin 64 x 64, frame size, skins, vertices, st, tris, glcmds,
  // frames, then the offsets of skins, st, tris, frames, glcmds and the end.
  for (int v : {8, 64, 64, 52, 0, 3, 3, 1, 0, 1, 68, 68, 80, 92, 144, 144}) w.i32(v);
  for (int v : {0, 0, 32, 0, 0, 32}) w.i16(static_cast<std::int16_t>(v));
  for (int v : {0, 1, 2, 0, 1, 2}) w.i16(static_cast<std::int16_t>(v));
  for (float v : {1.f, 1.f, 1.f, 0.f, 0.f, 0.f}) w.f32(v);
  w.fixedString("base", 16);
  for (std::uint8_t v : {0, 0, 0, 0, 8, 0, 0, 0, 0, 8, 0, 0}) w.u8(v);
  return w.bytes();
}

using Md2Command = test::ApplicationFixture;

TEST_F(Md2Command, OpensAnMd2AndMakesItTheCurrentFile) {
  test::WriteBytes(dir / "tiny.md2", TinyMd2());
  app.loadDir = dir.path().string();
  prompter.files = {dir / "tiny"};  // ".md2" is appended
  ImportQuake2Md2(app);
  const FileDialogSpec& spec = prompter.dialogs.at(0);
  EXPECT_FALSE(spec.save);
  EXPECT_TRUE(spec.mustExist);
  EXPECT_EQ(spec.filter, "Quake2 MD2 (*.md2)|*.md2|All Files (*.*)|*.*||");
  EXPECT_EQ(spec.initialName, "*.md2");
  EXPECT_EQ(spec.initialDir, dir.path().string());
  EXPECT_TRUE(prompter.messages.empty());
  ASSERT_EQ(app.doc().meshLoaded, 1);
  EXPECT_EQ(app.doc().triangleCount, 1);
  EXPECT_EQ(app.doc().frames.at(0)->name, "base");
  EXPECT_FLOAT_EQ(app.doc().triangles[0].uv[1].u, 16);  // 32 of 64 texels on a 32-texel slot
  EXPECT_EQ(app.currentFile, dir / "tiny.md2");
  EXPECT_EQ(Read(settings, setting::CurFile), dir / "tiny.md2");
  EXPECT_GE(refresh.refreshes(), 1);

  // Save needs a ".3d" name, so it asks for one.
  prompter.dialogs.clear();
  FileSave(app);
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_TRUE(prompter.dialogs[0].save);
}

TEST_F(Md2Command, ARefusedFileIsReportedAndNotRemembered) {
  std::vector<std::uint8_t> damaged = TinyMd2();
  damaged[80] = 7;  // the triangle's first vertex index
  test::WriteBytes(dir / "bad.md2", damaged);
  prompter.files = {dir / "bad.md2"};
  ImportQuake2Md2(app);
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"This MD2 is damaged: a triangle uses an index out of range!"}));
  EXPECT_EQ(app.doc().meshLoaded, 0);
  EXPECT_TRUE(app.currentFile.empty());
}

TEST(Md2RoundTrip, RealModelSavedAsUnrealMeshLoadsWithTheSameFaces) {
  std::filesystem::path md2 = std::filesystem::path(MOK_SHARED_TESTDATA) / "real/md2/m64_v_shotg/tris.md2";
  if (!std::filesystem::exists(md2)) GTEST_SKIP() << "no shared test data";
  auto imported = std::make_unique<MeshDocument>();
  ASSERT_TRUE(ImportMd2(*imported, md2.string()));
  test::TempDir dir;
  ASSERT_TRUE(SaveMesh(*imported, dir / "shotgun.3d"));
  auto loaded = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  ASSERT_TRUE(LoadMesh(*loaded, dir / "shotgun_d.3d", prompter));

  ASSERT_EQ(loaded->triangleCount, imported->triangleCount);
  ASSERT_EQ(loaded->vertexCount, imported->vertexCount);
  ASSERT_EQ(loaded->frames.size(), imported->frames.size());
  EXPECT_EQ(loaded->uvVertexCount, imported->uvVertexCount);
  for (int i = 0; i < imported->triangleCount; ++i) {
    const MeshTriangle& a = imported->triangles[i];
    const MeshTriangle& b = loaded->triangles[i];
    EXPECT_EQ(b.type, 0);
    EXPECT_EQ(b.textureNum, 0);
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(b.vertex[k], a.vertex[k]) << "face " << i;
      ASSERT_NEAR(b.uv[k].u, a.uv[k].u, 1e-3) << "face " << i;
      ASSERT_NEAR(b.uv[k].v, a.uv[k].v, 1e-3) << "face " << i;
    }
  }
  // Positions come back at the animation file's precision (1/8 on x and y,
  // 1/4 on z, truncated).
  for (std::size_t f = 0; f < imported->frames.size(); ++f) {
    for (int v = 0; v < imported->vertexCount; ++v) {
      const Vec3& a = imported->frames[f]->positions[static_cast<std::size_t>(v)];
      const Vec3& b = loaded->frames[f]->positions[static_cast<std::size_t>(v)];
      ASSERT_NEAR(b.x, a.x, 0.125) << "frame " << f << " vertex " << v;
      ASSERT_NEAR(b.y, a.y, 0.125) << "frame " << f << " vertex " << v;
      ASSERT_NEAR(b.z, a.z, 0.25) << "frame " << f << " vertex " << v;
    }
  }
}

// Real models in a game's folder layout: the header names a skin relative to
// the game folder, a few folders above the model.
class Md2Skins : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kShared)) GTEST_SKIP() << "no shared test data";
  }
  std::string Place(const std::string& from, const std::string& to) {
    std::filesystem::create_directories((dir.path() / to).parent_path());
    std::filesystem::copy_file(kShared / from, dir.path() / to);
    return dir / to;
  }
  const std::filesystem::path kShared = std::filesystem::path(MOK_SHARED_TESTDATA) / "real/md2";
  test::TempDir dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
};

TEST_F(Md2Skins, TheHeadersSkinIsFoundAboveTheModelAndScalesTheCoordinatesForItsSize) {
  std::string model = Place("dq2_v_pistol/tris.md2", "baseq2/players/x/tris.md2");
  std::string skin = Place("dq2_v_pistol/skin.pcx", "baseq2/Models/Weapons/V_PISTOL/Skin.PCX");
  auto loaded = LoadMd2(*doc, model, prompter);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(loaded->warnings.empty());
  EXPECT_EQ(doc->skinSlots[0]->filePath, skin);
  EXPECT_EQ(doc->skinSlots[0]->width, 640);
  auto plain = std::make_unique<MeshDocument>();
  ASSERT_TRUE(ImportMd2(*plain, model));  // coordinates for the 32 x 32 default skin
  for (int t = 0; t < doc->triangleCount; t += 17) {
    EXPECT_NEAR(doc->triangles[t].uv[0].u, plain->triangles[t].uv[0].u * 640 / 32, 1e-2);
    EXPECT_NEAR(doc->triangles[t].uv[0].v, plain->triangles[t].uv[0].v * 200 / 32, 1e-2);
  }
}

TEST_F(Md2Skins, ASkinBesideTheModelIsFoundByItsFileNameAndAnUndecodableOneIsReported) {
  std::string sydney = (kShared / "dq2_sydney/tris.md2").string();  // names layers/amber/amber.pcx
  ASSERT_TRUE(LoadMd2(*doc, sydney, prompter));
  EXPECT_EQ(doc->skinSlots[0]->filePath, (kShared / "dq2_sydney/Amber.PCX").string());

  std::string pool = Place("dq2_bpool/bpool.md2", "Models/lag/blood/bpool.md2");  // red, green, ...
  test::WriteBytes(dir / "Models/lag/blood/red.pcx", {10, 5, 1});
  std::string green = Place("dq2_bpool/green.pcx", "Models/lag/blood/green.pcx");
  auto loaded = LoadMd2(*doc, pool, prompter);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->warnings.size(), 1u);
  EXPECT_EQ(loaded->warnings[0].rfind("The MD2's skin " + (dir / "Models/lag/blood/red.pcx") + " was not loaded: ", 0), 0u);
  EXPECT_EQ(doc->skinSlots[0]->filePath, green);
}

}  // namespace
}  // namespace mok
