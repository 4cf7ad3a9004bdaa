// mokcli render MESH --out FILE.bmp [options]
#include <cstdio>

#include "render/picture_commands.h"
#include "render/render_state.h"
#include "tools/mokcli/commands.h"
#include "tools/mokcli/render_scene.h"

namespace mokcli {

int RunRender(const Arguments& args) {
  const std::optional<RenderOptions> options = ParseRenderOptions(args, true);
  if (!options) return 1;
  RenderScene scene;
  if (!scene.Build(*options)) return 1;
  mok::Application& app = scene.app();
  mok::SnapshotDialog dialog{options->width, options->height,
                             options->raytrace   ? mok::SnapshotRendering::Raytraced
                             : options->filtered ? mok::SnapshotRendering::Filtered
                                                 : mok::SnapshotRendering::Normal};
  mok::RenderJob job = mok::MakeRenderJob(app, scene.view());
  mok::SkinSlot image = mok::RenderSnapshotImage(job, mok::RenderStateOf(app).current(), dialog);
  const std::string path = mok::SnapshotPath(options->out);
  if (mok::Status written = mok::WriteSnapshot(image, path); !written) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), written.error().message.c_str());
    return 1;
  }
  return 0;
}

}  // namespace mokcli
