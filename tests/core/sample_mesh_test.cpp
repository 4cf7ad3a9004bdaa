// The bundled sample mesh: loads cleanly, has what it promises, and is what
// its generator writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/mesh_files.h"
#include "core/model_stats.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

std::filesystem::path SamplePackage() {
  return std::filesystem::path(MOK_SOURCE_DIR) / "resources" / "samples" / "Sampler";
}
std::filesystem::path SampleFolder() { return SamplePackage() / "Models"; }

TEST(SampleMesh, LoadsWithoutWarningsAndHasFramesChannelsAndTypes) {
  auto doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  auto loaded = LoadMesh(*doc, (SampleFolder() / "Sampler_d.3d").string(), prompter);
  ASSERT_TRUE(loaded) << loaded.error().message;
  EXPECT_TRUE(loaded->warnings.empty());
  EXPECT_TRUE(prompter.questions.empty());
  ModelStats stats = ComputeModelStats(*doc);
  EXPECT_GE(stats.triangles, 300);
  EXPECT_GE(stats.frames, 20);
  EXPECT_EQ(stats.channels, (std::set<int>{0, 1}));
  EXPECT_GE(stats.types.size(), 6u);
  EXPECT_EQ(doc->fileInfo.authorName, "MOK sample");
}

TEST(SampleMesh, CommittedFilesAreWhatTheGeneratorWrites) {
  test::TempDir out;
  std::string command = std::string(MOK_SYSTEM_PYTHON) + " " + MOK_SOURCE_DIR + "/tools/make_sampler.py " +
                        out.path().string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* file : {"Models/Sampler_d.3d", "Models/Sampler_a.3d", "Models/Sampler_k.3d", "Classes/Sampler.uc"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(test::ReadBytes(out / file), test::ReadBytes((SamplePackage() / file).string()));
  }
}

TEST(SampleMesh, SavesBackByteForByte) {
  auto doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  ASSERT_TRUE(LoadMesh(*doc, (SampleFolder() / "Sampler_d.3d").string(), prompter));
  test::TempDir out;
  ASSERT_TRUE(SaveMesh(*doc, out / "Sampler.3d"));
  for (const char* suffix : {"_d.3d", "_a.3d", "_k.3d"}) {
    SCOPED_TRACE(suffix);
    EXPECT_EQ(test::ReadBytes(out / (std::string("Sampler") + suffix)),
              test::ReadBytes((SampleFolder() / (std::string("Sampler") + suffix)).string()));
  }
}

}  // namespace
}  // namespace mok
