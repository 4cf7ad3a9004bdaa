// Per-frame cost of the shared steps before rasterizing, on a mesh at the
// model limits (4096 vertices, 4096 faces).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "render/camera.h"
#include "render/lighting.h"
#include "render/visibility.h"

namespace {

std::unique_ptr<mok::MeshDocument> GridMesh() {
  auto doc = std::make_unique<mok::MeshDocument>();
  auto frame = std::make_unique<mok::AnimFrame>();
  for (int i = 0; i < mok::kMaxVertices; ++i) {
    const float a = static_cast<float>(i % 64) * 0.1f, b = static_cast<float>(i / 64) * 0.1f;
    frame->positions.push_back({std::cos(a) * 20, std::sin(a) * 20, b * 10 - 30});
  }
  doc->frames.push_back(std::move(frame));
  doc->currentVertices = doc->frames[0]->positions.data();
  doc->vertexCount = mok::kMaxVertices;
  for (int i = 0; i < mok::kMaxTriangles; ++i) {
    const int v = i % (mok::kMaxVertices - 65);
    mok::MeshTriangle& face = doc->triangles[static_cast<std::size_t>(i)];
    face.vertex[0] = static_cast<std::int16_t>(v);
    face.vertex[1] = static_cast<std::int16_t>(v + 1);
    face.vertex[2] = static_cast<std::int16_t>(v + 64);
  }
  doc->triangleCount = mok::kMaxTriangles;
  return doc;
}

void BM_TransformLightAndCull(benchmark::State& state) {
  auto doc = GridMesh();
  mok::Camera camera;
  mok::LightFrame light;
  const mok::GammaTable gamma = mok::BuildGammaTable(1.0);
  std::vector<mok::Vec3> cameraVertices;
  const auto kind = static_cast<mok::LightingKind>(state.range(0));
  for (auto _ : state) {
    mok::TransformVertices(camera, doc->frames[0]->positions, cameraVertices);
    mok::ApplyLighting(kind, *doc, cameraVertices.size(), light, camera, gamma);
    mok::VisibleTriangles visible = mok::SelectVisibleTriangles(*doc, cameraVertices);
    benchmark::DoNotOptimize(mok::ComputeDepthScale(visible));
  }
}
BENCHMARK(BM_TransformLightAndCull)
    ->Arg(static_cast<int>(mok::LightingKind::Flat))
    ->Arg(static_cast<int>(mok::LightingKind::PerVertex))
    ->Arg(static_cast<int>(mok::LightingKind::PhongMap));

}  // namespace
