#include "shell/palette_box_widget.h"

namespace mok::shell {

PaletteBoxWidget::PaletteBoxWidget(Application& app, QWidget* parent)
    : PaneWidget(parent), box_(std::make_unique<PaletteBox>(app, *this)) {}

void PaletteBoxWidget::Render(int, int) {
  box_->Resize(width(), height());
  box_->Render();
}

void PaletteBoxWidget::HandlePaneEvent(const PaneEvent& event) { box_->HandleEvent(event); }

void PaletteBoxWidget::paintEvent(QPaintEvent*) {
  const BoxCanvas& canvas = box_->canvas();
  PaintBottomUpBuffer(*this, canvas.pixels().data(), canvas.width(), canvas.width(), canvas.height());
}

}  // namespace mok::shell
