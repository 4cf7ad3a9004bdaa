#pragma once
// The 3D view's renderer on the application's render state: the current
// render mode draws each frame, and the repaint after a paint step uses the
// painter's stroke mask. Drawing the corner button needs the system colours,
// so the shell completes this class. The view's light is the render state's
// (RenderStateOf(app).light).

#include "render/iso_view.h"
#include "render/render_state.h"
#include "skin/painting.h"

namespace mok {

class ModeRenderer : public IsoRenderer {
 public:
  ModeRenderer(Application& app, const Painter& painter) : app_(app), painter_(painter) {}

  void RenderMode(ViewRecord& view, int kind, int flags) override;
  bool ModeUsesSkins() const override;
  bool ModeUsesShade() const override;

 private:
  Application& app_;
  const Painter& painter_;
};

}  // namespace mok
