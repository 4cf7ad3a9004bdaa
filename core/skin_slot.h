#pragma once
// One decoded image: a skin of a texture channel, the default skin, or a
// phong or environment map.
//
// Texels are 32-bit values 0x00RRGGBB (bytes blue, green, red, X in memory);
// X is 0 except for 32-bit TGA files, where it holds the alpha byte. Rows are
// top row first, no padding. In indexed mode (phong and environment maps)
// only the first width*height bytes of `pixels` count, one 8-bit value per
// texel. Both buffers always hold width*height*4 bytes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mok {

inline constexpr int kMaxSkinRows = 2048;
inline constexpr int kChannelCount = 16;  // slots every load leaves at least

enum SkinFormat : std::uint8_t { kFormatNone = 0, kFormatBmp = 1, kFormatTga = 2, kFormatPcx = 3 };

struct SkinSlot {
  std::string name;      // as asked for when loading; "newskin" for New
  std::string filePath;  // the file opened or last written
  std::int32_t hasFile = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> storedPixels;
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::uint8_t format = kFormatNone;
  std::array<std::int32_t, kMaxSkinRows> rowOffsets{};
  std::int32_t isEmpty = 0;

  // Indexed view of `pixels` for 8-bit maps.
  std::uint8_t* indexed() { return reinterpret_cast<std::uint8_t*>(pixels.data()); }
  const std::uint8_t* indexed() const { return reinterpret_cast<const std::uint8_t*>(pixels.data()); }
};

// Entry y = y * width for every row of the image.
void BuildRowOffsets(SkinSlot& slot);

// Sizes both buffers for width x height (zeroed) and fills the row table.
// Width and height must be 1..32767 and height at most kMaxSkinRows.
void AllocateSkin(SkinSlot& slot, int width, int height);

// The two checker colours of each of the first 16 channels (0xRRGGBB).
struct ChannelColorPair {
  std::uint32_t first;
  std::uint32_t second;
};
ChannelColorPair ChannelColors(int channel);

struct PlaceholderSpec {
  int width = 32;  // "DefSkn ResX"
  int height = 32; // "DefSkn ResY"
  int grid = 2;    // "DefSkn Grid": cells of 2^grid texels
};

// Turns the slot into a checkerboard placeholder for the channel; name,
// filePath, hasFile and format stay as they were.
void MakePlaceholder(SkinSlot& slot, int channel, const PlaceholderSpec& spec);

}  // namespace mok
