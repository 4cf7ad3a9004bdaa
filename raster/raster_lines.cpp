// Lines of the rasterizer: one Wu walk shared by every line member, each
// member a small pixel writer over it.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "raster/raster.h"
#include "raster/raster_blend.h"

namespace mok {
namespace {

// Inclusive pixel rectangle a line may touch.
struct LineBounds {
  std::int64_t right = -1;
  std::int64_t top = -1;
  bool Contains(std::int64_t x, std::int64_t y) const { return x >= 0 && x <= right && y >= 0 && y <= top; }
};

LineBounds TargetBounds(const RasterContext& ctx) {
  return {std::min<std::int64_t>(ctx.maxX, std::int64_t{ctx.width} - 1),
          std::min<std::int64_t>(ctx.maxY, std::int64_t{ctx.height} - 1)};
}

// Steps k in [first, last] for which start + k * dir lies in [0, limit].
void VisibleSteps(std::int64_t start, int dir, std::int64_t limit, std::int64_t& first, std::int64_t& last) {
  const std::int64_t a = dir > 0 ? -start : start - limit;
  const std::int64_t b = dir > 0 ? limit - start : start;
  first = std::max(first, a);
  last = std::min(last, b);
}

// Walks the Wu line from (x0, y0) to (x1, y1) and hands every pixel it
// touches to the writer: Exact(x, y) for the ends and the pixels of plain
// runs, Line(x, y, acc) for the pixel on the line and Neighbour(x, y, acc)
// for its partner one step further along the minor axis, where acc is the
// 16-bit error accumulator. Only pixels inside `bounds` are handed over; steps
// whose major coordinate is outside are skipped without walking them.
template <class Writer>
void WuWalk(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, const LineBounds& bounds,
            Writer& writer) {
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  const int xDir = x1 >= x0 ? 1 : -1;
  const std::int64_t dx = x1 >= x0 ? x1 - x0 : x0 - x1;
  const std::int64_t dy = y1 - y0;
  auto exact = [&](std::int64_t x, std::int64_t y) {
    if (bounds.Contains(x, y)) writer.Exact(static_cast<int>(x), static_cast<int>(y));
  };
  exact(x0, y0);
  if (dx == 0 || dy == 0 || dx == dy) {
    // Plain run: every pixel after the first, up to and including the last.
    const std::int64_t length = std::max(dx, dy);
    const int stepX = dx == 0 ? 0 : xDir;
    const int stepY = dy == 0 ? 0 : 1;
    std::int64_t first = 1;
    std::int64_t last = length;
    if (stepX != 0) VisibleSteps(x0, stepX, bounds.right, first, last);
    if (stepY != 0) VisibleSteps(y0, stepY, bounds.top, first, last);
    for (std::int64_t k = first; k <= last; ++k) exact(x0 + k * stepX, y0 + k * stepY);
    return;
  }
  const bool yMajor = dy > dx;
  const std::int64_t major = yMajor ? dy : dx;
  const std::int64_t minor = yMajor ? dx : dy;
  const std::int64_t adjust = (minor << 16) / major;
  // Interior steps 1 .. major - 1, restricted to those on the target.
  std::int64_t first = 1;
  std::int64_t last = major - 1;
  if (yMajor) {
    VisibleSteps(y0, 1, bounds.top, first, last);
  } else {
    VisibleSteps(x0, xDir, bounds.right, first, last);
  }
  // The pixel on the line at step k and its neighbour one step along the
  // minor axis, with the accumulator.
  struct Step {
    std::int64_t x, y, nx, ny;
    int acc;
  };
  auto step = [&](std::int64_t k) {
    const std::int64_t total = k * adjust;
    const std::int64_t carries = total >> 16;
    const int acc = static_cast<int>(total & 0xFFFF);
    if (yMajor) {
      const std::int64_t x = x0 + carries * xDir;
      return Step{x, y0 + k, x + xDir, y0 + k, acc};
    }
    return Step{x0 + k * xDir, y0 + carries, x0 + k * xDir, y0 + carries + 1, acc};
  };
  // Both coordinates move monotonically with k, so when the first and last
  // steps lie wholly on the target every step between does: no checks then.
  auto onTarget = [&](const Step& p) { return bounds.Contains(p.x, p.y) && bounds.Contains(p.nx, p.ny); };
  if (first <= last && onTarget(step(first)) && onTarget(step(last))) {
    for (std::int64_t k = first; k <= last; ++k) {
      const Step p = step(k);
      writer.Line(static_cast<int>(p.x), static_cast<int>(p.y), p.acc);
      writer.Neighbour(static_cast<int>(p.nx), static_cast<int>(p.ny), p.acc);
    }
  } else {
    for (std::int64_t k = first; k <= last; ++k) {
      const Step p = step(k);
      if (bounds.Contains(p.x, p.y)) writer.Line(static_cast<int>(p.x), static_cast<int>(p.y), p.acc);
      if (bounds.Contains(p.nx, p.ny)) writer.Neighbour(static_cast<int>(p.nx), static_cast<int>(p.ny), p.acc);
    }
  }
  exact(x1, y1);
}

// Per 5-bit channel (colour * (32 - w) + old * w) >> 5, w in 0..32.
std::uint16_t Blend16(std::uint16_t colour, std::uint16_t old, std::uint32_t w) {
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 10; shift += 5) {
    const std::uint32_t c = (colour >> shift) & 0x1F;
    const std::uint32_t o = (old >> shift) & 0x1F;
    result |= ((c * (32 - w) + o * w) >> 5) << shift;
  }
  return static_cast<std::uint16_t>(result);
}

// Writers for the 32-bit target. Pixel (x, y) is at y * width + x.
struct Target32 {
  std::uint32_t* colour;
  std::int32_t* ids;
  std::int64_t width;
  std::uint32_t& At(int x, int y) const { return colour[y * width + x]; }
  std::int32_t Id(int x, int y) const { return ids[y * width + x]; }
};

struct PlainWriter {
  Target32 target;
  std::uint32_t colour;
  void Exact(int x, int y) { target.At(x, y) = colour; }
  void Line(int x, int y, int) { target.At(x, y) = colour; }
  void Neighbour(int, int, int) {}
};

// Wu blending; with `masked` only over pixels whose id equals the key. The
// pixel on the line keeps w = acc >> 8 of the old colour, its neighbour 256 - w.
struct BlendWriter {
  Target32 target;
  std::uint32_t colour;
  bool masked;
  std::int32_t key;
  void Blend(int x, int y, std::uint32_t oldWeight) {
    if (masked && target.Id(x, y) != key) return;
    std::uint32_t& pixel = target.At(x, y);
    pixel = raster_detail::LerpChannels(colour, pixel, oldWeight);
  }
  void Exact(int x, int y) { Blend(x, y, 0); }
  void Line(int x, int y, int acc) { Blend(x, y, static_cast<std::uint32_t>(acc >> 8)); }
  void Neighbour(int x, int y, int acc) { Blend(x, y, 256 - static_cast<std::uint32_t>(acc >> 8)); }
};

// Puts back the texel shown under every pixel the line touches.
struct RestoreWriter {
  Target32 target;
  const std::uint32_t* texels;
  std::int64_t texelCount;
  std::uint32_t background;
  void Exact(int x, int y) {
    const std::int32_t id = target.Id(x, y);
    target.At(x, y) = id >= 0 && id < texelCount ? texels[id] : background;
  }
  void Line(int x, int y, int) { Exact(x, y); }
  void Neighbour(int x, int y, int) { Exact(x, y); }
};

struct Target16 {
  std::uint16_t* colour;
  std::int64_t pitch;
  std::uint16_t& At(int x, int y) const { return colour[y * pitch + x]; }
};

struct Plain16Writer {
  Target16 target;
  std::uint16_t colour;
  void Exact(int x, int y) { target.At(x, y) = colour; }
  void Line(int x, int y, int) { target.At(x, y) = colour; }
  void Neighbour(int, int, int) {}
};

struct Blend16Writer {
  Target16 target;
  std::uint16_t colour;
  void Exact(int x, int y) { target.At(x, y) = colour; }
  void Line(int x, int y, int acc) {
    target.At(x, y) = Blend16(colour, target.At(x, y), static_cast<std::uint32_t>(acc >> 11));
  }
  void Neighbour(int x, int y, int acc) {
    target.At(x, y) = Blend16(colour, target.At(x, y), 32 - static_cast<std::uint32_t>(acc >> 11));
  }
};

template <class Writer>
void Walk32(RasterContext& ctx, int x0, int y0, int x1, int y1, Writer writer) {
  if (ctx.colour == nullptr) return;
  WuWalk(x0, y0, x1, y1, TargetBounds(ctx), writer);
}

template <class Writer>
void Walk16(RasterContext& ctx, int x0, int y0, int x1, int y1, Writer writer) {
  if (ctx.colour16 == nullptr || ctx.pitch16 < 1) return;
  LineBounds bounds = TargetBounds(ctx);
  bounds.right = std::min<std::int64_t>(bounds.right, std::int64_t{ctx.pitch16} - 1);
  WuWalk(x0, y0, x1, y1, bounds, writer);
}

}  // namespace

void drawLine(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  Walk32(ctx, x0, y0, x1, y1, PlainWriter{{ctx.colour, ctx.ids, ctx.width}, colour});
}

void drawLineAA(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint32_t colour) {
  Walk32(ctx, x0, y0, x1, y1, BlendWriter{{ctx.colour, ctx.ids, ctx.width}, colour, false, 0});
}

void drawLineAAMasked(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint32_t colour,
                      std::int32_t key) {
  if (ctx.ids == nullptr) return;
  Walk32(ctx, x0, y0, x1, y1, BlendWriter{{ctx.colour, ctx.ids, ctx.width}, colour, true, key});
}

void drawLineTextured(RasterContext& ctx, int x0, int y0, int x1, int y1) {
  if (ctx.ids == nullptr) return;
  const bool hasTexture = ctx.texels != nullptr && ctx.texWidth > 0 && ctx.texHeight > 0;
  const std::int64_t texelCount = hasTexture ? std::int64_t{ctx.texWidth} * ctx.texHeight : 0;
  Walk32(ctx, x0, y0, x1, y1,
         RestoreWriter{{ctx.colour, ctx.ids, ctx.width}, ctx.texels, texelCount, ctx.background});
}

void drawLine16(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint16_t colour) {
  Walk16(ctx, x0, y0, x1, y1, Plain16Writer{{ctx.colour16, ctx.pitch16}, colour});
}

void drawLineAA16(RasterContext& ctx, int x0, int y0, int x1, int y1, std::uint16_t colour) {
  Walk16(ctx, x0, y0, x1, y1, Blend16Writer{{ctx.colour16, ctx.pitch16}, colour});
}

}  // namespace mok
