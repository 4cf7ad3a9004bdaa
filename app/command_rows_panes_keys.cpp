// Rows of the two corner-button menus, the toolbar-only buttons and the
// accelerator-only keys.
#include <array>
#include <utility>

#include "app/command_rows.h"
#include "app/skin_commands.h"
#include "core/changes.h"
#include "core/channels.h"
#include "panes/iso_view.h"
#include "panes/skin_view.h"

namespace mok::command_rows {

namespace {

using Flags = InteractionFlags;

// Runs an action on the skin view, when there is one.
template <void (*Action)(Application&, SkinView&)>
void OnSkinView(CommandContext& c) {
  if (c.skinView != nullptr) Action(c.app, *c.skinView);
}

// Checked while a 0/1 member of the skin view is set.
template <int SkinView::*Member>
bool SkinViewFlag(const CommandContext& c) {
  return c.skinView != nullptr && c.skinView->*Member != 0;
}

void ToggleIsoFilter(CommandContext& c) {
  if (c.isoView != nullptr) c.isoView->ToggleFiltered();
}

bool IsoFiltered(const CommandContext& c) { return c.isoView != nullptr && c.isoView->filtered(); }

// Parallel projection on or off.
void ToggleOrthographic(CommandContext& c) {
  if (c.isoView == nullptr) return;
  std::int32_t& orthographic = c.isoView->camera().orthographic;
  orthographic = orthographic != 0 ? 0 : 1;
  Notify(c.app, Change::Display);
}

bool Orthographic(const CommandContext& c) { return c.isoView != nullptr && c.isoView->camera().orthographic != 0; }

// The channel keys. A channel without a slot is refused by SelectChannel, so
// the key does nothing, and with Shift no Open dialog follows.
template <int Channel>
void ChooseChannel(CommandContext& c) {
  SelectChannel(c.app, Channel);
}

template <int Channel>
void ChooseChannelAndOpen(CommandContext& c) {
  if (SelectChannel(c.app, Channel)) SkinOpen(c.app);
}

constexpr std::array<const char*, 10> kDigitKeys{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
constexpr std::array<const char*, 10> kShiftDigitKeys{"Shift+1", "Shift+2", "Shift+3", "Shift+4", "Shift+5",
                                                      "Shift+6", "Shift+7", "Shift+8", "Shift+9", "Shift+0"};
constexpr std::array<const char*, 10> kChooseTexts{"Texture Channel 0", "Texture Channel 1", "Texture Channel 2",
                                                   "Texture Channel 3", "Texture Channel 4", "Texture Channel 5",
                                                   "Texture Channel 6", "Texture Channel 7", "Texture Channel 8",
                                                   "Texture Channel 9"};
constexpr std::array<const char*, 10> kOpenTexts{
    "Texture Channel 0, then Skins > Open", "Texture Channel 1, then Skins > Open",
    "Texture Channel 2, then Skins > Open", "Texture Channel 3, then Skins > Open",
    "Texture Channel 4, then Skins > Open", "Texture Channel 5, then Skins > Open",
    "Texture Channel 6, then Skins > Open", "Texture Channel 7, then Skins > Open",
    "Texture Channel 8, then Skins > Open", "Texture Channel 9, then Skins > Open"};

// Keys 1..9, 0 are 32945..32954; with Shift 32956..32965.
template <std::size_t... Channel>
void AddChannelRows(std::vector<CommandRow>& rows, std::index_sequence<Channel...>) {
  (rows.push_back({.id = 32945 + static_cast<int>(Channel),
                   .text = kChooseTexts[Channel],
                   .keys = {kDigitKeys[Channel]},
                   .run = ChooseChannel<static_cast<int>(Channel)>}),
   ...);
  (rows.push_back({.id = 32956 + static_cast<int>(Channel),
                   .text = kOpenTexts[Channel],
                   .keys = {kShiftDigitKeys[Channel]},
                   .run = ChooseChannelAndOpen<static_cast<int>(Channel)>,
                   .changes = kChangesSkins}),
   ...);
}

constexpr const char* kNoAction = "(no action)";

}  // namespace

std::vector<CommandRow> PaneAndKeyRows() {
  std::vector<CommandRow> rows{
      // The corner-button menus
      {.id = 32850,
       .text = "Display UV Lines",
       .run = [](CommandContext& c) { ToggleUvLines(c.app); },
       .checked = FlagSet<&Flags::showUvLines>},
      {.id = 32942,
       .text = "Filtered Render",
       .run = OnSkinView<ToggleSkinFilter>,
       .checked = SkinViewFlag<&SkinView::filtered>},
      {.id = 32943, .text = "Filtered Render", .run = ToggleIsoFilter, .checked = IsoFiltered},
      {.id = 32939,
       .text = "Render Skin Tiled",
       .run = OnSkinView<ToggleSkinTiled>,
       .checked = SkinViewFlag<&SkinView::tiled>},
      {.id = 32940, .text = "Tiling Setup...", .run = OnSkinView<TilingSetup>},
      {.id = 32941, .text = "Quick Render", .run = QuickRender},
      // Toolbar-only buttons
      {.id = 32917,
       .text = "Standard Camera Controls",
       .prompt = "Standard Camera Controls",
       .tooltip = "Standard Camera Controls",
       .run = SetFlag<&Flags::cameraTool, 0>,
       .checked = FlagIs<&Flags::cameraTool, 0>},
      {.id = 32918,
       .text = "Camera Rotate",
       .prompt = "Camera Rotate",
       .tooltip = "Camera Rotate",
       .run = SetFlag<&Flags::cameraTool, 1>,
       .checked = FlagIs<&Flags::cameraTool, 1>},
      {.id = 32920,
       .text = "Camera Pan",
       .prompt = "Camera Pan",
       .tooltip = "Camera Pan",
       .run = SetFlag<&Flags::cameraTool, 2>,
       .checked = FlagIs<&Flags::cameraTool, 2>},
      {.id = 32919,
       .text = "Camera Zoom",
       .prompt = "Camera Zoom",
       .tooltip = "Camera Zoom",
       .run = SetFlag<&Flags::cameraTool, 3>,
       .checked = FlagIs<&Flags::cameraTool, 3>},
      {.id = 32921,
       .text = "Camera FOV",
       .prompt = "Camera FOV",
       .tooltip = "Camera FOV",
       .run = SetFlag<&Flags::cameraTool, 4>,
       .checked = FlagIs<&Flags::cameraTool, 4>},
      {.id = 32922,
       .text = "Rotate Light",
       .prompt = "Rotate Light",
       .tooltip = "Rotate Light",
       .run = SetFlag<&Flags::cameraTool, 5>,
       .checked = FlagIs<&Flags::cameraTool, 5>},
      {.id = 32923,
       .text = "Brush Size 1",
       .run = SetFlag<&Flags::brushRadius, 0>,
       .checked = FlagIs<&Flags::brushRadius, 0>},
      {.id = 32924,
       .text = "Brush Size 3",
       .run = SetFlag<&Flags::brushRadius, 1>,
       .checked = FlagIs<&Flags::brushRadius, 1>},
      {.id = 32925,
       .text = "Brush Size 5",
       .run = SetFlag<&Flags::brushRadius, 2>,
       .checked = FlagIs<&Flags::brushRadius, 2>},
      {.id = 32868,
       .text = "Blend",
       .run = SetFlag<&Flags::colorizeMode, 0>,
       .checked = FlagIs<&Flags::colorizeMode, 0>},
      {.id = 32869,
       .text = "Colorize",
       .run = SetFlag<&Flags::colorizeMode, 1>,
       .checked = FlagIs<&Flags::colorizeMode, 1>},
      {.id = 32866,
       .text = "Mapping Frame",
       .run = OnSkinView<ToggleMappingFrame>,
       .checked = SkinViewFlag<&SkinView::frameVisible>},
      {.id = 32836,
       .text = "Texture Warp",
       .run = ToggleFlag<&Flags::warpTexture>,
       .checked = FlagSet<&Flags::warpTexture>},
      {.id = 32934, .text = "Parallel Projection", .run = ToggleOrthographic, .checked = Orthographic},
      {.id = 32936, .text = kNoAction, .inert = true},
      // Keys that are taken and do nothing
      {.id = 32842, .text = kNoAction, .keys = {"Ctrl+D"}, .inert = true},
      {.id = 32811, .text = kNoAction, .keys = {"H"}, .inert = true},
      {.id = 32789, .text = kNoAction, .keys = {"Ctrl+L"}, .inert = true},
      {.id = 32788, .text = kNoAction, .keys = {"Shift+L"}, .inert = true},
      {.id = 32793, .text = kNoAction, .keys = {"Ctrl+Up"}, .inert = true},
      {.id = 32794, .text = kNoAction, .keys = {"Ctrl+Down"}, .inert = true},
  };
  AddChannelRows(rows, std::make_index_sequence<kDigitKeys.size()>());
  return rows;
}

}  // namespace mok::command_rows
