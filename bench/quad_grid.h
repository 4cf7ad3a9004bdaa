#pragma once
// The benchmarks' document at full capacity: a 64 x 32 grid of quads, two
// faces each (4096 faces), welded in the mapping, on placeholder skins.

#include <cstdint>

#include "core/mesh_document.h"

namespace mok::bench {

// Fills doc with the grid; a cell spans cell.u x cell.v texels.
inline void FillQuadGrid(MeshDocument& doc, UvPair cell) {
  doc.ResetSkinSlots();
  constexpr int kColumns = 64, kRows = 32;
  auto uv = [cell](int x, int y) { return UvPair{x * cell.u, y * cell.v}; };
  auto vertex = [](int x, int y) { return static_cast<std::int16_t>(y * (kColumns + 1) + x); };
  for (int y = 0; y < kRows; ++y) {
    for (int x = 0; x < kColumns; ++x) {
      MeshTriangle& a = doc.triangles[static_cast<std::size_t>(doc.triangleCount++)];
      MeshTriangle& b = doc.triangles[static_cast<std::size_t>(doc.triangleCount++)];
      a = b = MeshTriangle{};
      a.vertex[0] = vertex(x, y), a.vertex[1] = vertex(x + 1, y), a.vertex[2] = vertex(x + 1, y + 1);
      a.uv[0] = uv(x, y), a.uv[1] = uv(x + 1, y), a.uv[2] = uv(x + 1, y + 1);
      b.vertex[0] = vertex(x, y), b.vertex[1] = vertex(x + 1, y + 1), b.vertex[2] = vertex(x, y + 1);
      b.uv[0] = uv(x, y), b.uv[1] = uv(x + 1, y + 1), b.uv[2] = uv(x, y + 1);
    }
  }
  doc.RebuildUvVertices(false);
}

}  // namespace mok::bench
