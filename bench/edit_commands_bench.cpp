// Selection and channel commands on a document filled to its 4096-face
// capacity: a 64 x 32 grid of quads, welded in the mapping, so Select
// Connected needs one pass per ring of the island.
#include <benchmark/benchmark.h>

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
  GridApp() { FillGrid(app.doc()); }

  static void FillGrid(mok::MeshDocument& doc);
};

void GridApp::FillGrid(mok::MeshDocument& doc) {
  doc.ResetSkinSlots();
  constexpr int kColumns = 64, kRows = 32;
  auto uv = [](int x, int y) { return mok::UvPair{x * 0.5f, y * 0.5f}; };
  auto vertex = [](int x, int y) { return static_cast<std::int16_t>(y * (kColumns + 1) + x); };
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < kColumns; ++x) {
      mok::MeshTriangle& a = doc.triangles[doc.triangleCount++];
      mok::MeshTriangle& b = doc.triangles[doc.triangleCount++];
      a = b = mok::MeshTriangle{};
      a.vertex[0] = vertex(x, y), a.vertex[1] = vertex(x + 1, y), a.vertex[2] = vertex(x + 1, y + 1);
      a.uv[0] = uv(x, y), a.uv[1] = uv(x + 1, y), a.uv[2] = uv(x + 1, y + 1);
      b.vertex[0] = vertex(x, y), b.vertex[1] = vertex(x + 1, y + 1), b.vertex[2] = vertex(x, y + 1);
      b.uv[0] = uv(x, y), b.uv[1] = uv(x + 1, y + 1), b.uv[2] = uv(x, y + 1);
    }
  }
  doc.RebuildUvVertices(false);
}

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
