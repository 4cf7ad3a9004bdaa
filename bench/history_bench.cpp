// Cost of recording one undo step at full capacity: 4096 faces (a 64 x 32
// grid of quads) and a 1024 x 1024 skin in the active slot. The "step_bytes"
// counter is the memory the recorded step holds.
//
// PaintStroke: a pencil stroke of radius 1 across 256 texels of the skin,
// recorded as the painter does (its own slot only).
// MappingTransform/N: Flip Selected on every face, recorded as the command
// table records it (with the row's scope), with N slots holding a 1024 x 1024
// skin and the others placeholders.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/command_table.h"
#include "bench/quad_grid.h"
#include "core/application.h"
#include "core/selection.h"
#include "core/settings.h"
#include "panes/uv_edits.h"
#include "tests/support/scripted_prompter.h"

namespace {

constexpr int kSkinSize = 1024;

struct FullScene {
  FullScene() {
    mok::bench::FillQuadGrid(app.doc(), {16.0f, 32.0f});
  }

  void FillSlots(int count) {
    for (int s = 0; s < count; ++s) mok::AllocateSkin(*app.doc().skinSlots[static_cast<std::size_t>(s)], kSkinSize, kSkinSize);
    app.history.Reset(app.doc());
  }

  mok::MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  mok::NullRefreshSink refresh;
  mok::Application app{settings, prompter, prompter, refresh};
};

// A diagonal pencil line, three texels wide, in the colour given.
void PaintStroke(mok::SkinSlot& skin, int start, std::uint32_t colour) {
  for (int t = 0; t < 256; ++t) {
    const int cx = (start + t) % (kSkinSize - 2) + 1, cy = (start / 3 + t / 2) % (kSkinSize - 2) + 1;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) skin.pixels[static_cast<std::size_t>((cy + dy) * kSkinSize + cx + dx)] = colour;
  }
}

void BM_HistoryCommitPaintStroke(benchmark::State& state) {
  FullScene scene;
  scene.FillSlots(1);
  mok::SkinSlot& skin = *scene.app.doc().skinSlots[0];
  int stroke = 0;
  for (auto _ : state) {
    state.PauseTiming();
    PaintStroke(skin, (stroke * 97) % kSkinSize, 0x010101u * static_cast<std::uint32_t>(stroke % 200 + 1));
    ++stroke;
    state.ResumeTiming();
    scene.app.history.Commit(scene.app.doc(), "Paint Stroke", mok::ChangeScope::OneSkin(0));
  }
  state.counters["step_bytes"] = static_cast<double>(scene.app.history.UndoStepBytes());
}
BENCHMARK(BM_HistoryCommitPaintStroke)->Unit(benchmark::kMillisecond);

void BM_HistoryCommitMappingTransform(benchmark::State& state) {
  FullScene scene;
  scene.FillSlots(static_cast<int>(state.range(0)));
  mok::SelectAll(scene.app);
  const mok::CommandRow& flip = *mok::FindCommand(32884);
  for (auto _ : state) {
    state.PauseTiming();
    mok::FlipSelected(scene.app);
    state.ResumeTiming();
    scene.app.history.Commit(scene.app.doc(), "Flip Selected", flip.changes);
  }
  state.counters["step_bytes"] = static_cast<double>(scene.app.history.UndoStepBytes());
}
BENCHMARK(BM_HistoryCommitMappingTransform)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
