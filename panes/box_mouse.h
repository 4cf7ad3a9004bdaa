#pragma once
// The mouse of the palette and gradient boxes: the shell hands every event to
// HandleEvent, which passes it to the box's handler for its type. The boxes
// take no wheel.

#include "panes/pane_events.h"

namespace mok {

class BoxMouse {
 public:
  virtual ~BoxMouse() = default;

  void HandleEvent(const PaneEvent& event) {
    switch (event.type) {
      case PaneEventType::Press: Press(event); break;
      case PaneEventType::Move: Move(event); break;
      case PaneEventType::Release: Release(event); break;
      case PaneEventType::CaptureLost: CaptureLost(); break;
      case PaneEventType::Wheel: break;
    }
  }

 private:
  virtual void Press(const PaneEvent& event) = 0;
  virtual void Move(const PaneEvent& event) = 0;
  virtual void Release(const PaneEvent& event) = 0;
  virtual void CaptureLost() = 0;
};

}  // namespace mok
