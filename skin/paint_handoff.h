#pragma once
// The meeting point of the views and the painting code. A view that shows the
// skin offers its texel-id buffer as a TexelSource; in Paint mode it hands
// its left drags (strokes) and right drags (colour picks) to a SkinPainter.

#include <cstdint>
#include <span>

namespace mok {

class TexelSource {
 public:
  virtual ~TexelSource() = default;
  // The client area that strokes are clipped to.
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Index (row * width + column) of the active skin's texel shown at a client
  // point counted from the top-left corner; -1 where no skin is shown and
  // outside the client area.
  virtual std::int32_t TexelAt(int x, int y) const = 0;
};

class SkinPainter {
 public:
  virtual ~SkinPainter() = default;
  // A stroke: the press, every move while the button is held, and the end
  // (release or loss of the mouse), which frees the stroke's mask and any
  // line snapshot.
  virtual void BeginStroke(const TexelSource& view, int x, int y) = 0;
  virtual void ContinueStroke(const TexelSource& view, int x, int y) = 0;
  virtual void EndStroke() = 0;
  // The colour pick of a right drag, at the press and at every move.
  virtual void PickColour(const TexelSource& view, int x, int y) = 0;
  // The stroke in progress in either view: one byte per texel of the active
  // skin, non-zero where painted. Empty while no stroke is in progress.
  virtual std::span<const std::uint8_t> StrokeMask() const = 0;
};

}  // namespace mok
