// Loading and saving the bundled sample mesh (648 faces, 24 frames), and
// converting a large real mesh.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/file_io.h"
#include "core/mesh_files.h"
#include "tests/support/scripted_prompter.h"

namespace {

const std::string kSample = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d";

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

namespace {

// `mokcli convert` of the 1498-frame real mesh (load, then save the three
// files through temporary files, each synced) against copying its two files
// and syncing the copies, measured in pairs side by side. Counters: medians
// in milliseconds and their ratio.
const std::string kRealMesh = std::string(MOK_SHARED_TESTDATA) + "/real/unreal/UMSMarine_d.3d";

bool CopyAndSync(const std::string& from, const std::string& to) {
  const mok::FileReadResult bytes = mok::ReadWholeFile(from);
  if (!bytes.ok()) return false;
  std::FILE* file = std::fopen(to.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.bytes.data(), 1, bytes.bytes.size(), file) == bytes.bytes.size() &&
                       std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  return std::fclose(file) == 0 && written;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void BM_ConvertRealMeshAgainstCopyAndSync(benchmark::State& state) {
  if (!std::filesystem::exists(kRealMesh)) {
    state.SkipWithError("real test data not found");
    return;
  }
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "mok-bench-convert";
  std::filesystem::create_directories(folder);
  const std::string out = (folder / "Marine.3d").string();
  const std::string source = kRealMesh.substr(0, kRealMesh.size() - 5);
  mok::test::ScriptedPrompter prompter;
  std::vector<double> convert, copy;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    auto doc = std::make_unique<mok::MeshDocument>();
    const bool converted = mok::LoadMesh(*doc, kRealMesh, prompter).ok() && mok::SaveMesh(*doc, out).ok();
    auto middle = std::chrono::steady_clock::now();
    const bool copied = CopyAndSync(source + "_d.3d", (folder / "Copy_d.3d").string()) &&
                        CopyAndSync(source + "_a.3d", (folder / "Copy_a.3d").string());
    auto end = std::chrono::steady_clock::now();
    if (!converted || !copied) {
      state.SkipWithError("convert or copy failed");
      break;
    }
    convert.push_back(std::chrono::duration<double, std::milli>(middle - start).count());
    copy.push_back(std::chrono::duration<double, std::milli>(end - middle).count());
  }
  std::filesystem::remove_all(folder);
  state.counters["convert_ms"] = Median(convert);
  state.counters["copy_sync_ms"] = Median(copy);
  state.counters["ratio"] = Median(convert) / std::max(Median(copy), 1e-9);
}
BENCHMARK(BM_ConvertRealMeshAgainstCopyAndSync)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
