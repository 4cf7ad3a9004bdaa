#pragma once
// What follows a change of one of the eight user colours: the skin and 3D
// views redraw. Colour 7 is only the views' background, so it asks for the
// background-only kind; the others re-render (the shade ramps of every frame
// are built from the colours of that frame, so nothing else needs rebuilding).

#include <cstdint>

#include "core/application.h"

namespace mok {

// User colours hold 0x00RRGGBB; anything in the top byte is dropped.
inline constexpr std::uint32_t kUserColourMask = 0x00FFFFFF;

// What a change of colour `index` is: the background for colour 7, else a
// colour the views draw with.
Change UserColourChange(int index);

// Sends the refresh of that change.
void AfterUserColourChange(Application& app, int index);

}  // namespace mok
