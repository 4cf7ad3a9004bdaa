#pragma once
// The small push button in a pane's top-left corner that opens its pop-up
// menu: 15 x 15 pixels at client x 2..16, y 3..17, drawn raised or sunken in
// the system button colours with an 11 x 11 glyph in the button-text colour.

#include <cstdint>

#include "panes/box_canvas.h"  // ButtonColours

namespace mok {

// The button's top-left client point and size; its menu opens at that point.
inline constexpr int kCornerButtonLeft = 2;
inline constexpr int kCornerButtonTop = 3;
inline constexpr int kCornerButtonSize = 15;

// True for client points on the button (x 2..16, y 3..17).
bool InCornerButton(int x, int y);

// Draws the button into a bottom-up 32-bit buffer of pitch x height pixels
// (row 0 at the bottom of the window); pixels outside the buffer are skipped.
void DrawCornerButton(std::uint32_t* colours, int pitch, int height, bool pressed, const ButtonColours& scheme);

}  // namespace mok
