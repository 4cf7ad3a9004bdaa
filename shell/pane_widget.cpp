#include "shell/pane_widget.h"

#include "shell/cursor_count.h"

#include <cmath>

#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace mok::shell {
namespace {

PaneButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return PaneButton::Left;
    case Qt::RightButton: return PaneButton::Right;
    case Qt::MiddleButton: return PaneButton::Middle;
    default: return PaneButton::None;
  }
}

unsigned HeldOf(Qt::MouseButtons held) {
  unsigned mask = 0;
  if (held & Qt::LeftButton) mask |= kHeldLeft;
  if (held & Qt::RightButton) mask |= kHeldRight;
  if (held & Qt::MiddleButton) mask |= kHeldMiddle;
  return mask;
}

}  // namespace

unsigned PaneModifiersOf(Qt::KeyboardModifiers modifiers) {
  unsigned mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= kModShift;
  if (modifiers & Qt::ControlModifier) mask |= kModCtrl;
  return mask;
}

namespace {

// Whole device pixels covering `logical` pixels (a hair of rounding error
// never adds a column).
int DevicePixels(int logical, double ratio) { return static_cast<int>(std::ceil(logical * ratio - 1e-9)); }

PaneEventType TypeOf(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: return PaneEventType::Press;
    case QEvent::MouseButtonRelease: return PaneEventType::Release;
    default: return PaneEventType::Move;
  }
}

}  // namespace

PaneEvent PaneEventFrom(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
                        Qt::KeyboardModifiers modifiers, QPoint point) {
  PaneEvent event;
  event.type = TypeOf(type);
  event.button = ButtonOf(button);
  event.x = point.x();
  event.y = point.y();
  event.modifiers = PaneModifiersOf(modifiers);
  event.buttonsHeld = HeldOf(held);
  return event;
}

QImage BufferPicture(const std::uint32_t* pixels, int pitch, int width, int height, double ratio) {
  if (!pixels || pitch <= 0 || width <= 0 || height <= 0 || width > pitch) return {};
  // The buffer's first row is the bottom line of the pane.
  const QImage buffer(reinterpret_cast<const uchar*>(pixels), width, height, pitch * 4, QImage::Format_RGB32);
  QImage picture = buffer.mirrored(false, true);
  picture.setDevicePixelRatio(ratio);
  return picture;
}

QImage EnlargedPicture(const QImage& picture, QSize deviceSize, double ratio) {
  if (picture.isNull() || deviceSize.isEmpty()) return {};
  QImage enlarged = picture.size() == deviceSize
                        ? picture
                        : picture.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  enlarged.setDevicePixelRatio(ratio);
  return enlarged;
}

PaneWidget::PaneWidget(PaneGrid grid, QWidget* parent) : QWidget(parent), grid_(grid) {
  // Boxes never erase their background.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

double PaneWidget::GridRatio() const { return grid_ == PaneGrid::Device ? devicePixelRatioF() : 1.0; }

QSize PaneWidget::DeviceSize() const {
  const double ratio = devicePixelRatioF();
  return {DevicePixels(width(), ratio), DevicePixels(height(), ratio)};
}

QSize PaneWidget::GridSize() const { return grid_ == PaneGrid::Device ? DeviceSize() : size(); }

QPoint PaneWidget::GridPointOf(QPointF point) const {
  if (warped_ && point == QPointF(warpedTo_)) return warpedFor_;
  const double ratio = GridRatio();
  return {static_cast<int>(std::floor(point.x() * ratio)), static_cast<int>(std::floor(point.y() * ratio))};
}

QPointF PaneWidget::WidgetPointOf(int x, int y) const {
  const double ratio = GridRatio();
  return {x / ratio, y / ratio};
}

int PaneWidget::HideCursor() { return HideProgramCursor(); }

int PaneWidget::ShowCursor() { return ShowProgramCursor(); }

// The cursor sits on logical pixels; a device pixel between two of them
// comes back from the warp's echo as the pixel it was warped for.
void PaneWidget::WarpCursor(int x, int y) {
  warpedTo_ = WidgetPointOf(x, y).toPoint();
  warpedFor_ = {x, y};
  warped_ = true;
  QCursor::setPos(mapToGlobal(warpedTo_));
}

void PaneWidget::CaptureMouse() {
  captured_ = true;
  grabMouse();
}

void PaneWidget::ReleaseMouse() {
  captured_ = false;
  releaseMouse();
}

void PaneWidget::OpenContextMenu(int x, int y) {
  if (menu_ && !menu_->isEmpty()) menu_->popup(mapToGlobal(WidgetPointOf(x, y).toPoint()));
}

void PaneWidget::Forward(QMouseEvent* event) {
  HandlePaneEvent(PaneEventFrom(event->type(), event->button(), event->buttons(), event->modifiers(),
                                GridPointOf(event->position())));
}

void PaneWidget::mousePressEvent(QMouseEvent* event) { Forward(event); }
void PaneWidget::mouseReleaseEvent(QMouseEvent* event) { Forward(event); }
void PaneWidget::mouseMoveEvent(QMouseEvent* event) { Forward(event); }

void PaneWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }

void PaneWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), Picture());
}

bool PaneWidget::event(QEvent* event) {
  // Another window took the mouse while a drag held it.
  if (event->type() == QEvent::UngrabMouse && captured_) {
    captured_ = false;
    PaneEvent lost;
    lost.type = PaneEventType::CaptureLost;
    HandlePaneEvent(lost);
  }
  return QWidget::event(event);
}

}  // namespace mok::shell
