// Cost of painting steps on a 512 x 512 skin seen 1:1 in an 800 x 600 view:
// one Line-brush move (restore, clear, a 600-pixel line) and one Pencil move.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/application.h"
#include "core/settings.h"
#include "panes/painting.h"
#include "tests/support/scripted_prompter.h"

namespace {

struct PaintScene {
  static constexpr int kSkin = 512;
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  PaintScene() {
    app.doc().skinSlots.push_back(std::make_unique<mok::SkinSlot>());
    mok::SkinSlot& skin = *app.doc().skinSlots.back();
    mok::AllocateSkin(skin, kSkin, kSkin);
    app.doc().activeSkin = &skin;
    ids.assign(static_cast<std::size_t>(kWidth) * kHeight, -1);
    for (int y = 0; y < kSkin; ++y) {
      for (int x = 0; x < kSkin; ++x) ids[static_cast<std::size_t>(kHeight - 1 - y) * kWidth + static_cast<std::size_t>(x)] = y * kSkin + x;
    }
  }
  mok::TexelIdView view() const { return {ids.data(), kWidth, kHeight, kWidth}; }

  mok::MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  mok::NullRefreshSink refresh;
  mok::Application app{settings, prompter, prompter, refresh};
  std::vector<std::int32_t> ids;
};

void BM_LineBrushMove(benchmark::State& state) {
  PaintScene scene;
  scene.app.flags.brushKind = mok::BrushKind::Line;
  scene.app.flags.brushRadius = 2;
  mok::Painter painter(scene.app);
  painter.BeginStroke(scene.view(), {0, 0});
  int step = 0;
  for (auto _ : state) {
    painter.MoveStroke(scene.view(), {511, (step++ * 7) % 512});
    benchmark::DoNotOptimize(scene.app.doc().activeSkin->pixels.data());
  }
}
BENCHMARK(BM_LineBrushMove);

void BM_PencilMove(benchmark::State& state) {
  PaintScene scene;
  scene.app.flags.brushKind = mok::BrushKind::Pencil;
  scene.app.flags.brushRadius = 1;
  mok::Painter painter(scene.app);
  painter.BeginStroke(scene.view(), {0, 0});
  int step = 0;
  for (auto _ : state) {
    const int from = step % 500;
    painter.MoveStroke(scene.view(), {from + 12, (from * 3) % 500});
    ++step;
  }
}
BENCHMARK(BM_PencilMove);

}  // namespace
