#include "shell/pane_widget.h"

#include "shell/cursor_count.h"

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

void PaintBottomUpBuffer(QWidget& widget, const std::uint32_t* pixels, int pitch, int width, int height) {
  if (!pixels || pitch <= 0 || width <= 0 || height <= 0) return;
  // The buffer's first row is the bottom line of the pane.
  QImage image(reinterpret_cast<const uchar*>(pixels), width, height, pitch * 4, QImage::Format_RGB32);
  QPainter painter(&widget);
  painter.drawImage(QPoint(0, 0), image.mirrored(false, true));
}

void PaintBoxCanvas(QWidget& widget, const BoxCanvas& canvas) {
  PaintBottomUpBuffer(widget, canvas.pixels().data(), canvas.width(), canvas.width(), canvas.height());
}

PaneWidget::PaneWidget(QWidget* parent) : QWidget(parent) {
  // Boxes never erase their background.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

int PaneWidget::HideCursor() { return HideProgramCursor(); }

int PaneWidget::ShowCursor() { return ShowProgramCursor(); }

void PaneWidget::WarpCursor(int x, int y) { QCursor::setPos(mapToGlobal(QPoint(x, y))); }

void PaneWidget::CaptureMouse() {
  captured_ = true;
  grabMouse();
}

void PaneWidget::ReleaseMouse() {
  captured_ = false;
  releaseMouse();
}

void PaneWidget::OpenContextMenu(int x, int y) {
  if (menu_ && !menu_->isEmpty()) menu_->popup(mapToGlobal(QPoint(x, y)));
}

void PaneWidget::Forward(QMouseEvent* event) {
  HandlePaneEvent(PaneEventFrom(event->type(), event->button(), event->buttons(), event->modifiers(),
                                event->position().toPoint()));
}

void PaneWidget::mousePressEvent(QMouseEvent* event) { Forward(event); }
void PaneWidget::mouseReleaseEvent(QMouseEvent* event) { Forward(event); }
void PaneWidget::mouseMoveEvent(QMouseEvent* event) { Forward(event); }

void PaneWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }

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
