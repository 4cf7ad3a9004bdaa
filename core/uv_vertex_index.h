#pragma once
// A spatial index over the shared UV-vertex table, so RebuildUvVertices finds
// the first entry within the merge distance without walking the whole table.
//
// Coordinates are cut into square cells two merge distances wide, per
// channel. A point reaches (strictly) less than one merge distance either
// way, so in each axis it can only meet entries of its own cell and of the
// neighbour on the side of the cell half it lies in: four cells in all. Each
// cell lists its entries in table order, so the first match of a cell is its
// lowest index and the lowest over the four cells is the entry the plain
// linear search would have found. Candidates are tested with the very same
// comparison as that search, so the result is identical, edge cases of float
// rounding included.
//
// Non-finite coordinates never compare as near, so they are neither indexed
// nor looked up. Cell numbers are clamped far outside any skin; coordinates
// beyond that share their edge cell and are still compared exactly.

#include <cstdint>
#include <vector>

namespace mok {

struct UvPair;

class UvVertexIndex {
 public:
  // Capacity in table entries; storage is allocated once.
  explicit UvVertexIndex(int capacity);

  // Empties the index without touching its storage: slots of an earlier
  // generation count as free.
  void Clear();
  // The lowest entry index m already added with channel `channel` and
  // |uv.u - table[m].u| < distance and |uv.v - table[m].v| < distance
  // (float arithmetic, strict), or -1.
  int Find(std::uint8_t channel, const UvPair& uv, const UvPair* table) const;
  // Adds entry `index` (higher than every index added since Clear).
  void Add(int index, std::uint8_t channel, const UvPair& uv);

  static constexpr float kMergeDistance = 1.0f / 4096.0f;

 private:
  struct CellKey {
    std::int32_t u = 0;
    std::int32_t v = 0;
    std::int32_t channel = -1;
    bool operator==(const CellKey&) const = default;
  };
  struct Slot {
    CellKey key;
    std::int32_t first = -1;  // entry lists in table order
    std::int32_t last = -1;
    std::uint32_t generation = 0;  // in use when equal to generation_
  };
  // Cell number along one axis and whether the point lies in the cell's
  // upper half.
  struct AxisCell {
    std::int32_t cell = 0;
    bool upperHalf = false;
  };
  static AxisCell CellOf(float coordinate);

  std::size_t SlotFor(const CellKey& key) const;
  int FirstMatchInCell(const CellKey& key, const UvPair& uv, const UvPair* table, int below) const;

  std::vector<Slot> slots_;
  std::vector<std::int32_t> next_;  // per entry: the next entry of its cell
  std::size_t mask_ = 0;
  std::uint32_t generation_ = 1;
};

}  // namespace mok
