// Rows of the File and Options menus.
#include "app/command_rows.h"
#include "app/script_skins.h"
#include "app/file_commands.h"
#include "app/history_commands.h"
#include "app/map_lists.h"
#include "app/md2_command.h"
#include "app/preferences.h"
#include "core/changes.h"
#include "panes/iso_view.h"
#include "render/picture_commands.h"

namespace mok::command_rows {

namespace {

using Flags = InteractionFlags;

// Paint Mode and Mapping Mode: nothing when the mode is already on; with the
// camera off the toolbar follows the mode.
template <int Mode>
void ChooseEditMode(CommandContext& c) {
  if (FlagValue<&Flags::editMode>(c) == Mode) return;
  SetFlagValue<&Flags::editMode>(c, Mode);
  c.toolbarSet = ToolbarSetFor(c.app.flags);
  Notify(c.app, Change::Display);
}

void CameraToggle(CommandContext& c) {
  ToggleFlag<&Flags::cameraActive>(c);
  c.toolbarSet = ToolbarSetFor(c.app.flags);
  Notify(c.app, Change::Display);
}

void Benchmark(CommandContext& c) {
  if (c.isoView == nullptr) return;
  Application& app = c.app;
  // Every frame is shown before the next is drawn: the 3D view repaints as
  // a trace's rows do.
  BenchmarkCommand(app, c.isoView->record(), [&app] { Notify(app, Change::TraceProgress); });
}

void Snapshot(CommandContext& c) {
  if (c.isoView != nullptr) SnapshotCommand(c.app, c.isoView->record());
}

}  // namespace

void QuickRender(CommandContext& c) {
  if (c.isoView != nullptr) QuickRenderCommand(c.app, c.isoView->record());
}

namespace {

template <MapKind Kind>
void CloseMapOf(CommandContext& c) {
  CloseMap(c.app, Kind);
}

template <MapKind Kind>
void ScanFolderOf(CommandContext& c) {
  ScanMapFolderCommand(c.app, Kind);
}

}  // namespace

std::vector<CommandRow> FileAndOptionsRows() {
  return {
      // File
      {.id = 32772,
       .text = "&Open...",
       .keys = {"Ctrl+O"},
       .run = [](CommandContext& c) { FileOpen(c.app); },
       .changes = kChangesSkins},
      {.id = 32773, .text = "&Save", .keys = {"Ctrl+S"}, .run = [](CommandContext& c) { FileSave(c.app); }},
      {.id = 32774, .text = "Save &As...", .keys = {"Ctrl+A"}, .run = [](CommandContext& c) { FileSaveAs(c.app); }},
      {.id = 32944, .text = "File &Properties...", .run = [](CommandContext& c) { FileProperties(c.app); }},
      {.id = 32967,
       .text = "Quake2 MD2",
       .run = [](CommandContext& c) { ImportQuake2Md2(c.app); },
       .changes = kChangesSkins},
      {.id = kCommandExportScriptLines,
       .text = "UnrealScript Import Lines...",
       .prompt = "Writes the #exec lines that import the mesh and its skins",
       .run = [](CommandContext& c) { ExportUnrealScriptLines(c.app); }},
      // The placeholder skins follow the default skin size.
      {.id = kCommandPreferences,
       .text = "P&references...",
       .run = [](CommandContext& c) { ShowPreferences(c.app); },
       .changes = kChangesSkins},
      {.id = 57665, .text = "E&xit", .window = WindowAction::Close},
      // Edit
      {.id = kCommandUndo,
       .text = "&Undo",
       .keys = {"Ctrl+Alt+Z"},
       .prompt = "Takes back the last change",
       .run = [](CommandContext& c) { UndoLastStep(c.app); },
       .enabled = [](const CommandContext& c) { return c.app.history.CanUndo(); },
       .label = [](const CommandContext& c) { return UndoMenuText(c.app); }},
      {.id = kCommandRedo,
       .text = "&Redo",
       .keys = {"Ctrl+Shift+Z"},
       .prompt = "Makes the change taken back again",
       .run = [](CommandContext& c) { RedoNextStep(c.app); },
       .enabled = [](const CommandContext& c) { return c.app.history.CanRedo(); },
       .label = [](const CommandContext& c) { return RedoMenuText(c.app); }},
      // Options
      {.id = 32778, .text = "General Interaction", .prompt = "Sets General Interaction Mode", .inert = true},
      {.id = 32779,
       .text = "&Camera Toggle",
       .keys = {"Space"},
       .prompt = "Sets Camera Interaction Mode",
       .tooltip = "Camera Active Toggle",
       .run = CameraToggle,
       .checked = FlagSet<&Flags::cameraActive>},
      {.id = 32780,
       .text = "&Paint Mode",
       .keys = {"P"},
       .prompt = "Sets Mesh Paint Mode",
       .run = ChooseEditMode<0>,
       .checked = FlagIs<&Flags::editMode, 0>},
      {.id = 32781,
       .text = "&Mapping Mode",
       .keys = {"Q"},
       .prompt = "Sets Mapping Adjustment Mode",
       .run = ChooseEditMode<1>,
       .checked = FlagIs<&Flags::editMode, 1>},
      {.id = 32802,
       .text = "Point Brush",
       .keys = {"-"},
       .run = SetFlag<&Flags::brushKind, 0>,
       .checked = FlagIs<&Flags::brushKind, 0>},
      {.id = 32800,
       .text = "Pencil Brush",
       .keys = {"="},
       .run = SetFlag<&Flags::brushKind, 1>,
       .checked = FlagIs<&Flags::brushKind, 1>},
      {.id = 32801,
       .text = "Line Brush",
       .keys = {"Backspace"},
       .run = SetFlag<&Flags::brushKind, 2>,
       .checked = FlagIs<&Flags::brushKind, 2>},
      {.id = 32881,
       .text = "Lock X Axis",
       .keys = {"X"},
       .run = ToggleFlag<&Flags::lockX>,
       .checked = FlagSet<&Flags::lockX>},
      {.id = 32882,
       .text = "Lock Y Axis",
       .keys = {"Y"},
       .run = ToggleFlag<&Flags::lockY>,
       .checked = FlagSet<&Flags::lockY>},
      {.id = 32883,
       .text = "Uniform Scales",
       .keys = {"U"},
       .run = ToggleFlag<&Flags::uniformScale>,
       .checked = FlagSet<&Flags::uniformScale>},
      {.id = 32914,
       .text = "Lock Light",
       .keys = {"L"},
       .prompt = "Lock Light To Camera",
       .tooltip = "Lock Light To Camera",
       .run = ToggleFlag<&Flags::lockLight>,
       .checked = FlagSet<&Flags::lockLight>},
      {.id = 32775, .text = "&Swap Displays", .window = WindowAction::SwapDisplays},
      {.id = 32865, .text = "&Benchmark", .keys = {"F11"}, .run = Benchmark},
      {.id = 32857,
       .text = "Snapshot...",
       .keys = {"F12"},
       .prompt = "Snapshot",
       .tooltip = "Snapshot",
       .run = Snapshot},
      {.id = 32858, .text = "&Open...", .run = [](CommandContext& c) { OpenPhongMap(c.app); }},
      {.id = 32859, .text = "&Close", .run = CloseMapOf<MapKind::Phong>},
      {.id = 32862, .text = "&Scan Folder...", .run = ScanFolderOf<MapKind::Phong>},
      {.id = 32860, .text = "&Open...", .run = [](CommandContext& c) { OpenEnvMap(c.app); }},
      {.id = 32861, .text = "&Close", .run = CloseMapOf<MapKind::Environment>},
      {.id = 32863, .text = "&Scan Folder...", .run = ScanFolderOf<MapKind::Environment>},
  };
}

}  // namespace mok::command_rows
