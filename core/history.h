#pragma once
// Undo and redo of document changes.
//
// The history keeps a baseline: a copy of every part of the document a
// command can change (face records, the UV tables, the file information and
// the pixels of every skin slot). After a command, a finished drag or a
// paint stroke the caller commits: the history compares the document with
// the baseline, keeps only what differs (changed face records and UV
// entries, changed 32 x 32 pixel tiles, before and after) as one named step
// and moves the baseline on. Undo and redo swap those records back in.
//
// Selection and visibility bits are not steps of their own: a commit that
// changes only them records nothing, but every step remembers the selection
// it started and ended with, so undoing it restores the selection it had.
// Face normals are recomputed after undo and redo, since they follow the
// current animation frame.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/mesh_document.h"

namespace mok {

// Which parts of the document a commit compares with the baseline; the
// selection is always compared. A paint stroke names its slot, commands name
// what they can change, and those that may touch anything leave the default.
// What changes outside the scope is not seen until a wider commit.
struct ChangeScope {
  bool mesh = true;
  bool skins = true;  // every slot, unless `slot` names one
  int slot = -1;

  static constexpr ChangeScope Everything() { return {}; }
  static constexpr ChangeScope MeshOnly() { return {true, false, -1}; }
  static constexpr ChangeScope OneSkin(int slot) { return {false, true, slot}; }
  static constexpr ChangeScope SelectionOnly() { return {false, false, -1}; }
};

struct HistoryStep;
struct DocumentBaseline;

class History {
 public:
  static constexpr std::size_t kDefaultMemoryLimit = std::size_t{256} << 20;

  explicit History(std::size_t memoryLimit = kDefaultMemoryLimit);
  ~History();
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  // Forgets every step and takes the document as it is now as the baseline
  // (after a load or an import, or when the slots were added or removed).
  void Reset(const MeshDocument& doc);

  // Records what changed since the baseline as the step `name`; false when
  // nothing but the selection changed. Redo steps are dropped by a new step.
  // Steps past the memory limit are dropped oldest first; a step larger
  // than the limit is still applied, but the history ends up empty.
  bool Commit(const MeshDocument& doc, const std::string& name, ChangeScope scope = ChangeScope::Everything());

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  // The name of the step Undo or Redo would apply.
  std::optional<std::string> UndoName() const;
  std::optional<std::string> RedoName() const;

  // Apply one step backwards or forwards; false when there is none.
  bool Undo(MeshDocument& doc);
  bool Redo(MeshDocument& doc);

  // Whether the document differs from what was last saved or loaded, as far
  // as the history knows: a step was taken, undone or redone since.
  bool Modified() const;
  // The document was saved: the current position is the unmodified one.
  void MarkSaved();

  std::size_t StepCount() const { return steps_.size(); }
  // Bytes the steps hold (the baseline not counted).
  std::size_t MemoryUsed() const { return memoryUsed_; }
  // Bytes the step Undo would apply holds; 0 when there is none.
  std::size_t UndoStepBytes() const;
  std::size_t MemoryLimit() const { return memoryLimit_; }
  void SetMemoryLimit(std::size_t bytes);

 private:
  void Apply(MeshDocument& doc, const HistoryStep& step, bool forward);
  void MoveBaseline(const HistoryStep& step, bool forward);
  void DropOldestBeyondLimit();

  std::size_t memoryLimit_;
  std::size_t memoryUsed_ = 0;
  std::unique_ptr<DocumentBaseline> baseline_;
  std::deque<std::unique_ptr<HistoryStep>> steps_;
  std::size_t position_ = 0;  // steps before it are done, from it on undone
  // The position that matches the saved document; none once the saved state
  // fell out of the history.
  std::optional<std::size_t> savedPosition_ = 0;
};

}  // namespace mok
