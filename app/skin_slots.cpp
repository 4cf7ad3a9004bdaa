// The Skins menu commands that need no file: Close/Delete, Store, Revert,
// Auto-Reload's flag, and the placeholder rebuild of the Preferences.

#include <utility>

#include "app/skin_command_steps.h"
#include "app/skin_commands.h"

namespace mok {

SkinSlot* ActiveSkin(MeshDocument& doc) {
  if (!doc.activeSkin) return nullptr;
  return doc.slotFor(doc.activeChannel);
}

void ChangeSkinSizes(MeshDocument& doc, const std::function<void()>& change) {
  doc.RebuildUvVertices(true);
  doc.ToChannelUnits();
  change();
  doc.FromChannelUnits();
  doc.RebuildUvVertices(true);
}

void FinishSkinChange(Application& app) {
  if (app.rebuildShadeRamps) app.rebuildShadeRamps();
  app.doc().NotifyMeshChanged();
}

void ReplaceSkin(MeshDocument& doc, SkinSlot& slot, SkinSlot replacement) {
  ChangeSkinSizes(doc, [&] { slot = std::move(replacement); });
}

void TakeImage(SkinSlot& slot, SkinSlot&& loaded) {
  slot.pixels = std::move(loaded.pixels);
  slot.storedPixels = std::move(loaded.storedPixels);
  slot.width = loaded.width;
  slot.height = loaded.height;
  BuildRowOffsets(slot);
}

void SkinCloseDelete(Application& app) {
  MeshDocument& doc = app.doc();
  SkinSlot* skin = ActiveSkin(doc);
  if (!skin) return;
  ChangeSkinSizes(doc, [&] { MakePlaceholder(*skin, doc.activeChannel, doc.placeholderSpec); });
  FinishSkinChange(app);
}

void SkinStore(Application& app) {
  if (SkinSlot* skin = ActiveSkin(app.doc())) skin->storedPixels = skin->pixels;
}

void SkinRevert(Application& app) {
  SkinSlot* skin = ActiveSkin(app.doc());
  // The stored copy always has the image's size; a mismatch would mean a
  // half-replaced record, which is better left alone than made inconsistent.
  if (!skin || skin->storedPixels.size() != skin->pixels.size()) return;
  skin->pixels = skin->storedPixels;
  app.refresh.Refresh(kPaneSkinView | kPaneIsoView | kPanePalette, kRefreshFinal);
}

void SkinToggleAutoReload(Application& app) { app.flags.autoReload = app.flags.autoReload ? 0 : 1; }

void RebuildPlaceholders(MeshDocument& doc, const PlaceholderSpec& spec) {
  doc.placeholderSpec = spec;
  ChangeSkinSizes(doc, [&] {
    MakePlaceholder(doc.defaultSkin, 0, spec);
    for (int c = 0; c < doc.slotCount(); ++c) {
      SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(c)];
      if (slot.isEmpty) MakePlaceholder(slot, c, spec);
    }
  });
  doc.NotifyMeshChanged();
}

}  // namespace mok
