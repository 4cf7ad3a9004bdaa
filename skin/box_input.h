#pragma once
// Mouse input of the palette and gradient boxes, free of any toolkit: the
// shell turns its widget events into these and the platform services a box
// asks for (capture, cursor) come back through BoxPointer.

namespace mok {

enum class BoxButton { None, Left, Right, Middle };

struct BoxEvent {
  BoxButton button = BoxButton::None;  // the button pressed or released
  int x = 0;                           // client pixels, y counted from the top
  int y = 0;
  bool shift = false;
  bool ctrl = false;
  int wheelDelta = 0;                  // wheel turns, in the system's units
};

class BoxPointer {
 public:
  virtual ~BoxPointer() = default;
  virtual void Capture() = 0;
  virtual void Release() = 0;
  virtual void HideCursor() = 0;
  // Puts the cursor on a client point and shows it again.
  virtual void ShowCursorAt(int x, int y) = 0;
};

}  // namespace mok
