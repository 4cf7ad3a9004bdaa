// The depth test is per pixel: a triangle drawn over stored depths leaves
// exactly the pixels it would draw on an empty target wherever it is
// strictly nearer there, and every other pixel untouched, whatever mix of
// hidden and visible runs its spans cross.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "tests/render/raster_canvas.h"

namespace mok::test {
namespace {

constexpr int kWidth = 97;
constexpr int kHeight = 41;
// No member draws this colour: its high byte is set.
constexpr std::uint32_t kUndrawn = 0xFF000000;

using Draw = std::function<void(RasterContext&, const RasterVertex*)>;

struct Member {
  const char* name;
  const char* layout;  // attribute order: u, v, r, g, b, z
  bool writesIds;
  Draw draw;
};

// Members with each kind of colour and id write; the textured ones also run
// on each wrap path through the texture sizes of the test.
const Member kMembers[] = {
    {"TextureQuick", "uvz", false, fillTextureQuick},
    {"TexturePick", "uvz", true, [](RasterContext& c, const RasterVertex* v) { fillTexturePick(c, v, 77); }},
    {"TexturePaint", "uvz", true, fillTexturePaint},
    {"TexturePaintFiltered", "uvz", true, fillTexturePaintFiltered},
    {"TexFlatPick", "uvz", true, [](RasterContext& c, const RasterVertex* v) { fillTexFlatPick(c, v, 5, 0x806040); }},
    {"TexGouraudPaint", "uvrgbz", true, fillTexGouraudPaint},
    {"GouraudPick", "rgbz", true, [](RasterContext& c, const RasterVertex* v) { fillGouraudPick(c, v, 9); }},
    {"Flat", "z", false, [](RasterContext& c, const RasterVertex* v) { fillFlat(c, v, 0x123456); }},
};

void RandomTriangle(std::mt19937& rng, const char* layout, RasterVertex (&tri)[3]) {
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  for (RasterVertex& v : tri) {
    v = Vtx(pick(-20, kWidth + 20), pick(-10, kHeight + 10));
    for (int k = 0; layout[k] != 0; ++k) {
      const char a = layout[k];
      v.attr[k] = (a == 'u' || a == 'v' ? pick(-600, 600) : a == 'z' ? pick(0, 0xFE00) : pick(0, 255)) << 16;
    }
  }
}

// Stored depths in runs of 1 to 20 pixels that are each wholly nearer than
// the triangle (equal included) or wholly farther; random colours and ids.
void StoreDepthRuns(std::mt19937& rng, const Canvas& alone, Canvas& over) {
  int run = 0;
  bool hides = false;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (run-- <= 0) {
        run = static_cast<int>(rng() % 20);
        hides = rng() % 2 == 0;
      }
      const int z = alone.Colour(x, y) == kUndrawn ? static_cast<int>(rng() % 0x10000) : alone.Depth(x, y);
      const int stored = hides ? z - static_cast<int>(rng() % 4) : z + 1 + static_cast<int>(rng() % 200);
      over.SetDepth(x, y, static_cast<std::uint16_t>(std::clamp(stored, 0, 0xFFFF)));
      over.SetColour(x, y, static_cast<std::uint32_t>(rng()) & 0xFFFFFF);
      over.SetId(x, y, static_cast<std::int32_t>(rng() % 1000));
    }
  }
}

// Along a row the drawn depths change by one 16-bit step per pixel. A
// row's pixels are one run (the triangle is convex) but for pixels whose
// depth is 0xFFFF, which the empty target keeps: clipped spans may run past
// 0 and wrap.
bool DepthStepsEvenly(const Canvas& c, int y) {
  int previous = -1;
  int step = -1;
  for (int x = 0; x < kWidth; ++x) {
    if (c.Colour(x, y) == kUndrawn) continue;
    if (previous >= 0) {
      const int gap = x - previous;
      const int s = (c.Depth(x, y) - c.Depth(previous, y)) & 0xFFFF;
      if (step >= 0 && s != ((step * gap) & 0xFFFF)) return false;
      if (gap == 1) step = s;
    }
    previous = x;
  }
  return true;
}

TEST(TriangleDepthRuns, EveryPixelPassesOrFailsOnItsOwn) {
  std::mt19937 rng(20261208);
  for (const int size : {256, 200, 7}) {
    Texture texture(size, size);
    for (std::uint32_t& texel : texture.texels) texel = static_cast<std::uint32_t>(rng()) & 0xFFFFFF;
    for (const Member& member : kMembers) {
      for (int i = 0; i < 40; ++i) {
        RasterVertex tri[3];
        RandomTriangle(rng, member.layout, tri);
        Canvas alone(kWidth, kHeight, kUndrawn);
        Canvas over(kWidth, kHeight);
        texture.Bind(*alone.ctx);
        texture.Bind(*over.ctx);
        member.draw(*alone.ctx, tri);
        for (int y = 0; y < kHeight; ++y) ASSERT_TRUE(DepthStepsEvenly(alone, y)) << member.name << " row " << y;
        StoreDepthRuns(rng, alone, over);
        const std::vector<std::uint16_t> depths = over.depthStore;
        const std::vector<std::uint32_t> colours = over.colourStore;
        const std::vector<std::int32_t> ids = over.idStore;
        member.draw(*over.ctx, tri);
        for (int y = 0; y < kHeight; ++y) {
          for (int x = 0; x < kWidth; ++x) {
            const std::size_t at = over.Index(x, y);
            const bool drawn = alone.Colour(x, y) != kUndrawn && alone.Depth(x, y) < depths[at];
            const bool same = over.Depth(x, y) == (drawn ? alone.Depth(x, y) : depths[at]) &&
                              over.Colour(x, y) == (drawn ? alone.Colour(x, y) : colours[at]) &&
                              over.Id(x, y) == (drawn && member.writesIds ? alone.Id(x, y) : ids[at]);
            ASSERT_TRUE(same) << member.name << " size " << size << " case " << i << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace mok::test
