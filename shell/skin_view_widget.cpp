#include "shell/skin_view_widget.h"

#include "render/render_state.h"

namespace mok::shell {

SkinViewWidget::SkinViewWidget(Application& app, Painter& painter, QWidget* parent)
    : PaneWidget(parent), handoff_(painter) {
  view_ = std::make_unique<SkinView>(app, RenderStateOf(app).raster, *this);
  view_->SetPainter(&handoff_);
}

void SkinViewWidget::Render(int kind, int) {
  view_->ResizeBuffers(width(), height());
  view_->RenderView(kind);
}

void SkinViewWidget::HandlePaneEvent(const PaneEvent& event) { view_->HandleEvent(event); }

void SkinViewWidget::paintEvent(QPaintEvent*) {
  PaintBottomUpBuffer(*this, view_->colours().data(), view_->pitch(), view_->ClientWidth(), view_->height());
}

}  // namespace mok::shell
