#pragma once
// Where the four boxes of the main window's client pane go: the skin view and
// the 3D view side by side, the 24-pixel gradient strip between them (the
// splitter), and the 35-pixel palette strip along the bottom or the top.
//
// All arithmetic is integer except the split fraction, which is the share of
// the free width (client width less the strip) given to the left pane.

#include "panes/box_canvas.h"  // Rect

namespace mok {

inline constexpr int kPaletteStripHeight = 35;
inline constexpr int kGradientStripWidth = 24;
inline constexpr int kSplitterSnapMargin = 64;
inline constexpr double kLeftPresetFraction = 0.25;
inline constexpr double kRightPresetFraction = 0.75;

// The box under a point of the client pane.
enum class PaneBox { None, Skin, Iso, Palette, Gradient };

struct PaneLayout {
  double splitFraction = 0.65;
  int palOnTop = 0;
  int swapped = 1;  // 1: the skin view on the left

  Rect leftRect;
  Rect rightRect;
  Rect palRect;
  Rect gradientRect;

  // Recomputes the four rectangles for a client area of width x height.
  // A client narrower than the strip, or lower than the palette, leaves the
  // panes with zero width or height rather than negative ones.
  void Relayout(int width, int height);
  const Rect& skinRect() const { return swapped ? leftRect : rightRect; }
  const Rect& isoRect() const { return swapped ? rightRect : leftRect; }
  // The box whose rectangle holds a client point.
  PaneBox BoxAt(int x, int y) const;
  // Swap Displays: the two views change sides.
  void Swap() { swapped = swapped ? 0 : 1; }
};

// The split fraction of a splitter drag at client x in a client `width`
// wide: x / width, 0 when x < 64, then 1 when x > width - 64 (so in a client
// narrower than 128 pixels the right snap wins).
double SplitFractionAt(int x, int width);

// The box that takes a wheel turn at a client point: the palette, the skin
// view or the 3D view; none over the gradient strip or outside every box.
PaneBox WheelTarget(const PaneLayout& layout, int x, int y);

// The "Textures" band: which of its three lists the current render mode
// needs, and where they go across the band's client edges left..right.
struct TextureListNeeds {
  bool skins = false;
  bool phong = false;
  bool env = false;
};
struct TextureListPlaces {
  // Left and right edges of each list; shown only when its need is set.
  int texturesLeft = 0, texturesRight = 0;
  int phongLeft = 0, phongRight = 0;
  int envLeft = 0, envRight = 0;
};
TextureListPlaces PlaceTextureLists(const TextureListNeeds& needs, int left, int right);

}  // namespace mok
