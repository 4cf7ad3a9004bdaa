#include "shell/iso_view_widget.h"

#include "panes/corner_button.h"
#include "render/frame_buffer.h"
#include "render/render_state.h"

namespace mok::shell {

IsoViewWidget::IsoViewWidget(Application& app, Painter& painter, QWidget* parent)
    : PaneWidget(PaneGrid::Device, parent), app_(app), painter_(painter) {
  RenderState& render = RenderStateOf(app_);
  view_ = std::make_unique<IsoView>(IsoViewLinks{app_, render.light, *this, *this, painter, *this});
}

void IsoViewWidget::Render(int kind, int flags) {
  // Buffers are made anew only when the size they can take changes.
  const QSize grid = GridSize().boundedTo(QSize(kMaxFrameWidth, kMaxFrameHeight));
  if (grid != QSize(view_->clientWidth(), view_->clientHeight())) view_->ResizeBuffers(grid.width(), grid.height());
  view_->screenScale = GridRatio();
  view_->RenderFrame(kind, flags);
}

void IsoViewWidget::RenderMode(ViewRecord& view, int kind, int flags) {
  RenderJob job = MakeRenderJob(app_, view);
  job.strokeMarks = &painter_.StrokeMask();
  RenderStateOf(app_).current().render(job, kind, flags);
}

bool IsoViewWidget::ModeUsesSkins() const { return RenderStateOf(app_).current().facts().needsSkins; }

bool IsoViewWidget::ModeUsesShade() const { return RenderStateOf(app_).current().facts().keepsShade; }

void IsoViewWidget::DrawCornerButton(FrameBuffer& frame, bool pressed) {
  mok::DrawCornerButton(frame.colour.data(), frame.width, frame.height, pressed, ButtonColours{}, view_->screenScale);
}

void IsoViewWidget::HandlePaneEvent(const PaneEvent& event) { view_->HandleEvent(event); }

QImage IsoViewWidget::Picture() const {
  const FrameBuffer& frame = view_->frame();
  return BufferPicture(frame.colour.data(), frame.width, view_->clientWidth(), view_->clientHeight(),
                       devicePixelRatioF());
}

}  // namespace mok::shell
