// mokcli render and bench, run as the program itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "core/byte_reader.h"
#include "tests/core/mesh_test_support.h"
#include "tests/tools/cli_run.h"

namespace mok {
namespace {

using test::RunCli;

std::string Sample() { return (std::filesystem::path(MOK_SOURCE_DIR) / "resources/samples/Sampler/Models/Sampler_d.3d").string(); }
std::string SampleFile(const std::string& name) {
  return (std::filesystem::path(MOK_SOURCE_DIR) / "resources" / name).string();
}

struct BmpSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

BmpSize SizeOf(const std::vector<std::uint8_t>& file) {
  ByteReader in(file);
  in.skip(18);
  return {in.u32(), in.u32()};
}

TEST(MokcliRender, DefaultsTo640x480InTexturedMode) {
  test::TempDir scratch;
  const test::CliRun run = RunCli("render " + Sample() + " --out " + (scratch / "shot.bmp"), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::uint8_t> file = test::ReadBytes(scratch / "shot.bmp");
  ASSERT_EQ(file.size(), 640u * 480u * 3u + 54u);
  EXPECT_EQ(SizeOf(file).width, 640u);
  EXPECT_EQ(SizeOf(file).height, 480u);
}

TEST(MokcliRender, RoundsTheWidthUpAndAppendsBmp) {
  test::TempDir scratch;
  const test::CliRun run = RunCli("render " + Sample() + " --size 101x50 --mode 2 --out " + (scratch / "shot"), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::uint8_t> file = test::ReadBytes(scratch / "shot.bmp");
  EXPECT_EQ(SizeOf(file).width, 104u);
  EXPECT_EQ(file.size(), 104u * 50u * 3u + 54u);
}

TEST(MokcliRender, ARefusedModeFailsWithItsMessage) {
  test::TempDir scratch;
  const test::CliRun run = RunCli("render " + Sample() + " --mode 9 --out " + (scratch / "shot.bmp"), scratch);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Tex+P-Shaded is not available if there are no phong maps loaded."), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(scratch / "shot.bmp"));
}

TEST(MokcliRender, BadArgumentsFail) {
  test::TempDir scratch;
  const std::string out = " --out " + (scratch / "shot.bmp");
  for (const std::string& bad : {"render " + Sample(), "render " + Sample() + out + " --size 10", "render " + Sample() + out + " --mode 10",
                                 "render " + Sample() + out + " --skin 99=" + SampleFile("samples/Sampler/Models/Sampler_core.tga"),
                                 "render " + Sample() + out + " --phong " + SampleFile("samples/Sampler/Models/Sampler_core.tga"),
                                 "render " + Sample() + out + " --frame 24", "render " + Sample() + out + " --view up"}) {
    SCOPED_TRACE(bad);
    const test::CliRun run = RunCli(bad, scratch);
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(MokcliRender, SkinsChangeThePicture) {
  test::TempDir scratch;
  const std::string base = "render " + Sample() + " --size 64x48 --distance 60";
  ASSERT_EQ(RunCli(base + " --out " + (scratch / "plain.bmp"), scratch).status, 0);
  const test::CliRun run = RunCli(base + " --skin 0=" + SampleFile("samples/Sampler/Models/Sampler_ring_grid.bmp") + " --out " + (scratch / "skinned.bmp"), scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(test::ReadBytes(scratch / "plain.bmp"), test::ReadBytes(scratch / "skinned.bmp"));
}

TEST(MokcliBench, PrintsTheBenchmarkSentence) {
  test::TempDir scratch;
  const test::CliRun run = RunCli("bench " + Sample() + " --mode 3 --size 64x48", scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::regex_match(run.out, std::regex("100 frames in [0-9]+ milliseconds = [0-9]+\\.[0-9]{6} fps\n"))) << run.out;
}

TEST(MokcliBench, RefusesAnOutputFile) {
  test::TempDir scratch;
  EXPECT_EQ(RunCli("bench " + Sample() + " --out x.bmp", scratch).status, 1);
}

}  // namespace
}  // namespace mok
