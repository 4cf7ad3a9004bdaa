#pragma once
// Redraw requests. Commands never draw: they name what changed (changes.h),
// and the shell renders and repaints the panes that change needs (the
// "MOK-Refresh" bus).

#include <cstdint>

namespace mok {

// How a pane renders: 0 full, 1 quick (during drags), 2 the skin view's
// background only (the 3D view renders as for 0), 3 after a paint step.
enum RefreshKind : int { kRefreshFinal = 0, kRefreshQuick = 1, kRefreshBackground = 2, kRefreshPaint = 3 };

// The four panes, with their "MOK-Refresh" bits.
enum class Pane : std::uint8_t { Skin = 0x01, Iso = 0x02, Gradient = 0x04, Palette = 0x08 };

class PaneSet {
 public:
  constexpr PaneSet() = default;
  constexpr PaneSet(Pane pane) : bits_(static_cast<std::uint8_t>(pane)) {}
  static constexpr PaneSet All() { return PaneSet(Pane::Skin) | Pane::Iso | Pane::Gradient | Pane::Palette; }
  static constexpr PaneSet FromBits(int bits) {
    PaneSet set;
    set.bits_ = static_cast<std::uint8_t>(bits & 0x0F);
    return set;
  }

  constexpr PaneSet operator|(PaneSet other) const { return FromBits(bits_ | other.bits_); }
  constexpr bool contains(Pane pane) const { return (bits_ & static_cast<std::uint8_t>(pane)) != 0; }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr int bits() const { return bits_; }
  constexpr bool operator==(const PaneSet&) const = default;

 private:
  std::uint8_t bits_ = 0;
};

constexpr PaneSet operator|(Pane a, Pane b) { return PaneSet(a) | b; }

// Whether the panes render, repaint or both, with the "MOK-Refresh" bits.
enum class Redraw : int { RenderAndRepaint = 0, RenderOnly = 0x10, RepaintOnly = 0x20 };

// A sent refresh is handled before the sender goes on (it needs the panes
// drawn first); a posted one may wait for the event loop.
enum class Delivery { Send, Post };

struct RefreshRequest {
  PaneSet panes;
  RefreshKind kind = kRefreshFinal;
  Redraw redraw = Redraw::RenderAndRepaint;
  Delivery delivery = Delivery::Send;

  // The "MOK-Refresh" bit set: the pane bits and the redraw bits.
  constexpr int bits() const { return panes.bits() | static_cast<int>(redraw); }
  constexpr bool operator==(const RefreshRequest&) const = default;
};

class RefreshSink {
 public:
  virtual ~RefreshSink() = default;
  // "MOK-Refresh": renders and repaints the named panes.
  virtual void Refresh(const RefreshRequest& request) = 0;
  // Refill the side lists (frames, channels, maps) from the document.
  virtual void RefillLists() = 0;
};

// A sink that ignores everything, for headless tools.
class NullRefreshSink final : public RefreshSink {
 public:
  void Refresh(const RefreshRequest&) override {}
  void RefillLists() override {}
};

}  // namespace mok
