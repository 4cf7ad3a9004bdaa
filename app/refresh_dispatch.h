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
  // Renders one box with the refresh kind; `flags` is the request's bit set
  // without its four box bits.
  virtual void RenderBox(Pane box, int kind, int flags) = 0;
  // Puts one box's finished picture on screen.
  virtual void RedrawBox(Pane box) = 0;
};

// Boxes render and redraw in this order: skin, gradient, 3D, palette.
inline constexpr std::array<Pane, 4> kRefreshOrder = {Pane::Skin, Pane::Gradient, Pane::Iso, Pane::Palette};

// Unless the request only repaints, renders each named box in order; then,
// unless it only renders, redraws them in the same order.
void DispatchRefresh(RefreshTargets& targets, const RefreshRequest& request);

}  // namespace mok
