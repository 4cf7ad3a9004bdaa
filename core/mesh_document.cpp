#include "core/mesh_document.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/uv_vertex_index.h"

namespace mok {

void ResizeUnwritten(FramePositions& positions, std::size_t count) {
  // Constructing an entry from a tag leaves it as allocated.
  static constexpr std::array<Unwritten, kMaxVertices> kTags{};
  if (count > kTags.size()) {
    positions.resize(count);
    return;
  }
  positions = FramePositions(kTags.begin(), kTags.begin() + static_cast<std::ptrdiff_t>(count));
}

const FramePositions* CurrentPositions(const MeshDocument& doc) {
  if (doc.currentFrame < 0 || doc.currentFrame >= static_cast<int>(doc.frames.size())) return nullptr;
  const AnimFrame* frame = doc.frames[static_cast<std::size_t>(doc.currentFrame)].get();
  if (!frame || frame->positions.empty()) return nullptr;
  return &frame->positions;
}

namespace {

float ClampChannelUnit(float value, bool* clamped) {
  float held = std::isnan(value) ? 0.0f : std::clamp(value, -kMaxChannelUnits, kMaxChannelUnits);
  if (held != value && clamped) *clamped = true;
  return held;
}
}  // namespace

bool WithinChannelUnits(const UvPair& value) {
  return std::fabs(value.u) <= kMaxChannelUnits && std::fabs(value.v) <= kMaxChannelUnits;  // false for NaN
}

UvPair ClampToChannelUnits(const UvPair& value, bool* clamped) {
  return {ClampChannelUnit(value.u, clamped), ClampChannelUnit(value.v, clamped)};
}

MeshDocument::MeshDocument() { MakePlaceholder(defaultSkin, 0, placeholderSpec); }

SkinSlot* MeshDocument::slotFor(int channel) const {
  if (channel < 0 || channel >= slotCount()) return nullptr;
  return skinSlots[static_cast<std::size_t>(channel)].get();
}

const SkinSlot& MeshDocument::skinFor(int channel) const {
  SkinSlot* slot = slotFor(channel);
  return slot ? *slot : defaultSkin;
}

void MeshDocument::SyncCornerUvs() {
  for (int i = 0; i < triangleCount; ++i) {
    MeshTriangle& face = triangles[i];
    for (int k = 0; k < 3; ++k) face.uv[k] = uvVertices[static_cast<std::size_t>(face.uvIndex[k])];
  }
}

void MeshDocument::RebuildUvVertices(bool syncFirst) {
  if (syncFirst) SyncCornerUvs();
  // Each corner takes the first table entry within the merge distance, found
  // through an index instead of a linear search of the table. The index is
  // scratch shared by the documents of a thread, allocated once.
  thread_local UvVertexIndex uvSearch(kMaxUvVertices);
  uvSearch.Clear();
  int count = 0;
  for (int i = 0; i < triangleCount; ++i) {
    MeshTriangle& face = triangles[i];
    for (int k = 0; k < 3; ++k) {
      const UvPair& uv = face.uv[k];
      int found = uvSearch.Find(face.textureNum, uv, uvVertices.data());
      if (found < 0) {
        found = count++;
        uvVertices[found] = uv;
        uvVertexChannel[found] = face.textureNum;
        uvSearch.Add(found, face.textureNum, uv);
      }
      face.uvIndex[k] = static_cast<std::int16_t>(found);
    }
  }
  uvVertexCount = static_cast<std::int16_t>(count);
}

void MeshDocument::ComputeFaceNormals() {
  if (!currentVertices || triangleCount <= 0) return;
  for (int i = 0; i < triangleCount; ++i) {
    MeshTriangle& face = triangles[i];
    const Vec3& p0 = currentVertices[face.vertex[0]];
    const Vec3& p1 = currentVertices[face.vertex[1]];
    const Vec3& p2 = currentVertices[face.vertex[2]];
    Vec3 n;
    n.x = (p1.y - p0.y) * (p2.z - p1.z) - (p1.z - p0.z) * (p2.y - p1.y);
    n.y = (p1.z - p0.z) * (p2.x - p1.x) - (p1.x - p0.x) * (p2.z - p1.z);
    n.z = (p1.x - p0.x) * (p2.y - p1.y) - (p1.y - p0.y) * (p2.x - p1.x);
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length != 0) face.normal = {n.x / length, n.y / length, n.z / length};
  }
}

UvPair MeshDocument::InChannelUnits(int channel, UvPair texels) const {
  if (const SkinSlot* slot = slotFor(channel)) return {(texels.u * 4096) / slot->width, (texels.v * 4096) / slot->height};
  return {texels.u * 16, texels.v * 16};
}

void MeshDocument::ToChannelUnits() {
  for (int i = 0; i < uvVertexCount; ++i) uvVertices[i] = InChannelUnits(uvVertexChannel[i], uvVertices[i]);
}

void MeshDocument::FromChannelUnits() {
  for (int i = 0; i < uvVertexCount; ++i) {
    UvPair& uv = uvVertices[i];
    if (const SkinSlot* slot = slotFor(uvVertexChannel[i])) {
      uv.u = slot->width * uv.u * (1.0f / 4096);
      uv.v = slot->height * uv.v * (1.0f / 4096);
    } else {
      uv.u = uv.u * (1.0f / 16);
      uv.v = uv.v * (1.0f / 16);
    }
  }
}

void MeshDocument::StoreMapping() {
  RebuildUvVertices(true);
  storedUvVertexCount = uvVertexCount;
  storedUvVertices = uvVertices;
  for (int i = 0; i < triangleCount; ++i) {
    MeshTriangle& face = triangles[i];
    for (int k = 0; k < 3; ++k) face.storedUvIndex[k] = face.uvIndex[k];
  }
}

void MeshDocument::RevertMapping() {
  uvVertexCount = storedUvVertexCount;
  uvVertices = storedUvVertices;
  for (int i = 0; i < triangleCount; ++i) {
    MeshTriangle& face = triangles[i];
    for (int k = 0; k < 3; ++k) {
      face.uvIndex[k] = face.storedUvIndex[k];
      face.uv[k] = uvVertices[static_cast<std::size_t>(face.uvIndex[k])];
    }
  }
  RebuildUvVertices(true);
}

void MeshDocument::SetCurrentFrame(int index) {
  if (index < 0 || index >= static_cast<int>(frames.size())) return;
  currentFrame = static_cast<std::int16_t>(index);
  currentVertices = frames[static_cast<std::size_t>(index)]->positions.data();
  ComputeFaceNormals();
}

void MeshDocument::ResetSkinSlots() {
  MakePlaceholder(defaultSkin, 0, placeholderSpec);
  while (slotCount() < kChannelCount) skinSlots.push_back(std::make_unique<SkinSlot>());
  for (int c = 0; c < slotCount(); ++c) MakePlaceholder(*skinSlots[static_cast<std::size_t>(c)], c, placeholderSpec);
  activeChannel = 0;
  activeSkin = skinSlots[0].get();
}

int MeshDocument::FirstSelectedFace() const {
  for (int i = 0; i < triangleCount; ++i)
    if (triangles[i].selected()) return i;
  return -1;
}

}  // namespace mok
