#pragma once
// The Qt side of every box: turns widget events into PaneEvent values,
// implements PaneHost (capture, counted cursor hiding, warping, pop-up menu)
// and shows the box's finished bottom-up 32-bit buffer. Boxes render only
// when the shell asks (Render) and paint only what they rendered, never
// erasing first. Wheel turns go up to the shell, which routes them by the
// layout.

#include <QEvent>
#include <QMenu>
#include <QWidget>

#include "panes/box_canvas.h"
#include "panes/cursor_control.h"
#include "panes/pane_events.h"

namespace mok::shell {

// A pane event from a Qt mouse event (y counted from the top).
PaneEvent PaneEventFrom(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                        Qt::KeyboardModifiers modifiers, QPoint point);

// The modifier bits of a pane event.
unsigned PaneModifiersOf(Qt::KeyboardModifiers modifiers);

// Paints width x height pixels of a bottom-up buffer with `pitch` pixels per
// row at the widget's top-left corner.
void PaintBottomUpBuffer(QWidget& widget, const std::uint32_t* pixels, int pitch, int width, int height);

// Paints a palette or gradient box's picture at the widget's top-left corner.
void PaintBoxCanvas(QWidget& widget, const BoxCanvas& canvas);

class PaneWidget : public QWidget, public PaneHost {
  Q_OBJECT
 public:
  explicit PaneWidget(QWidget* parent = nullptr);

  // PaneHost.
  int HideCursor() override;
  int ShowCursor() override;
  void WarpCursor(int x, int y) override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void OpenContextMenu(int x, int y) override;

  // The pop-up menu the corner button opens (none: the button opens nothing).
  void SetContextMenu(QMenu* menu) { menu_ = menu; }

  // Renders the box's picture for its current size with a refresh kind and
  // the request's flags; the shell then repaints it.
  virtual void Render(int kind, int flags) = 0;
  // The box's own logic.
  virtual void HandlePaneEvent(const PaneEvent& event) = 0;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Forward(QMouseEvent* event);

  bool captured_ = false;
  QMenu* menu_ = nullptr;
};

}  // namespace mok::shell
