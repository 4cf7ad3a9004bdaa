// mokcli info and convert, run as the program itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_codecs.h"
#include "tests/core/mesh_test_support.h"
#include "tests/tools/cli_run.h"

namespace mok {
namespace {

using test::CliRun;
using test::RunCli;

std::filesystem::path RealMesh(const std::string& name) {
  return std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / "unreal" / name;
}

TEST(MokcliInfo, PrintsTheStatisticsOfARealMeshAsOneJsonObject) {
  if (!std::filesystem::exists(RealMesh("bottle_d.3d"))) GTEST_SKIP();
  test::TempDir scratch;
  CliRun run = RunCli("info " + RealMesh("bottle_d.3d").string(), scratch);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  // bottle: 72 faces on 40 vertices, one frame, channels 1 and 2, types 0x00 and 0x22.
  EXPECT_EQ(run.out,
            "{\"vertices\": 40, \"uvVertices\": 48, \"triangles\": 72, \"frames\": 1, \"skinArea\": 0, "
            "\"channels\": [1, 2], \"types\": {\"0\": 34, \"34\": 38}}\n");
}

TEST(MokcliInfo, WarnsOnStderrAboutAMeshThatLoadedDespiteBadData) {
  if (!std::filesystem::exists(RealMesh("sg_GLAmmo_a.3d"))) GTEST_SKIP();
  test::TempDir scratch;
  CliRun run = RunCli("info " + RealMesh("sg_GLAmmo_a.3d").string(), scratch);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\"vertices\": 46"), std::string::npos);
  EXPECT_EQ(run.err,
            "warning: The Animation data's last frame is 4 bytes short; the missing vertex positions read as 0.\n");
}

TEST(MokcliInfo, FailsWithTheMessageOnStderr) {
  test::TempDir scratch;
  CliRun run = RunCli("info " + (scratch / "none_d.3d"), scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("There was an error loading the Geometry data!"), std::string::npos);
  EXPECT_EQ(RunCli("info a b", scratch).status, 1);
  EXPECT_EQ(RunCli("nosuchcommand", scratch).status, 1);
}

TEST(MokcliConvert, WritesTheThreeFilesOfARealDeusExMesh) {
  if (!std::filesystem::exists(RealMesh("Magazine_d.3d"))) GTEST_SKIP();
  test::TempDir scratch;
  CliRun run = RunCli("convert " + RealMesh("Magazine_a.3d").string() + " " + (scratch / "mag.3d"), scratch);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadBytes(scratch / "mag_a.3d"), test::ReadBytes(RealMesh("Magazine_a.3d").string()));
  auto geometry = test::ReadBytes(scratch / "mag_d.3d");
  auto original = test::ReadBytes(RealMesh("Magazine_d.3d").string());
  ASSERT_EQ(geometry.size(), original.size());
  EXPECT_TRUE(std::equal(geometry.begin() + 48, geometry.end(), original.begin() + 48));
  EXPECT_TRUE(std::filesystem::exists(scratch / "mag_k.3d"));
}

TEST(MokcliConvert, RefusesInputsItCannotReadAndOutputsThatAreNotMeshNames) {
  if (!std::filesystem::exists(RealMesh("Magazine_d.3d"))) GTEST_SKIP();
  test::TempDir scratch;
  CliRun badOut = RunCli("convert " + RealMesh("Magazine_d.3d").string() + " " + (scratch / "mag.obj"), scratch);
  EXPECT_EQ(badOut.status, 1);
  EXPECT_NE(badOut.err.find("Unable to identify file!"), std::string::npos);
  CliRun badIn = RunCli("convert " + (scratch / "x.obj") + " " + (scratch / "y.3d"), scratch);
  EXPECT_EQ(badIn.status, 1);
  EXPECT_NE(badIn.err, "");
}

// The input's own reason comes first, not the output name's.
TEST(MokcliConvert, NamesWhyTheInputCannotBeRead) {
  test::TempDir scratch;
  test::WriteBytes(scratch / "empty.md2", {});
  test::WriteBytes(scratch / "noise.bin", {1, 2, 3});
  CliRun md2 = RunCli("convert " + (scratch / "empty.md2") + " " + (scratch / "out.3d"), scratch);
  EXPECT_EQ(md2.status, 1);
  EXPECT_NE(md2.err.find("This is not an MD2!"), std::string::npos) << md2.err;
  CliRun noise = RunCli("convert " + (scratch / "noise.bin") + " " + (scratch / "out.3d"), scratch);
  EXPECT_EQ(noise.status, 1);
  EXPECT_NE(noise.err.find("noise.bin is not a PCX, BMP or TGA image"), std::string::npos) << noise.err;
}

TEST(MokcliConvert, ConvertsARealPcxSkinToTgaAndBmpWithTheSameTexels) {
  std::filesystem::path pcx = std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / "images" / "tb_burgerbun.pcx";
  if (!std::filesystem::exists(pcx)) GTEST_SKIP();
  test::TempDir scratch;
  Result<SkinSlot> source = LoadImageFile(pcx.string(), ImageMode::TrueColor);
  ASSERT_TRUE(source.ok());
  for (const char* name : {"bun.tga", "bun.bmp"}) {
    CliRun run = RunCli("convert " + pcx.string() + " " + (scratch / name), scratch);
    ASSERT_EQ(run.status, 0) << run.err;
    Result<SkinSlot> written = LoadImageFile(scratch / name, ImageMode::TrueColor);
    ASSERT_TRUE(written.ok()) << name;
    EXPECT_EQ(written->width, source->width);
    EXPECT_EQ(written->height, source->height);
    EXPECT_EQ(written->pixels, source->pixels) << name;
  }
  CliRun badTarget = RunCli("convert " + pcx.string() + " " + (scratch / "bun.png"), scratch);
  EXPECT_EQ(badTarget.status, 1);
}

TEST(MokcliUsage, HelpAndVersionGoToStandardOutputAndSucceed) {
  test::TempDir scratch;
  CliRun help = RunCli("--help", scratch);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: mokcli COMMAND [ARGUMENT]...\n", 0), 0u);
  EXPECT_NE(help.out.find("\n  mapping import MESH IN.mkmp OUTMESH"), std::string::npos);
  CliRun version = RunCli("--version", scratch);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("mokcli ", 0), 0u);
  CliRun wrong = RunCli("frobnicate", scratch);
  EXPECT_EQ(wrong.status, 1);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(wrong.err, "mokcli: unknown command 'frobnicate'\nTry 'mokcli --help' for more information.\n");
}

}  // namespace
}  // namespace mok
