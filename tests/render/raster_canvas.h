#pragma once
// Test targets for the rasterizer: buffers with a guard zone before and
// after each one, a context aimed at them, and a texture.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "raster/raster.h"

namespace mok::test {

inline constexpr int kGuard = 64;  // pixels of guard zone around each buffer
inline constexpr std::uint32_t kGuardColour = 0xDEADBEEF;
inline constexpr std::uint16_t kGuardDepth = 0xBEEF;
inline constexpr std::int32_t kGuardId = 0x5EEDBEEF;

// width x height colour, depth and id buffers (depth cleared to 0xFFFF,
// ids to -1) and a reset context aimed at them.
struct Canvas {
  int width;
  int height;
  std::vector<std::uint32_t> colourStore;
  std::vector<std::uint16_t> depthStore;
  std::vector<std::int32_t> idStore;
  std::unique_ptr<RasterContext> ctx = std::make_unique<RasterContext>();

  Canvas(int w, int h, std::uint32_t background = 0)
      : width(w),
        height(h),
        colourStore(static_cast<std::size_t>(w) * h + 2 * kGuard, kGuardColour),
        depthStore(static_cast<std::size_t>(w) * h + 2 * kGuard, kGuardDepth),
        idStore(static_cast<std::size_t>(w) * h + 2 * kGuard, kGuardId) {
    std::fill(colourStore.begin() + kGuard, colourStore.end() - kGuard, background);
    std::fill(depthStore.begin() + kGuard, depthStore.end() - kGuard, 0xFFFF);
    std::fill(idStore.begin() + kGuard, idStore.end() - kGuard, -1);
    ctx->colour = colourStore.data() + kGuard;
    ctx->depth = depthStore.data() + kGuard;
    ctx->ids = idStore.data() + kGuard;
    ctx->width = w;
    ctx->height = h;
    ctx->maxX = w - 1;
    ctx->maxY = h - 1;
    resetEdges(*ctx);
  }

  std::size_t Index(int x, int y) const { return kGuard + static_cast<std::size_t>(y) * width + x; }
  std::uint32_t Colour(int x, int y) const { return colourStore[Index(x, y)]; }
  std::uint16_t Depth(int x, int y) const { return depthStore[Index(x, y)]; }
  std::int32_t Id(int x, int y) const { return idStore[Index(x, y)]; }
  void SetDepth(int x, int y, std::uint16_t z) { depthStore[Index(x, y)] = z; }
  void SetId(int x, int y, std::int32_t id) { idStore[Index(x, y)] = id; }
  void SetColour(int x, int y, std::uint32_t c) { colourStore[Index(x, y)] = c; }

  bool GuardsIntact() const {
    for (int i = 0; i < kGuard; ++i) {
      const std::size_t tail = colourStore.size() - 1 - i;
      if (colourStore[i] != kGuardColour || colourStore[tail] != kGuardColour) return false;
      if (depthStore[i] != kGuardDepth || depthStore[tail] != kGuardDepth) return false;
      if (idStore[i] != kGuardId || idStore[tail] != kGuardId) return false;
    }
    return true;
  }

  // Every row of the edge tables idle and no row range pending.
  bool TablesIdle() const {
    for (int y = 0; y < kRasterMaxRows; ++y) {
      if (ctx->leftX[y] != kEdgeIdleLeft || ctx->rightX[y] != kEdgeIdleRight) return false;
    }
    return ctx->minRow > ctx->maxRow;
  }

  // Number of pixels whose colour differs from `background`.
  int CountNot(std::uint32_t background) const {
    int n = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) n += Colour(x, y) != background ? 1 : 0;
    }
    return n;
  }
};

// A texture whose vector is exactly width x height texels, so that a read
// past it shows under the address sanitizer.
struct Texture {
  int width;
  int height;
  std::vector<std::uint32_t> texels;
  std::vector<std::int32_t> rows;

  Texture(int w, int h) : width(w), height(h), texels(static_cast<std::size_t>(w) * h), rows(h) {
    for (int r = 0; r < h; ++r) rows[r] = r * w;
  }
  std::uint32_t& At(int column, int row) { return texels[static_cast<std::size_t>(row) * width + column]; }
  void Bind(RasterContext& ctx) const {
    ctx.texels = texels.data();
    ctx.texRows = rows.data();
    ctx.texWidth = static_cast<std::int16_t>(width);
    ctx.texHeight = static_cast<std::int16_t>(height);
  }
};

// Fixed-point helpers: whole units and 16.16 values.
constexpr std::int32_t Fx(double value) { return static_cast<std::int32_t>(value * 65536.0); }

inline RasterVertex Vtx(int x, int y, std::initializer_list<std::int32_t> attributes = {}) {
  RasterVertex v;
  v.x = x;
  v.y = y;
  int k = 0;
  for (std::int32_t a : attributes) v.attr[k++] = a;
  return v;
}

}  // namespace mok::test
