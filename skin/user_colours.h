#pragma once
// What follows a change of one of the eight user colours: the shade ramps are
// rebuilt from colours 1 to 3, and the skin and 3D views redraw. Colour 7 is
// only the views' background, so it asks for the background-only kind and
// leaves the ramps alone.

#include <cstdint>

#include "core/application.h"
#include "render/shading.h"

namespace mok {

// User colours hold 0x00RRGGBB; anything in the top byte is dropped.
inline constexpr std::uint32_t kUserColourMask = 0x00FFFFFF;

// Rebuilds the ramps unless `index` is the background colour, then sends the
// views' refresh: kind 2 for colour 7, kind 0 otherwise, skin and 3D view.
void AfterUserColourChange(Application& app, ShadingTables& shading, int index);

// Rebuilds the ramps for a changed colour other than the background; the
// refresh is left to the caller. Returns the refresh kind the views need.
int RebuildForUserColour(const Application& app, ShadingTables& shading, int index);

}  // namespace mok
