// The Skins menu commands that need no file: Close/Delete, Store, Revert,
// Auto-Reload's flag, and the placeholder rebuild of the Preferences.

#include <utility>

#include "app/skin_command_steps.h"
#include "app/skin_commands.h"
#include "core/channel_units.h"

namespace mok {

SkinSlot* ActiveSkin(MeshDocument& doc) {
  if (!doc.activeSkin) return nullptr;
  return doc.slotFor(doc.activeChannel);
}

void FinishSkinChange(Application& app) { Notify(app, Change::Skins); }

void ReplaceSkin(MeshDocument& doc, SkinSlot& slot, SkinSlot replacement) {
  WithChannelUnits(doc, [&] { slot = std::move(replacement); });
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
  WithChannelUnits(doc, [&] { MakePlaceholder(*skin, doc.activeChannel, doc.placeholderSpec); });
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
  Notify(app, Change::SkinPixels);
}

void SkinToggleAutoReload(Application& app) { app.flags.autoReload = !app.flags.autoReload; }

void RebuildPlaceholders(Application& app, const PlaceholderSpec& spec) {
  MeshDocument& doc = app.doc();
  doc.placeholderSpec = spec;
  WithChannelUnits(doc, [&] {
    MakePlaceholder(doc.defaultSkin, 0, spec);
    for (int c = 0; c < doc.slotCount(); ++c) {
      SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(c)];
      if (slot.isEmpty) MakePlaceholder(slot, c, spec);
    }
  });
  Notify(app, Change::Skins);
}

}  // namespace mok
