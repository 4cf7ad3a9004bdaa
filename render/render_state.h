#pragma once
// The render side of the application: the one rasterizer context, the
// shading tables, the light orientation, the ten render modes and the
// current one. Application holds it behind a pointer so that core headers
// stay free of render headers.

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/application.h"
#include "render/camera.h"
#include "raster/raster_context.h"
#include "render/render_mode.h"
#include "render/shading.h"

namespace mok {

struct RenderState {
  RasterContext raster;
  ShadingTables shading;
  LightFrame light;
  std::array<std::unique_ptr<RenderMode>, kRenderModeCount> modes = MakeRenderModes();
  int currentMode = kStartRenderMode;
  // Platform hook raising the process priority while a frame is drawn.
  FramePriority* priority = nullptr;
  // Share of rows a running ray trace has finished (shown by the gradient
  // box); none while no trace runs.
  std::optional<double> traceProgress;

  RenderMode& current() { return *modes[static_cast<std::size_t>(currentMode)]; }
};

// The render state of the application (created with it).
RenderState& RenderStateOf(Application& app);

// A frame of the application's current state for a view: the document, the
// user colours, the interaction mode, camera mode and the active phong and
// environment maps of the application's lists.
RenderJob MakeRenderJob(Application& app, ViewRecord& view);

// What the modes' availability depends on, from the application.
ModeResources CurrentModeResources(Application& app);

// Choosing a mode from the mode list or combo box: a refused switch shows
// its message and returns false; a switch gives or takes the view's `shade`
// buffer, rebuilds the gamma table and refreshes every view. `view` may be
// null before the 3D view exists.
bool SelectRenderMode(Application& app, FrameBuffer* view, int mode);

// Notify for a change the shading tables follow: the gamma table is rebuilt
// first when EffectsOf asks for it.
void NotifyWithTables(Application& app, Change change);

}  // namespace mok
