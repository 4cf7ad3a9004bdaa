#include "shell/gradient_box_widget.h"

#include "render/render_state.h"

namespace mok::shell {

GradientBoxWidget::GradientBoxWidget(Application& app, SplitterShell& shell, QWidget* parent)
    : PaneWidget(PaneGrid::Logical, parent),
      box_(std::make_unique<GradientBox>(app, RenderStateOf(app).shading, *this, shell)) {}

void GradientBoxWidget::Render(int, int) {
  const QSize grid = GridSize();
  box_->Resize(grid.width(), grid.height());
  box_->Render();
}

void GradientBoxWidget::HandlePaneEvent(const PaneEvent& event) { box_->HandleEvent(event); }

QImage GradientBoxWidget::Picture() const {
  const BoxCanvas& canvas = box_->canvas();
  return EnlargedPicture(BufferPicture(canvas.pixels().data(), canvas.width(), canvas.width(), canvas.height(), 1),
                         DeviceSize(), devicePixelRatioF());
}

}  // namespace mok::shell
