#include "core/history.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace mok {

namespace {

constexpr int kTileSize = 32;

// The fields of a face a command can change; normals and the renderer's
// scratch are left out, the selection bits are kept apart.
struct FaceRecord {
  std::int16_t vertex[3];
  std::int16_t uvIndex[3];
  std::int16_t storedUvIndex[3];
  UvPair uv[3];
  std::uint8_t flags;
  std::uint8_t type;
  std::uint8_t color;
  std::uint8_t textureNum;
};

// The recorded fields from one face or record to the other; both carry them
// under the same names.
template <class To, class From>
void CopyRecordedFields(To& to, const From& from) {
  for (int k = 0; k < 3; ++k) {
    to.vertex[k] = from.vertex[k];
    to.uvIndex[k] = from.uvIndex[k];
    to.storedUvIndex[k] = from.storedUvIndex[k];
    to.uv[k] = from.uv[k];
  }
  to.flags = from.flags;
  to.type = from.type;
  to.color = from.color;
  to.textureNum = from.textureNum;
}

FaceRecord RecordOf(const MeshTriangle& face) {
  FaceRecord r{};
  CopyRecordedFields(r, face);
  return r;
}

void WriteRecord(MeshTriangle& face, const FaceRecord& r) { CopyRecordedFields(face, r); }

// Bitwise, so that a NaN coordinate compares equal to itself.
bool SameUv(const UvPair& a, const UvPair& b) { return std::memcmp(&a, &b, sizeof(UvPair)) == 0; }

bool SameRecord(const FaceRecord& a, const FaceRecord& b) {
  for (int k = 0; k < 3; ++k) {
    if (a.vertex[k] != b.vertex[k] || a.uvIndex[k] != b.uvIndex[k] || a.storedUvIndex[k] != b.storedUvIndex[k] ||
        !SameUv(a.uv[k], b.uv[k]))
      return false;
  }
  return a.flags == b.flags && a.type == b.type && a.color == b.color && a.textureNum == b.textureNum;
}

struct SkinImage {
  std::string name;
  std::string filePath;
  std::int32_t hasFile = 0;
  std::int32_t isEmpty = 0;
  std::uint8_t format = kFormatNone;
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> storedPixels;

  std::size_t bytes() const { return (pixels.size() + storedPixels.size()) * 4 + name.size() + filePath.size(); }
};

SkinImage ImageOf(const SkinSlot& slot) {
  return {slot.name, slot.filePath, slot.hasFile, slot.isEmpty, slot.format, slot.width, slot.height, slot.pixels,
          slot.storedPixels};
}

void WriteImage(SkinSlot& slot, const SkinImage& image) {
  slot.name = image.name;
  slot.filePath = image.filePath;
  slot.hasFile = image.hasFile;
  slot.isEmpty = image.isEmpty;
  slot.format = image.format;
  slot.width = image.width;
  slot.height = image.height;
  slot.pixels = image.pixels;
  slot.storedPixels = image.storedPixels;
  BuildRowOffsets(slot);
}

// Same size and file: only pixels can differ, so tiles describe the change.
bool SameFrame(const SkinImage& image, const SkinSlot& slot) {
  return image.width == slot.width && image.height == slot.height && image.format == slot.format &&
         image.hasFile == slot.hasFile && image.isEmpty == slot.isEmpty && image.name == slot.name &&
         image.filePath == slot.filePath && image.pixels.size() == slot.pixels.size() &&
         image.storedPixels.size() == slot.storedPixels.size();
}

struct Counts {
  std::int16_t triangles = 0;
  std::int16_t uvVertices = 0;
  std::int16_t storedUvVertices = 0;
};

Counts CountsOf(const MeshDocument& doc) { return {doc.triangleCount, doc.uvVertexCount, doc.storedUvVertexCount}; }

}  // namespace

struct DocumentBaseline {
  Counts counts;
  std::vector<FaceRecord> faces = std::vector<FaceRecord>(kMaxTriangles);
  std::vector<std::uint32_t> states = std::vector<std::uint32_t>(kMaxTriangles);
  std::vector<UvPair> uv = std::vector<UvPair>(kMaxUvVertices);
  std::vector<std::uint8_t> uvChannel = std::vector<std::uint8_t>(kMaxUvVertices);
  std::vector<UvPair> storedUv = std::vector<UvPair>(kMaxUvVertices);
  FileInfo info;
  std::vector<SkinImage> skins;
};

namespace {

struct FaceChange {
  int index;
  FaceRecord before, after;
};
struct UvChange {
  int index;
  UvPair before, after;
  std::uint8_t channelBefore, channelAfter;
};
struct StoredUvChange {
  int index;
  UvPair before, after;
};
struct TileChange {
  int slot;
  bool stored;  // the Store/Revert copy rather than the shown pixels
  int x, y, width, height;
  std::vector<std::uint32_t> before, after;
};
struct SkinSwap {
  int slot;
  SkinImage before, after;
};

}  // namespace

struct HistoryStep {
  std::string name;
  Counts countsBefore, countsAfter;
  std::vector<FaceChange> faces;
  std::vector<UvChange> uvs;
  std::vector<StoredUvChange> storedUvs;
  std::optional<FileInfo> infoBefore, infoAfter;
  // The selection and visibility bits of every face at both ends; the after
  // side is left empty when it equals the before side.
  std::vector<std::uint32_t> statesBefore, statesAfter;
  std::vector<TileChange> tiles;
  std::vector<SkinSwap> skins;

  const std::vector<std::uint32_t>& states(bool forward) const {
    return forward && !statesAfter.empty() ? statesAfter : statesBefore;
  }

  bool changesData() const {
    return !faces.empty() || !uvs.empty() || !storedUvs.empty() || infoBefore || !tiles.empty() || !skins.empty() ||
           std::memcmp(&countsBefore, &countsAfter, sizeof(Counts)) != 0;
  }

  std::size_t bytes() const {
    std::size_t total = sizeof(HistoryStep) + name.size() + faces.size() * sizeof(FaceChange) +
                        uvs.size() * sizeof(UvChange) + storedUvs.size() * sizeof(StoredUvChange) +
                        (statesBefore.size() + statesAfter.size()) * sizeof(std::uint32_t);
    if (infoBefore) total += 2 * sizeof(FileInfo) + infoBefore->comments.size() + infoAfter->comments.size();
    for (const TileChange& t : tiles) total += sizeof(TileChange) + (t.before.size() + t.after.size()) * 4;
    for (const SkinSwap& s : skins) total += sizeof(SkinSwap) + s.before.bytes() + s.after.bytes();
    return total;
  }
};

namespace {

void TakeMesh(DocumentBaseline& base, const MeshDocument& doc) {
  base.counts = CountsOf(doc);
  for (int i = 0; i < kMaxTriangles; ++i) {
    base.faces[static_cast<std::size_t>(i)] = RecordOf(doc.triangles[static_cast<std::size_t>(i)]);
    base.states[static_cast<std::size_t>(i)] = doc.triangles[static_cast<std::size_t>(i)].state;
  }
  std::copy(doc.uvVertices.begin(), doc.uvVertices.end(), base.uv.begin());
  std::copy(doc.uvVertexChannel.begin(), doc.uvVertexChannel.end(), base.uvChannel.begin());
  std::copy(doc.storedUvVertices.begin(), doc.storedUvVertices.end(), base.storedUv.begin());
  base.info = doc.fileInfo;
}

bool SameInfo(const FileInfo& a, const FileInfo& b) {
  return a.authorName == b.authorName && a.contact == b.contact && a.date == b.date && a.comments == b.comments &&
         a.credits == b.credits;
}

// The face records, UV entries and file strings that differ from the
// baseline, over the larger of the two counts so a shrinking table comes
// back whole. Entries between the two counts are kept even when equal: the
// program uses the space past a table's end as scratch, so what lies there
// when the step is undone or redone is not what lay there at the commit.
void DiffMesh(const DocumentBaseline& base, const MeshDocument& doc, HistoryStep& step) {
  const int faceKept = std::min(base.counts.triangles, doc.triangleCount);
  const int faceSpan = std::max(base.counts.triangles, doc.triangleCount);
  for (int i = 0; i < faceSpan; ++i) {
    const FaceRecord now = RecordOf(doc.triangles[static_cast<std::size_t>(i)]);
    const FaceRecord& was = base.faces[static_cast<std::size_t>(i)];
    if (i >= faceKept || !SameRecord(was, now)) step.faces.push_back({i, was, now});
  }
  const int uvKept = std::min(base.counts.uvVertices, doc.uvVertexCount);
  const int uvSpan = std::max(base.counts.uvVertices, doc.uvVertexCount);
  for (int i = 0; i < uvSpan; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (i >= uvKept || !SameUv(base.uv[at], doc.uvVertices[at]) || base.uvChannel[at] != doc.uvVertexChannel[at])
      step.uvs.push_back({i, base.uv[at], doc.uvVertices[at], base.uvChannel[at], doc.uvVertexChannel[at]});
  }
  const int storedKept = std::min(base.counts.storedUvVertices, doc.storedUvVertexCount);
  const int storedSpan = std::max(base.counts.storedUvVertices, doc.storedUvVertexCount);
  for (int i = 0; i < storedSpan; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (i >= storedKept || !SameUv(base.storedUv[at], doc.storedUvVertices[at]))
      step.storedUvs.push_back({i, base.storedUv[at], doc.storedUvVertices[at]});
  }
  if (!SameInfo(base.info, doc.fileInfo)) {
    step.infoBefore = base.info;
    step.infoAfter = doc.fileInfo;
  }
}

void DiffTiles(const std::vector<std::uint32_t>& was, const std::vector<std::uint32_t>& now, const SkinImage& frame,
               int slot, bool stored, HistoryStep& step) {
  if (was.empty() || std::memcmp(was.data(), now.data(), was.size() * 4) == 0) return;
  for (int y = 0; y < frame.height; y += kTileSize) {
    const int h = std::min(kTileSize, frame.height - y);
    for (int x = 0; x < frame.width; x += kTileSize) {
      const int w = std::min(kTileSize, frame.width - x);
      bool differs = false;
      for (int row = y; row < y + h && !differs; ++row) {
        const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(frame.width) + x;
        differs = std::memcmp(&was[at], &now[at], static_cast<std::size_t>(w) * 4) != 0;
      }
      if (!differs) continue;
      TileChange tile{slot, stored, x, y, w, h, {}, {}};
      for (int row = y; row < y + h; ++row) {
        const std::size_t at = static_cast<std::size_t>(row) * static_cast<std::size_t>(frame.width) + x;
        tile.before.insert(tile.before.end(), was.begin() + static_cast<std::ptrdiff_t>(at),
                           was.begin() + static_cast<std::ptrdiff_t>(at + static_cast<std::size_t>(w)));
        tile.after.insert(tile.after.end(), now.begin() + static_cast<std::ptrdiff_t>(at),
                          now.begin() + static_cast<std::ptrdiff_t>(at + static_cast<std::size_t>(w)));
      }
      step.tiles.push_back(std::move(tile));
    }
  }
}

void DiffSkin(const SkinImage& was, const SkinSlot& now, int slot, HistoryStep& step) {
  if (!SameFrame(was, now)) {
    step.skins.push_back({slot, was, ImageOf(now)});
    return;
  }
  DiffTiles(was.pixels, now.pixels, was, slot, false, step);
  DiffTiles(was.storedPixels, now.storedPixels, was, slot, true, step);
}

// Writes a tile's values; a tile that does not fit the image is skipped.
void WriteTile(std::vector<std::uint32_t>& pixels, int imageWidth, const TileChange& tile,
               const std::vector<std::uint32_t>& values) {
  const std::size_t end = static_cast<std::size_t>(tile.y + tile.height - 1) * static_cast<std::size_t>(imageWidth) +
                          static_cast<std::size_t>(tile.x + tile.width);
  if (tile.x + tile.width > imageWidth || end > pixels.size()) return;
  for (int row = 0; row < tile.height; ++row) {
    const std::size_t to = static_cast<std::size_t>(tile.y + row) * static_cast<std::size_t>(imageWidth) + tile.x;
    std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(row * tile.width), tile.width,
                pixels.begin() + static_cast<std::ptrdiff_t>(to));
  }
}

void WriteCounts(MeshDocument& doc, const Counts& counts) {
  doc.triangleCount = counts.triangles;
  doc.uvVertexCount = counts.uvVertices;
  doc.storedUvVertexCount = counts.storedUvVertices;
}

}  // namespace

History::History(std::size_t memoryLimit) : memoryLimit_(memoryLimit) {}

History::~History() = default;

void History::Reset(const MeshDocument& doc) {
  steps_.clear();
  position_ = 0;
  memoryUsed_ = 0;
  savedPosition_ = 0;
  baseline_ = std::make_unique<DocumentBaseline>();
  TakeMesh(*baseline_, doc);
  for (const auto& slot : doc.skinSlots) baseline_->skins.push_back(ImageOf(*slot));
}

bool History::Commit(const MeshDocument& doc, const std::string& name, ChangeScope scope) {
  if (!baseline_ || baseline_->skins.size() != doc.skinSlots.size()) {
    Reset(doc);
    return false;
  }
  auto step = std::make_unique<HistoryStep>();
  step->name = name;
  step->countsBefore = baseline_->counts;
  step->countsAfter = CountsOf(doc);
  if (scope.mesh) DiffMesh(*baseline_, doc, *step);
  if (scope.skins) {
    for (int s = 0; s < doc.slotCount(); ++s) {
      if (scope.slot >= 0 && s != scope.slot) continue;
      DiffSkin(baseline_->skins[static_cast<std::size_t>(s)], *doc.skinSlots[static_cast<std::size_t>(s)], s, *step);
    }
  }
  const int stateSpan = std::max(step->countsBefore.triangles, step->countsAfter.triangles);
  for (int i = 0; i < stateSpan; ++i) {
    step->statesBefore.push_back(baseline_->states[static_cast<std::size_t>(i)]);
    step->statesAfter.push_back(doc.triangles[static_cast<std::size_t>(i)].state);
  }
  if (step->statesAfter == step->statesBefore) step->statesAfter.clear();
  // The baseline follows the document whether or not a step is kept.
  MoveBaseline(*step, true);
  if (!step->changesData()) return false;

  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(position_), steps_.end());
  if (savedPosition_ && *savedPosition_ > position_) savedPosition_.reset();
  memoryUsed_ = 0;
  for (const auto& kept : steps_) memoryUsed_ += kept->bytes();
  memoryUsed_ += step->bytes();
  steps_.push_back(std::move(step));
  position_ = steps_.size();
  DropOldestBeyondLimit();
  return true;
}

void History::DropOldestBeyondLimit() {
  while (memoryUsed_ > memoryLimit_ && !steps_.empty()) {
    memoryUsed_ -= steps_.front()->bytes();
    steps_.pop_front();
    if (position_ > 0) --position_;
    if (savedPosition_) savedPosition_ = *savedPosition_ > 0 ? std::optional<std::size_t>(*savedPosition_ - 1) : std::nullopt;
  }
}

void History::SetMemoryLimit(std::size_t bytes) {
  memoryLimit_ = bytes;
  DropOldestBeyondLimit();
}

std::optional<std::string> History::UndoName() const {
  if (!CanUndo()) return std::nullopt;
  return steps_[position_ - 1]->name;
}

std::size_t History::UndoStepBytes() const { return CanUndo() ? steps_[position_ - 1]->bytes() : 0; }

std::optional<std::string> History::RedoName() const {
  if (!CanRedo()) return std::nullopt;
  return steps_[position_]->name;
}

bool History::Undo(MeshDocument& doc) {
  // A change nobody committed yet is the step to undo first; it also keeps
  // the baseline and the document in step before records are swapped in.
  Commit(doc, "Edit");
  if (!CanUndo() || !baseline_) return false;
  --position_;
  Apply(doc, *steps_[position_], false);
  return true;
}

bool History::Redo(MeshDocument& doc) {
  // An uncommitted change becomes a step of its own, which ends the redo list.
  Commit(doc, "Edit");
  if (!CanRedo() || !baseline_) return false;
  Apply(doc, *steps_[position_], true);
  ++position_;
  return true;
}

bool History::Modified() const { return savedPosition_ != position_; }

void History::MarkSaved() { savedPosition_ = position_; }

// Writes one side of the step into the document. Slots are only touched by
// index while they exist, so a step can never write past a slot that has
// since gone.
void History::Apply(MeshDocument& doc, const HistoryStep& step, bool forward) {
  WriteCounts(doc, forward ? step.countsAfter : step.countsBefore);
  for (const FaceChange& c : step.faces)
    WriteRecord(doc.triangles[static_cast<std::size_t>(c.index)], forward ? c.after : c.before);
  const std::vector<std::uint32_t>& states = step.states(forward);
  for (std::size_t i = 0; i < states.size(); ++i) doc.triangles[i].state = states[i];
  for (const UvChange& c : step.uvs) {
    const auto at = static_cast<std::size_t>(c.index);
    doc.uvVertices[at] = forward ? c.after : c.before;
    doc.uvVertexChannel[at] = forward ? c.channelAfter : c.channelBefore;
  }
  for (const StoredUvChange& c : step.storedUvs)
    doc.storedUvVertices[static_cast<std::size_t>(c.index)] = forward ? c.after : c.before;
  if (step.infoBefore) doc.fileInfo = forward ? *step.infoAfter : *step.infoBefore;
  for (const SkinSwap& swap : step.skins) {
    if (swap.slot < doc.slotCount()) WriteImage(*doc.skinSlots[static_cast<std::size_t>(swap.slot)], forward ? swap.after : swap.before);
  }
  for (const TileChange& tile : step.tiles) {
    if (tile.slot >= doc.slotCount()) continue;
    SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(tile.slot)];
    WriteTile(tile.stored ? slot.storedPixels : slot.pixels, slot.width, tile, forward ? tile.after : tile.before);
  }
  doc.ComputeFaceNormals();
  MoveBaseline(step, forward);
}

// Brings the baseline to one side of the step.
void History::MoveBaseline(const HistoryStep& step, bool forward) {
  DocumentBaseline& base = *baseline_;
  base.counts = forward ? step.countsAfter : step.countsBefore;
  for (const FaceChange& c : step.faces) base.faces[static_cast<std::size_t>(c.index)] = forward ? c.after : c.before;
  const std::vector<std::uint32_t>& states = step.states(forward);
  std::copy(states.begin(), states.end(), base.states.begin());
  for (const UvChange& c : step.uvs) {
    const auto at = static_cast<std::size_t>(c.index);
    base.uv[at] = forward ? c.after : c.before;
    base.uvChannel[at] = forward ? c.channelAfter : c.channelBefore;
  }
  for (const StoredUvChange& c : step.storedUvs)
    base.storedUv[static_cast<std::size_t>(c.index)] = forward ? c.after : c.before;
  if (step.infoBefore) base.info = forward ? *step.infoAfter : *step.infoBefore;
  for (const SkinSwap& swap : step.skins) base.skins[static_cast<std::size_t>(swap.slot)] = forward ? swap.after : swap.before;
  for (const TileChange& tile : step.tiles) {
    SkinImage& image = base.skins[static_cast<std::size_t>(tile.slot)];
    WriteTile(tile.stored ? image.storedPixels : image.pixels, image.width, tile, forward ? tile.after : tile.before);
  }
}

}  // namespace mok
