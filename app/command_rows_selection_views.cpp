// Rows of the Selection, Mesh, Views and About/Stats menus.
#include <string>

#include "app/command_rows.h"
#include "app/skin_commands.h"
#include "core/channels.h"
#include "core/face_edits.h"
#include "core/model_stats.h"
#include "core/selection.h"
#include "core/triangle_flags.h"
#include "panes/iso_view.h"
#include "panes/skin_view.h"
#include "render/view_commands.h"

namespace mok::command_rows {

namespace {

// Set Triangle Type Flags and Texture Channel need a face with its selected
// bit, hidden or not.
bool AnyFaceSelected(const CommandContext& c) {
  const MeshDocument& doc = *c.app.document;
  for (int i = 0; i < doc.triangleCount; ++i)
    if (doc.triangles[static_cast<std::size_t>(i)].selected()) return true;
  return false;
}

// The camera moved: every pane redraws once the command is done.
void RefreshAllViews(CommandContext& c) {
  c.app.refresh.Refresh({PaneSet::All(), kRefreshFinal, Redraw::RenderAndRepaint, Delivery::Post});
}

template <ViewAlignment Alignment>
void Align(CommandContext& c) {
  if (c.isoView == nullptr) return;
  AlignCamera(c.isoView->camera(), Alignment);
  RefreshAllViews(c);
}

template <bool (*Center)(Camera&, const MeshDocument&)>
void CenterView(CommandContext& c) {
  if (c.isoView != nullptr && Center(c.isoView->camera(), c.app.doc())) RefreshAllViews(c);
}

void ZoomExtents(CommandContext& c) {
  SkinSlot* skin = ActiveSkin(c.app.doc());
  if (c.skinView == nullptr || skin == nullptr) return;
  SkinView& view = *c.skinView;
  SkinViewZoom zoom{view.viewCenter.u, view.viewCenter.v, view.zoom};
  if (!ZoomSkinExtents(zoom, view.pitch(), view.height(), skin->width, skin->height)) return;
  view.viewCenter = {zoom.centerU, zoom.centerV};
  view.zoom = zoom.zoom;
  RefreshAllViews(c);
}

void ShowAbout(CommandContext& c) { c.app.dialogs.ShowAbout(); }

void ShowModelStats(CommandContext& c) { c.app.dialogs.ShowModelStats(ComputeModelStats(c.app.doc())); }

}  // namespace

std::vector<CommandRow> SelectionMeshAndViewRows() {
  return {
      // Selection
      {.id = 32796,
       .text = "&Select All",
       .keys = {"`", "Shift+C"},
       .run = [](CommandContext& c) { SelectAll(c.app); }},
      {.id = 32797, .text = "Select &None", .keys = {"C"}, .run = [](CommandContext& c) { SelectNone(c.app); }},
      {.id = 32798,
       .text = "&Invert Selection",
       .keys = {"I"},
       .run = [](CommandContext& c) { InvertSelection(c.app); }},
      {.id = 32837,
       .text = "Select &Connected",
       .keys = {"\\"},
       .run = [](CommandContext& c) { SelectConnected(c.app); }},
      {.id = 32838,
       .text = "&Grow Selection",
       .keys = {"]"},
       .run = [](CommandContext& c) { GrowSelection(c.app); }},
      {.id = 32839,
       .text = "Sh&rink Selection",
       .keys = {"["},
       .run = [](CommandContext& c) { ShrinkSelection(c.app); }},
      {.id = 32937,
       .text = "Set Triangle &Type Flags...",
       .run = [](CommandContext& c) { SetTypeFlags(c.app); },
       .enabled = AnyFaceSelected},
      {.id = 32938,
       .text = "Set Triangle Texture C&hannel...",
       .run = [](CommandContext& c) { AssignChannel(c.app); },
       .enabled = AnyFaceSelected},
      // Mesh
      {.id = 32830,
       .text = "&Hide Selected Faces",
       .keys = {"Ctrl+H"},
       .run = [](CommandContext& c) { HideSelectedFaces(c.app); }},
      {.id = 32831, .text = "&Unhide All", .keys = {"Shift+H"}, .run = [](CommandContext& c) { UnhideAll(c.app); }},
      {.id = 32878,
       .text = "Delete Selected Faces",
       .run = [](CommandContext& c) { DeleteSelectedFaces(c.app); }},
      {.id = 32879, .text = "Flip Selected Faces", .run = [](CommandContext& c) { FlipSelectedFaces(c.app); }},
      {.id = 32880, .text = "Edge Turn", .run = [](CommandContext& c) { TurnEdge(c.app); }},
      // Views
      {.id = 32895, .text = "&Zoom 2D Extents", .keys = {"NumPad 9"}, .run = ZoomExtents},
      {.id = 32897, .text = "Center on &Selected", .keys = {"NumPad 3"}, .run = CenterView<CenterOnSelected>},
      {.id = 32898, .text = "Center on Sc&ene", .keys = {"NumPad 5"}, .run = CenterView<CenterOnScene>},
      {.id = 32899, .text = "Align &Left", .keys = {"NumPad 4"}, .run = Align<ViewAlignment::Left>},
      {.id = 32900, .text = "Align &Right", .keys = {"NumPad 6"}, .run = Align<ViewAlignment::Right>},
      {.id = 32903, .text = "Align &Front", .keys = {"NumPad 7"}, .run = Align<ViewAlignment::Front>},
      {.id = 32904, .text = "Align B&ack", .keys = {"NumPad 1"}, .run = Align<ViewAlignment::Back>},
      {.id = 32901, .text = "Align &Top", .keys = {"NumPad 8"}, .run = Align<ViewAlignment::Top>},
      {.id = 32902, .text = "Align &Bottom", .keys = {"NumPad 2"}, .run = Align<ViewAlignment::Bottom>},
      // About/Stats
      {.id = 57664,
       .text = "Model &Stats...",
       .prompt = "Model Stats",
       .tooltip = "Model Stats",
       .run = ShowModelStats},
      {.id = 32909, .text = "&About MOK...", .run = ShowAbout},
      {.id = kCommandKeyboardShortcuts, .text = "&Keyboard Shortcuts...", .window = WindowAction::ShowKeyboardShortcuts},
  };
}

}  // namespace mok::command_rows
