// Throughput of the textured, depth-tested triangle members on a full-HD
// target: a fixed pseudo-random scene of triangles of varied sizes drawn as
// one frame per iteration (the depth clear between frames is not timed).
//
// Run: build/bin/mok_bench --benchmark_filter=Fill
// Arguments: 0 = texture coordinates inside a 256 x 256 texture; 1 = the
// coordinates run over several widths of it (power of two: masked wrap);
// 2 = the same on a 200 x 200 texture (the general wrapping span loop).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "raster/raster.h"

namespace mok {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kTriangles = 3000;
constexpr int kTextureSize = 256;  // the scene's texture coordinates are laid out for this size

int TextureSizeFor(std::int64_t scene) { return scene == 2 ? 200 : kTextureSize; }

struct SceneTriangle {
  RasterVertex v[3];
  std::uint32_t shade;
};

// Sizes: 60 % small (5-20 px), 30 % medium (20-80 px), 10 % large (80-300 px).
double TriangleSize(std::mt19937& rng) {
  std::uniform_real_distribution<double> unit(0, 1);
  const double pick = unit(rng);
  if (pick < 0.6) return 5 + 15 * unit(rng);
  if (pick < 0.9) return 20 + 60 * unit(rng);
  return 80 + 220 * unit(rng);
}

std::vector<SceneTriangle> MakeScene(bool wrapping) {
  std::mt19937 rng(20261207);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<SceneTriangle> scene(kTriangles);
  for (SceneTriangle& t : scene) {
    const double size = TriangleSize(rng);
    const double cx = unit(rng) * kWidth;
    const double cy = unit(rng) * kHeight;
    const double angle = unit(rng) * 6.2831853;
    // Corners lie within `size` of the centre, so (x - cx + size) is 0..600.
    const double texScale = wrapping ? 1.5 : 0.9 * kTextureSize / 600.0;
    const double u0 =
        wrapping ? -2.0 * kTextureSize * unit(rng) : unit(rng) * (kTextureSize - 600 * texScale);
    const double v0 =
        wrapping ? -2.0 * kTextureSize * unit(rng) : unit(rng) * (kTextureSize - 600 * texScale);
    const std::int32_t z = static_cast<std::int32_t>(unit(rng) * 16000) << 16;
    for (int k = 0; k < 3; ++k) {
      const double a = angle + k * 2.0943951 + 0.4 * unit(rng);
      const double r = size * (0.6 + 0.4 * unit(rng));
      RasterVertex& v = t.v[k];
      v.x = static_cast<std::int32_t>(cx + r * std::cos(a));
      v.y = static_cast<std::int32_t>(cy + r * std::sin(a));
      v.attr[0] = static_cast<std::int32_t>((u0 + (v.x - cx + size) * texScale) * 65536);
      v.attr[1] = static_cast<std::int32_t>((v0 + (v.y - cy + size) * texScale) * 65536);
      v.attr[2] = z + static_cast<std::int32_t>(unit(rng) * 200) * 65536;
    }
    t.shade = static_cast<std::uint32_t>(rng()) & 0xFFFFFF;
  }
  return scene;
}

struct Frame {
  int textureSize;
  std::vector<std::uint32_t> colour = std::vector<std::uint32_t>(kWidth * kHeight);
  std::vector<std::uint16_t> depth = std::vector<std::uint16_t>(kWidth * kHeight, 0xFFFF);
  std::vector<std::int32_t> ids = std::vector<std::int32_t>(kWidth * kHeight, -1);
  std::vector<std::uint32_t> texels;
  std::vector<std::int32_t> rows;
  std::unique_ptr<RasterContext> ctx = std::make_unique<RasterContext>();

  explicit Frame(int size) : textureSize(size), texels(size * size), rows(size) {
    for (int i = 0; i < size * size; ++i) texels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    for (int r = 0; r < size; ++r) rows[r] = r * size;
    ctx->colour = colour.data();
    ctx->depth = depth.data();
    ctx->ids = ids.data();
    ctx->width = kWidth;
    ctx->height = kHeight;
    ctx->maxX = kWidth - 1;
    ctx->maxY = kHeight - 1;
    ctx->texels = texels.data();
    ctx->texRows = rows.data();
    ctx->texWidth = static_cast<std::int16_t>(size);
    ctx->texHeight = static_cast<std::int16_t>(size);
    resetEdges(*ctx);
  }
};

// Pixels the scene's spans cover, overdraw included: each triangle alone
// with its own id, counted inside its bounding box, which is then cleared.
std::int64_t SpanPixels(const std::vector<SceneTriangle>& scene) {
  Frame f(kTextureSize);
  std::int64_t total = 0;
  for (int i = 0; i < kTriangles; ++i) {
    const RasterVertex* v = scene[i].v;
    fillFlatPick(*f.ctx, v, i, 0);
    const int x0 = std::clamp(std::min({v[0].x, v[1].x, v[2].x}), 0, kWidth - 1);
    const int x1 = std::clamp(std::max({v[0].x, v[1].x, v[2].x}), 0, kWidth - 1);
    const int y0 = std::clamp(std::min({v[0].y, v[1].y, v[2].y}), 0, kHeight - 1);
    const int y1 = std::clamp(std::max({v[0].y, v[1].y, v[2].y}), 0, kHeight - 1);
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const int p = y * kWidth + x;
        total += f.ids[p] == i ? 1 : 0;
        f.ids[p] = -1;
        f.depth[p] = 0xFFFF;
      }
    }
  }
  return total;
}

template <class Draw>
void RunScene(benchmark::State& state, Draw draw) {
  const std::vector<SceneTriangle> scene = MakeScene(state.range(0) != 0);
  const std::int64_t pixels = SpanPixels(scene);
  Frame f(TextureSizeFor(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::fill(f.depth.begin(), f.depth.end(), 0xFFFF);
    state.ResumeTiming();
    for (int i = 0; i < kTriangles; ++i) draw(*f.ctx, scene[i], i);
    benchmark::DoNotOptimize(f.colour.data());
    benchmark::ClobberMemory();
  }
  const double frames = static_cast<double>(state.iterations());
  state.counters["triangles/s"] = benchmark::Counter(frames * kTriangles, benchmark::Counter::kIsRate);
  state.counters["pixels/s"] =
      benchmark::Counter(frames * static_cast<double>(pixels), benchmark::Counter::kIsRate);
  state.counters["pixels/frame"] = static_cast<double>(pixels);
}

void BM_FillTexturePick(benchmark::State& state) {
  RunScene(state, [](RasterContext& c, const SceneTriangle& t, int id) { fillTexturePick(c, t.v, id); });
}
void BM_FillTexturePickFiltered(benchmark::State& state) {
  RunScene(state,
           [](RasterContext& c, const SceneTriangle& t, int id) { fillTexturePickFiltered(c, t.v, id); });
}
void BM_FillTexFlatPick(benchmark::State& state) {
  RunScene(state,
           [](RasterContext& c, const SceneTriangle& t, int id) { fillTexFlatPick(c, t.v, id, t.shade); });
}
void BM_FillTexFlatPickFiltered(benchmark::State& state) {
  RunScene(state, [](RasterContext& c, const SceneTriangle& t, int id) {
    fillTexFlatPickFiltered(c, t.v, id, t.shade);
  });
}

BENCHMARK(BM_FillTexturePick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTexturePickFiltered)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTexFlatPick)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillTexFlatPickFiltered)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mok
