#pragma once
// The 3D view pane ("ISO Box"): hosts the toolkit-free IsoView and shows its
// finished frame, rendered at the screen's device pixels.

#include <memory>

#include "core/application.h"
#include "panes/iso_view.h"
#include "shell/pane_widget.h"
#include "panes/painting.h"

namespace mok::shell {

class IsoViewWidget final : public PaneWidget, public IsoRenderer, public CameraLink {
  Q_OBJECT
 public:
  IsoViewWidget(Application& app, Painter& painter, QWidget* parent = nullptr);

  IsoView& view() { return *view_; }
  void Render(int kind, int flags) override;
  void HandlePaneEvent(const PaneEvent& event) override;
  QImage Picture() const override;

  // IsoRenderer.
  void RenderMode(ViewRecord& view, int kind, int flags) override;
  bool ModeUsesSkins() const override;
  bool ModeUsesShade() const override;
  void DrawCornerButton(FrameBuffer& frame, bool pressed) override;
  // CameraLink: hands the camera to the session link, when there is one.
  void SendCameraToWatcher(const CameraState& state) override {
    if (cameraLink_ != nullptr) cameraLink_->SendCameraToWatcher(state);
  }
  void setCameraLink(CameraLink* link) { cameraLink_ = link; }

 private:
  Application& app_;
  Painter& painter_;  // its stroke mask drives the repaint after a paint step
  std::unique_ptr<IsoView> view_;
  CameraLink* cameraLink_ = nullptr;
};

}  // namespace mok::shell
