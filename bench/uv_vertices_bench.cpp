// RebuildUvVertices on a document at capacity: 4096 faces whose 12288
// corners are all distinct UV vertices (the worst case for a table search),
// and the same faces welded into a 64 x 32 grid of quads.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/mesh_document.h"

namespace {

std::unique_ptr<mok::MeshDocument> FullDocument(bool welded) {
  auto doc = std::make_unique<mok::MeshDocument>();
  doc->ResetSkinSlots();
  doc->triangleCount = mok::kMaxTriangles;
  for (int i = 0; i < mok::kMaxTriangles; ++i) {
    mok::MeshTriangle& face = doc->triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      const int corner = i * 3 + k;
      const int x = welded ? (i / 2 % 64 + (k == 1 || (k == 2 && i % 2 == 0))) : corner % 111;
      const int y = welded ? (i / 128 + (k == 2 || (i % 2 && k == 1))) : corner / 111;
      face.uv[k] = {x * 0.5f, y * 0.5f};
    }
  }
  doc->RebuildUvVertices(false);
  return doc;
}

void BM_RebuildUvVerticesEveryCornerItsOwn(benchmark::State& state) {
  auto doc = FullDocument(false);
  for (auto _ : state) doc->RebuildUvVertices(true);
  state.counters["uvVertices"] = doc->uvVertexCount;
}
BENCHMARK(BM_RebuildUvVerticesEveryCornerItsOwn)->Unit(benchmark::kMillisecond);

void BM_RebuildUvVerticesWeldedGrid(benchmark::State& state) {
  auto doc = FullDocument(true);
  for (auto _ : state) doc->RebuildUvVertices(true);
  state.counters["uvVertices"] = doc->uvVertexCount;
}
BENCHMARK(BM_RebuildUvVerticesWeldedGrid)->Unit(benchmark::kMillisecond);

}  // namespace
