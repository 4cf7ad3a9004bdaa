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

#include <cstdint>

#include "core/mesh_document.h"

namespace mok {

Vec3 UnpackVertex(std::uint32_t word);
// Packs a position; sets *clamped when a coordinate lay outside the range.
std::uint32_t PackVertex(const Vec3& position, bool* clamped = nullptr);

struct DeusExVertex {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t z = 0;
};

Vec3 DecodeDeusExVertex(const DeusExVertex& stored);
DeusExVertex EncodeDeusExVertex(const Vec3& position, bool* clamped = nullptr);

}  // namespace mok
