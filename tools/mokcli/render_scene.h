#pragma once
// What `mokcli render` and `mokcli bench` share: their options and a scene
// (application, mesh, skins, maps, mode and a sized 3D view) built from them.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/application.h"
#include "core/settings.h"
#include "render/frame_buffer.h"
#include "render/view_commands.h"
#include "tools/mokcli/cli_support.h"
#include "tools/mokcli/commands.h"

namespace mokcli {

struct RenderOptions {
  std::string mesh;
  std::string out;  // render only
  int mode = 5;
  int width = 640;
  int height = 480;
  std::vector<std::pair<int, std::string>> skins;  // channel, image
  std::string phong;
  std::string env;
  int frame = -1;  // -1: the first frame
  std::optional<mok::ViewAlignment> view;
  float distance = 0;  // 0: the start camera's distance
  bool filtered = false;
  bool raytrace = false;
};

// Parses MESH and the options; prints the problem on stderr and returns
// nothing on a bad argument. `withOut` accepts and requires --out.
std::optional<RenderOptions> ParseRenderOptions(const Arguments& args, bool withOut);

class RenderScene {
 public:
  RenderScene();
  ~RenderScene();
  // Loads everything the options name and selects the mode; false (with the
  // reason on stderr) when something cannot be loaded or the mode is refused.
  bool Build(const RenderOptions& options);

  mok::Application& app() { return app_; }
  mok::ViewRecord& view() { return *view_; }

 private:
  bool LoadSkins(const RenderOptions& options);
  bool LoadMaps(const RenderOptions& options);
  void PlaceCamera(const RenderOptions& options);

  mok::MemorySettings settings_;
  CliPrompter prompter_;
  CliDialogs dialogs_;
  mok::NullRefreshSink refresh_;
  mok::Application app_;
  std::unique_ptr<mok::ViewRecord> view_;
};

}  // namespace mokcli
