#pragma once
// The size of the loaded model, as the "Model Stats" dialog lists it, plus
// the texture channels and polygon types in use.

#include <array>
#include <cstdint>
#include <map>
#include <set>

#include "core/mesh_document.h"

namespace mok {

struct ModelStats {
  int vertices = 0;        // vertexCount
  int uvVertices = 0;      // uvVertexCount
  int triangles = 0;       // triangleCount
  int frames = 0;          // number of animation frames
  std::int32_t skinArea = 0;  // width x height summed over non-empty skin slots
  std::set<int> channels;     // texture numbers the faces use
  std::map<int, int> types;   // type byte -> number of faces
};

ModelStats ComputeModelStats(const MeshDocument& doc);

// The "Model Stats" list: "Vertices", "Mapping Verts", "Triangles",
// "Frames" and "Skin Area (Texels)" with their values, in that order.
struct ModelStatsRow {
  const char* name;
  std::int32_t value;
};
std::array<ModelStatsRow, 5> ModelStatsRows(const ModelStats& stats);

}  // namespace mok
