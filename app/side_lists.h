#pragma once
// The side lists of the main window (frames, textures, phong maps,
// environment maps, render modes): what they show, which entry is selected,
// and what choosing an entry does. The shell only copies these into its
// list controls.

#include <string>
#include <vector>

#include "app/pane_layout.h"  // TextureListNeeds
#include "core/application.h"
#include "render/frame_buffer.h"

namespace mok {

// Icons of the textures list.
inline constexpr int kEmptySlotIcon = 0;
inline constexpr int kLoadedSkinIcon = 1;

struct TextureListEntry {
  std::string text;
  int icon = kEmptySlotIcon;
};

struct SideListContents {
  std::vector<std::string> frames;
  std::vector<TextureListEntry> textures;
  std::vector<std::string> phongMaps;
  std::vector<std::string> envMaps;
  // The entries to select; -1 selects none.
  int frame = 0;
  int texture = 0;
  int phongMap = -1;
  int envMap = -1;
  int mode = 0;
};

// The lists as FillSideLists shows them: one line per animation frame (its
// name), per skin slot ("Empty Slot N", or the slot's name shown with every
// "\" as "/"), per phong and environment map (its name); the current frame,
// the active channel (0 when none), the active maps and the current mode
// selected. The slots themselves are not touched: their names and paths
// stay as stored, so a path keeps working as a path.
SideListContents SideListsOf(Application& app);

// What the current render mode shows, and so which lists of the "Textures"
// band are visible.
TextureListNeeds CurrentModeNeeds(Application& app);

// Choosing a line of the modes list.
enum class ModeChoice {
  Unchanged,  // the current mode again: nothing happens
  Switched,   // the mode changed; the shell lays the "Textures" band out again
  Refused,    // the 3D view cannot draw it (its message was shown); the list goes back
};
ModeChoice ChooseRenderMode(Application& app, FrameBuffer* isoView, int mode);

}  // namespace mok
