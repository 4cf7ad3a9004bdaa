// Per-frame cost of the shared steps before rasterizing, on a mesh at the
// model limits (4096 vertices, 4096 faces).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "render/camera.h"
#include "render/frame_pipeline.h"
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

// A whole "Flat Shaded"-style frame at 640 x 480: clear, transform, light,
// cull, fill with ids, outlines and the trackball circle.
void BM_FlatFrame(benchmark::State& state) {
  auto doc = GridMesh();
  mok::ViewRecord view;
  mok::ResizeFrameBuffer(view.frame, 640, 480, false);
  view.camera.orientation = {0, 0, 1, 0, 1, 0, -1, 0, 0};
  mok::RasterContext raster;
  const mok::GammaTable gamma = mok::BuildGammaTable(1.0);
  const mok::LightFrame light;
  mok::FrameJob job{view, doc.get(), raster, gamma, light};
  job.colours = {0xFFFFFF, 0x80FF80, 0x8080FF, 0xFF8080, 0xFFFFFF, 0xAAAAAA, 0x555555, 0};
  job.mappingMode = true;
  job.cameraActive = true;
  struct Drawer : mok::FrameDrawer {
    void DrawPass(mok::FrameState& frame, const mok::TexturePass& pass) override {
      for (int index : pass.triangles) {
        const auto v = mok::FaceVertices(frame, index, mok::AttributeLayout::Depth);
        mok::fillFlatPick(frame.raster(), v.data(), index, mok::FlatShadeColour(frame, frame.face(index), 0));
      }
    }
  } drawer;
  mok::FramePlan plan;
  plan.lighting = mok::LightingKind::Flat;
  plan.outlines = true;
  for (auto _ : state) {
    mok::RunFrame(job, plan, drawer);
    benchmark::DoNotOptimize(view.frame.colour.data());
  }
  state.counters["drawnPixels"] =
      static_cast<double>(std::count_if(view.frame.ids.begin(), view.frame.ids.end(), [](std::int32_t id) { return id >= 0; }));
}
BENCHMARK(BM_FlatFrame);

}  // namespace
