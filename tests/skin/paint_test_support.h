#pragma once
// Shared pieces of the painting and colour-box tests: an application with
// in-memory settings, a refresh sink and a box host that record what they are
// asked, a colour dialog that plays a script, a shell for the gradient box and
// the mouse events the boxes take.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/application.h"
#include "panes/cursor_control.h"
#include "panes/pane_events.h"
#include "tests/support/scripted_prompter.h"
#include "core/prompter.h"
#include "core/refresh.h"
#include "tests/support/refresh_recorder.h"
#include "core/settings.h"
#include "render/shading.h"
#include "panes/gradient_box.h"

namespace mok::test {

// The window of a colour box: capture, the system's cursor display count and
// where the cursor stood when it became visible again.
class BoxRecordingHost final : public PaneHost {
 public:
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  int HideCursor() override { return Count(-1); }
  int ShowCursor() override {
    const bool wasHidden = hidden;
    const int count = Count(1);
    if (wasHidden && !hidden) shownAt = cursorAt;
    return count;
  }
  void WarpCursor(int x, int y) override { cursorAt = {x, y}; }
  void OpenContextMenu(int, int) override {}

  bool captured = false;
  bool hidden = false;
  int displayCount = 0;
  std::pair<int, int> cursorAt{-1, -1};
  std::pair<int, int> shownAt{-1, -1};

 private:
  int Count(int step) {
    displayCount += step;
    hidden = displayCount < 0;
    return displayCount;
  }
};

inline PaneEvent BoxMouse(PaneEventType type, PaneButton button, int x, int y) {
  PaneEvent e;
  e.type = type;
  e.button = button;
  e.x = x;
  e.y = y;
  return e;
}
inline PaneEvent PressLeft(int x, int y) { return BoxMouse(PaneEventType::Press, PaneButton::Left, x, y); }
inline PaneEvent PressRight(int x, int y) { return BoxMouse(PaneEventType::Press, PaneButton::Right, x, y); }
inline PaneEvent ReleaseLeft(int x, int y) { return BoxMouse(PaneEventType::Release, PaneButton::Left, x, y); }
inline PaneEvent ReleaseRight(int x, int y) { return BoxMouse(PaneEventType::Release, PaneButton::Right, x, y); }
inline PaneEvent MoveTo(int x, int y) { return BoxMouse(PaneEventType::Move, PaneButton::None, x, y); }
inline PaneEvent LoseCapture() { return BoxMouse(PaneEventType::CaptureLost, PaneButton::None, 0, 0); }
inline PaneEvent WheelTurn(int x, int y, int delta) {
  PaneEvent e = BoxMouse(PaneEventType::Wheel, PaneButton::None, x, y);
  e.wheelDelta = delta;
  return e;
}
// A press and the release of its button at the same point.
template <class Box>
void Click(Box& box, PaneEvent press) {
  box.HandleEvent(press);
  press.type = PaneEventType::Release;
  box.HandleEvent(press);
}

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
  ScriptedPrompter prompter;
  RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
  ShadingTables shading;
};

}  // namespace mok::test
