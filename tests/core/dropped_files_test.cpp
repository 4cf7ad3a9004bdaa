#include "app/dropped_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/file_commands.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(MOK_SOURCE_DIR) / "resources" / "samples";
const fs::path kRealMd2 = fs::path(MOK_SHARED_TESTDATA) / "real" / "md2" / "m64_crate" / "tris.md2";

class DroppedFiles : public test::ApplicationFixture {
 protected:
  std::string Sample(const char* name) {
    fs::copy_file(kSamples / name, dir.path() / name, fs::copy_options::overwrite_existing);
    return dir / name;
  }
  std::string SampleMesh() {
    for (const char* name : {"Sampler_d.3d", "Sampler_a.3d", "Sampler_k.3d"}) Sample(name);
    return dir / "Sampler_a.3d";
  }
};

TEST_F(DroppedFiles, MeshesByNameModelsByMagicImagesByEnding) {
  EXPECT_EQ(ClassifyDroppedFile(dir / "not-there_D.3D"), DroppedFileKind::Mesh);
  EXPECT_EQ(ClassifyDroppedFile(dir / "plain.3d"), DroppedFileKind::Mesh);
  EXPECT_EQ(ClassifyDroppedFile(dir / "SKIN.PCX"), DroppedFileKind::Image);
  EXPECT_EQ(ClassifyDroppedFile(dir / "skin.tga"), DroppedFileKind::Image);
  EXPECT_EQ(ClassifyDroppedFile(dir / "notes.txt"), DroppedFileKind::Other);
  EXPECT_EQ(ClassifyDroppedFile(dir.path().string()), DroppedFileKind::Other);
  EXPECT_FALSE(AcceptsDroppedFiles({dir / "notes.txt", dir / "photo.png"}));
  EXPECT_TRUE(AcceptsDroppedFiles({dir / "notes.txt", dir / "skin.bmp"}));
  if (!fs::exists(kRealMd2)) GTEST_SKIP() << "no shared test data";
  fs::copy_file(kRealMd2, dir.path() / "crate_d.3d");  // the magic outweighs the name
  EXPECT_EQ(ClassifyDroppedFile(dir / "crate_d.3d"), DroppedFileKind::Md2);
  EXPECT_EQ(ClassifyDroppedFile(kRealMd2.string()), DroppedFileKind::Md2);
}

TEST_F(DroppedFiles, TheFirstMeshOpensAsFileOpenWouldWithTheSaveQuestion) {
  std::string mesh = SampleMesh();
  OpenDroppedFiles(app, {dir / "notes.txt", Sample("Sampler_core.tga"), mesh});
  EXPECT_TRUE(prompter.questions.empty());
  ASSERT_EQ(app.doc().meshLoaded, 1);
  EXPECT_EQ(app.currentFile, mesh);
  EXPECT_EQ(Read(settings, setting::CurFile), mesh);
  EXPECT_EQ(app.doc().activeSkin->isEmpty, 1);  // the image was left alone
  if (!fs::exists(kRealMd2)) GTEST_SKIP() << "no shared test data";
  prompter.answers = {Answer::No};
  OpenDroppedFiles(app, {kRealMd2.string()});
  EXPECT_EQ(prompter.questions, std::vector<std::string>{kSaveChangesQuestion});
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(app.currentFile, kRealMd2.string());
}

TEST_F(DroppedFiles, AnImageOpensIntoTheActiveChannelAndABadOneChangesNothing) {
  OpenMeshFile(app, SampleMesh());
  app.doc().activeChannel = 1;
  app.doc().activeSkin = app.doc().skinSlots[1].get();
  OpenDroppedFiles(app, {Sample("Sampler_core.tga"), Sample("Sampler_ring.pcx")});
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(app.doc().skinSlots[1]->filePath, dir / "Sampler_core.tga");
  EXPECT_EQ(app.doc().skinSlots[0]->isEmpty, 1);
  test::WriteBytes(dir / "broken.bmp", {'B', 'M', 1});
  OpenDroppedFiles(app, {dir / "broken.bmp"});
  EXPECT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(app.doc().skinSlots[1]->filePath, dir / "Sampler_core.tga");
}

}  // namespace
}  // namespace mok
