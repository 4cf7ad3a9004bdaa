#pragma once
// Texture channels: assigning the selected faces to a channel, choosing the
// active channel, and the digit keys that choose it.

#include <optional>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/dialog_state.h"
#include "core/dialog_host.h"

namespace mok {

// One line per skin slot: "Empty Slot " and the slot number for an empty
// slot, else the slot's name.
std::vector<std::string> ChannelListLines(const MeshDocument& doc);

// Moves every face whose selected bit is set (hidden included) to the channel,
// keeping each corner at the same place relative to the whole skin.
void AssignChannelToSelected(MeshDocument& doc, int channel);

// "Set Triangle Texture Channel...": the dialog opens on the first selected
// face's channel; OK with a line chosen assigns it. Does nothing while no face
// has its selected bit set. Returns true when faces were assigned.
bool AssignChannel(Application& app);

// Makes the channel the active one and redraws the skin view, the 3D view and
// the palette box; the side lists are refilled so the channel list shows it.
// A channel without a slot is refused (returns false, nothing changes). The
// renderer builds its shade ramps per frame, so nothing else needs rebuilding.
bool SelectChannel(Application& app, int channel);

// The channel keys: digits 1..9 choose channels 0..8 and 0 chooses 9; with
// Shift the caller then runs the skin Open command into that channel.
struct ChannelKey {
  int channel = 0;
  bool thenOpenSkin = false;
};
std::optional<ChannelKey> ChannelForKey(char digit, bool shift);

}  // namespace mok
