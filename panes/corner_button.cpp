#include "panes/corner_button.h"

#include <algorithm>
#include <cmath>

namespace mok {

namespace {

constexpr int kSize = kCornerButtonSize;
constexpr int kGlyphSize = 11;
constexpr int kGlyphInset = 2;

// A menu sign: three bars over a small arrow.
constexpr const char* kGlyph[kGlyphSize] = {
    "...........", "...........", ".#########.", "...........", ".#########.", "...........",
    ".#########.", "...........", "...#####...", "....###....", ".....#.....",
};

struct Target {
  std::uint32_t* colours;
  int pitch;
  int height;
  void Put(int x, int y, std::uint32_t colour) const {
    if (x < 0 || x >= pitch || y < 0 || y >= height) return;
    colours[static_cast<long>(height - 1 - y) * pitch + x] = colour;
  }
};

int Scaled(int pixels, double scale) { return static_cast<int>(std::lround(pixels * std::max(scale, 1.0))); }

// The colour of pixel (x, y) of the 15 x 15 picture; the glyph follows a
// press by one pixel.
std::uint32_t PictureColour(int x, int y, bool pressed, const ButtonColours& scheme) {
  const int shift = pressed ? 1 : 0;
  const int gx = x - kGlyphInset - shift;
  const int gy = y - kGlyphInset - shift;
  if (gx >= 0 && gx < kGlyphSize && gy >= 0 && gy < kGlyphSize && kGlyph[gy][gx] == '#') return scheme.text;
  if (x == kSize - 1 || y == kSize - 1) return pressed ? scheme.highlight : scheme.shadow;
  if (x == 0 || y == 0) return pressed ? scheme.shadow : scheme.highlight;
  return scheme.face;
}

}  // namespace

CornerButtonPlace CornerButtonAt(double scale) {
  return {Scaled(kCornerButtonLeft, scale), Scaled(kCornerButtonTop, scale), Scaled(kSize, scale)};
}

bool InCornerButton(int x, int y, double scale) { return CornerButtonAt(scale).Contains(x, y); }

void DrawCornerButton(std::uint32_t* colours, int pitch, int height, bool pressed, const ButtonColours& scheme,
                      double scale) {
  if (!colours || pitch < 1 || height < 1) return;
  const Target target{colours, pitch, height};
  const CornerButtonPlace place = CornerButtonAt(scale);
  // Every view pixel of the button shows the picture pixel it falls in.
  for (int y = 0; y < place.size; ++y)
    for (int x = 0; x < place.size; ++x)
      target.Put(place.left + x, place.top + y,
                 PictureColour(x * kSize / place.size, y * kSize / place.size, pressed, scheme));
}

}  // namespace mok
