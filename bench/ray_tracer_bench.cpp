// The ray tracer against the plain per-pixel trace (every triangle box for
// every pixel) at 1920 x 1080 on the sample mesh with its skins.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "core/mesh_files.h"
#include "render/ray_tracer.h"
#include "render/view_commands.h"
#include "image/image_codecs.h"
#include "tests/support/scripted_prompter.h"
#include "tests/render/plain_ray_tracer.h"

namespace {

std::string Resource(const std::string& relative) {
  return (std::filesystem::path(MOK_SOURCE_DIR) / "resources" / relative).string();
}

struct SampleView {
  std::unique_ptr<mok::MeshDocument> doc = std::make_unique<mok::MeshDocument>();
  mok::ViewRecord view;

  explicit SampleView(float distance) {
    mok::test::ScriptedPrompter prompter;
    if (!mok::LoadMesh(*doc, Resource("samples/Sampler/Models/Sampler_d.3d"), prompter)) return;
    doc->ToChannelUnits();
    const char* skins[] = {"samples/Sampler/Models/Sampler_ring.pcx", "samples/Sampler/Models/Sampler_core.tga"};
    for (std::size_t channel = 0; channel < 2; ++channel)
      if (auto skin = mok::LoadImageFile(Resource(skins[channel]), mok::ImageMode::TrueColor))
        *doc->skinSlots[channel] = std::move(*skin);
    doc->FromChannelUnits();
    doc->RebuildUvVertices(true);
    mok::ResizeFrameBuffer(view.frame, 1920, 1080, false);
    mok::AlignCamera(view.camera, mok::ViewAlignment::Top);
    mok::CenterOnScene(view.camera, *doc);
    view.camera.distance = distance;
  }
};

// A real model of 2072 faces (shared test data, when present), filling the
// view: the plain trace's cost grows with the face count, the grid's barely.
struct RealView {
  std::unique_ptr<mok::MeshDocument> doc = std::make_unique<mok::MeshDocument>();
  mok::ViewRecord view;
  bool loaded = false;

  RealView() {
    mok::test::ScriptedPrompter prompter;
    const std::string path = std::string(MOK_SOURCE_DIR) + "/../shared/testdata/real/unreal/F360_d.3d";
    if (!std::filesystem::exists(path) || !mok::LoadMesh(*doc, path, prompter)) return;
    mok::ResizeFrameBuffer(view.frame, 1920, 1080, false);
    mok::AlignCamera(view.camera, mok::ViewAlignment::Top);
    mok::CenterOnScene(view.camera, *doc);
    float radius = 0;
    const mok::Vec3 centre{-view.camera.panOffset[2], -view.camera.panOffset[0], -view.camera.panOffset[1]};
    for (const mok::Vec3& p : doc->frames[0]->positions)
      radius = std::max(radius, std::hypot(p.x - centre.x, p.y - centre.y, p.z - centre.z));
    view.camera.distance = radius * 3.0f;
    loaded = true;
  }
};

void BM_RayTraceGridRealModel(benchmark::State& state) {
  RealView real;
  if (!real.loaded) return state.SkipWithError("shared test data not found");
  mok::RayTraceJob job{real.view, real.doc.get(), 0, nullptr, {}};
  for (auto _ : state) {
    mok::RayTrace(job);
    benchmark::DoNotOptimize(real.view.frame.colour.data());
  }
}
BENCHMARK(BM_RayTraceGridRealModel)->Unit(benchmark::kMillisecond);

void BM_RayTracePlainRealModel(benchmark::State& state) {
  RealView real;
  if (!real.loaded) return state.SkipWithError("shared test data not found");
  for (auto _ : state) {
    mok::test::PlainRayTrace(real.view, *real.doc, 0);
    benchmark::DoNotOptimize(real.view.frame.colour.data());
  }
}
BENCHMARK(BM_RayTracePlainRealModel)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_RayTraceGrid(benchmark::State& state) {
  SampleView sample(static_cast<float>(state.range(0)));
  mok::RayTraceJob job{sample.view, sample.doc.get(), 0, nullptr, {}};
  for (auto _ : state) {
    mok::RayTrace(job);
    benchmark::DoNotOptimize(sample.view.frame.colour.data());
  }
}
// Distance 75 is the start camera; at 30 the sample fills the view, as when a
// user works on it.
BENCHMARK(BM_RayTraceGrid)->Unit(benchmark::kMillisecond)->Arg(30)->Arg(75)->Arg(200);

void BM_RayTracePlain(benchmark::State& state) {
  SampleView sample(static_cast<float>(state.range(0)));
  for (auto _ : state) {
    mok::test::PlainRayTrace(sample.view, *sample.doc, 0);
    benchmark::DoNotOptimize(sample.view.frame.colour.data());
  }
}
BENCHMARK(BM_RayTracePlain)->Unit(benchmark::kMillisecond)->Iterations(2)->Arg(30)->Arg(75)->Arg(200);

}  // namespace
