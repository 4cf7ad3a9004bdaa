// Rows of the Skins and Mapping menus.
#include "app/command_rows.h"
#include "app/script_skins.h"
#include "app/klink.h"
#include "app/mapping_commands.h"
#include "app/skin_commands.h"
#include "core/changes.h"
#include "core/face_edits.h"
#include "panes/camera_projection.h"
#include "panes/iso_view.h"
#include "panes/skin_view.h"
#include "panes/uv_edits.h"

namespace mok::command_rows {

namespace {

using Flags = InteractionFlags;

// Projects the selection as the 3D view shows it into the skin view's frame.
void MapFromView(CommandContext& c) {
  if (c.isoView == nullptr || c.skinView == nullptr) return;
  const FrameBuffer& frame = c.isoView->frame();
  const CameraViewProjection projection(c.isoView->camera(), frame.width, frame.height);
  MapFrom3DView(c.app, projection, c.skinView->mappingFrame, c.skinView->mapOptions);
}

void RevertMappingCommand(CommandContext& c) {
  c.app.doc().RevertMapping();
  Notify(c.app, Change::Mapping);
}

// The K-Link rows are enabled only where the shell made a link (not headless).
bool LinkMade(const CommandContext& c) { return c.klink != nullptr; }

template <void (KLink::*Command)()>
void OnLink(CommandContext& c) {
  (c.klink->*Command)();
}

std::string WatchLabel(const CommandContext& c) {
  return FlagSet<&Flags::watching>(c) ? "End Watch" : "Begin Watch";
}

}  // namespace

std::vector<CommandRow> SkinAndMappingRows() {
  return {
      // Skins
      {.id = 32785,
       .text = "&New...",
       .keys = {"Shift+N"},
       .run = [](CommandContext& c) { SkinNew(c.app); },
       .changes = kChangesSkins},
      {.id = 32777,
       .text = "&Open",
       .keys = {"Shift+O"},
       .run = [](CommandContext& c) { SkinOpen(c.app); },
       .changes = kChangesSkins},
      {.id = 32782,
       .text = "&Close/Delete",
       .keys = {"Shift+D"},
       .run = [](CommandContext& c) { SkinCloseDelete(c.app); },
       .changes = kChangesSkins},
      {.id = 32783,
       .text = "&Save",
       .keys = {"Shift+S"},
       .run = [](CommandContext& c) { SkinSave(c.app); },
       .changes = kChangesSkins},
      {.id = 32784,
       .text = "Save &As",
       .keys = {"Shift+A"},
       .run = [](CommandContext& c) { SkinSaveAs(c.app); },
       .changes = kChangesSkins},
      {.id = 32787,
       .text = "&Store",
       .keys = {"Shift+Z"},
       .run = [](CommandContext& c) { SkinStore(c.app); },
       .changes = kChangesSkins},
      {.id = 32786,
       .text = "&Revert",
       .keys = {"Ctrl+Z"},
       .run = [](CommandContext& c) { SkinRevert(c.app); },
       .changes = kChangesSkins},
      {.id = 32795,
       .text = "R&eload",
       .keys = {"F5"},
       .run = [](CommandContext& c) { SkinReload(c.app); },
       .changes = kChangesSkins},
      {.id = 32799, .text = "Resize...", .run = [](CommandContext& c) { SkinResize(c.app); }, .changes = kChangesSkins},
      {.id = kCommandLoadScriptSkins,
       .text = "Load Skins From Scripts",
       .prompt = "Loads the skins the package scripts name into their channels",
       .run = [](CommandContext& c) { LoadSkinsFromScripts(c.app); },
       .changes = kChangesSkins},
      {.id = 32955,
       .text = "Auto-Reload",
       .run = [](CommandContext& c) { SkinToggleAutoReload(c.app); },
       .checked = FlagSet<&Flags::autoReload>},
      // Mapping
      {.id = 32867, .text = "&Map from 3D View...", .keys = {"Tab"}, .run = MapFromView},
      {.id = 32884, .text = "&Flip Selected", .keys = {"W"}, .run = [](CommandContext& c) { FlipSelected(c.app); }},
      {.id = 32885, .text = "Mirror Selected", .keys = {"E"}, .run = [](CommandContext& c) { MirrorSelected(c.app); }},
      {.id = 32886,
       .text = "90° Rotate Selected",
       .keys = {"R"},
       .run = [](CommandContext& c) { RotateSelected90(c.app); }},
      {.id = 32816, .text = "I&mport...", .run = [](CommandContext& c) { ImportMappingCommand(c.app); }},
      {.id = 32815, .text = "&Export...", .run = [](CommandContext& c) { ExportMappingCommand(c.app); }},
      {.id = 32907,
       .text = "Snap to Grid",
       .keys = {"S"},
       .run = ToggleFlag<&Flags::snapToGrid>,
       .checked = FlagSet<&Flags::snapToGrid>},
      {.id = 32913,
       .text = "Snap Selected to Grid",
       .keys = {"D"},
       .run = [](CommandContext& c) { SnapSelectedToGrid(c.app); }},
      {.id = 32840, .text = "S&tore", .run = [](CommandContext& c) { c.app.doc().StoreMapping(); }},
      {.id = 32841, .text = "R&evert", .run = RevertMappingCommand},
      {.id = 32891, .text = "Delete Selected", .run = [](CommandContext& c) { ClearSelectedMapping(c.app); }},
      {.id = 32875, .text = "Begin Watch", .run = OnLink<&KLink::ToggleWatch>, .enabled = LinkMade, .label = WatchLabel},
      {.id = 32876, .text = "Transfer Mapping", .keys = {"V"}, .run = OnLink<&KLink::TransferMapping>, .enabled = LinkMade},
      {.id = 32915,
       .text = "Sync Cameras",
       .keys = {"B"},
       .run = OnLink<&KLink::ToggleSyncCameras>,
       .enabled = LinkMade,
       .checked = FlagSet<&Flags::syncCameras>},
  };
}

}  // namespace mok::command_rows
