#pragma once
// The gradient strip ("Gradient Box"): hosts the toolkit-free GradientBox,
// which also starts the shell's splitter drag.

#include <memory>

#include "core/application.h"
#include "panes/gradient_box.h"
#include "shell/pane_widget.h"

namespace mok::shell {

class GradientBoxWidget final : public PaneWidget {
  Q_OBJECT
 public:
  GradientBoxWidget(Application& app, SplitterShell& shell, QWidget* parent = nullptr);

  GradientBox& box() { return *box_; }
  void Render(int kind, int flags) override;
  void HandlePaneEvent(const PaneEvent& event) override;
  QImage Picture() const override;

 private:
  std::unique_ptr<GradientBox> box_;
};

}  // namespace mok::shell
