#include "core/model_stats.h"

namespace mok {

ModelStats ComputeModelStats(const MeshDocument& doc) {
  ModelStats stats;
  stats.vertices = doc.vertexCount;
  stats.uvVertices = doc.uvVertexCount;
  stats.triangles = doc.triangleCount;
  stats.frames = static_cast<int>(doc.frames.size());
  // 16-bit sizes multiplied and summed in 32 bits, as the dialog shows them.
  std::uint32_t area = 0;
  for (const auto& slot : doc.skinSlots)
    if (slot->isEmpty != 1) area += static_cast<std::uint32_t>(slot->width * slot->height);
  stats.skinArea = static_cast<std::int32_t>(area);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    stats.channels.insert(face.textureNum);
    ++stats.types[face.type];
  }
  return stats;
}

std::array<ModelStatsRow, 5> ModelStatsRows(const ModelStats& stats) {
  return {{{"Vertices", stats.vertices},
           {"Mapping Verts", stats.uvVertices},
           {"Triangles", stats.triangles},
           {"Frames", stats.frames},
           {"Skin Area (Texels)", stats.skinArea}}};
}

}  // namespace mok
