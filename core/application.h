#pragma once
// The program-wide application object: it owns the document and the state
// that outlives any one pane, and holds the four interfaces through which
// commands reach the user (prompter and dialog host), the settings store and
// the views (refresh sink). Every user command is a free function taking it.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/dialog_host.h"
#include "core/history.h"
#include "core/interaction_flags.h"
#include "core/map_list.h"
#include "core/mesh_document.h"
#include "core/prompter.h"
#include "core/changes.h"
#include "core/refresh.h"
#include "core/settings.h"

namespace mok {

struct RenderState;  // render/render_state.h

class Application {
 public:
  Application(SettingsStore& settings, Prompter& prompter, DialogHost& dialogs, RefreshSink& refresh);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  ~Application();

  SettingsStore& settings;
  Prompter& prompter;
  DialogHost& dialogs;
  RefreshSink& refresh;

  // Heap-allocated once: the fixed-capacity arrays are large.
  std::unique_ptr<MeshDocument> document;
  MeshDocument& doc() { return *document; }

  // Undo and redo of the document's changes; taken anew by every load.
  History history;

  std::string loadDir;      // the folder file dialogs open in
  std::string currentFile;  // the mesh on screen; Save writes to it
  // The folder of the bundled maps, sounds and sample, found from the
  // program's own location at start (app/resource_paths.h); empty for none.
  std::string resourceDir;

  std::array<std::uint32_t, 8> customColors{};
  int activeColor = 0;
  double paintStrength = 1.0;  // 0..1, set with the gradient box, not saved
  int customCursors = 1;
  InteractionFlags flags;

  // The phong maps (8-bit intensities) and environment maps (true colour).
  MapList phongMaps;
  MapList envMaps;

  // The rasterizer context, shading tables, light and render modes, made by
  // the render layer on first use (RenderStateOf); shared_ptr keeps this
  // header and its destructor free of the render types.
  std::shared_ptr<RenderState> renderState;

  // Reads the user colours, "CustomCursors", the default skin size and grid
  // (start-up step 3) and the history's memory bound ("History MB").
  void ReadStartupSettings();
};

}  // namespace mok
