#pragma once
// A list of 256 x 256 lookup maps (phong or environment) and the index of
// the active one. The list owns its records; skin/map_lists.h fills and
// empties it.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/skin_slot.h"

namespace mok {

inline constexpr int kMapSize = 256;  // every map is exactly this wide and high

struct MapList {
  std::vector<std::unique_ptr<SkinSlot>> maps;
  // The active entry; -1 once the list has been emptied. It starts at 0 so
  // that the first map a start-up scan finds becomes active.
  std::int16_t index = 0;

  int count() const { return static_cast<int>(maps.size()); }
  // The entry at `index`, or null when there is none: an index is never
  // trusted to point into the list.
  SkinSlot* active() const {
    if (index < 0 || index >= count()) return nullptr;
    return maps[static_cast<std::size_t>(index)].get();
  }
};

}  // namespace mok
