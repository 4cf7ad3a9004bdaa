#include "panes/box_canvas.h"

#include <algorithm>

namespace mok {

void BoxCanvas::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

void BoxCanvas::Set(int x, int y, std::uint32_t colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = colour;
}

std::uint32_t BoxCanvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void BoxCanvas::Fill(const Rect& rect, std::uint32_t colour) {
  const int left = std::max(rect.x, 0);
  const int right = std::min(rect.x + rect.width, width_);
  const int top = std::max(rect.y, 0);
  const int bottom = std::min(rect.y + rect.height, height_);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) Set(x, y, colour);
  }
}

void BoxCanvas::Bevel(const Rect& rect, bool sunken, const ButtonColours& colours) {
  if (rect.width <= 0 || rect.height <= 0) return;
  Fill(rect, colours.face);
  const std::uint32_t topLeft = sunken ? colours.shadow : colours.highlight;
  const std::uint32_t bottomRight = sunken ? colours.highlight : colours.shadow;
  const int right = rect.x + rect.width - 1;
  const int bottom = rect.y + rect.height - 1;
  Fill({rect.x, rect.y, rect.width, 1}, topLeft);
  Fill({rect.x, rect.y, 1, rect.height}, topLeft);
  Fill({rect.x, bottom, rect.width, 1}, bottomRight);
  Fill({right, rect.y, 1, rect.height}, bottomRight);
}

}  // namespace mok
