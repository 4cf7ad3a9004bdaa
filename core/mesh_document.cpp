#include "core/mesh_document.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace mok {

namespace {
constexpr float kUvMergeDistance = 1.0f / 4096.0f;

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

namespace {

// Finds equal UV vertices in time linear in the corner count. Values are
// bucketed on a grid of the merge distance, so a match lies in the corner's
// own cell or a neighbouring one; every candidate is checked with the exact
// test and the lowest index wins, as a search through the whole table would
// find. Hash collisions only add candidates. NaN never matches and is not
// indexed; far values share the outermost cells.
class UvVertexIndex {
 public:
  explicit UvVertexIndex(std::size_t capacity) : head_(Buckets(capacity), -1), next_(capacity, -1) {}

  int Find(const UvPair& uv, std::uint8_t channel, const std::array<UvPair, kMaxUvVertices>& table,
           const std::array<std::uint8_t, kMaxUvVertices>& channels) const {
    if (std::isnan(uv.u) || std::isnan(uv.v)) return -1;
    const std::int64_t cu = Cell(uv.u), cv = Cell(uv.v);
    int found = -1;
    for (std::int64_t du = -1; du <= 1; ++du) {
      for (std::int64_t dv = -1; dv <= 1; ++dv) {
        for (int m = head_[Bucket(channel, cu + du, cv + dv)]; m >= 0; m = next_[static_cast<std::size_t>(m)]) {
          const UvPair& other = table[static_cast<std::size_t>(m)];
          if ((found < 0 || m < found) && channels[static_cast<std::size_t>(m)] == channel &&
              std::fabs(uv.u - other.u) < kUvMergeDistance && std::fabs(uv.v - other.v) < kUvMergeDistance)
            found = m;
        }
      }
    }
    return found;
  }

  void Add(int index, const UvPair& uv, std::uint8_t channel) {
    if (std::isnan(uv.u) || std::isnan(uv.v)) return;
    int& first = head_[Bucket(channel, Cell(uv.u), Cell(uv.v))];
    next_[static_cast<std::size_t>(index)] = first;
    first = index;
  }

 private:
  static std::size_t Buckets(std::size_t capacity) {
    std::size_t n = 64;
    while (n < 2 * capacity) n *= 2;
    return n;
  }
  static std::int64_t Cell(float value) {
    constexpr double kLimit = 1e15;
    return static_cast<std::int64_t>(std::clamp(std::floor(static_cast<double>(value) / kUvMergeDistance), -kLimit, kLimit));
  }
  std::size_t Bucket(std::uint8_t channel, std::int64_t cu, std::int64_t cv) const {
    std::uint64_t h = static_cast<std::uint64_t>(cu) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(cv) * 0xC2B2AE3D27D4EB4Full ^ channel;
    h ^= h >> 29;
    return static_cast<std::size_t>(h & (head_.size() - 1));
  }

  std::vector<int> head_;
  std::vector<int> next_;
};

}  // namespace

void MeshDocument::RebuildUvVertices(bool syncFirst) {
  if (syncFirst) {
    for (int i = 0; i < triangleCount; ++i) {
      MeshTriangle& face = triangles[i];
      for (int k = 0; k < 3; ++k) face.uv[k] = uvVertices[static_cast<std::size_t>(face.uvIndex[k])];
    }
  }
  UvVertexIndex index(static_cast<std::size_t>(std::max<int>(triangleCount, 0)) * 3);
  int count = 0;
  for (int i = 0; i < triangleCount; ++i) {
    MeshTriangle& face = triangles[i];
    for (int k = 0; k < 3; ++k) {
      const UvPair& uv = face.uv[k];
      int found = index.Find(uv, face.textureNum, uvVertices, uvVertexChannel);
      if (found < 0) {
        found = count++;
        uvVertices[found] = uv;
        uvVertexChannel[found] = face.textureNum;
        index.Add(found, uv, face.textureNum);
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
  NotifyMeshChanged();
}

void MeshDocument::SetCurrentFrame(int index) {
  if (index < 0 || index >= static_cast<int>(frames.size())) return;
  currentFrame = static_cast<std::int16_t>(index);
  currentVertices = frames[static_cast<std::size_t>(index)]->positions.data();
  ComputeFaceNormals();
  if (refresh) refresh->Refresh(kPaneIsoView, kRefreshFinal);
}

void MeshDocument::NotifyMeshChanged() {
  if (!refresh) return;
  refresh->RefillLists();
  refresh->Refresh(kPanesAll, kRefreshFinal);
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
