#pragma once
// The small push button in a pane's top-left corner that opens its pop-up
// menu: 15 x 15 pixels at client x 2..16, y 3..17, drawn raised or sunken in
// the system button colours with an 11 x 11 glyph in the button-text colour.
//
// Those are screen pixels. A view that renders at a finer grid (the device
// pixels of a high-density screen) passes its `scale`, view pixels per screen
// pixel; the button then covers the same screen area, its picture enlarged by
// nearest sampling so its edges stay crisp.

#include <cstdint>

#include "panes/box_canvas.h"  // ButtonColours

namespace mok {

// The button's top-left client point and size at scale 1; its menu opens at
// that point.
inline constexpr int kCornerButtonLeft = 2;
inline constexpr int kCornerButtonTop = 3;
inline constexpr int kCornerButtonSize = 15;

// Where the button lies in a view's own pixels.
struct CornerButtonPlace {
  int left = kCornerButtonLeft;
  int top = kCornerButtonTop;
  int size = kCornerButtonSize;
  bool Contains(int x, int y) const { return x >= left && x < left + size && y >= top && y < top + size; }
};

// The button's place at `scale` view pixels per screen pixel (each edge
// rounded to the nearest view pixel; scales below 1 count as 1).
CornerButtonPlace CornerButtonAt(double scale);

// True for client points on the button (at scale 1: x 2..16, y 3..17).
bool InCornerButton(int x, int y, double scale);

// Draws the button into a bottom-up 32-bit buffer of pitch x height pixels
// (row 0 at the bottom of the window); pixels outside the buffer are skipped.
void DrawCornerButton(std::uint32_t* colours, int pitch, int height, bool pressed, const ButtonColours& scheme,
                      double scale);

}  // namespace mok
