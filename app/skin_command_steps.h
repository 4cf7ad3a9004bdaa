#pragma once
// Steps the Skins menu commands share.

#include "core/application.h"
#include "core/skin_slot.h"

namespace mok {

// The end of a command that changed a skin: the side lists and every view
// are refreshed.
void FinishSkinChange(Application& app);

// Puts replacement in the place of the slot's record, rescaling the slot's
// channel coordinates to its size. The slot object itself stays, so pointers
// to it (activeSkin) stay valid.
void ReplaceSkin(MeshDocument& doc, SkinSlot& slot, SkinSlot replacement);

// The slot takes over the image of a fresh read of its file (pixels, stored
// copy, size, row table); its names, file and format stay. Call inside
// WithChannelUnits.
void TakeImage(SkinSlot& slot, SkinSlot&& loaded);

}  // namespace mok
