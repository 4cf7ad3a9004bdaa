#include "render/mode_renderer.h"

namespace mok {

void ModeRenderer::RenderMode(ViewRecord& view, int kind, int flags) {
  RenderJob job = MakeRenderJob(app_, view);
  job.strokeMarks = &painter_.StrokeMask();
  RenderStateOf(app_).current().render(job, kind, flags);
}

bool ModeRenderer::ModeUsesSkins() const { return RenderStateOf(app_).current().usesSkins() != 0; }

bool ModeRenderer::ModeUsesShade() const { return ModeKeepsShadeBuffer(RenderStateOf(app_).currentMode); }

}  // namespace mok
