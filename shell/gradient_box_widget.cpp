#include "shell/gradient_box_widget.h"

#include "render/render_state.h"

namespace mok::shell {

GradientBoxWidget::GradientBoxWidget(Application& app, SplitterShell& shell, QWidget* parent)
    : PaneWidget(parent), box_(std::make_unique<GradientBox>(app, RenderStateOf(app).shading, *this, shell)) {}

void GradientBoxWidget::Render(int, int) {
  box_->Resize(width(), height());
  box_->Render();
}

void GradientBoxWidget::HandlePaneEvent(const PaneEvent& event) { box_->HandleEvent(event); }

void GradientBoxWidget::paintEvent(QPaintEvent*) { PaintBoxCanvas(*this, box_->canvas()); }

}  // namespace mok::shell
