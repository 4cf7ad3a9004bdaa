#include "shell/palette_box_widget.h"

namespace mok::shell {

PaletteBoxWidget::PaletteBoxWidget(Application& app, QWidget* parent)
    : PaneWidget(PaneGrid::Logical, parent), box_(std::make_unique<PaletteBox>(app, *this)) {}

void PaletteBoxWidget::Render(int, int) {
  const QSize grid = GridSize();
  box_->Resize(grid.width(), grid.height());
  box_->Render();
}

void PaletteBoxWidget::HandlePaneEvent(const PaneEvent& event) { box_->HandleEvent(event); }

QImage PaletteBoxWidget::Picture() const {
  const BoxCanvas& canvas = box_->canvas();
  return EnlargedPicture(BufferPicture(canvas.pixels().data(), canvas.width(), canvas.width(), canvas.height(), 1),
                         DeviceSize(), devicePixelRatioF());
}

}  // namespace mok::shell
