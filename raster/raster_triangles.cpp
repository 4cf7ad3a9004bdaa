// The triangle members of the rasterizer: one template family, described by
// a compile-time Member (what colours a pixel, what goes into the id
// buffer, depth test on or off, bilinear filtering, rounded span steps).
// Each named member below is a single instantiation.

#include <algorithm>
#include <cstddef>
#include <bit>
#include <cstdint>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/raster.h"
#include "raster/raster_blend.h"
#include "raster/raster_edges.h"
#include "raster/raster_span_divide.h"

namespace mok {
namespace raster_detail {
namespace {

enum class Colour : std::uint8_t {
  kFlat,          // the triangle's shade value
  kGouraud,       // interpolated r, g, b
  kMapRamp,       // shadeRamps[map value + rampBase]
  kTexel,         // the texel
  kTexelFlat,     // texel modulated by the shade value
  kTexelGouraud,  // texel modulated by interpolated r, g, b
  kTexelPhong,    // texel modulated by shadeRamps[map value]
};

enum class Ids : std::uint8_t { kNone, kValue, kTexel };

struct Member {
  Colour colour;
  Ids ids;
  bool depth;
  bool filtered;
  bool rounded;  // span steps of u and v add half a texel before dividing
};

constexpr Member Solid(Colour colour, Ids ids, bool filtered = false) {
  return {colour, ids, true, filtered, false};
}
constexpr Member Skin(Ids ids, bool filtered, bool rounded = false) {
  return {Colour::kTexel, ids, false, filtered, rounded};
}

constexpr bool UsesTexture(Colour c) { return c >= Colour::kTexel; }
constexpr bool UsesRgb(Colour c) { return c == Colour::kGouraud || c == Colour::kTexelGouraud; }
constexpr bool UsesMap(Colour c) { return c == Colour::kMapRamp || c == Colour::kTexelPhong; }

// Attribute order after x, y: u, v (textured); r, g, b or mu, mv; z (3D).
template <Member M>
struct Layout {
  static constexpr int kU = 0;
  static constexpr int kV = 1;
  static constexpr int kExtra = UsesTexture(M.colour) ? 2 : 0;
  static constexpr int kExtraCount = UsesRgb(M.colour) ? 3 : UsesMap(M.colour) ? 2 : 0;
  static constexpr int kZ = kExtra + kExtraCount;
  static constexpr int kCount = kZ + (M.depth ? 1 : 0);
};

// Largest colour attribute: 255.99 for plain Gouraud (a byte per channel),
// 256.99 for the textured Gouraud members, where 256 keeps the texel as is.
template <Member M>
constexpr std::int32_t kRgbLimit = M.colour == Colour::kGouraud ? 0xFFFFFF : 0x100FFFF;
constexpr std::int32_t kMapLimit = 0xFFFFFF;  // 255.99: the map is 256 x 256

struct TriangleParams {
  std::int32_t id = 0;
  std::uint32_t shade = 0;
  std::int32_t rampBase = 0;
};

struct Texture {
  const std::uint32_t* texels = nullptr;
  const std::int32_t* rows = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t rowShift = 0;  // log2(width) when the width is a power of two
};

// What every pixel of one triangle shares; copied out of the context so
// that stores into the target cannot make the compiler reload it.
struct TriangleConstants {
  Texture tex;
  const std::uint32_t* ramps = nullptr;
  const std::uint8_t* map = nullptr;
  std::int32_t id = 0;
  std::uint32_t shade = 0;
  std::int32_t rampBase = 0;
  std::uint32_t shadeR1 = 0;  // shade channels + 1, for modulation
  std::uint32_t shadeG1 = 0;
  std::uint32_t shadeB1 = 0;
};

template <Member M>
bool PrepareBounds(const RasterContext& ctx, ClipBounds& bounds) {
  if (ctx.colour == nullptr || ctx.width < 1 || ctx.height < 1) return false;
  if (M.depth && ctx.depth == nullptr) return false;
  if (M.ids != Ids::kNone && ctx.ids == nullptr) return false;
  if (UsesTexture(M.colour) &&
      (ctx.texels == nullptr || ctx.texRows == nullptr || ctx.texWidth < 1 || ctx.texHeight < 1)) {
    return false;
  }
  if (UsesMap(M.colour) && ctx.phongMap == nullptr) return false;
  bounds.right = std::min(ctx.maxX, ctx.width - 1);
  bounds.top = std::min({ctx.maxY, ctx.height - 1, kRasterMaxRows - 1});
  return bounds.right >= 0 && bounds.top >= 0;
}

template <Member M>
void LoadVertices(const RasterVertex* v, ClipVertex<Layout<M>::kCount> (&tri)[3]) {
  using L = Layout<M>;
  for (int i = 0; i < 3; ++i) {
    tri[i].x = v[i].x;
    tri[i].y = v[i].y;
    for (int k = 0; k < L::kCount; ++k) tri[i].attr[k] = v[i].attr[k];
    // Interpolated values never leave the range of the corners, so clamping
    // the corners keeps every pixel's channel and map index in range.
    for (int k = L::kExtra; k < L::kZ; ++k) {
      const std::int32_t limit = UsesRgb(M.colour) ? kRgbLimit<M> : kMapLimit;
      tri[i].attr[k] = std::clamp(tri[i].attr[k], 0, limit);
    }
  }
}

TriangleConstants MakeConstants(const RasterContext& ctx, const TriangleParams& params) {
  TriangleConstants c;
  c.tex = {ctx.texels, ctx.texRows, ctx.texWidth, ctx.texHeight,
           std::countr_zero(static_cast<std::uint32_t>(std::max<int>(ctx.texWidth, 1)))};
  c.ramps = ctx.shadeRamps.data();
  c.map = ctx.phongMap;
  c.id = params.id;
  c.shade = params.shade;
  c.rampBase = std::clamp(params.rampBase, 0, 512);
  c.shadeR1 = ((params.shade >> 16) & 0xFF) + 1;
  c.shadeG1 = ((params.shade >> 8) & 0xFF) + 1;
  c.shadeB1 = (params.shade & 0xFF) + 1;
  return c;
}

// ---- Per-pixel pieces ----

// The per-pixel helpers are forced inline: each one sits in a span loop.
#define MOK_RASTER_INLINE [[gnu::always_inline]] inline

inline std::int32_t FloorMod(std::int32_t a, std::int32_t m) {
  const std::int32_t r = a % m;
  return r < 0 ? r + m : r;
}

// value + n * step in 32-bit wrapping arithmetic: the same as n single steps.
inline std::int32_t WrappingAdd(std::int32_t value, std::int32_t step, int n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                   static_cast<std::uint32_t>(step) * static_cast<std::uint32_t>(n));
}

// A texture coordinate that stays within [0, size) texels over a span. The
// step after the last pixel may leave the int32 range, so it wraps unsigned.
struct DirectCoord {
  std::int32_t value = 0;
  std::int32_t step = 0;
  std::int32_t Whole() const { return value >> 16; }
  std::int32_t Fraction() const { return value & 0xFFFF; }
  void Advance() { AdvanceBy(1); }
  void AdvanceBy(int n) { value = WrappingAdd(value, step, n); }
};

// A texture coordinate on a texture whose size is a power of two: masking
// the whole part is the modulo for any sign. It stays exact even where the
// running value wraps around 2^32, because the size divides 65536.
struct MaskedCoord {
  std::int32_t value = 0;
  std::int32_t step = 0;
  std::int32_t mask = 0;
  std::int32_t Whole() const { return (value >> 16) & mask; }
  std::int32_t Fraction() const { return value & 0xFFFF; }
  void Advance() { AdvanceBy(1); }
  void AdvanceBy(int n) { value = WrappingAdd(value, step, n); }
};

// A texture coordinate that leaves the texture somewhere on the span: its
// whole part is kept reduced modulo the size and its fraction apart, which
// gives exactly (value >> 16) mod size for any sign and never overflows.
struct WrappedCoord {
  std::int32_t whole = 0;
  std::int32_t fraction = 0;
  std::int32_t wholeStep = 0;  // already reduced modulo size
  std::int32_t fractionStep = 0;
  std::int32_t size = 1;

  WrappedCoord() = default;
  WrappedCoord(std::int32_t value, std::int32_t step, std::int32_t wrapSize)
      : whole(FloorMod(value >> 16, wrapSize)),
        fraction(value & 0xFFFF),
        wholeStep(FloorMod(step >> 16, wrapSize)),
        fractionStep(step & 0xFFFF),
        size(wrapSize) {}
  std::int32_t Whole() const { return whole; }
  std::int32_t Fraction() const { return fraction; }
  void Advance() {
    fraction += fractionStep;
    whole += wholeStep + (fraction >> 16);
    fraction &= 0xFFFF;
    if (whole >= size) whole -= size;
  }
  void AdvanceBy(int n) {
    for (int i = 0; i < n; ++i) Advance();
  }
};

// LerpChannels(LerpChannels(t00, t10, wu), LerpChannels(t01, t11, wu), wv).
#if defined(__SSE2__)
// Each channel's pair of texels in two 16-bit lanes, so one multiply-add
// gives a * (256 - w) + b * w (at most 255 * 256: exact). The high bytes
// ride along in their own lanes and are dropped at the end.
MOK_RASTER_INLINE std::uint32_t Bilinear(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                                         std::uint32_t t11, std::uint32_t wu, std::uint32_t wv) {
  const __m128i zero = _mm_setzero_si128();
  auto weights = [](std::uint32_t w) { return _mm_set1_epi32(static_cast<int>(w << 16 | (256 - w))); };
  auto rows = [](std::uint32_t top, std::uint32_t bottom) {
    return _mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(top)), _mm_cvtsi32_si128(static_cast<int>(bottom)));
  };
  const __m128i pairs = _mm_unpacklo_epi8(rows(t00, t01), rows(t10, t11));  // per channel: left, right; top row first
  const __m128i wu2 = weights(wu);
  const __m128i top = _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(pairs, zero), wu2), 8);
  const __m128i bottom = _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi8(pairs, zero), wu2), 8);
  const __m128i columns = _mm_or_si128(top, _mm_slli_epi32(bottom, 16));  // per channel: top, bottom
  const __m128i blended = _mm_srli_epi32(_mm_madd_epi16(columns, weights(wv)), 8);
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(blended, zero), zero);
  return static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes)) & 0xFFFFFF;
}
#else
// The two blends along u run side by side in the halves of 64-bit words: the
// lane arithmetic of LerpChannels stays exact there, as every lane's sum
// still lies in 0..0xFF00.
MOK_RASTER_INLINE std::uint32_t Bilinear(std::uint32_t t00, std::uint32_t t10, std::uint32_t t01,
                                         std::uint32_t t11, std::uint32_t wu, std::uint32_t wv) {
  constexpr std::uint64_t kRb = 0x00FF00FF00FF00FFull;
  constexpr std::uint64_t kG = 0x0000FF000000FF00ull;
  const std::uint64_t a = t00 | std::uint64_t{t01} << 32;
  const std::uint64_t b = t10 | std::uint64_t{t11} << 32;
  const std::uint64_t aRb = a & kRb;
  const std::uint64_t aG = a & kG;
  const std::uint64_t rb = (((aRb << 8) + ((b & kRb) - aRb) * wu) >> 8) & kRb;
  const std::uint64_t g = (((aG << 8) + ((b & kG) - aG) * wu) >> 8) & kG;
  const std::uint64_t rows = rb | g;
  return LerpChannels(static_cast<std::uint32_t>(rows), static_cast<std::uint32_t>(rows >> 32), wv);
}
#endif

struct Sample {
  std::uint32_t colour;
  std::int32_t index;  // offset of the (top-left) texel in the texture
};

// texRows[row]. On a power-of-two texture (masked coordinates) that is the
// row shifted by log2(width), which vector lanes compute without a lookup.
template <class Coord>
MOK_RASTER_INLINE std::int32_t RowOffset(const Texture& tex, std::int32_t row) {
  if constexpr (std::is_same_v<Coord, MaskedCoord>) {
    return row << tex.rowShift;
  } else {
    return tex.rows[row];
  }
}

template <bool Filtered, class Coord>
MOK_RASTER_INLINE Sample SampleTexture(const Texture& tex, const Coord& u, const Coord& v) {
  const std::int32_t column = u.Whole();
  const std::int32_t row = v.Whole();
  const std::int32_t rowOffset = RowOffset<Coord>(tex, row);
  const std::int32_t index = column + rowOffset;
  if constexpr (!Filtered) {
    return {tex.texels[index], index};
  } else {
    const std::int32_t column1 = column + 1 == tex.width ? 0 : column + 1;
    const std::int32_t rowOffset1 = RowOffset<Coord>(tex, row + 1 == tex.height ? 0 : row + 1);
    const std::uint32_t wu = static_cast<std::uint32_t>(u.Fraction() >> 8) + 1;
    const std::uint32_t wv = static_cast<std::uint32_t>(v.Fraction() >> 8) + 1;
    return {Bilinear(tex.texels[index], tex.texels[column1 + rowOffset], tex.texels[column + rowOffset1],
                     tex.texels[column1 + rowOffset1], wu, wv),
            index};
  }
}

// Intensity of the 256 x 256 map at (mu, mv), both 8.16 within 0..255.99.
template <bool Filtered>
MOK_RASTER_INLINE std::uint32_t MapValue(const std::uint8_t* map, std::int32_t mu, std::int32_t mv) {
  const std::int32_t iu = mu >> 16;
  const std::int32_t iv = mv >> 16;
  const std::uint32_t t00 = map[iv * 256 + iu];
  if constexpr (!Filtered) {
    return t00;
  } else {
    const std::int32_t iu1 = (iu + 1) & 0xFF;
    const std::int32_t iv1 = (iv + 1) & 0xFF;
    const std::uint32_t wu = static_cast<std::uint32_t>((mu >> 8) & 0xFF) + 1;
    const std::uint32_t wv = static_cast<std::uint32_t>((mv >> 8) & 0xFF) + 1;
    const std::uint32_t top = (t00 * (256 - wu) + map[iv * 256 + iu1] * wu) >> 8;
    const std::uint32_t bottom = (map[iv1 * 256 + iu] * (256 - wu) + map[iv1 * 256 + iu1] * wu) >> 8;
    return (top * (256 - wv) + bottom * wv) >> 8;
  }
}

// Per channel (texel * factor) >> 8, factors 0..256.
MOK_RASTER_INLINE std::uint32_t Modulate(std::uint32_t texel, std::uint32_t r, std::uint32_t g,
                                         std::uint32_t b) {
  return ((((texel >> 16) & 0xFF) * r) >> 8) << 16 | ((((texel >> 8) & 0xFF) * g) >> 8) << 8 |
         (((texel & 0xFF) * b) >> 8);
}

// The running values of one span.
template <Member M, class Coord>
struct SpanState {
  Coord u;
  Coord v;
  std::int32_t extra[3] = {};  // r, g, b or mu, mv
  std::int32_t extraStep[3] = {};
  std::uint16_t z = 0;
  std::uint16_t zStep = 0;

  void Advance() { AdvanceBy(1); }
  void AdvanceBy(int n) {
    if constexpr (UsesTexture(M.colour)) {
      u.AdvanceBy(n);
      v.AdvanceBy(n);
    }
    for (int k = 0; k < Layout<M>::kExtraCount; ++k) extra[k] = WrappingAdd(extra[k], extraStep[k], n);
    if constexpr (M.depth) z = static_cast<std::uint16_t>(z + zStep * n);
  }
};

template <Member M, class Coord>
MOK_RASTER_INLINE std::uint32_t PixelColour(const TriangleConstants& c, const SpanState<M, Coord>& s,
                                            const Sample& t) {
  if constexpr (M.colour == Colour::kFlat) {
    return c.shade;
  } else if constexpr (M.colour == Colour::kGouraud) {
    return static_cast<std::uint32_t>((s.extra[0] >> 16) << 16 | (s.extra[1] >> 16) << 8 | s.extra[2] >> 16);
  } else if constexpr (M.colour == Colour::kMapRamp) {
    return c.ramps[MapValue<M.filtered>(c.map, s.extra[0], s.extra[1]) + c.rampBase];
  } else if constexpr (M.colour == Colour::kTexel) {
    return t.colour;
  } else if constexpr (M.colour == Colour::kTexelFlat) {
    return Modulate(t.colour, c.shadeR1, c.shadeG1, c.shadeB1);
  } else if constexpr (M.colour == Colour::kTexelGouraud) {
    return Modulate(t.colour, static_cast<std::uint32_t>(s.extra[0] >> 16),
                    static_cast<std::uint32_t>(s.extra[1] >> 16),
                    static_cast<std::uint32_t>(s.extra[2] >> 16));
  } else {
    const std::uint32_t ramp = c.ramps[MapValue<false>(c.map, s.extra[0], s.extra[1])];
    return Modulate(t.colour, ((ramp >> 16) & 0xFF) + 1, ((ramp >> 8) & 0xFF) + 1, (ramp & 0xFF) + 1);
  }
}

struct SpanTarget {
  std::uint32_t* colour;
  std::uint16_t* depth;  // null for 2D members
  std::int32_t* ids;     // null unless the member writes ids
  int count;
};

// Colour and id of pixel i; its depth is written by the caller.
template <Member M, class Coord>
MOK_RASTER_INLINE void DrawPixel(const TriangleConstants& c, const SpanState<M, Coord>& s,
                                 const SpanTarget& target, int i) {
  Sample t{0, 0};
  if constexpr (UsesTexture(M.colour)) t = SampleTexture<M.filtered>(c.tex, s.u, s.v);
  target.colour[i] = PixelColour(c, s, t);
  if constexpr (M.ids == Ids::kValue) target.ids[i] = c.id;
  if constexpr (M.ids == Ids::kTexel) target.ids[i] = t.index;
}

// The depth test of the eight pixels at `depth`, whose depths run z, z + step,
// ... in 16-bit wrapping steps. Every stored depth becomes min(stored, z_k),
// which is z_k where the pixel passes (z_k < stored) and the old depth where
// it fails. Returns two bits per pixel, both set where it passes.
inline constexpr unsigned kDepthAllPass = 0xFFFF;

#if defined(__SSE2__)
// The depths z, z + step, ... z + 7 * step in 16-bit wrapping lanes.
MOK_RASTER_INLINE __m128i DepthLanes(std::uint16_t z, std::uint16_t step) {
  return _mm_add_epi16(_mm_set1_epi16(static_cast<std::int16_t>(z)),
                       _mm_mullo_epi16(_mm_set1_epi16(static_cast<std::int16_t>(step)), _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7)));
}

// The same test with the eight depths already in 16-bit lanes; it also
// gives the failed pixels as lanes of all ones.
struct DepthOutcome {
  unsigned passed;
  __m128i failed;
};

MOK_RASTER_INLINE DepthOutcome DepthTestLanes(std::uint16_t* depth, __m128i zs) {
  const __m128i stored = _mm_loadu_si128(reinterpret_cast<const __m128i*>(depth));
  // stored - z_k where that is positive, 0 where the pixel fails.
  const __m128i margin = _mm_subs_epu16(stored, zs);
  const __m128i failed = _mm_cmpeq_epi16(margin, _mm_setzero_si128());
  const unsigned passed = ~static_cast<unsigned>(_mm_movemask_epi8(failed)) & kDepthAllPass;
  if (passed != 0) _mm_storeu_si128(reinterpret_cast<__m128i*>(depth), _mm_sub_epi16(stored, margin));
  return {passed, failed};
}
#endif

MOK_RASTER_INLINE unsigned DepthTest8(std::uint16_t* depth, std::uint16_t z, std::uint16_t step) {
#if defined(__SSE2__)
  return DepthTestLanes(depth, DepthLanes(z, step)).passed;
#else
  unsigned passed = 0;
  for (int k = 0; k < 8; ++k) {
    const std::uint16_t zk = static_cast<std::uint16_t>(z + step * k);
    if (zk < depth[k]) {
      passed |= 3u << (2 * k);
      depth[k] = zk;
    }
  }
  return passed;
#endif
}

// Offsets of the texels under eight consecutive pixels on a power-of-two
// texture (the scalar twin of SpanLanes::Offsets).
MOK_RASTER_INLINE void TexelOffsets8(const Texture& tex, const MaskedCoord& u, const MaskedCoord& v,
                                     std::int32_t (&offset)[8]) {
  for (int k = 0; k < 8; ++k) {
    MaskedCoord uk = u;
    MaskedCoord vk = v;
    uk.AdvanceBy(k);
    vk.AdvanceBy(k);
    offset[k] = uk.Whole() + RowOffset<MaskedCoord>(tex, vk.Whole());
  }
}

// Whether a run of visible pixels may sample its texels ahead: the colour
// then depends on the texel alone, and the coordinates wrap by masking.
template <Member M, class Coord>
constexpr bool kSamplesAhead = !M.filtered && std::is_same_v<Coord, MaskedCoord> &&
                               (M.colour == Colour::kTexel || M.colour == Colour::kTexelFlat);

// Eight visible pixels from i on.
template <Member M, class Coord>
MOK_RASTER_INLINE void DrawVisible8(const TriangleConstants& c, SpanState<M, Coord>& s, const SpanTarget& target,
                                    int i) {
  if constexpr (kSamplesAhead<M, Coord>) {
    std::int32_t offset[8];
    TexelOffsets8(c.tex, s.u, s.v, offset);
    for (int k = 0; k < 8; ++k) {
      const Sample t{c.tex.texels[offset[k]], offset[k]};
      target.colour[i + k] = PixelColour(c, s, t);
      if constexpr (M.ids == Ids::kValue) target.ids[i + k] = c.id;
      if constexpr (M.ids == Ids::kTexel) target.ids[i + k] = t.index;
    }
    s.AdvanceBy(8);
  } else {
    for (int k = 0; k < 8; ++k, s.Advance()) DrawPixel(c, s, target, i + k);
  }
}

// Eight pixels from i on whose depth test already ran.
template <Member M, class Coord>
MOK_RASTER_INLINE void DrawTested8(const TriangleConstants& c, SpanState<M, Coord>& s, const SpanTarget& target,
                                   int i, unsigned passed) {
  if (passed == 0) {
    s.AdvanceBy(8);
  } else if (passed == kDepthAllPass) {
    DrawVisible8(c, s, target, i);
  } else {
    for (int k = 0; k < 8; ++k, s.Advance()) {
      if ((passed >> (2 * k)) & 1) DrawPixel(c, s, target, i + k);
    }
  }
}

#if defined(__SSE2__)
// The running values of eight consecutive pixels of a masked span, each lane
// exactly its pixel's scalar value: u and v in two halves of four 32-bit
// lanes, the depth in eight 16-bit lanes, all stepping with wrap-around as
// the scalar values do.
struct SpanLanes {
  __m128i u[2];
  __m128i v[2];
  __m128i z;
  __m128i uStep;  // eight pixels' worth of each step
  __m128i vStep;
  __m128i zStep;

  template <Member M>
  explicit SpanLanes(const SpanState<M, MaskedCoord>& s)
      : u{Ramp(s.u, 0), Ramp(s.u, 4)},
        v{Ramp(s.v, 0), Ramp(s.v, 4)},
        z(DepthLanes(s.z, s.zStep)),
        uStep(_mm_set1_epi32(WrappingAdd(0, s.u.step, 8))),
        vStep(_mm_set1_epi32(WrappingAdd(0, s.v.step, 8))),
        zStep(_mm_set1_epi16(static_cast<std::int16_t>(s.zStep * 8))) {}

  // The values `ahead` .. ahead + 3 steps on: 0, 1, 2 and 3 steps made of
  // the step moved along the lanes and added up.
  static __m128i Ramp(const MaskedCoord& c, int ahead) {
    const __m128i once = _mm_slli_si128(_mm_set1_epi32(c.step), 4);  // 0, s, s, s
    const __m128i twice = _mm_slli_si128(once, 4);                     // 0, 0, s, s
    const __m128i steps = _mm_add_epi32(_mm_add_epi32(once, twice), _mm_slli_si128(twice, 4));
    return _mm_add_epi32(_mm_set1_epi32(WrappingAdd(c.value, c.step, ahead)), steps);
  }

  void Advance() {
    for (int half = 0; half < 2; ++half) {
      u[half] = _mm_add_epi32(u[half], uStep);
      v[half] = _mm_add_epi32(v[half], vStep);
    }
    z = _mm_add_epi16(z, zStep);
  }

  // Texel offsets of four of the pixels: the masked whole parts, the row's
  // shifted by log2(width).
  __m128i Offsets(const Texture& tex, int half) const {
    const __m128i column = _mm_and_si128(_mm_srai_epi32(u[half], 16), _mm_set1_epi32(tex.width - 1));
    const __m128i row = _mm_and_si128(_mm_srai_epi32(v[half], 16), _mm_set1_epi32(tex.height - 1));
    return _mm_add_epi32(column, _mm_sll_epi32(row, _mm_cvtsi32_si128(tex.rowShift)));
  }
};

// Stores four lanes at `to`, keeping the old value where `keep` is all ones.
template <class T>
MOK_RASTER_INLINE void StoreKeeping(T* to, __m128i value, __m128i keep) {
  const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_or_si128(_mm_and_si128(keep, old), _mm_andnot_si128(keep, value)));
}

// The eight pixels from i on under `lanes`: depth test, then texel, colour
// and id of every pixel that passes. All eight texels are read and a hidden
// pixel keeps its old values by a blend, so a partly hidden group (the last
// group of most spans) takes no branch per pixel.
template <Member M>
MOK_RASTER_INLINE void DrawLanes8(const TriangleConstants& c, const SpanState<M, MaskedCoord>& s,
                                  const SpanLanes& lanes, const SpanTarget& target, int i) {
  DepthOutcome test{kDepthAllPass, _mm_setzero_si128()};
  if constexpr (M.depth) {
    test = DepthTestLanes(target.depth + i, lanes.z);
    if (test.passed == 0) return;
  }
  const __m128i offsets[2] = {lanes.Offsets(c.tex, 0), lanes.Offsets(c.tex, 1)};
  alignas(16) std::int32_t offset[8];
  _mm_store_si128(reinterpret_cast<__m128i*>(offset), offsets[0]);
  _mm_store_si128(reinterpret_cast<__m128i*>(offset + 4), offsets[1]);
  // Eight scalar loads of the stored offsets take fewer instructions than
  // shuffling each one out of its lane, which GCC otherwise prefers.
  asm("" : "+m"(offset));
  const __m128i keep[2] = {_mm_unpacklo_epi16(test.failed, test.failed), _mm_unpackhi_epi16(test.failed, test.failed)};
  // Four colours to a store: while the target's lines are still on their
  // way from memory, fewer stores wait in the store buffer.
  for (int half = 0; half < 2; ++half) {
    std::int32_t colour[4];
    for (int k = 0; k < 4; ++k) {
      const std::int32_t at = offset[4 * half + k];
      colour[k] = static_cast<std::int32_t>(PixelColour(c, s, {c.tex.texels[at], at}));
    }
    const __m128i colours = _mm_setr_epi32(colour[0], colour[1], colour[2], colour[3]);
    const __m128i ids = M.ids == Ids::kValue ? _mm_set1_epi32(c.id) : offsets[half];
    if constexpr (M.depth) {
      StoreKeeping(target.colour + i + 4 * half, colours, keep[half]);
      if constexpr (M.ids != Ids::kNone) StoreKeeping(target.ids + i + 4 * half, ids, keep[half]);
    } else {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(target.colour + i + 4 * half), colours);
      if constexpr (M.ids != Ids::kNone) _mm_storeu_si128(reinterpret_cast<__m128i*>(target.ids + i + 4 * half), ids);
    }
  }
}

// A masked span of at least eight pixels, eight at a time with the running
// values kept in lanes. The last group ends on the span's last pixel and
// may repeat pixels of the one before: a repeated pixel that was drawn now
// holds its own depth and fails the strict test, one that failed fails
// again, and without depth it is drawn once more with the same values, so
// repeating changes nothing.
template <Member M>
void DrawSpanLanes(const TriangleConstants& c, const SpanState<M, MaskedCoord>& s, const SpanTarget& target) {
  SpanLanes lanes(s);
  int i = 0;
  for (; i + 8 <= target.count; i += 8, lanes.Advance()) DrawLanes8(c, s, lanes, target, i);
  if (i == target.count) return;
  SpanState<M, MaskedCoord> last = s;
  last.AdvanceBy(target.count - 8);
  DrawLanes8(c, s, SpanLanes(last), target, target.count - 8);
}
#endif

// Depth-tested spans run eight pixels at a time through one vector test, so
// a run of hidden pixels costs no texel work and a visible run no branches;
// spans without depth sample eight texels ahead where they can. Nearest
// spans on a power-of-two texture keep their running values in lanes.
template <Member M, class Coord>
void DrawSpan(const TriangleConstants& c, SpanState<M, Coord> s, const SpanTarget& target) {
#if defined(__SSE2__)
  if constexpr (kSamplesAhead<M, Coord>) {
    if (target.count >= 8) return DrawSpanLanes(c, s, target);
  }
#endif
  int i = 0;
  if constexpr (M.depth) {
    for (; i + 8 <= target.count; i += 8) DrawTested8(c, s, target, i, DepthTest8(target.depth + i, s.z, s.zStep));
  } else if constexpr (kSamplesAhead<M, Coord>) {
    for (; i + 8 <= target.count; i += 8) DrawVisible8(c, s, target, i);
  }
  for (; i < target.count; ++i, s.Advance()) {
    if (!M.depth || s.z < target.depth[i]) {
      DrawPixel(c, s, target, i);
      if constexpr (M.depth) target.depth[i] = s.z;
    }
  }
}

// Left values and per-pixel steps of the span in row y, n pixels long. The
// steps divide by n, so the right values are never reached exactly; a
// one-pixel span keeps the left values.
template <Member M>
void SpanSteps(const RasterContext& ctx, int y, int n, std::int32_t* left, std::int32_t* step) {
  using L = Layout<M>;
  for (int k = 0; k < L::kCount; ++k) {
    left[k] = ctx.leftAttr[k][y];
    std::int64_t difference = static_cast<std::int64_t>(ctx.rightAttr[k][y]) - left[k];
    if (M.depth && k == L::kZ) difference = (ctx.rightAttr[k][y] >> 16) - (left[k] >> 16);
    if (M.rounded && k <= L::kV) difference += 0x8000;
    step[k] = n > 1 ? SpanQuotient(difference, n) : 0;
  }
}

// True when value + i * step stays inside [0, size) texels for i < n.
inline bool StaysInside(std::int32_t value, std::int32_t step, int n, std::int32_t size) {
  const std::int64_t limit = static_cast<std::int64_t>(size) << 16;
  const std::int64_t last = value + static_cast<std::int64_t>(step) * (n - 1);
  return value >= 0 && value < limit && last >= 0 && last < limit;
}

template <Member M, class Coord>
SpanState<M, Coord> StartSpan(const std::int32_t* left, const std::int32_t* step, Coord u, Coord v) {
  using L = Layout<M>;
  SpanState<M, Coord> s;
  s.u = u;
  s.v = v;
  for (int k = 0; k < L::kExtraCount; ++k) {
    s.extra[k] = left[L::kExtra + k];
    s.extraStep[k] = step[L::kExtra + k];
  }
  if constexpr (M.depth) {
    s.z = static_cast<std::uint16_t>(left[L::kZ] >> 16);
    s.zStep = static_cast<std::uint16_t>(step[L::kZ]);
  }
  return s;
}

constexpr bool IsPowerOfTwo(std::int32_t size) { return (size & (size - 1)) == 0; }

// Picks the cheapest exact way to wrap the span's texture coordinates.
template <Member M>
void DrawRow(const TriangleConstants& c, const std::int32_t* left, const std::int32_t* step,
             const SpanTarget& target) {
  using L = Layout<M>;
  if constexpr (UsesTexture(M.colour)) {
    const std::int32_t u = left[L::kU];
    const std::int32_t v = left[L::kV];
    const std::int32_t du = step[L::kU];
    const std::int32_t dv = step[L::kV];
    const Texture& tex = c.tex;
    if (IsPowerOfTwo(tex.width) && IsPowerOfTwo(tex.height)) {
      DrawSpan(
          c, StartSpan<M>(left, step, MaskedCoord{u, du, tex.width - 1}, MaskedCoord{v, dv, tex.height - 1}),
          target);
    } else if (StaysInside(u, du, target.count, tex.width) && StaysInside(v, dv, target.count, tex.height)) {
      DrawSpan(c, StartSpan<M>(left, step, DirectCoord{u, du}, DirectCoord{v, dv}), target);
    } else {
      DrawSpan(c, StartSpan<M>(left, step, WrappedCoord(u, du, tex.width), WrappedCoord(v, dv, tex.height)),
               target);
    }
  } else {
    DrawSpan(c, StartSpan<M>(left, step, DirectCoord{}, DirectCoord{}), target);
  }
}

// Asks for the cache lines of `count` pixels' colour and depth from `base`
// on. A span usually starts in a row nothing has touched since the clear, and
// the hardware prefetchers do not follow the jump from one row to the next,
// so the next span's lines are fetched while the current one is drawn.
template <class T>
MOK_RASTER_INLINE void PrefetchForWriting(const T* from, int count) {
  constexpr int kLine = 64;
  const char* end = reinterpret_cast<const char*>(from + count);
  for (const char* p = reinterpret_cast<const char*>(from); p < end; p += kLine) __builtin_prefetch(p, 1);
}

template <Member M>
MOK_RASTER_INLINE void PrefetchSpan(const RasterContext& ctx, std::ptrdiff_t base, int count) {
  PrefetchForWriting(ctx.colour + base, count);
  if constexpr (M.depth) PrefetchForWriting(ctx.depth + base, count);
}

// Fills every row the edge pass touched and leaves the tables idle again.
template <Member M>
void FillRows(RasterContext& ctx, const TriangleConstants& c, ClipBounds bounds) {
  constexpr int kCount = Layout<M>::kCount;
  const int first = std::max(ctx.minRow, 0);
  const int last = std::min(ctx.maxRow, bounds.top);
  for (int y = first; y <= last; ++y) {
    const std::int32_t l = std::max(ctx.leftX[y], 0);
    const std::int32_t r = std::min(ctx.rightX[y], bounds.right);
    if (y < last) {
      const std::int32_t nextL = std::max(ctx.leftX[y + 1], 0);
      const std::int32_t nextR = std::min(ctx.rightX[y + 1], bounds.right);
      if (nextL <= nextR) PrefetchSpan<M>(ctx, static_cast<std::ptrdiff_t>(y + 1) * ctx.width + nextL, nextR - nextL + 1);
    }
    ctx.leftX[y] = kEdgeIdleLeft;
    ctx.rightX[y] = kEdgeIdleRight;
    if (l > r) continue;
    const int n = r - l + 1;
    std::int32_t left[kCount];
    std::int32_t step[kCount];
    SpanSteps<M>(ctx, y, n, left, step);
    const std::ptrdiff_t base = static_cast<std::ptrdiff_t>(y) * ctx.width + l;
    SpanTarget target{ctx.colour + base, nullptr, nullptr, n};
    if constexpr (M.depth) target.depth = ctx.depth + base;
    if constexpr (M.ids != Ids::kNone) target.ids = ctx.ids + base;
    DrawRow<M>(c, left, step, target);
  }
  // The tables are idle again; the next triangle starts its row range afresh.
  ctx.minRow = kEdgeIdleLeft;
  ctx.maxRow = kEdgeIdleRight;
}

template <Member M>
void Fill(RasterContext& ctx, const RasterVertex* v, const TriangleParams& params) {
  ClipBounds bounds;
  if (v == nullptr || !PrepareBounds<M>(ctx, bounds)) return;
  ClipVertex<Layout<M>::kCount> tri[3];
  LoadVertices<M>(v, tri);
  ScanTriangle(ctx, tri, bounds);
  FillRows<M>(ctx, MakeConstants(ctx, params), bounds);
}

}  // namespace
}  // namespace raster_detail

using raster_detail::Colour;
using raster_detail::Fill;
using raster_detail::Ids;
using raster_detail::Skin;
using raster_detail::Solid;

constexpr bool kFiltered = true;

void fillFlat(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade) {
  Fill<Solid(Colour::kFlat, Ids::kNone)>(ctx, v, {.shade = shade});
}
void fillFlatPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::uint32_t shade) {
  Fill<Solid(Colour::kFlat, Ids::kValue)>(ctx, v, {.id = id, .shade = shade});
}
void fillGouraud(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kGouraud, Ids::kNone)>(ctx, v, {});
}
void fillGouraudPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kGouraud, Ids::kValue)>(ctx, v, {.id = id});
}
void fillPhongMap(RasterContext& ctx, const RasterVertex* v, std::int32_t rampBase) {
  Fill<Solid(Colour::kMapRamp, Ids::kNone)>(ctx, v, {.rampBase = rampBase});
}
void fillPhongMapPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::int32_t rampBase) {
  Fill<Solid(Colour::kMapRamp, Ids::kValue)>(ctx, v, {.id = id, .rampBase = rampBase});
}
void fillPhongMapShade(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kMapRamp, Ids::kNone)>(ctx, v, {});
}
void fillPhongMapShadeFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kMapRamp, Ids::kNone, kFiltered)>(ctx, v, {});
}

void fillTextureQuick(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexel, Ids::kNone)>(ctx, v, {});
}
void fillTextureQuickFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexel, Ids::kNone, kFiltered)>(ctx, v, {});
}
void fillTexturePick(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kTexel, Ids::kValue)>(ctx, v, {.id = id});
}
void fillTexturePickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kTexel, Ids::kValue, kFiltered)>(ctx, v, {.id = id});
}
void fillTexturePaint(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexel, Ids::kTexel)>(ctx, v, {});
}
void fillTexturePaintFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexel, Ids::kTexel, kFiltered)>(ctx, v, {});
}

void fillTexFlatQuick(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade) {
  Fill<Solid(Colour::kTexelFlat, Ids::kNone)>(ctx, v, {.shade = shade});
}
void fillTexFlatQuickFiltered(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade) {
  Fill<Solid(Colour::kTexelFlat, Ids::kNone, kFiltered)>(ctx, v, {.shade = shade});
}
void fillTexFlatPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id, std::uint32_t shade) {
  Fill<Solid(Colour::kTexelFlat, Ids::kValue)>(ctx, v, {.id = id, .shade = shade});
}
void fillTexFlatPickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id,
                             std::uint32_t shade) {
  Fill<Solid(Colour::kTexelFlat, Ids::kValue, kFiltered)>(ctx, v, {.id = id, .shade = shade});
}
void fillTexFlatPaint(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade) {
  Fill<Solid(Colour::kTexelFlat, Ids::kTexel)>(ctx, v, {.shade = shade});
}
void fillTexFlatPaintFiltered(RasterContext& ctx, const RasterVertex* v, std::uint32_t shade) {
  Fill<Solid(Colour::kTexelFlat, Ids::kTexel, kFiltered)>(ctx, v, {.shade = shade});
}

void fillTexGouraudQuick(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelGouraud, Ids::kNone)>(ctx, v, {});
}
void fillTexGouraudQuickFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelGouraud, Ids::kNone, kFiltered)>(ctx, v, {});
}
void fillTexGouraudPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kTexelGouraud, Ids::kValue)>(ctx, v, {.id = id});
}
void fillTexGouraudPickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kTexelGouraud, Ids::kValue, kFiltered)>(ctx, v, {.id = id});
}
void fillTexGouraudPaint(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelGouraud, Ids::kTexel)>(ctx, v, {});
}
void fillTexGouraudPaintFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelGouraud, Ids::kTexel, kFiltered)>(ctx, v, {});
}

void fillTexPhongQuick(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelPhong, Ids::kNone)>(ctx, v, {});
}
void fillTexPhongQuickFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelPhong, Ids::kNone, kFiltered)>(ctx, v, {});
}
void fillTexPhongPick(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kTexelPhong, Ids::kValue)>(ctx, v, {.id = id});
}
void fillTexPhongPickFiltered(RasterContext& ctx, const RasterVertex* v, std::int32_t id) {
  Fill<Solid(Colour::kTexelPhong, Ids::kValue, kFiltered)>(ctx, v, {.id = id});
}
void fillTexPhongPaint(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelPhong, Ids::kTexel)>(ctx, v, {});
}
void fillTexPhongPaintFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Solid(Colour::kTexelPhong, Ids::kTexel, kFiltered)>(ctx, v, {});
}

void fillSkinTexture(RasterContext& ctx, const RasterVertex* v) { Fill<Skin(Ids::kNone, false)>(ctx, v, {}); }
void fillSkinTextureRounded(RasterContext& ctx, const RasterVertex* v) {
  Fill<Skin(Ids::kNone, false, true)>(ctx, v, {});
}
void fillSkinTexturePaint(RasterContext& ctx, const RasterVertex* v) {
  Fill<Skin(Ids::kTexel, false)>(ctx, v, {});
}
void fillSkinTextureFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Skin(Ids::kNone, kFiltered)>(ctx, v, {});
}
void fillSkinTexturePaintFiltered(RasterContext& ctx, const RasterVertex* v) {
  Fill<Skin(Ids::kTexel, kFiltered)>(ctx, v, {});
}

}  // namespace mok
