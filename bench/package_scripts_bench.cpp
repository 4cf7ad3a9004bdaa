// Reading package scripts at the limits a hostile package can reach: a whole
// script read takes milliseconds, a package at every cap well under a second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "core/package_scripts.h"

namespace {

namespace fs = std::filesystem;
using mok::package_limits::kMaxScriptBytes;

std::string Repeated(const std::string& line, std::size_t size) {
  std::string text;
  while (text.size() < size) text += line;
  return text;
}

const std::string kExecLines = Repeated("#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=1 TEXTURE=\"Skin One\" // why\n",
                                        kMaxScriptBytes);

void BM_ReadExecLinesOfAFullScript(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(mok::ReadExecLines(kExecLines).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kExecLines.size()));
}
BENCHMARK(BM_ReadExecLinesOfAFullScript)->Unit(benchmark::kMillisecond);

// One line of a megabyte with an open quote and comment openers in it.
void BM_ReadExecLinesOfOneHugeLine(benchmark::State& state) {
  std::string text = "#exec TEXTURE IMPORT NAME=\"" + Repeated("/* // x= ", kMaxScriptBytes);
  for (auto _ : state) benchmark::DoNotOptimize(mok::ReadExecLines(text).size());
}
BENCHMARK(BM_ReadExecLinesOfOneHugeLine)->Unit(benchmark::kMillisecond);

// 600 scripts of 16 KiB (the file and byte caps both apply), then the search
// for one mesh's skins through them.
void BM_FindSkinsInAPackageAtTheCaps(benchmark::State& state) {
  fs::path package = fs::temp_directory_path() / "mok-bench-package";
  fs::create_directories(package / "Classes");
  fs::create_directories(package / "Models");
  std::string script = "#exec MESH IMPORT MESH=Gun DATAFILE=Models\\gun_d.3d\n" +
                       Repeated("#exec TEXTURE IMPORT NAME=Skin FILE=Models\\skin.pcx\n", 16 << 10);
  for (int i = 0; i < 600; ++i) std::ofstream(package / "Classes" / ("S" + std::to_string(i) + ".uc")) << script;
  std::string mesh = (package / "Models" / "gun_d.3d").string();
  for (auto _ : state) benchmark::DoNotOptimize(mok::FindScriptSkins(mesh).has_value());
  fs::remove_all(package);
}
BENCHMARK(BM_FindSkinsInAPackageAtTheCaps)->Unit(benchmark::kMillisecond);

}  // namespace
