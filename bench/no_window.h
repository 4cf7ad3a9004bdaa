#pragma once
// The pane host of the benchmarks: no window, so the cursor, capture and
// menus do nothing.

#include "panes/cursor_control.h"

namespace mok::bench {

class NoWindow final : public PaneHost {
 public:
  int HideCursor() override { return -1; }
  int ShowCursor() override { return 0; }
  void WarpCursor(int, int) override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  void OpenContextMenu(int, int) override {}
};

}  // namespace mok::bench
