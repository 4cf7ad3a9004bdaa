#include "shell/palette_box_widget.h"

namespace mok::shell {

PaletteBoxWidget::PaletteBoxWidget(Application& app, QWidget* parent)
    : PaneWidget(parent), box_(std::make_unique<PaletteBox>(app, *this)) {}

void PaletteBoxWidget::Render(int, int) {
  box_->Resize(width(), height());
  box_->Render();
}

void PaletteBoxWidget::HandlePaneEvent(const PaneEvent& event) { box_->HandleEvent(event); }

void PaletteBoxWidget::paintEvent(QPaintEvent*) { PaintBoxCanvas(*this, box_->canvas()); }

}  // namespace mok::shell
