#pragma once
// The one in-memory model of the vertex-animated mesh: faces, animation
// frames, the shared UV-vertex table, the skins of every texture channel and
// the file information. Capacities are fixed and allocated once.
//
// UV units: `uv` and `uvVertices` hold texels of the skin of the face's
// channel (for a channel without a slot: the geometry-file byte value).
// Channel units (4096 = whole skin) are used by the info and mapping files and
// whenever sizes or channels change; always bracketed as
//   RebuildUvVertices(true); ToChannelUnits(); <change>;
//   RebuildUvVertices(true); FromChannelUnits(); RebuildUvVertices(true);

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/refresh.h"
#include "core/skin_slot.h"

namespace mok {

inline constexpr int kMaxTriangles = 4096;
inline constexpr int kMaxVertices = 4096;
inline constexpr int kMaxUvVertices = 12288;

// Face state bits.
inline constexpr std::uint32_t kFaceSelected = 1;
inline constexpr std::uint32_t kFaceEditing = 2;
inline constexpr std::uint32_t kFaceHidden = 4;

// Type byte: low nibble base type, high nibble modifiers.
inline constexpr std::uint8_t kTypeNormalOneSided = 0;
inline constexpr std::uint8_t kTypeNormalTwoSided = 1;
inline constexpr std::uint8_t kTypeTranslucent = 2;
inline constexpr std::uint8_t kTypeMasked = 3;
inline constexpr std::uint8_t kTypeModulate = 4;
inline constexpr std::uint8_t kTypeWeaponPlaceholder = 8;
inline constexpr std::uint8_t kTypeFullbright = 0x10;
inline constexpr std::uint8_t kTypeFlat = 0x20;
inline constexpr std::uint8_t kTypeEnvironment = 0x40;
inline constexpr std::uint8_t kTypeNoSmoothing = 0x80;

struct UvPair {
  float u = 0;
  float v = 0;
};

// The largest texture coordinate magnitude, in channel units, that files may
// hold and saves write: on the geometry file's byte scale (a channel without
// a skin) it is still a texel the rasterizer's 16.16 attributes can carry,
// and it leaves room for tiling far beyond the skin. Larger values and
// non-finite ones are refused on reading.
inline constexpr float kMaxChannelUnits = 16.0f * 32767;

// True when both values are finite and within kMaxChannelUnits.
bool WithinChannelUnits(const UvPair& value);

// The value held to +-kMaxChannelUnits, NaN to 0; *clamped set when it changed.
UvPair ClampToChannelUnits(const UvPair& value, bool* clamped);

struct Vec3 {
  float x = 0;
  float y = 0;
  float z = 0;
};

struct MeshTriangle {
  std::uint32_t state = 0;
  std::int16_t vertex[3] = {0, 0, 0};
  std::int16_t uvIndex[3] = {0, 0, 0};
  std::int16_t storedUvIndex[3] = {0, 0, 0};
  UvPair uv[3];
  Vec3 normal;
  Vec3 viewNormal;            // scratch of the renderer
  std::uint8_t shade[3] = {0, 0, 0};
  std::uint8_t envUv[3][2] = {{0, 0}, {0, 0}, {0, 0}};
  std::uint8_t flags = 0;
  std::uint8_t type = 0;
  std::uint8_t color = 0;
  std::uint8_t textureNum = 0;

  bool selected() const { return (state & kFaceSelected) != 0; }
  bool hidden() const { return (state & kFaceHidden) != 0; }
  bool selectedVisible() const { return (state & (kFaceSelected | kFaceHidden)) == kFaceSelected; }
};

// A frame's positions behave as a std::vector<Vec3>, with one addition: a
// frame read from a file is decoded straight into fresh storage.
// ResizeUnwritten makes room for positions the caller writes next, where
// resize() would zero them first (for a long animation that doubles the
// memory traffic of a load).
struct Unwritten {};
template <class T>
struct FrameAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = FrameAllocator<U>;
  };
  FrameAllocator() = default;
  template <class U>
  constexpr FrameAllocator(const FrameAllocator<U>&) noexcept {}
  void construct(T*, const Unwritten&) noexcept {}
  template <class... Args>
  void construct(T* at, Args&&... args) {
    std::construct_at(at, std::forward<Args>(args)...);
  }
};
using FramePositions = std::vector<Vec3, FrameAllocator<Vec3>>;

// Makes positions hold count entries, each of which the caller must write.
void ResizeUnwritten(FramePositions& positions, std::size_t count);

// One animation frame. `positions` holds at least `vertexCount` entries and
// always reaches past the highest vertex index any face uses (entries beyond
// the vertex count are zero), so indexing by a face's vertex is always safe.
struct AnimFrame {
  FramePositions positions;
  std::string name;
};

// The five strings of the info file, with their length limits.
struct FileInfo {
  static constexpr std::size_t kAuthorMax = 512, kContactMax = 512, kDateMax = 256, kCommentsMax = 4096,
                               kCreditsMax = 2048;
  std::string authorName;
  std::string contact;
  std::string date;
  std::string comments;
  std::string credits;
};

// How the animation file's vertices were stored, so a save gives them back
// in the same layout.
enum class VertexLayout : std::uint8_t {
  Packed,   // 32-bit words, 11/11/10-bit fields
  DeusEx,   // four int16 per vertex: x, y, z, pad
};

class MeshDocument {
 public:
  MeshDocument();

  std::array<MeshTriangle, kMaxTriangles> triangles;
  std::int16_t triangleCount = 0;
  std::int16_t vertexCount = 0;
  std::vector<std::unique_ptr<AnimFrame>> frames;
  std::int16_t currentFrame = 0;
  Vec3* currentVertices = nullptr;

  std::array<UvPair, kMaxUvVertices> uvVertices;
  std::array<std::uint8_t, kMaxUvVertices> uvVertexChannel{};
  std::int16_t uvVertexCount = 0;
  std::array<UvPair, kMaxUvVertices> storedUvVertices;
  std::int16_t storedUvVertexCount = 0;
  std::array<std::uint8_t, kMaxUvVertices> uvMarks{};

  int meshLoaded = 0;
  FileInfo fileInfo;
  VertexLayout vertexLayout = VertexLayout::Packed;

  std::vector<std::unique_ptr<SkinSlot>> skinSlots;
  std::int16_t activeChannel = 0;
  SkinSlot* activeSkin = nullptr;
  SkinSlot defaultSkin;
  PlaceholderSpec placeholderSpec;  // the default skin size and grid in force

  int slotCount() const { return static_cast<int>(skinSlots.size()); }
  // The slot of a channel, or null for a channel without one.
  SkinSlot* slotFor(int channel) const;
  // The image drawn for a channel: its slot, or the default skin.
  const SkinSlot& skinFor(int channel) const;

  // Every face's corner UVs from the table entries its uvIndex names.
  void SyncCornerUvs();
  void RebuildUvVertices(bool syncFirst);
  void ComputeFaceNormals();
  void ToChannelUnits();
  // A texel coordinate of a channel in channel units, as ToChannelUnits
  // converts it.
  UvPair InChannelUnits(int channel, UvPair texels) const;
  void FromChannelUnits();
  void StoreMapping();
  void RevertMapping();
  void SetCurrentFrame(int index);
  void ResetSkinSlots();
  // The first face with the selected bit set, hidden or not; -1 for none.
  int FirstSelectedFace() const;
};

// The current frame's positions; null without a current frame or when it
// holds none.
const FramePositions* CurrentPositions(const MeshDocument& doc);

}  // namespace mok
