#include "shell/iso_view_widget.h"

#include "render/render_state.h"
#include "panes/corner_button.h"

namespace mok::shell {

IsoViewWidget::IsoViewWidget(Application& app, Painter& painter, QWidget* parent)
    : PaneWidget(parent), app_(app), painter_(painter) {
  RenderState& render = RenderStateOf(app_);
  view_ = std::make_unique<IsoView>(IsoViewLinks{app_, render.light, *this, *this, painter, *this});
}

void IsoViewWidget::Render(int kind, int flags) {
  if (size() != bufferSize_) {
    bufferSize_ = size();
    view_->ResizeBuffers(width(), height());
  }
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
  mok::DrawCornerButton(frame.colour.data(), frame.width, frame.height, pressed, ButtonColours{});
}

void IsoViewWidget::HandlePaneEvent(const PaneEvent& event) { view_->HandleEvent(event); }

void IsoViewWidget::paintEvent(QPaintEvent*) {
  const FrameBuffer& frame = view_->frame();
  PaintBottomUpBuffer(*this, frame.colour.data(), frame.width, view_->clientWidth(), view_->clientHeight());
}

}  // namespace mok::shell
