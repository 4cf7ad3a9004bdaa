#include "core/uv_vertex_index.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/mesh_document.h"

namespace mok {

namespace {

// Cells stay far inside int32 so a neighbour number never overflows.
constexpr double kCellLimit = 1 << 30;

bool Near(const UvPair& a, const UvPair& b) {
  return std::fabs(a.u - b.u) < UvVertexIndex::kMergeDistance && std::fabs(a.v - b.v) < UvVertexIndex::kMergeDistance;
}

}  // namespace

UvVertexIndex::UvVertexIndex(int capacity)
    : slots_(std::bit_ceil(static_cast<std::size_t>(std::max(capacity, 1)) * 2)),
      next_(static_cast<std::size_t>(std::max(capacity, 1)), -1),
      mask_(slots_.size() - 1) {}

void UvVertexIndex::Clear() {
  if (++generation_ != 0) return;
  std::fill(slots_.begin(), slots_.end(), Slot{});  // the counter wrapped
  generation_ = 1;
}

UvVertexIndex::AxisCell UvVertexIndex::CellOf(float coordinate) {
  // Half cells are merge distances; the product with a power of two is exact.
  const double half = std::clamp(std::floor(static_cast<double>(coordinate) * 4096.0), -2 * kCellLimit, 2 * kCellLimit);
  const auto halves = static_cast<std::int64_t>(half);
  return {static_cast<std::int32_t>(halves >> 1), (halves & 1) != 0};
}

std::size_t UvVertexIndex::SlotFor(const CellKey& key) const {
  std::uint64_t h = static_cast<std::uint32_t>(key.u);
  h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(key.v);
  h = h * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint32_t>(key.channel);
  h *= 0x9E3779B97F4A7C15ull;
  std::size_t slot = static_cast<std::size_t>(h >> 40) & mask_;
  while (slots_[slot].generation == generation_ && !(slots_[slot].key == key)) slot = (slot + 1) & mask_;
  return slot;
}

int UvVertexIndex::FirstMatchInCell(const CellKey& key, const UvPair& uv, const UvPair* table, int below) const {
  const Slot& slot = slots_[SlotFor(key)];
  if (slot.generation != generation_) return below;
  for (int m = slot.first; m >= 0 && m < below; m = next_[static_cast<std::size_t>(m)]) {
    if (Near(uv, table[m])) return m;
  }
  return below;
}

int UvVertexIndex::Find(std::uint8_t channel, const UvPair& uv, const UvPair* table) const {
  if (!std::isfinite(uv.u) || !std::isfinite(uv.v)) return -1;
  const AxisCell u = CellOf(uv.u), v = CellOf(uv.v);
  const std::int32_t u2 = u.upperHalf ? u.cell + 1 : u.cell - 1;
  const std::int32_t v2 = v.upperHalf ? v.cell + 1 : v.cell - 1;
  int best = static_cast<int>(next_.size());
  for (const std::int32_t cu : {u.cell, u2}) {
    for (const std::int32_t cv : {v.cell, v2}) best = FirstMatchInCell({cu, cv, channel}, uv, table, best);
  }
  return best < static_cast<int>(next_.size()) ? best : -1;
}

void UvVertexIndex::Add(int index, std::uint8_t channel, const UvPair& uv) {
  if (!std::isfinite(uv.u) || !std::isfinite(uv.v) || index < 0 || index >= static_cast<int>(next_.size())) return;
  const CellKey key{CellOf(uv.u).cell, CellOf(uv.v).cell, channel};
  Slot& slot = slots_[SlotFor(key)];
  next_[static_cast<std::size_t>(index)] = -1;
  if (slot.generation != generation_) {
    slot.key = key;
    slot.first = index;
    slot.generation = generation_;
  } else {
    next_[static_cast<std::size_t>(slot.last)] = index;
  }
  slot.last = index;
}

}  // namespace mok
