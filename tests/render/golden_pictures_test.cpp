// Golden pictures: the sample mesh with its skins and maps, drawn by
// `mokcli render` in every mode, compared byte for byte with the bitmaps
// kept in tests/render/golden/.
//
// To write the expected pictures again after an intended change of the
// drawing, run the tests with MOK_UPDATE_GOLDEN=1:
//   MOK_UPDATE_GOLDEN=1 build/bin/mok_tests --gtest_filter='GoldenPictures*'
// and look at the new pictures before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/core/mesh_test_support.h"
#include "tests/tools/cli_run.h"

namespace mok {
namespace {

struct GoldenCase {
  const char* name;
  const char* options;
};

const GoldenCase kCases[] = {
    {"wireframe", "--mode 0"},
    {"wireframe_solid", "--mode 1"},
    {"flat_shaded", "--mode 2"},
    {"gouraud_shaded", "--mode 3"},
    {"phong_shaded", "--mode 4"},
    {"textured", "--mode 5"},
    {"environment_mapped", "--mode 6"},
    {"textured_f_shade", "--mode 7"},
    {"textured_g_shade", "--mode 8"},
    {"textured_p_shade", "--mode 9"},
    {"textured_filtered", "--mode 5 --filtered"},
    {"textured_p_shade_filtered", "--mode 9 --filtered --view front --frame 10"},
    {"raytraced", "--raytrace"},
};

std::string Source(const std::string& relative) { return (std::filesystem::path(MOK_SOURCE_DIR) / relative).string(); }

std::string SceneOptions() {
  return Source("resources/samples/Sampler/Models/Sampler_d.3d") + " --size 96x72 --frame 3 --distance 60" +
         " --skin 0=" + Source("resources/samples/Sampler/Models/Sampler_ring.pcx") +
         " --skin 1=" + Source("resources/samples/Sampler/Models/Sampler_core.tga") +
         " --phong " + Source("resources/maps/phongs/Sampler_phong.bmp") +
         " --env " + Source("resources/maps/enviros/Sampler_sky.bmp");
}

class GoldenPictures : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenPictures, MatchTheKeptBitmap) {
  const GoldenCase& c = GetParam();
  test::TempDir scratch;
  const std::string out = scratch / "picture.bmp";
  // Later options override the scene's (e.g. another view or frame).
  const test::CliRun run = test::RunCli("render " + SceneOptions() + " " + c.options + " --out " + out, scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string golden = Source(std::string("tests/render/golden/") + c.name + ".bmp");
  if (std::getenv("MOK_UPDATE_GOLDEN")) {
    std::filesystem::copy_file(out, golden, std::filesystem::copy_options::overwrite_existing);
    GTEST_SKIP() << "wrote " << golden;
  }
  const std::vector<std::uint8_t> expected = test::ReadBytes(golden);
  ASSERT_FALSE(expected.empty()) << "missing " << golden;
  EXPECT_EQ(test::ReadBytes(out), expected) << c.name << " differs from " << golden;
}

INSTANTIATE_TEST_SUITE_P(EveryMode, GoldenPictures, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mok
