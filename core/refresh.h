#pragma once
// Redraw requests. Commands never draw: they name the panes to redraw and how,
// and the shell renders and repaints them (the "MOK-Refresh" bus).

namespace mok {

// Refresh kinds.
inline constexpr int kRefreshFinal = 0;       // full render
inline constexpr int kRefreshQuick = 1;       // during drags
inline constexpr int kRefreshBackground = 2;  // skin view: background only; 3D view: as final
inline constexpr int kRefreshPaint = 3;       // after a paint step

// Pane bits.
inline constexpr int kPaneSkinView = 0x01;
inline constexpr int kPaneIsoView = 0x02;
inline constexpr int kPaneGradient = 0x04;
inline constexpr int kPanePalette = 0x08;
inline constexpr int kPanesAll = 0x0F;
inline constexpr int kRenderWithoutRepaint = 0x10;
inline constexpr int kRepaintWithoutRender = 0x20;

class RefreshSink {
 public:
  virtual ~RefreshSink() = default;
  // "MOK-Refresh" with the pane bits and the refresh kind.
  virtual void Refresh(int paneBits, int kind) = 0;
  // Refill the side lists (frames, channels, maps) from the document.
  virtual void RefillLists() = 0;
};

// A sink that ignores everything, for headless tools.
class NullRefreshSink final : public RefreshSink {
 public:
  void Refresh(int, int) override {}
  void RefillLists() override {}
};

}  // namespace mok
