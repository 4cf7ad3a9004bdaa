#pragma once
// What a pane asks of its window beyond drawing: mouse capture, the cursor
// and its context menu. The shell implements it for each pane; tests record
// the calls.

#include "core/interaction_flags.h"

namespace mok {

class CursorControl {
 public:
  virtual ~CursorControl() = default;
  // The system's show and hide calls: each returns the display count after
  // the call (the cursor shows while the count is not negative).
  virtual int HideCursor() = 0;
  virtual int ShowCursor() = 0;
  // Puts the cursor on a client point of the pane.
  virtual void WarpCursor(int x, int y) = 0;
};

class PaneHost : public CursorControl {
 public:
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  // Opens the pane's pop-up menu with its top-left corner at a client point.
  virtual void OpenContextMenu(int x, int y) = 0;
};

// Relative drags hide the cursor by counting: hide until the count goes
// negative, and show until it is back at 0, at most 20 calls either way so
// a count that never moves cannot hang the program.
inline constexpr int kMaxCursorCalls = 20;

inline void HideCursorFully(CursorControl& cursor) {
  for (int i = 0; i < kMaxCursorCalls; ++i)
    if (cursor.HideCursor() < 0) return;
}

inline void ShowCursorFully(CursorControl& cursor) {
  for (int i = 0; i < kMaxCursorCalls; ++i)
    if (cursor.ShowCursor() >= 0) return;
}

// The cursor a pane shows over its client area: with custom cursors on, the
// camera cursor while camera interaction is on, else the one of the edit
// mode; with them off, the system's own.
enum class PaneCursor { System, Camera, Paint, Mapping };

inline PaneCursor ChoosePaneCursor(int customCursors, bool cameraActive, EditMode editMode) {
  if (!customCursors) return PaneCursor::System;
  if (cameraActive) return PaneCursor::Camera;
  return editMode == EditMode::Mapping ? PaneCursor::Mapping : PaneCursor::Paint;
}

}  // namespace mok
