#include "core/skin_slot.h"

#include <algorithm>
#include <vector>

namespace mok {

void BuildRowOffsets(SkinSlot& slot) {
  slot.rowOffsets.fill(0);
  int rows = std::min<int>(slot.height, kMaxSkinRows);
  for (int y = 0; y < rows; ++y) slot.rowOffsets[static_cast<std::size_t>(y)] = y * slot.width;
}

void AllocateSkin(SkinSlot& slot, int width, int height) {
  std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  slot.width = static_cast<std::int16_t>(width);
  slot.height = static_cast<std::int16_t>(height);
  slot.pixels.assign(count, 0);
  slot.storedPixels.assign(count, 0);
  BuildRowOffsets(slot);
}

ChannelColorPair ChannelColors(int channel) {
  static constexpr ChannelColorPair kPairs[10] = {
      {0xA04040, 0xA0A0A0}, {0x4040A0, 0xA0A0A0}, {0x40A040, 0xA0A0A0}, {0xA0A040, 0xA0A0A0},
      {0xA04040, 0x4040A0}, {0xA04040, 0x40A040}, {0xA04040, 0xA0A040}, {0x4040A0, 0x40A040},
      {0x4040A0, 0xA0A040}, {0x40A040, 0xA0A040},
  };
  if (channel >= 0 && channel < 10) return kPairs[channel];
  return {0xA0A0A0, 0x404040};
}

void MakePlaceholder(SkinSlot& slot, int channel, const PlaceholderSpec& spec) {
  // The registry value is not trusted: a placeholder is never larger than an
  // image may be.
  int width = std::clamp(spec.width, 1, kMaxSkinRows);
  int height = std::clamp(spec.height, 1, kMaxSkinRows);
  int cell = 1 << std::clamp(spec.grid, 0, 2);
  ChannelColorPair colors = ChannelColors(channel);
  AllocateSkin(slot, width, height);
  // Two kinds of row, by (y & cell); each row is a copy of one of them.
  std::vector<std::uint32_t> rows[2];
  for (int kind = 0; kind < 2; ++kind) {
    for (int x = 0; x < width; ++x) rows[kind].push_back(((x & cell) != 0) == (kind != 0) ? colors.second : colors.first);
  }
  for (int y = 0; y < height; ++y) {
    const std::vector<std::uint32_t>& row = rows[(y & cell) != 0 ? 1 : 0];
    std::copy(row.begin(), row.end(), slot.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  slot.storedPixels = slot.pixels;
  slot.isEmpty = 1;
}

}  // namespace mok
