#pragma once
// The invariants every document must keep after any load, import or edit:
// counts within capacities, every face's vertex within every frame, every
// UV index within the UV table and on the face's own channel, the current
// frame's positions in place. Shared by the tests, the soak and the fuzzers.

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/mesh_document.h"

namespace mok::test {

// An empty string, or what is wrong first.
inline std::string DocumentInvariantViolation(const MeshDocument& doc) {
  if (doc.triangleCount < 0 || doc.triangleCount > kMaxTriangles) return "triangle count out of range";
  if (doc.vertexCount < 0 || doc.vertexCount > kMaxVertices) return "vertex count out of range";
  if (doc.uvVertexCount < 0 || doc.uvVertexCount > kMaxUvVertices) return "UV count out of range";
  if (doc.frames.size() > 65535) return "more frames than a save can count";
  std::size_t fewestPositions = doc.frames.empty() ? SIZE_MAX : doc.frames.front()->positions.size();
  for (const auto& frame : doc.frames) fewestPositions = std::min(fewestPositions, frame->positions.size());
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      const int uv = face.uvIndex[k];
      if (uv < 0 || uv >= doc.uvVertexCount) return "face " + std::to_string(i) + " UV index beyond the table";
      if (doc.uvVertexChannel[static_cast<std::size_t>(uv)] != face.textureNum)
        return "face " + std::to_string(i) + " UV vertex on another channel";
      if (!doc.frames.empty() && (face.vertex[k] < 0 || static_cast<std::size_t>(face.vertex[k]) >= fewestPositions))
        return "face " + std::to_string(i) + " vertex beyond a frame";
    }
  }
  if (!doc.frames.empty()) {
    if (doc.currentFrame < 0 || static_cast<std::size_t>(doc.currentFrame) >= doc.frames.size())
      return "current frame out of range";
    if (doc.currentVertices != doc.frames[static_cast<std::size_t>(doc.currentFrame)]->positions.data())
      return "current vertices not the current frame's";
  }
  return {};
}

}  // namespace mok::test
