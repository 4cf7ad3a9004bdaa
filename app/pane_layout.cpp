#include "app/pane_layout.h"

#include <algorithm>

namespace mok {

void PaneLayout::Relayout(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const int free = std::max(width - kGradientStripWidth, 0);
  const int b = static_cast<int>(free * std::clamp(splitFraction, 0.0, 1.0));
  const int stripRows = std::min(kPaletteStripHeight, height);
  const int paneRows = height - stripRows;
  const int paneTop = palOnTop ? stripRows : 0;
  palRect = {0, palOnTop ? 0 : paneRows, width, stripRows};
  leftRect = {0, paneTop, b, paneRows};
  gradientRect = {b, paneTop, std::min(kGradientStripWidth, width - b), paneRows};
  rightRect = {b + kGradientStripWidth, paneTop, std::max(width - b - kGradientStripWidth, 0), paneRows};
}

PaneBox PaneLayout::BoxAt(int x, int y) const {
  if (palRect.Contains(x, y)) return PaneBox::Palette;
  if (gradientRect.Contains(x, y)) return PaneBox::Gradient;
  if (leftRect.Contains(x, y)) return swapped ? PaneBox::Skin : PaneBox::Iso;
  if (rightRect.Contains(x, y)) return swapped ? PaneBox::Iso : PaneBox::Skin;
  return PaneBox::None;
}

double SplitFractionAt(int x, int width) {
  double fraction = width > 0 ? static_cast<double>(x) / width : 0.0;
  if (x < kSplitterSnapMargin) fraction = 0.0;
  if (x > width - kSplitterSnapMargin) fraction = 1.0;
  return std::clamp(fraction, 0.0, 1.0);
}

PaneBox WheelTarget(const PaneLayout& layout, int x, int y) {
  const PaneBox box = layout.BoxAt(x, y);
  return box == PaneBox::Gradient ? PaneBox::None : box;
}

// The textures list takes its share first (a half beside one map list, a
// third beside two); the map lists share what is left half and half.
TextureListPlaces PlaceTextureLists(const TextureListNeeds& needs, int left, int right) {
  TextureListPlaces places;
  int mapsLeft = left;
  if (needs.skins) {
    const int lists = 1 + (needs.phong ? 1 : 0) + (needs.env ? 1 : 0);
    places.texturesLeft = left;
    places.texturesRight = mapsLeft = left + (right - left) / lists;
  }
  const int phongRight = needs.env ? mapsLeft + (right - mapsLeft) / 2 : right;
  if (needs.phong) {
    places.phongLeft = mapsLeft;
    places.phongRight = phongRight;
  }
  if (needs.env) {
    places.envLeft = needs.phong ? phongRight : mapsLeft;
    places.envRight = right;
  }
  return places;
}

}  // namespace mok
