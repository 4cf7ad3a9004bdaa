#pragma once
// The program-wide application object: it owns the document and the state
// that outlives any one pane, and holds the four interfaces through which
// commands reach the user (prompter and dialog host), the settings store and
// the views (refresh sink). Every user command is a free function taking it.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/dialog_host.h"
#include "core/history.h"
#include "core/map_list.h"
#include "core/mesh_document.h"
#include "core/prompter.h"
#include "core/refresh.h"
#include "core/settings.h"

namespace mok {

struct RenderState;  // render/render_state.h

// Interaction flags of the shell: plain integers, 0 at start, never saved.
struct InteractionFlags {
  int editMode = 0;      // 0 paint, 1 mapping
  int cameraActive = 0;
  int brushKind = 0;     // 0 point, 1 pencil, 2 line
  int brushRadius = 0;   // 0..2
  int colorizeMode = 0;
  int warpTexture = 0;
  int cameraTool = 0;    // 0 standard, 1 rotate, 2 pan, 3 zoom, 4 FOV, 5 rotate light
  int lockX = 0;
  int lockY = 0;
  int uniformScale = 0;
  int snapToGrid = 0;
  int lockLight = 0;
  int showUvLines = 0;
  int syncCameras = 0;
  int watching = 0;
  int autoReload = 0;
};

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

  // Set by the owner of the renderer's shading tables. Skin commands call
  // rebuildShadeRamps after changes that recolour the views, the phong map
  // commands rebuildGammaTable; empty means there is nothing to rebuild.
  std::function<void()> rebuildShadeRamps;
  std::function<void()> rebuildGammaTable;

  // The rasterizer context, shading tables, light and render modes, made by
  // the render layer on first use (RenderStateOf); shared_ptr keeps this
  // header and its destructor free of the render types.
  std::shared_ptr<RenderState> renderState;

  // Reads the user colours, "CustomCursors", the default skin size and grid
  // (start-up step 3) and the history's memory bound ("History MB").
  void ReadStartupSettings();
};

}  // namespace mok
