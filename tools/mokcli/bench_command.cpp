// mokcli bench MESH [options]
#include <cstdio>

#include "render/picture_commands.h"
#include "render/render_state.h"
#include "tools/mokcli/commands.h"
#include "tools/mokcli/render_scene.h"

namespace mokcli {

int RunBench(const Arguments& args) {
  const std::optional<RenderOptions> options = ParseRenderOptions(args, false);
  if (!options) return 1;
  RenderScene scene;
  if (!scene.Build(*options)) return 1;
  mok::RenderJob job = mok::MakeRenderJob(scene.app(), scene.view());
  const std::string sentence = mok::RunRenderBenchmark(mok::RenderStateOf(scene.app()).current(), job, {});
  std::printf("%s\n", sentence.c_str());
  return 0;
}

}  // namespace mokcli
