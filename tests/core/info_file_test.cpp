#include "core/info_file.h"

#include <gtest/gtest.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"

#include <filesystem>
#include <limits>
#include "core/mesh_files.h"
#include "core/packed_vertex.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

using test::AnimationFile;
using test::GeometryFile;
using test::TestFace;
using test::WriteBytes;

class InfoFile : public ::testing::Test {
 protected:
  void SetUp() override {
    TestFace a, b;
    b.vertex[0] = 0, b.vertex[1] = 2, b.vertex[2] = 3;
    b.uv[0] = 16;
    WriteBytes(dir / "ship_d.3d", GeometryFile(2, 4, {a, b}));
    WriteBytes(dir / "ship_a.3d", AnimationFile(1, 16, {PackVertex({0, 0, 0}), PackVertex({1, 0, 0}),
                                                        PackVertex({1, 1, 0}), PackVertex({0, 1, 0})}));
  }
  Result<MeshFileReport> Load(MeshDocument& into) { return LoadMesh(into, dir / "ship_d.3d", prompter); }
  void WriteInfo(const FileInfo& info, std::size_t faces) {
    std::vector<FaceCoordinates> coordinates(faces);
    for (auto& face : coordinates) face[0] = {1024, 2048};
    WriteBytes(dir / "ship_k.3d", WriteInfoFile(info, coordinates));
  }

  test::TempDir dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
};

TEST_F(InfoFile, LayoutHasTheMagicFixedFieldsCountAndFloats) {
  FileInfo info;
  info.authorName = "Ann";
  info.credits = "Bo";
  std::vector<FaceCoordinates> coordinates(1);
  coordinates[0][2] = {0.5f, 4096.0f};
  auto bytes = WriteInfoFile(info, coordinates);
  ASSERT_EQ(bytes.size(), 7606u + 24);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 7), std::string("K3DF", 4) + "Ann");
  EXPECT_EQ(bytes[7], 0);
  EXPECT_EQ(bytes[5504], 'B');
  EXPECT_EQ(bytes[7604], 1);
  EXPECT_EQ(bytes[7605], 0);
  ByteReader reader(bytes);
  reader.seek(7606 + 16);
  EXPECT_EQ(reader.f32(), 0.5f);
  EXPECT_EQ(reader.f32(), 4096.0f);
}

TEST_F(InfoFile, StringsEndAtTheirLimitEvenWithoutAZeroByte) {
  ByteWriter out;
  out.text("K3DF");
  out.raw(std::string(550, 'a').data(), 550);
  out.zeros(550 + 300 + 4100 + 2100);
  out.i16(0);
  auto parsed = ParseInfoFile(out.bytes());
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->data.info.authorName, std::string(512, 'a'));
  EXPECT_EQ(parsed->data.info.contact, "");
}

TEST_F(InfoFile, ACommentOf4096CharactersSurvivesSaveAndLoad) {
  ASSERT_TRUE(Load(*doc));
  doc->fileInfo.comments = std::string(4095, 'c') + "!";
  doc->fileInfo.date = "today";
  ASSERT_TRUE(SaveMesh(*doc, dir / "ship.3d"));
  auto fresh = std::make_unique<MeshDocument>();
  ASSERT_TRUE(Load(*fresh));
  EXPECT_EQ(fresh->fileInfo.comments, doc->fileInfo.comments);
  EXPECT_EQ(fresh->fileInfo.date, "today");
  EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(InfoFile, MappingOnA512TexelSkinReloadsOnPlaceholdersWithFloatPrecision) {
  ASSERT_TRUE(Load(*doc));
  SkinSlot& big = *doc->skinSlots[0];
  AllocateSkin(big, 512, 512);
  big.isEmpty = 0;
  doc->triangles[0].uv[1] = {100.3f, 7.9f};
  doc->RebuildUvVertices(false);
  ASSERT_TRUE(SaveMesh(*doc, dir / "ship.3d"));
  auto fresh = std::make_unique<MeshDocument>();  // 32-texel placeholders
  ASSERT_TRUE(Load(*fresh));
  EXPECT_NEAR(fresh->triangles[0].uv[1].u, 100.3f / 16, 1e-4);
  EXPECT_NEAR(fresh->triangles[0].uv[1].v, 7.9f / 16, 1e-4);
  // The geometry file alone holds byte steps of an eighth of a texel here.
  EXPECT_NE(fresh->triangles[0].uv[1].u, 6.25f);
}

TEST_F(InfoFile, CountMismatchAnsweredYesKeepsTheStringsButNotTheCoordinates) {
  FileInfo info;
  info.authorName = "Ann";
  WriteInfo(info, 1);
  prompter.answers = {Answer::Yes};
  ASSERT_TRUE(Load(*doc));
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(prompter.questions[0],
            "The triangle count of this XXX_k.3d file does not match the XXX_d.3d files...keep file info?");
  EXPECT_EQ(doc->fileInfo.authorName, "Ann");
  EXPECT_EQ(doc->triangles[1].uv[0].u, 2.0f);  // byte 16 on a 32-texel skin
}

TEST_F(InfoFile, CountMismatchAnsweredNoKeepsNothing) {
  FileInfo info;
  info.authorName = "Ann";
  WriteInfo(info, 3);
  prompter.answers = {Answer::No};
  ASSERT_TRUE(Load(*doc));
  EXPECT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(doc->fileInfo.authorName, "");
  EXPECT_EQ(doc->triangles[1].uv[0].u, 2.0f);
}

TEST_F(InfoFile, MatchingCountReplacesStringsAndCoordinates) {
  FileInfo info;
  info.contact = "ann@example";
  WriteInfo(info, 2);
  ASSERT_TRUE(Load(*doc));
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_EQ(doc->fileInfo.contact, "ann@example");
  EXPECT_EQ(doc->triangles[1].uv[0].u, 8.0f);  // 1024 of 4096 on 32 texels
  EXPECT_EQ(doc->triangles[1].uv[0].v, 16.0f);
}

TEST_F(InfoFile, WrongMagicIsReportedAndTheMeshLoadsWithoutIt) {
  WriteBytes(dir / "ship_k.3d", std::vector<std::uint8_t>(7606, 'x'));
  auto loaded = Load(*doc);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->warnings.size(), 1u);
  EXPECT_EQ(loaded->warnings[0], "XXX_k.3d does not appear to be valid!");
  EXPECT_EQ(doc->triangleCount, 2);
  EXPECT_EQ(doc->fileInfo.authorName, "");
}

TEST_F(InfoFile, NonFiniteCoordinatesAreRefused) {
  std::vector<FaceCoordinates> coordinates(2);
  coordinates[1][2].v = std::numeric_limits<float>::quiet_NaN();
  auto parsed = ParseInfoFile(WriteInfoFile(FileInfo{}, coordinates));
  ASSERT_FALSE(parsed);
  EXPECT_EQ(parsed.error().message, kInfoInvalidMessage);
}

TEST_F(InfoFile, NoInfoFileLeavesTheStringsOfTheLastMeshBehind) {
  FileInfo info;
  info.authorName = "Ann";
  WriteInfo(info, 2);
  ASSERT_TRUE(Load(*doc));
  std::filesystem::remove(dir / "ship_k.3d");
  ASSERT_TRUE(Load(*doc));
  EXPECT_EQ(doc->fileInfo.authorName, "");
}

}  // namespace
}  // namespace mok
