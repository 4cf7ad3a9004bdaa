#include "render/render_state.h"

namespace mok {

RenderState& RenderStateOf(Application& app) {
  if (!app.renderState) app.renderState = std::make_shared<RenderState>();
  return *app.renderState;
}

RenderJob MakeRenderJob(Application& app, ViewRecord& view) {
  RenderState& state = RenderStateOf(app);
  RenderJob job{{view, app.document.get(), state.raster, state.shading.gammaTable, state.light}};
  job.colours = app.customColors;
  job.mappingMode = app.flags.editMode == EditMode::Mapping;
  job.cameraActive = app.flags.cameraActive;
  job.priority = state.priority;
  job.phongMap = app.phongMaps.active();
  job.envMap = app.envMaps.active();
  return job;
}

ModeResources CurrentModeResources(Application& app) {
  return {app.document->activeSkin != nullptr, app.phongMaps.active() != nullptr, app.envMaps.active() != nullptr};
}

bool SelectRenderMode(Application& app, FrameBuffer* view, int mode) {
  RenderState& state = RenderStateOf(app);
  const int before = state.currentMode;
  if (std::optional<std::string> refused = SwitchRenderMode(state.currentMode, mode, CurrentModeResources(app), view)) {
    app.prompter.Message(*refused);
    return false;
  }
  if (state.currentMode != before) NotifyWithTables(app, Change::RenderMode);
  return true;
}

void NotifyWithTables(Application& app, Change change) {
  if (EffectsOf(change).rebuildsGamma) RenderStateOf(app).shading.RebuildGammaTable();
  Notify(app, change);
}

}  // namespace mok
