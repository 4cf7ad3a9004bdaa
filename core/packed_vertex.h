#pragma once
// Vertex positions as the animation file stores them.
//
// Packed (the engine's standard layout): one little-endian 32-bit word per
// vertex, bits 0..10 X = x*8, bits 11..21 Y = -y*8 (y is stored negated),
// bits 22..31 Z = z*4, each field a two's-complement integer of its width,
// as the engine reads them. Scaled values are truncated toward zero and
// clamped to the field's range (-1024..1023 for X and Y, -512..511 for Z).
//
// Deus Ex: four little-endian int16 per vertex: X = x*128, Y = -y*128,
// Z = z*128 and a pad word (written as 0); also truncated and clamped.

#include <cstddef>
#include <cstdint>

#include "core/mesh_document.h"

namespace mok {

namespace packed_detail {

// A field of `bits` bits as a signed integer.
inline std::int32_t SignExtend(std::uint32_t field, int bits) {
  const std::uint32_t sign = 1u << (bits - 1);
  return static_cast<std::int32_t>(field ^ sign) - static_cast<std::int32_t>(sign);
}

// value truncated toward zero and clamped to lo..hi; NaN counts as 0.
std::int32_t TruncateClamped(float value, std::int32_t lo, std::int32_t hi, bool* clamped);

// A field of `bits` bits holds -limit..limit - 1.
constexpr std::int32_t FieldLimit(int bits) { return 1 << (bits - 1); }

inline std::uint32_t Field(float scaled, int bits, bool* clamped) {
  const std::int32_t limit = FieldLimit(bits);
  const std::uint32_t mask = (1u << bits) - 1;
  // Strictly between -limit - 1 and limit the truncation is already in
  // range (NaN fails both tests), so the cast alone truncates it.
  if (scaled > static_cast<float>(-limit - 1) && scaled < static_cast<float>(limit))
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(scaled)) & mask;
  return static_cast<std::uint32_t>(TruncateClamped(scaled, -limit, limit - 1, clamped)) & mask;
}

}  // namespace packed_detail

// Inline: loads and saves run these once per vertex of every frame.
inline Vec3 UnpackVertex(std::uint32_t word) {
  using packed_detail::SignExtend;
  const std::int32_t x = SignExtend(word & 0x7FF, 11);
  const std::int32_t y = SignExtend((word >> 11) & 0x7FF, 11);
  const std::int32_t z = SignExtend(word >> 22, 10);
  return {static_cast<float>(x) * 0.125f, static_cast<float>(y) * -0.125f, static_cast<float>(z) * 0.25f};
}

// Packs a position; sets *clamped when a coordinate lay outside the range.
inline std::uint32_t PackVertex(const Vec3& position, bool* clamped = nullptr) {
  using packed_detail::Field;
  const std::uint32_t x = Field(position.x * 8.0f, 11, clamped);
  const std::uint32_t y = Field(position.y * -8.0f, 11, clamped);
  const std::uint32_t z = Field(position.z * 4.0f, 10, clamped);
  return x | (y << 11) | (z << 22);
}

// Packs count positions into little-endian words at out, the words of
// PackVertex, four at a time where the machine allows and all four lie in
// the fields' plain range. Returns how many positions were clamped.
int PackFrame(const Vec3* positions, std::size_t count, std::uint8_t* out);

// Unpacks count little-endian words at in into positions: UnpackVertex of
// each, four at a time where the machine allows.
void UnpackFrame(const std::uint8_t* in, std::size_t count, Vec3* positions);

struct DeusExVertex {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t z = 0;
};

Vec3 DecodeDeusExVertex(const DeusExVertex& stored);
DeusExVertex EncodeDeusExVertex(const Vec3& position, bool* clamped = nullptr);

}  // namespace mok
