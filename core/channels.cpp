#include "core/channels.h"

#include "core/channel_units.h"

namespace mok {

std::vector<std::string> ChannelListLines(const MeshDocument& doc) {
  std::vector<std::string> lines;
  for (int c = 0; c < doc.slotCount(); ++c) {
    const SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(c)];
    lines.push_back(slot.isEmpty ? "Empty Slot " + std::to_string(c) : slot.name);
  }
  return lines;
}

void AssignChannelToSelected(MeshDocument& doc, int channel) {
  WithChannelUnits(doc, [&] {
    for (int i = 0; i < doc.triangleCount; ++i) {
      MeshTriangle& face = doc.triangles[i];
      if (face.selected()) face.textureNum = static_cast<std::uint8_t>(channel);
    }
  });
}

bool AssignChannel(Application& app) {
  MeshDocument& doc = app.doc();
  int first = doc.FirstSelectedFace();
  if (first < 0) return false;
  ChannelDialog dialog;
  dialog.lines = ChannelListLines(doc);
  int channel = doc.triangles[first].textureNum;
  dialog.chosen = channel < static_cast<int>(dialog.lines.size()) ? channel : -1;
  if (!app.dialogs.ChooseChannel(dialog)) return false;
  if (dialog.chosen < 0 || dialog.chosen >= static_cast<int>(dialog.lines.size())) return false;
  AssignChannelToSelected(doc, dialog.chosen);
  Notify(app, Change::Mapping);
  return true;
}

bool SelectChannel(Application& app, int channel) {
  MeshDocument& doc = app.doc();
  SkinSlot* slot = doc.slotFor(channel);
  if (!slot) return false;
  doc.activeChannel = static_cast<std::int16_t>(channel);
  doc.activeSkin = slot;
  Notify(app, Change::ActiveSkin);
  return true;
}

std::optional<ChannelKey> ChannelForKey(char digit, bool shift) {
  if (digit < '0' || digit > '9') return std::nullopt;
  int channel = digit == '0' ? 9 : digit - '1';
  return ChannelKey{channel, shift};
}

}  // namespace mok
