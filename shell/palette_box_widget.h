#pragma once
// The palette strip ("Pal Box"): hosts the toolkit-free PaletteBox.

#include <memory>

#include "core/application.h"
#include "panes/palette_box.h"
#include "shell/pane_widget.h"

namespace mok::shell {

class PaletteBoxWidget final : public PaneWidget {
  Q_OBJECT
 public:
  PaletteBoxWidget(Application& app, QWidget* parent = nullptr);

  PaletteBox& box() { return *box_; }
  void Render(int kind, int flags) override;
  void HandlePaneEvent(const PaneEvent& event) override;
  QImage Picture() const override;

 private:
  std::unique_ptr<PaletteBox> box_;
};

}  // namespace mok::shell
