// The skin view on the bundled sample mesh (648 faces): one render of each
// kind a drag uses, and the steps of a rotation of the whole mapping.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/application.h"
#include "core/mesh_files.h"
#include "panes/skin_view.h"
#include "bench/no_window.h"
#include "tests/support/scripted_prompter.h"

namespace {

// An 800 x 600 skin view in Mapping mode over the sample mesh, every face
// selected.
struct SampleView {
  mok::MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  mok::NullRefreshSink refresh;
  mok::Application app{settings, prompter, prompter, refresh};
  std::unique_ptr<mok::RasterContext> raster = std::make_unique<mok::RasterContext>();
  mok::bench::NoWindow host;
  mok::SkinView view{app, *raster, host};
  bool loaded = false;

  // False, with the benchmark skipped, when the sample did not load.
  bool Ready(benchmark::State& state) {
    if (!loaded) state.SkipWithError("sample mesh did not load");
    return loaded;
  }

  SampleView() {
    loaded = mok::LoadMesh(app.doc(), std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d", prompter).ok();
    app.flags.editMode = mok::EditMode::Mapping;
    for (int i = 0; i < app.doc().triangleCount; ++i) app.doc().triangles[i].state = mok::kFaceSelected;
    view.Resize(800, 600);
    view.viewCenter = {128, 128};
    view.zoom = 2;
  }
};

void RenderKind(benchmark::State& state, int kind) {
  SampleView sample;
  if (!sample.Ready(state)) return;
  for (auto _ : state) {
    sample.view.RenderView(kind);
    benchmark::DoNotOptimize(sample.view.colours().data());
  }
}
void BM_SkinViewFinalRender(benchmark::State& state) { RenderKind(state, mok::kRefreshFinal); }
void BM_SkinViewQuickRender(benchmark::State& state) { RenderKind(state, mok::kRefreshQuick); }
BENCHMARK(BM_SkinViewFinalRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkinViewQuickRender)->Unit(benchmark::kMicrosecond);

// One mouse step of a rotation of every UV vertex, and the quick render after it.
void BM_SkinViewRotateStep(benchmark::State& state) {
  SampleView sample;
  if (!sample.Ready(state)) return;
  mok::MappingDrag drag;
  const mok::MappingEditTarget target{sample.app, sample.view.viewport(), *sample.raster, false};
  mok::BeginSelectionTransform(target, drag, 400, 300, true, false);
  for (auto _ : state) {
    mok::MoveSelectionTransform(target, drag, 0, 1);
    sample.view.RenderView(mok::kRefreshQuick);
  }
}
BENCHMARK(BM_SkinViewRotateStep)->Unit(benchmark::kMicrosecond);

// The end of a drag: the shared UV table rebuilt with sync.
void BM_SkinViewEndDrag(benchmark::State& state) {
  SampleView sample;
  if (!sample.Ready(state)) return;
  mok::MappingDrag drag;
  for (auto _ : state) mok::EndMappingDrag(sample.app.doc(), drag);
}
BENCHMARK(BM_SkinViewEndDrag)->Unit(benchmark::kMicrosecond);

}  // namespace
