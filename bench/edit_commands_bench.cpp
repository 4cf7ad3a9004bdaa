// Selection and channel commands on a document filled to its 4096-face
// capacity: a 64 x 32 grid of quads, welded in the mapping, so Select
// Connected needs one pass per ring of the island.
#include <benchmark/benchmark.h>

#include "bench/quad_grid.h"
#include "core/application.h"
#include "core/channels.h"
#include "core/mapping_file.h"
#include "core/selection.h"
#include "core/settings.h"
#include "tests/support/scripted_prompter.h"

namespace {

// An application without a window around the grid.
struct GridApp {
  mok::MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  mok::NullRefreshSink refresh;
  mok::Application app{settings, prompter, prompter, refresh};
  GridApp() { mok::bench::FillQuadGrid(app.doc(), {0.5f, 0.5f}); }
};

void BM_SelectConnectedFromOneCorner(benchmark::State& state) {
  GridApp grid;
  for (auto _ : state) {
    mok::SelectNone(grid.app);
    grid.app.doc().triangles[0].state |= mok::kFaceSelected;
    mok::SelectConnected(grid.app);
  }
}
BENCHMARK(BM_SelectConnectedFromOneCorner)->Unit(benchmark::kMillisecond);

void BM_GrowSelection(benchmark::State& state) {
  GridApp grid;
  for (auto _ : state) {
    mok::SelectNone(grid.app);
    grid.app.doc().triangles[2048].state |= mok::kFaceSelected;
    mok::GrowSelection(grid.app);
  }
}
BENCHMARK(BM_GrowSelection)->Unit(benchmark::kMicrosecond);

void BM_AssignChannelToEveryFace(benchmark::State& state) {
  GridApp grid;
  mok::SelectAll(grid.app);
  int channel = 0;
  for (auto _ : state) mok::AssignChannelToSelected(grid.app.doc(), channel ^= 1);
}
BENCHMARK(BM_AssignChannelToEveryFace)->Unit(benchmark::kMillisecond);

void BM_BuildMappingFile(benchmark::State& state) {
  GridApp grid;
  for (auto _ : state) benchmark::DoNotOptimize(mok::BuildMappingFile(grid.app.doc()));
}
BENCHMARK(BM_BuildMappingFile)->Unit(benchmark::kMillisecond);

}  // namespace
