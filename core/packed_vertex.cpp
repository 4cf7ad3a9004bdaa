#include "core/packed_vertex.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/little_endian.h"

namespace mok {
namespace packed_detail {

std::int32_t TruncateClamped(float value, std::int32_t lo, std::int32_t hi, bool* clamped) {
  if (std::isnan(value)) return 0;
  double truncated = std::trunc(static_cast<double>(value));
  if (truncated < lo || truncated > hi) {
    if (clamped) *clamped = true;
    return truncated < lo ? lo : hi;
  }
  return static_cast<std::int32_t>(truncated);
}

}  // namespace packed_detail

namespace {

static_assert(sizeof(Vec3) == 3 * sizeof(float), "frames are packed x, y, z floats");

int PackEach(const Vec3* positions, std::size_t count, std::uint8_t* out) {
  int clamped = 0;
  for (std::size_t i = 0; i < count; ++i) {
    bool held = false;
    StoreLittle(out + 4 * i, PackVertex(positions[i], &held), 4);
    clamped += held ? 1 : 0;
  }
  return clamped;
}

#if defined(__SSE2__)
// Four vertices at a time: x0 y0 z0 x1 | y1 z1 x2 y2 | z2 x3 y3 z3 in three
// registers, one coordinate per register, and back. The arithmetic is the
// scalar code's, lane by lane.
struct FourVertices {
  __m128 x, y, z;
};

FourVertices LoadFour(const Vec3* p) {
  const float* f = &p->x;
  const __m128 a = _mm_loadu_ps(f), b = _mm_loadu_ps(f + 4), c = _mm_loadu_ps(f + 8);
  const __m128 ab = _mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 0, 2, 1));  // y0 z0 y1 z1
  const __m128 bc = _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 1, 3, 2));  // x2 y2 x3 y3
  return {_mm_shuffle_ps(a, bc, _MM_SHUFFLE(2, 0, 3, 0)), _mm_shuffle_ps(ab, bc, _MM_SHUFFLE(3, 1, 2, 0)),
          _mm_shuffle_ps(ab, c, _MM_SHUFFLE(3, 0, 3, 1))};
}

void StoreFour(const FourVertices& v, Vec3* p) {
  float* f = &p->x;
  const __m128 xyLow = _mm_unpacklo_ps(v.x, v.y);   // x0 y0 x1 y1
  const __m128 xyHigh = _mm_unpackhi_ps(v.x, v.y);  // x2 y2 x3 y3
  const __m128 zx = _mm_shuffle_ps(v.z, xyLow, _MM_SHUFFLE(2, 2, 0, 0));    // z0 z0 x1 x1
  const __m128 yz = _mm_shuffle_ps(xyLow, v.z, _MM_SHUFFLE(1, 1, 3, 3));    // y1 y1 z1 z1
  const __m128 zx2 = _mm_shuffle_ps(v.z, xyHigh, _MM_SHUFFLE(2, 2, 2, 2));  // z2 z2 x3 x3
  const __m128 yz3 = _mm_shuffle_ps(xyHigh, v.z, _MM_SHUFFLE(3, 3, 3, 3));  // y3 y3 z3 z3
  _mm_storeu_ps(f, _mm_shuffle_ps(xyLow, zx, _MM_SHUFFLE(2, 0, 1, 0)));     // x0 y0 z0 x1
  _mm_storeu_ps(f + 4, _mm_shuffle_ps(yz, xyHigh, _MM_SHUFFLE(1, 0, 2, 0)));  // y1 z1 x2 y2
  _mm_storeu_ps(f + 8, _mm_shuffle_ps(zx2, yz3, _MM_SHUFFLE(2, 0, 2, 0)));    // z2 x3 y3 z3
}

// Lanes strictly between -limit - 1 and limit, the range where Field's cast
// alone truncates (NaN fails).
__m128i Plain4(__m128 scaled, int bits) {
  const float limit = static_cast<float>(packed_detail::FieldLimit(bits));
  return _mm_castps_si128(
      _mm_and_ps(_mm_cmpgt_ps(scaled, _mm_set1_ps(-limit - 1)), _mm_cmplt_ps(scaled, _mm_set1_ps(limit))));
}

// PackVertex of four positions when none needs clamping; false otherwise,
// with nothing written.
bool PackFour(const Vec3* positions, std::uint8_t* out) {
  const FourVertices v = LoadFour(positions);
  const __m128 x = _mm_mul_ps(v.x, _mm_set1_ps(8.0f)), y = _mm_mul_ps(v.y, _mm_set1_ps(-8.0f)),
               z = _mm_mul_ps(v.z, _mm_set1_ps(4.0f));
  const __m128i plain = _mm_and_si128(_mm_and_si128(Plain4(x, 11), Plain4(y, 11)), Plain4(z, 10));
  if (_mm_movemask_epi8(plain) != 0xFFFF) return false;
  const __m128i field = _mm_set1_epi32(0x7FF);
  const __m128i words = _mm_or_si128(
      _mm_or_si128(_mm_and_si128(_mm_cvttps_epi32(x), field), _mm_slli_epi32(_mm_and_si128(_mm_cvttps_epi32(y), field), 11)),
      _mm_slli_epi32(_mm_cvttps_epi32(z), 22));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), words);
  return true;
}

// UnpackVertex of four words; true (false where the machine has no SSE2).
bool UnpackFour(const std::uint8_t* in, Vec3* positions) {
  const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  // Shifting each field to the top and back sign-extends it.
  const __m128i x = _mm_srai_epi32(_mm_slli_epi32(w, 21), 21);
  const __m128i y = _mm_srai_epi32(_mm_slli_epi32(w, 10), 21);
  const __m128i z = _mm_srai_epi32(w, 22);
  StoreFour({_mm_mul_ps(_mm_cvtepi32_ps(x), _mm_set1_ps(0.125f)), _mm_mul_ps(_mm_cvtepi32_ps(y), _mm_set1_ps(-0.125f)),
             _mm_mul_ps(_mm_cvtepi32_ps(z), _mm_set1_ps(0.25f))},
            positions);
  return true;
}
#else
bool PackFour(const Vec3*, std::uint8_t*) { return false; }
bool UnpackFour(const std::uint8_t*, Vec3*) { return false; }
#endif

}  // namespace

int PackFrame(const Vec3* positions, std::size_t count, std::uint8_t* out) {
  int clamped = 0;
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4)
    if (!PackFour(positions + i, out + 4 * i)) clamped += PackEach(positions + i, 4, out + 4 * i);
  return clamped + PackEach(positions + i, count - i, out + 4 * i);
}

void UnpackFrame(const std::uint8_t* in, std::size_t count, Vec3* positions) {
  std::size_t i = 0;
  for (; i + 4 <= count && UnpackFour(in + 4 * i, positions + i); i += 4) {
  }
  for (; i < count; ++i) positions[i] = UnpackVertex(LoadLittle32(in + 4 * i));
}

Vec3 DecodeDeusExVertex(const DeusExVertex& stored) {
  constexpr float kScale = 1.0f / 128.0f;
  return {stored.x * kScale, -stored.y * kScale, stored.z * kScale};
}

DeusExVertex EncodeDeusExVertex(const Vec3& position, bool* clamped) {
  auto component = [clamped](float scaled) {
    return static_cast<std::int16_t>(packed_detail::TruncateClamped(scaled, -32768, 32767, clamped));
  };
  return {component(position.x * 128.0f), component(position.y * -128.0f), component(position.z * 128.0f)};
}

}  // namespace mok
