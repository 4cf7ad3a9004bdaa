#pragma once
// How the window answers "MOK-Refresh": which boxes render, in which order,
// with which arguments, and which are then redrawn on screen.

#include <array>

#include "core/refresh.h"

namespace mok {

// The four boxes' render and redraw entries.
class RefreshTargets {
 public:
  virtual ~RefreshTargets() = default;
  // Renders one box (a single pane bit) with the refresh kind; `flags` is the
  // request's bit set without its four box bits.
  virtual void RenderBox(int paneBit, int kind, int flags) = 0;
  // Puts one box's finished picture on screen.
  virtual void RedrawBox(int paneBit) = 0;
};

// Boxes render and redraw in this order: skin, gradient, 3D, palette.
inline constexpr std::array<int, 4> kRefreshOrder = {kPaneSkinView, kPaneGradient, kPaneIsoView, kPanePalette};

// Unless 0x20 is set, renders each named box in order; then, unless 0x10 is
// set, redraws them in the same order.
void DispatchRefresh(RefreshTargets& targets, int paneBits, int kind);

}  // namespace mok
