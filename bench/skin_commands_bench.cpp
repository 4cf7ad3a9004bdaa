// Cost of the skin size changes on a full document (4096 faces, every corner
// its own UV vertex, so each table rebuild searches 12288 entries), of
// nearest-texel resampling, and of New with mesh lines.
// Run: build/bin/mok_bench --benchmark_filter=Skin
#include <benchmark/benchmark.h>

#include <random>

#include "core/application.h"
#include "core/settings.h"
#include "app/skin_commands.h"
#include "app/skin_dialogs.h"
#include "tests/support/scripted_prompter.h"

namespace mok {
namespace {

// Every face on channel 0 with corners scattered over a 32 x 32 placeholder.
void FillDocument(MeshDocument& doc) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> texel(0, 32);
  doc.triangleCount = kMaxTriangles;
  for (MeshTriangle& face : doc.triangles)
    for (UvPair& uv : face.uv) uv = {texel(random), texel(random)};
  doc.ResetSkinSlots();
  doc.RebuildUvVertices(false);
}

struct BenchApp {
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  NullRefreshSink refresh;
  Application app{settings, prompter, prompter, refresh};
  BenchApp() { FillDocument(app.doc()); }
};

void BM_SkinSizeChangeOnFullDocument(benchmark::State& state) {
  BenchApp bench;
  MeshDocument& doc = bench.app.doc();
  bool big = false;
  for (auto _ : state) {
    big = !big;
    RebuildPlaceholders(bench.app, {big ? 64 : 32, big ? 64 : 32, 2});
  }
  benchmark::DoNotOptimize(doc.uvVertices[0]);
}
BENCHMARK(BM_SkinSizeChangeOnFullDocument)->Unit(benchmark::kMillisecond);

void BM_SkinResampleNearest(benchmark::State& state) {
  SkinSlot image;
  AllocateSkin(image, 512, 512);
  int side = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ResampleNearest(image, side, side).pixels.data());
  state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_SkinResampleNearest)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_SkinNewWithMeshLines(benchmark::State& state) {
  BenchApp bench;
  NewSkinDialog choice;
  choice.size = NewSkinSizeChoice::Size512;
  choice.checkerboard = true;
  choice.meshLines = true;
  bench.prompter.newSkin.answer = choice;
  for (auto _ : state) SkinNew(bench.app);
}
BENCHMARK(BM_SkinNewWithMeshLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mok
