// Loading and saving the bundled sample mesh (648 faces, 24 frames).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/mesh_files.h"
#include "tests/support/scripted_prompter.h"

namespace {

const std::string kSample = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler_d.3d";

void BM_LoadSampleMesh(benchmark::State& state) {
  auto doc = std::make_unique<mok::MeshDocument>();
  mok::test::ScriptedPrompter prompter;
  for (auto _ : state) benchmark::DoNotOptimize(mok::LoadMesh(*doc, kSample, prompter).ok());
}
BENCHMARK(BM_LoadSampleMesh)->Unit(benchmark::kMicrosecond);

// Includes writing and syncing the three files to the temporary folder.
void BM_SaveSampleMesh(benchmark::State& state) {
  auto doc = std::make_unique<mok::MeshDocument>();
  mok::test::ScriptedPrompter prompter;
  if (!mok::LoadMesh(*doc, kSample, prompter)) {
    state.SkipWithError("sample mesh did not load");
    return;
  }
  std::string target = (std::filesystem::temp_directory_path() / "mok-bench-Sampler.3d").string();
  for (auto _ : state) benchmark::DoNotOptimize(mok::SaveMesh(*doc, target).ok());
  for (const char* suffix : {"_d.3d", "_a.3d", "_k.3d"})
    std::filesystem::remove(std::filesystem::temp_directory_path() / (std::string("mok-bench-Sampler") + suffix));
}
BENCHMARK(BM_SaveSampleMesh)->Unit(benchmark::kMicrosecond);

}  // namespace
