#include "shell/iso_view_widget.h"

#include "render/render_state.h"
#include "panes/corner_button.h"

namespace mok::shell {

IsoViewWidget::IsoViewWidget(Application& app, Painter& painter, QWidget* parent)
    : PaneWidget(PaneGrid::Device, parent), app_(app), painter_(painter) {
  RenderState& render = RenderStateOf(app_);
  view_ = std::make_unique<IsoView>(IsoViewLinks{app_, render.light, *this, *this, painter, *this});
}

void IsoViewWidget::Render(int kind, int flags) {
  const QSize grid = GridSize();
  if (grid != QSize(view_->clientWidth(), view_->clientHeight())) view_->ResizeBuffers(grid.width(), grid.height());
  view_->screenScale = GridRatio();
  view_->RenderFrame(kind, flags);
}

void IsoViewWidget::RenderMode(ViewRecord& view, int kind, int flags) {
  RenderJob job = MakeRenderJob(app_, view);
  job.strokeMarks = &painter_.StrokeMask();
  RenderStateOf(app_).current().render(job, kind, flags);
}

bool IsoViewWidget::ModeUsesSkins() const { return RenderStateOf(app_).current().usesSkins() != 0; }

bool IsoViewWidget::ModeUsesShade() const { return ModeKeepsShadeBuffer(RenderStateOf(app_).currentMode); }

void IsoViewWidget::DrawCornerButton(FrameBuffer& frame, bool pressed) {
  mok::DrawCornerButton(frame.colour.data(), frame.width, frame.height, pressed, ButtonColours{}, view_->screenScale);
}

void IsoViewWidget::HandlePaneEvent(const PaneEvent& event) { view_->HandleEvent(event); }

QImage IsoViewWidget::Picture() const {
  const FrameBuffer& frame = view_->frame();
  return DevicePicture(frame.colour.data(), frame.width, view_->clientWidth(), view_->clientHeight(), DeviceSize(),
                       devicePixelRatioF());
}

}  // namespace mok::shell
