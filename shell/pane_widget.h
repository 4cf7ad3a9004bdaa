#pragma once
// The Qt side of every pane: turns widget events into PaneEvent values,
// implements PaneHost (capture, counted cursor hiding, warping, pop-up menu)
// and shows the pane's finished bottom-up 32-bit buffer.

#include <QEvent>
#include <QMenu>
#include <QWidget>

#include "panes/cursor_control.h"
#include "panes/pane_events.h"

namespace mok::shell {

// A pane event from a Qt mouse event (y counted from the top).
PaneEvent PaneEventFrom(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                        Qt::KeyboardModifiers modifiers, QPoint point);

// Paints width x height pixels of a bottom-up buffer with `pitch` pixels per
// row at the widget's top-left corner.
void PaintBottomUpBuffer(QWidget& widget, const std::uint32_t* pixels, int pitch, int width, int height);

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

  QMenu& contextMenu() { return menu_; }

 protected:
  // The pane's own logic.
  virtual void HandlePaneEvent(const PaneEvent& event) = 0;

  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Forward(QMouseEvent* event);

  int cursorCount_ = 0;  // the system's display count: shown while >= 0
  bool captured_ = false;
  QMenu menu_;
};

}  // namespace mok::shell
