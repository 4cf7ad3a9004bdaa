#pragma once
// The 16-pixel icons of the textures list: an empty slot (a dashed frame)
// and a loaded skin (a small framed picture).

#include <QIcon>

namespace mok::shell {

// kEmptySlotIcon or kLoadedSkinIcon (app/side_lists.h).
QIcon TextureListIcon(int icon);

}  // namespace mok::shell
