#pragma once
// Shared pieces of the painting and colour-box tests: an application with
// in-memory settings, a refresh sink and pointer that record what they are
// asked, a colour dialog that plays a script, and a shell for the gradient box.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/application.h"
#include "core/prompter.h"
#include "core/refresh.h"
#include "core/settings.h"
#include "render/shading.h"
#include "skin/box_input.h"
#include "skin/gradient_box.h"

namespace mok::test {

struct RefreshRequest {
  int panes = 0;
  int kind = 0;
  bool operator==(const RefreshRequest&) const = default;
};

class RequestLog final : public RefreshSink {
 public:
  void Refresh(int paneBits, int kind) override { requests.push_back({paneBits, kind}); }
  void RefillLists() override {}
  int Count(RefreshRequest r) const {
    int n = 0;
    for (const RefreshRequest& q : requests) n += q == r ? 1 : 0;
    return n;
  }
  std::vector<RefreshRequest> requests;
};

// Answers the colour dialog: nothing (cancel) or the scripted colour; records
// what the dialog was opened with.
class ColourDialogPrompter final : public Prompter {
 public:
  void Message(const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::Cancel; }
  std::optional<std::string> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
  bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& slots) override {
    ++opened;
    openedWith = colour;
    slotsSeen = slots;
    if (slotToSet) slots[slotToSet->first] = slotToSet->second;
    if (!answer) return false;
    colour = *answer;
    return true;
  }
  std::optional<std::uint32_t> answer;
  std::optional<std::pair<std::size_t, std::uint32_t>> slotToSet;
  int opened = 0;
  std::uint32_t openedWith = 0;
  std::array<std::uint32_t, 16> slotsSeen{};
};

class RecordingPointer final : public BoxPointer {
 public:
  void Capture() override { captured = true; }
  void Release() override { captured = false; }
  void HideCursor() override { hidden = true; }
  void ShowCursorAt(int x, int y) override {
    hidden = false;
    shownAt = {x, y};
  }
  bool captured = false;
  bool hidden = false;
  std::pair<int, int> shownAt{-1, -1};
};

class FakeSplitterShell final : public SplitterShell {
 public:
  void BeginSplitterDrag() override { ++splitterDrags; }
  void ApplySplitFraction(double fraction) override {
    split = fraction;
    applied.push_back(fraction);
  }
  void SwapDisplays() override { ++swaps; }
  double SplitFraction() const override { return split; }
  int RenderModeIndex() const override { return renderMode; }
  int splitterDrags = 0;
  int swaps = 0;
  double split = 0.65;
  int renderMode = 0;
  std::vector<double> applied;
};

struct PaintApp {
  MemorySettings settings;
  ColourDialogPrompter prompter;
  RequestLog refresh;
  Application app{settings, prompter, refresh};
  ShadingTables shading;
};

}  // namespace mok::test
