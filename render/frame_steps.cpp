#include "render/frame_steps.h"

#include <algorithm>

#include "render/saturate.h"

namespace mok {

namespace {

std::uint32_t Blend(std::uint32_t colour, std::uint32_t old, std::uint32_t weight) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t c = (colour >> shift) & 0xFF;
    const std::uint32_t o = (old >> shift) & 0xFF;
    out |= (((c * (256 - weight) + o * weight) >> 8) & 0xFF) << shift;
  }
  return out;
}

struct Offset {
  int x;
  int y;
};

// One octant of the midpoint circle, from the compass point (0, r) to the
// diagonal.
std::vector<Offset> CircleOctant(int radius) {
  std::vector<Offset> points;
  int x = 0, y = radius, d = 1 - radius;
  while (x <= y) {
    points.push_back({x, y});
    if (d < 0) {
      d += 2 * x + 3;
    } else {
      d += 2 * (x - y) + 5;
      --y;
    }
    ++x;
  }
  return points;
}

void BlendPixel(FrameBuffer& frame, int x, int y, std::uint32_t colour, std::uint32_t weight) {
  if (x < 0 || y < 0 || x >= frame.width || y >= frame.height) return;
  std::uint32_t& pixel = frame.colour[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x)];
  pixel = Blend(colour, pixel, weight);
}

// The eight mirror images of an octant point, each pixel once (points on an
// axis or the diagonal mirror onto themselves).
void BlendSymmetric(FrameBuffer& frame, int cx, int cy, Offset p, std::uint32_t colour, std::uint32_t weight) {
  const Offset images[8] = {{p.x, p.y}, {-p.x, p.y}, {p.x, -p.y}, {-p.x, -p.y},
                            {p.y, p.x}, {-p.y, p.x}, {p.y, -p.x}, {-p.y, -p.x}};
  for (int i = 0; i < 8; ++i) {
    bool repeated = false;
    for (int j = 0; j < i; ++j) repeated = repeated || (images[j].x == images[i].x && images[j].y == images[i].y);
    if (!repeated) BlendPixel(frame, cx + images[i].x, cy + images[i].y, colour, weight);
  }
}

}  // namespace

int NormaliseRefreshKind(int kind) {
  if (kind == kRefreshQuick || kind == kRefreshPaint) return kind;
  return kRefreshFinal;
}

namespace {

// Sets `count` words from `words` on. A string store writes whole cache
// lines without reading them first, which a loop of vector stores does for
// every line it touches: on a full-HD colour buffer that is a third less time.
void FillWords(std::uint32_t* words, std::size_t count, std::uint32_t value) {
#if defined(__x86_64__)
  asm volatile("rep stosl" : "+D"(words), "+c"(count) : "a"(value) : "memory");
#else
  std::fill_n(words, count, value);
#endif
}

}  // namespace

void ClearBuffers(FrameBuffer& frame, std::uint32_t background, bool clearIds) {
  const std::size_t n = frame.pixelCount();
  FillWords(frame.colour.data(), std::min(n, frame.colour.size()), background);
  std::fill_n(frame.depth.begin(), std::min(n, frame.depth.size()), kDepthFar);
  if (clearIds) std::fill_n(frame.ids.begin(), std::min(n, frame.ids.size()), kIdBackground);
}

int RampFor(const MeshTriangle& face, bool mappingMode) {
  if (!mappingMode) return 0;
  if (face.state & kFaceEditing) return 2;
  return face.state != 0 ? 1 : 0;
}

std::uint32_t RampColour(const ShadeRamps& ramps, int ramp, int index) {
  return ramps[static_cast<std::size_t>(std::clamp(ramp, 0, 2) * kRampSize + std::clamp(index, 0, kRampSize - 1))];
}

std::vector<TexturePass> PlanTexturePasses(MeshDocument& doc, const VisibleTriangles& visible) {
  const int slots = doc.slotCount();
  std::vector<TexturePass> passes(static_cast<std::size_t>(slots) + 1);
  passes[0].skin = &doc.defaultSkin;
  for (int j = 0; j < slots; ++j) {
    TexturePass& pass = passes[static_cast<std::size_t>(j) + 1];
    pass.channel = j;
    SkinSlot* slot = doc.slotFor(j);
    pass.skin = slot ? slot : &doc.defaultSkin;
  }
  for (int index : visible.taken) {
    const int channel = doc.triangles[static_cast<std::size_t>(index)].textureNum;
    passes[channel < slots ? static_cast<std::size_t>(channel) + 1 : 0].triangles.push_back(index);
  }
  std::erase_if(passes, [](const TexturePass& p) { return p.triangles.empty(); });
  return passes;
}

CornerUv CornerTexel(const MeshDocument& doc, const MeshTriangle& face, int corner) {
  const int index = face.uvIndex[corner];
  if (index < 0 || index >= kMaxUvVertices) return {};
  const UvPair& uv = doc.uvVertices[static_cast<std::size_t>(index)];
  return {SaturatingInt(uv.u, kMinCornerTexel, kMaxCornerTexel) * 65536,
          SaturatingInt(uv.v, kMinCornerTexel, kMaxCornerTexel) * 65536};
}

CornerUv CornerMapUv(const MeshTriangle& face, int corner) {
  return {static_cast<std::int32_t>(face.envUv[corner][0]) << 16, static_cast<std::int32_t>(face.envUv[corner][1]) << 16};
}

CornerRgb RampChannels(std::uint32_t colour, bool plusOne) {
  const std::int32_t add = plusOne ? 1 : 0;
  return {(static_cast<std::int32_t>((colour >> 16) & 0xFF) + add) << 16,
          (static_cast<std::int32_t>((colour >> 8) & 0xFF) + add) << 16,
          (static_cast<std::int32_t>(colour & 0xFF) + add) << 16};
}

void DrawTrackballCircle(FrameBuffer& frame, std::uint32_t colour) {
  if (!frame.hasArea() || frame.colour.size() < frame.pixelCount()) return;
  const int radius = static_cast<int>(std::min(frame.width, frame.height) * 0.45);
  if (radius < 1) return;
  const std::vector<Offset> octant = CircleOctant(radius);
  // The weight rises in 8.8 fixed point so the octant is fully faded at 95%
  // of its points; circles too small for a step are drawn solid.
  const int span = (static_cast<int>(octant.size()) - 1) * 95 / 100;
  const std::uint32_t step = span > 0 ? 65536u / static_cast<std::uint32_t>(span) : 0;
  std::uint32_t weight = 0;
  for (const Offset& p : octant) {
    BlendSymmetric(frame, frame.width / 2, frame.height / 2, p, colour, std::min<std::uint32_t>(weight >> 8, 256));
    weight += step;
  }
}

void RepaintFromShade(FrameBuffer& frame, const SkinSlot& skin, const std::vector<std::uint8_t>& strokeMarks) {
  if (!frame.hasShade() || frame.ids.size() < frame.pixelCount() || frame.colour.size() < frame.pixelCount()) return;
  const std::size_t texels = std::min({static_cast<std::size_t>(std::max(skin.width, std::int16_t{0})) *
                                           static_cast<std::size_t>(std::max(skin.height, std::int16_t{0})),
                                       skin.pixels.size(), strokeMarks.size()});
  for (std::size_t i = 0; i < frame.pixelCount(); ++i) {
    const std::int32_t p = frame.ids[i];
    if (p < 0 || static_cast<std::size_t>(p) >= texels || !strokeMarks[static_cast<std::size_t>(p)]) continue;
    frame.colour[i] = modulate(skin.pixels[static_cast<std::size_t>(p)], frame.shade[i]);
  }
}

}  // namespace mok
