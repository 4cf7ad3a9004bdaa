#pragma once
// The meeting point of the skin view and the painting code. In Paint mode
// the view hands its left drags (strokes) and right drags (colour picks) to
// a SkinPainter, with its texel-id buffer so the painter finds the texels
// under the mouse. PainterHandoff is the painter the program uses.

#include <cstdint>
#include <span>

#include "panes/painting.h"

namespace mok {

class SkinPainter {
 public:
  virtual ~SkinPainter() = default;
  // A stroke: the press, every move while the button is held, and the end
  // (release or loss of the mouse), which frees the stroke's mask and any
  // line snapshot.
  virtual void BeginStroke(const TexelIdView& view, WindowPoint point) = 0;
  virtual void ContinueStroke(const TexelIdView& view, WindowPoint point) = 0;
  virtual void EndStroke() = 0;
  // The colour pick of a right drag, at the press and at every move. The
  // view itself sends the final refresh when the pick ends.
  virtual void PickColour(const TexelIdView& view, WindowPoint point) = 0;
  // The stroke in progress: one byte per texel of the active skin, non-zero
  // where painted. Empty while no stroke is in progress.
  virtual std::span<const std::uint8_t> StrokeMask() const = 0;
};

class PainterHandoff final : public SkinPainter {
 public:
  explicit PainterHandoff(Painter& painter) : painter_(painter) {}

  void BeginStroke(const TexelIdView& view, WindowPoint point) override { painter_.BeginStroke(view, point); }
  void ContinueStroke(const TexelIdView& view, WindowPoint point) override { painter_.MoveStroke(view, point); }
  void EndStroke() override { painter_.EndStroke(); }
  void PickColour(const TexelIdView& view, WindowPoint point) override { painter_.PickAt(view, point); }
  std::span<const std::uint8_t> StrokeMask() const override { return painter_.StrokeMask(); }

 private:
  Painter& painter_;
};

}  // namespace mok
