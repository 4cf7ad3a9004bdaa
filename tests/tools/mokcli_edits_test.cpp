// mokcli convert with an MD2 model, and mokcli mapping, run as the program itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/md2_import.h"
#include "core/mesh_files.h"
#include "tests/core/mesh_test_support.h"
#include "tests/tools/cli_run.h"

namespace mok {
namespace {

using test::CliRun;
using test::RunCli;

std::filesystem::path Real(const std::string& name) { return std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / name; }

std::unique_ptr<MeshDocument> Loaded(const std::string& name) {
  auto doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  if (!LoadMesh(*doc, name, prompter)) return nullptr;
  return doc;
}

TEST(MokcliConvertMd2, WritesTheUnrealMeshOfTheModel) {
  std::filesystem::path md2 = Real("md2/m64_crate/tris.md2");
  if (!std::filesystem::exists(md2)) GTEST_SKIP();
  test::TempDir scratch;
  CliRun run = RunCli("convert " + md2.string() + " " + (scratch / "crate.3d"), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  auto doc = Loaded(scratch / "crate_d.3d");
  ASSERT_TRUE(doc);
  auto imported = std::make_unique<MeshDocument>();
  ASSERT_TRUE(ImportMd2(*imported, md2.string()));
  ASSERT_EQ(doc->triangleCount, 12);
  EXPECT_EQ(doc->frames.size(), 1u);
  for (int i = 0; i < 12; ++i)
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(doc->triangles[i].vertex[k], imported->triangles[i].vertex[k]);
      EXPECT_NEAR(doc->triangles[i].uv[k].u, imported->triangles[i].uv[k].u, 1e-3);
    }
}

TEST(MokcliConvertMd2, ADamagedModelFailsWithItsMessage) {
  test::TempDir scratch;
  test::WriteBytes(scratch / "bad.md2", {'I', 'D', 'P', '2', 8, 0, 0, 0});
  CliRun run = RunCli("convert " + (scratch / "bad.md2") + " " + (scratch / "bad.3d"), scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, scratch / "bad.md2" + ": This MD2 is damaged: its data lies outside the file!\n");
  EXPECT_FALSE(std::filesystem::exists(scratch / "bad_d.3d"));
}

class MokcliMapping : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(Real("unreal/bottle_d.3d"))) GTEST_SKIP();
    mesh = Real("unreal/bottle_d.3d").string();
    CliRun run = RunCli("mapping export " + mesh + " " + (scratch / "bottle.mkmp"), scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    mapping = test::ReadBytes(scratch / "bottle.mkmp");
  }

  test::TempDir scratch;
  std::string mesh;
  std::vector<std::uint8_t> mapping;
};

TEST_F(MokcliMapping, ExportWritesOneRecordPerFace) {
  ASSERT_EQ(mapping.size(), 6u + 28 * 72);  // bottle: 72 faces
  EXPECT_EQ(std::string(mapping.begin(), mapping.begin() + 4), "UMAP");
  EXPECT_EQ(mapping[4], 72);
  EXPECT_EQ(mapping[5], 0);
}

TEST_F(MokcliMapping, ImportAppliesTheFileToEveryFaceAndHonoursTheOptions) {
  mapping[6 + 25] = 0x13;  // face 0: type
  mapping[6 + 27] = 5;     // face 0: channel
  test::WriteBytes(scratch / "changed.mkmp", mapping);
  CliRun all = RunCli("mapping import " + mesh + " " + (scratch / "changed.mkmp") + " " + (scratch / "all.3d"), scratch);
  ASSERT_EQ(all.status, 0) << all.err;
  CliRun noTypes = RunCli("mapping import " + mesh + " " + (scratch / "changed.mkmp") + " " + (scratch / "keep.3d") +
                              " --no-types --no-channels",
                          scratch);
  ASSERT_EQ(noTypes.status, 0) << noTypes.err;
  auto original = Loaded(mesh);
  auto changed = Loaded(scratch / "all_d.3d");
  auto kept = Loaded(scratch / "keep_d.3d");
  ASSERT_TRUE(original && changed && kept);
  EXPECT_EQ(changed->triangles[0].type, 0x13);
  EXPECT_EQ(changed->triangles[0].textureNum, 5);
  EXPECT_EQ(kept->triangles[0].type, original->triangles[0].type);
  EXPECT_EQ(kept->triangles[0].textureNum, original->triangles[0].textureNum);
  for (int i = 1; i < original->triangleCount; ++i) {
    EXPECT_EQ(changed->triangles[i].type, original->triangles[i].type);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(changed->triangles[i].uv[k].u, original->triangles[i].uv[k].u, 1e-3);
  }
}

TEST_F(MokcliMapping, ImportOfAMappingForAnotherMeshWritesNothing) {
  mapping[4] = 71;
  test::WriteBytes(scratch / "other.mkmp", mapping);
  CliRun run = RunCli("mapping import " + mesh + " " + (scratch / "other.mkmp") + " " + (scratch / "out.3d"), scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            scratch / "other.mkmp" + ": This file doesn't have the same triangle count at the current geometry!\n");
  EXPECT_FALSE(std::filesystem::exists(scratch / "out_d.3d"));
}

TEST_F(MokcliMapping, UnknownOptionsAreRefused) {
  CliRun run = RunCli("mapping import " + mesh + " " + (scratch / "bottle.mkmp") + " " + (scratch / "out.3d") + " --fast",
                      scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("unknown option '--fast'"), std::string::npos);
}

}  // namespace
}  // namespace mok
