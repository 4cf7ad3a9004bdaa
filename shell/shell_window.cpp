#include "shell/shell_window.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPalette>
#include <QWheelEvent>

#include "core/settings.h"
#include "render/render_state.h"

namespace mok::shell {
namespace {

QRect QRectOf(const Rect& rect) { return {rect.x, rect.y, rect.width, rect.height}; }

std::uint32_t Rgb(const QColor& colour) { return colour.rgb() & 0x00FFFFFFu; }

}  // namespace

ShellWindow::ShellWindow(Application& app, double splitFraction, QWidget* parent)
    : QWidget(parent), app_(app), painter_(app) {
  // Every pixel belongs to a box, so nothing is erased.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  layout_.splitFraction = splitFraction;
  layout_.palOnTop = Read(app_.settings, setting::PalOnTop) != 0 ? 1 : 0;
  isoBox_ = new IsoViewWidget(app_, painter_, this);
  skinBox_ = new SkinViewWidget(app_, painter_, this);
  palBox_ = new PaletteBoxWidget(app_, this);
  gradientBox_ = new GradientBoxWidget(app_, *this, this);
  isoBox_->setObjectName("ISO Box");
  skinBox_->setObjectName("Skin Box");
  palBox_->setObjectName("Pal Box");
  gradientBox_->setObjectName("Gradient Box");
  isoBox_->hide();
  skinBox_->hide();
  TakeSystemColours();
  layout_.Relayout(width(), height());
  PlaceBoxes();
  PostRefresh(PaneSet::All());
}

void ShellWindow::TakeSystemColours() {
  const QPalette& colours = palette();
  ButtonColours scheme;
  scheme.highlight = Rgb(colours.color(QPalette::Light));
  scheme.face = Rgb(colours.color(QPalette::Button));
  scheme.shadow = Rgb(colours.color(QPalette::Dark));
  scheme.text = Rgb(colours.color(QPalette::ButtonText));
  skinBox_->view().buttonColours = scheme;
  palBox_->box().buttonColours = scheme;
  gradientBox_->box().buttonColours = scheme;
}

int ShellWindow::RenderModeIndex() const { return RenderStateOf(app_).currentMode; }

// ---- "MOK-Refresh" ----

void ShellWindow::HandleRefresh(const RefreshRequest& request) {
  if (skinBox_->isHidden() && window()->isVisible()) {
    skinBox_->show();
    isoBox_->show();
  }
  DispatchRefresh(*this, request);
}

PaneWidget* ShellWindow::BoxOf(Pane pane) {
  switch (pane) {
    case Pane::Skin: return skinBox_;
    case Pane::Iso: return isoBox_;
    case Pane::Gradient: return gradientBox_;
    case Pane::Palette: return palBox_;
  }
  return nullptr;
}

PaneWidget* ShellWindow::BoxOf(PaneBox box) {
  switch (box) {
    case PaneBox::Skin: return skinBox_;
    case PaneBox::Iso: return isoBox_;
    case PaneBox::Palette: return palBox_;
    case PaneBox::Gradient: return gradientBox_;
    case PaneBox::None: break;
  }
  return nullptr;
}

void ShellWindow::RenderBox(Pane pane, int kind, int flags) {
  if (PaneWidget* box = BoxOf(pane)) box->Render(kind, flags);
}

void ShellWindow::RedrawBox(Pane pane) {
  if (PaneWidget* box = BoxOf(pane)) box->repaint();
}

void ShellWindow::PostRefresh(PaneSet panes) {
  QMetaObject::invokeMethod(this, [this, panes] { HandleRefresh({panes, kRefreshFinal}); }, Qt::QueuedConnection);
}

// ---- Layout ----

void ShellWindow::PlaceBoxes() {
  skinBox_->setGeometry(QRectOf(layout_.skinRect()));
  isoBox_->setGeometry(QRectOf(layout_.isoRect()));
  gradientBox_->setGeometry(QRectOf(layout_.gradientRect));
  palBox_->setGeometry(QRectOf(layout_.palRect));
}

void ShellWindow::resizeEvent(QResizeEvent*) {
  layout_.Relayout(width(), height());
  PlaceBoxes();
  PostRefresh(PaneSet::All());
}

void ShellWindow::SetPalOnTop(int palOnTop) {
  layout_.palOnTop = palOnTop != 0 ? 1 : 0;
  layout_.Relayout(width(), height());
  PlaceBoxes();
  PostRefresh(PaneSet::All());
}

void ShellWindow::BarAdjust(int wParam) {
  if (wParam == 0) {
    BeginSplitterDrag();
    return;
  }
  layout_.Relayout(width(), height());
  PlaceBoxes();
  DispatchRefresh(*this, {Pane::Skin | Pane::Iso | Pane::Gradient, kRefreshFinal});
}

void ShellWindow::ApplySplitFraction(double fraction) {
  layout_.splitFraction = fraction;
  BarAdjust(1);
}

void ShellWindow::SwapDisplays() {
  layout_.Swap();
  BarAdjust(1);
  HandleRefresh({Pane::Skin | Pane::Iso, kRefreshFinal});
}

// ---- Splitter drag ----

void ShellWindow::BeginSplitterDrag() {
  grabMouse();
  gradientBox_->box().SetSplitterDrag(true);
  HideCursorFully(*gradientBox_);
  gradientBox_->Render(kRefreshFinal, 0);
  gradientBox_->repaint();
}

// Boxes render quick frames while the splitter moves; the release renders
// the full ones.
void ShellWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!splitterDragging() || QWidget::mouseGrabber() != this) return;
  layout_.splitFraction = SplitFractionAt(event->position().toPoint().x(), width());
  layout_.Relayout(width(), height());
  PlaceBoxes();
  DispatchRefresh(*this, {Pane::Skin | Pane::Iso | Pane::Gradient, kRefreshQuick});
}

void ShellWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && splitterDragging() && QWidget::mouseGrabber() == this) EndSplitterDrag();
}

void ShellWindow::EndSplitterDrag() {
  gradientBox_->box().SetSplitterDrag(false);
  HandleRefresh({Pane::Skin | Pane::Iso | Pane::Gradient, kRefreshFinal});
  releaseMouse();
  ShowCursorFully(*gradientBox_);
}

// Another window took the mouse during the drag: it ends where it is, so
// the cursor comes back.
bool ShellWindow::event(QEvent* event) {
  if (event->type() == QEvent::UngrabMouse && splitterDragging()) EndSplitterDrag();
  // The window moved to a screen with another pixel ratio: the views render
  // their buffers again at its device pixels.
  if (event->type() == QEvent::ScreenChangeInternal) PostRefresh(PaneSet::All());
  return QWidget::event(event);
}

void ShellWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) {
    TakeSystemColours();
    PostRefresh(PaneSet::All());
  }
  QWidget::changeEvent(event);
}

// ---- Wheel ----

void ShellWindow::wheelEvent(QWheelEvent* event) {
  const QPoint point = event->position().toPoint();
  PaneWidget* box = BoxOf(WheelTarget(layout_, point.x(), point.y()));
  if (!box) return;
  const QPoint local = box->GridPointOf(box->mapFrom(this, event->position()));
  PaneEvent wheel;
  wheel.type = PaneEventType::Wheel;
  wheel.x = local.x();
  wheel.y = local.y();
  wheel.modifiers = PaneModifiersOf(event->modifiers());
  wheel.wheelDelta = event->angleDelta().y();
  box->HandlePaneEvent(wheel);
}

}  // namespace mok::shell
