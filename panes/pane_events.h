#pragma once
// Mouse input of the panes, free of any toolkit. The shell turns its window
// events into PaneEvent values and hands them to a pane; the pane answers
// through PaneHost (mouse capture, cursor, context menu) and RefreshSink.
//
// Coordinates are client pixels counted from the top-left corner. A captured
// drag may report points outside the client area, negative ones included.

#include <cstdint>

namespace mok {

enum class PaneEventType : std::uint8_t { Press, Release, Move, Wheel, CaptureLost };
enum class PaneButton : std::uint8_t { None, Left, Right, Middle };

// Modifier keys held when the event happened.
inline constexpr unsigned kModShift = 1;
inline constexpr unsigned kModCtrl = 2;
inline constexpr unsigned kModScrollLock = 4;  // Scroll Lock toggled on

// Buttons held once the event has happened (a release no longer lists its
// own button).
inline constexpr unsigned kHeldLeft = 1;
inline constexpr unsigned kHeldRight = 2;
inline constexpr unsigned kHeldMiddle = 4;

struct PaneEvent {
  PaneEventType type = PaneEventType::Move;
  PaneButton button = PaneButton::None;  // the button pressed or released
  int x = 0;
  int y = 0;
  unsigned modifiers = 0;
  unsigned buttonsHeld = 0;
  int wheelDelta = 0;  // signed, in the system's wheel units (120 a notch)

  bool shift() const { return (modifiers & kModShift) != 0; }
  bool ctrl() const { return (modifiers & kModCtrl) != 0; }
  bool held(unsigned mask) const { return (buttonsHeld & mask) != 0; }
};

// A press, move or release of the mouse as the shells and scripts hand it on.
inline PaneEvent MouseEvent(PaneEventType type, PaneButton button, int x, int y, unsigned buttonsHeld,
                            unsigned modifiers = 0) {
  return {.type = type, .button = button, .x = x, .y = y, .modifiers = modifiers, .buttonsHeld = buttonsHeld};
}

}  // namespace mok
