#include "app/side_lists.h"

#include <algorithm>

#include "core/channels.h"
#include "render/render_state.h"

namespace mok {

namespace {

std::vector<std::string> MapNames(const MapList& list) {
  std::vector<std::string> names;
  names.reserve(list.maps.size());
  for (const auto& map : list.maps) names.push_back(map->name);
  return names;
}

int MapSelection(const MapList& list) { return list.active() ? list.index : -1; }

}  // namespace

SideListContents SideListsOf(Application& app) {
  const MeshDocument& doc = app.doc();
  SideListContents lists;
  lists.frames.reserve(doc.frames.size());
  for (const auto& frame : doc.frames) lists.frames.push_back(frame->name);
  const std::vector<std::string> lines = ChannelListLines(doc);
  for (std::size_t c = 0; c < lines.size(); ++c) {
    const bool empty = doc.skinSlots[c]->isEmpty != 0;
    std::string text = lines[c];
    if (!empty) std::replace(text.begin(), text.end(), '\\', '/');
    lists.textures.push_back({std::move(text), empty ? kEmptySlotIcon : kLoadedSkinIcon});
  }
  lists.phongMaps = MapNames(app.phongMaps);
  lists.envMaps = MapNames(app.envMaps);
  lists.frame = doc.frames.empty() ? -1 : doc.currentFrame;
  lists.texture = doc.activeChannel < 0 ? 0 : doc.activeChannel;
  if (lists.texture >= static_cast<int>(lists.textures.size())) lists.texture = -1;
  lists.phongMap = MapSelection(app.phongMaps);
  lists.envMap = MapSelection(app.envMaps);
  lists.mode = RenderStateOf(app).currentMode;
  return lists;
}

TextureListNeeds CurrentModeNeeds(Application& app) {
  const ModeFacts& facts = RenderStateOf(app).current().facts();
  return {facts.needsSkins, facts.needsPhongMaps, facts.needsEnvMaps};
}

ModeChoice ChooseRenderMode(Application& app, FrameBuffer* isoView, int mode) {
  if (mode == RenderStateOf(app).currentMode) return ModeChoice::Unchanged;
  if (mode < 0 || mode >= kRenderModeCount) return ModeChoice::Refused;
  return SelectRenderMode(app, isoView, mode) ? ModeChoice::Switched : ModeChoice::Refused;
}

}  // namespace mok
