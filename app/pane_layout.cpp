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

TextureListPlaces PlaceTextureLists(const TextureListNeeds& needs, int left, int right) {
  TextureListPlaces places;
  const int span = right - left;
  if (needs.skins) {
    const int lists = 1 + (needs.phong ? 1 : 0) + (needs.env ? 1 : 0);
    places.texturesLeft = left;
    places.texturesRight = left + span / lists;
    const int rest = places.texturesRight;
    if (needs.phong && needs.env) {
      places.phongLeft = rest;
      places.phongRight = rest + (right - rest) / 2;
      places.envLeft = places.phongRight;
      places.envRight = right;
    } else if (needs.phong) {
      places.phongLeft = rest;
      places.phongRight = right;
    } else if (needs.env) {
      places.envLeft = rest;
      places.envRight = right;
    }
  } else if (needs.phong && needs.env) {
    places.phongLeft = left;
    places.phongRight = left + span / 2;
    places.envLeft = places.phongRight;
    places.envRight = right;
  } else if (needs.phong) {
    places.phongLeft = left;
    places.phongRight = right;
  } else if (needs.env) {
    places.envLeft = left;
    places.envRight = right;
  }
  return places;
}

}  // namespace mok
