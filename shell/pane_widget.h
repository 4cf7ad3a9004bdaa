#pragma once
// The Qt side of every box: turns widget events into PaneEvent values,
// implements PaneHost (capture, counted cursor hiding, warping, pop-up menu)
// and shows the box's finished bottom-up 32-bit buffer. Boxes render only
// when the shell asks (Render) and paint only what they rendered, never
// erasing first. Wheel turns go up to the shell, which routes them by the
// layout. Every pixel size the toolkit-free boxes work with is in their own
// grid (see PaneGrid); this class converts points and sizes at the boundary.

#include <QEvent>
#include <QImage>
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

// The picture of a bottom-up buffer, width x height pixels with `pitch`
// pixels per row, marked with `ratio` device pixels per logical pixel so that
// a painter draws it 1:1 on the device, never smoothed.
QImage BufferPicture(const std::uint32_t* pixels, int pitch, int width, int height, double ratio);

// A picture in logical pixels enlarged to `deviceSize` by nearest sampling,
// for a device of `ratio`.
QImage EnlargedPicture(const QImage& picture, QSize deviceSize, double ratio);

// Which pixel grid a box works in.
//  - Device: the 3D and skin views render at the screen's device pixels, so
//    they stay sharp on a screen scaled by 150 % or 200 %; mouse points reach
//    them in device pixels.
//  - Logical: the palette and gradient strips are pixel art laid out in the
//    widget's logical pixels (which the toolkit already scales: a 35-pixel
//    strip is 70 device pixels high at 200 %); their picture is enlarged.
enum class PaneGrid { Device, Logical };

class PaneWidget : public QWidget, public PaneHost {
  Q_OBJECT
 public:
  PaneWidget(PaneGrid grid, QWidget* parent);

  // The box's pixels per logical pixel of the widget.
  double GridRatio() const;
  // The widget's size in the box's pixels, covering it whole.
  QSize GridSize() const;
  // The widget's size in device pixels.
  QSize DeviceSize() const;
  // The box pixel under a widget point (logical, fractions kept). The point
  // the cursor was last warped to gives back the pixel it was warped for,
  // even where the logical grid cannot hold that pixel exactly.
  QPoint GridPointOf(QPointF point) const;
  // The picture that paintEvent shows.
  virtual QImage Picture() const = 0;

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
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Forward(QMouseEvent* event);
  // A box pixel in widget coordinates.
  QPointF WidgetPointOf(int x, int y) const;

  const PaneGrid grid_;
  bool captured_ = false;
  QMenu* menu_ = nullptr;
  // The last warp: the logical widget point the cursor went to, and the box
  // pixel it was meant for.
  bool warped_ = false;
  QPoint warpedTo_;
  QPoint warpedFor_;
};

}  // namespace mok::shell
