#pragma once
// The skin view pane ("Skin Box"): hosts the toolkit-free SkinView, hands its
// paint drags to the program's painter and shows its finished picture,
// rendered at the screen's device pixels.

#include <memory>

#include "core/application.h"
#include "panes/paint_handoff.h"
#include "panes/skin_view.h"
#include "shell/pane_widget.h"

namespace mok::shell {

class SkinViewWidget final : public PaneWidget {
  Q_OBJECT
 public:
  SkinViewWidget(Application& app, Painter& painter, QWidget* parent = nullptr);

  SkinView& view() { return *view_; }
  void Render(int kind, int flags) override;
  void HandlePaneEvent(const PaneEvent& event) override;
  QImage Picture() const override;

 private:
  PainterHandoff handoff_;
  std::unique_ptr<SkinView> view_;
};

}  // namespace mok::shell
