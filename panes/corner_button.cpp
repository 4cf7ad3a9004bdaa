#include "panes/corner_button.h"

namespace mok {

namespace {

constexpr int kLeft = kCornerButtonLeft;
constexpr int kTop = kCornerButtonTop;
constexpr int kSize = kCornerButtonSize;
constexpr int kGlyphSize = 11;

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

}  // namespace

bool InCornerButton(int x, int y) { return x >= kLeft && x < kLeft + kSize && y >= kTop && y < kTop + kSize; }

void DrawCornerButton(std::uint32_t* colours, int pitch, int height, bool pressed, const ButtonColours& scheme) {
  if (!colours || pitch < 1 || height < 1) return;
  const Target target{colours, pitch, height};
  const std::uint32_t topLeft = pressed ? scheme.shadow : scheme.highlight;
  const std::uint32_t bottomRight = pressed ? scheme.highlight : scheme.shadow;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      std::uint32_t colour = scheme.face;
      if (x == kSize - 1 || y == kSize - 1)
        colour = bottomRight;
      else if (x == 0 || y == 0)
        colour = topLeft;
      target.Put(kLeft + x, kTop + y, colour);
    }
  }
  // The glyph sits in the middle and follows the press by one pixel.
  const int shift = pressed ? 1 : 0;
  for (int gy = 0; gy < kGlyphSize; ++gy)
    for (int gx = 0; gx < kGlyphSize; ++gx)
      if (kGlyph[gy][gx] == '#') target.Put(kLeft + 2 + gx + shift, kTop + 2 + gy + shift, scheme.text);
}

}  // namespace mok
