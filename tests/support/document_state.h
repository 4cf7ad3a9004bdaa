#pragma once
// Everything undo must give back, as bytes: the face records without the
// renderer's scratch, the UV tables, the file strings and every skin slot
// (its file, kind, size and both pixel buffers).

#include <cstdint>
#include <string>
#include <vector>

#include "core/mesh_document.h"

namespace mok::test {

inline std::vector<std::uint8_t> DocumentStateBytes(const MeshDocument& doc) {
  std::vector<std::uint8_t> out;
  auto put = [&](const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
  };
  auto putString = [&](const std::string& s) {
    const std::size_t size = s.size();
    put(&size, sizeof size);
    put(s.data(), size);
  };
  put(&doc.triangleCount, 2);
  put(&doc.uvVertexCount, 2);
  put(&doc.storedUvVertexCount, 2);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& f = doc.triangles[static_cast<std::size_t>(i)];
    put(&f.state, 4);
    put(f.vertex, 6);
    put(f.uvIndex, 6);
    put(f.storedUvIndex, 6);
    put(f.uv, sizeof f.uv);
    put(&f.flags, 4);  // flags, type, color, textureNum
  }
  put(doc.uvVertices.data(), sizeof(UvPair) * static_cast<std::size_t>(doc.uvVertexCount));
  put(doc.uvVertexChannel.data(), static_cast<std::size_t>(doc.uvVertexCount));
  put(doc.storedUvVertices.data(), sizeof(UvPair) * static_cast<std::size_t>(doc.storedUvVertexCount));
  const FileInfo& info = doc.fileInfo;
  for (const std::string* s : {&info.authorName, &info.contact, &info.date, &info.comments, &info.credits})
    putString(*s);
  for (const auto& slot : doc.skinSlots) {
    putString(slot->name);
    putString(slot->filePath);
    put(&slot->hasFile, 4);
    put(&slot->isEmpty, 4);
    put(&slot->format, 1);
    put(&slot->width, 2);
    put(&slot->height, 2);
    put(slot->pixels.data(), slot->pixels.size() * 4);
    put(slot->storedPixels.data(), slot->storedPixels.size() * 4);
  }
  return out;
}

}  // namespace mok::test
