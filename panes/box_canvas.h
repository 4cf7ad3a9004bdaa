#pragma once
// A box's picture: width x height 32-bit pixels (0x00RRGGBB), pitch = width,
// rows bottom-up like every pane, drawn with window coordinates (y from the
// top). Every write outside the picture is dropped, so a box of any size,
// zero included, draws safely.

#include <cstdint>
#include <vector>

namespace mok {

// The system's button colours; the shell may replace the defaults.
struct ButtonColours {
  std::uint32_t highlight = 0xFFFFFF;
  std::uint32_t face = 0xC0C0C0;
  std::uint32_t shadow = 0x808080;
  std::uint32_t text = 0x000000;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

class BoxCanvas {
 public:
  void Resize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }

  void Set(int x, int y, std::uint32_t colour);
  // The pixel at a window point; 0 outside.
  std::uint32_t At(int x, int y) const;
  void Fill(const Rect& rect, std::uint32_t colour);
  // A button-like frame: highlight on the top and left edges and shadow on
  // the others when raised, the other way round when sunken; face inside.
  void Bevel(const Rect& rect, bool sunken, const ButtonColours& colours);

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace mok
