#include "shell/skin_view_widget.h"

#include "render/render_state.h"

namespace mok::shell {

SkinViewWidget::SkinViewWidget(Application& app, Painter& painter, QWidget* parent)
    : PaneWidget(PaneGrid::Device, parent), handoff_(painter) {
  view_ = std::make_unique<SkinView>(app, RenderStateOf(app).raster, *this);
  view_->SetPainter(&handoff_);
}

void SkinViewWidget::Render(int kind, int) {
  const QSize grid = GridSize();
  view_->ResizeBuffers(grid.width(), grid.height());
  view_->screenScale = GridRatio();
  view_->RenderView(kind);
}

void SkinViewWidget::HandlePaneEvent(const PaneEvent& event) { view_->HandleEvent(event); }

QImage SkinViewWidget::Picture() const {
  return BufferPicture(view_->colours().data(), view_->pitch(), view_->ClientWidth(), view_->height(),
                       devicePixelRatioF());
}

}  // namespace mok::shell
