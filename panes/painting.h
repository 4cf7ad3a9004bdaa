#pragma once
// Painting on the active skin from the skin view or the 3D view.
//
// Both views keep a texel-id buffer beside their picture: for each pixel the
// index (row * skin width + column) of the active skin's texel drawn there,
// or a negative value where none is. Painting finds texels only through it,
// so the two views share one engine: the view that holds the mouse hands its
// buffer and the window point (y counted from the top) to the Painter.
//
// A stroke lasts from a left press to the release or the loss of the mouse.
// Its mask (one byte per texel) lets each texel be painted at most once per
// stroke, whatever the zoom or the number of mouse events; it is also what
// the kind-3 refresh of both views recolours, so it is published through
// Painter::StrokeMask while the stroke lasts.
//
// Placeholders may be painted like any skin (Store and Revert act on them
// too); a skin without texels, or a point without a texel, paints nothing.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/application.h"
#include "core/skin_slot.h"
#include "raster/raster_context.h"

namespace mok {

// ---- Texel blend ----

struct PaintBlend {
  std::uint32_t colour = 0;  // the drawing colour, 0x00RRGGBB
  float strength = 1.0F;     // 0..1
  bool colorize = false;     // keep the texel's brightness, take the colour's hue and saturation
};

// The blend the application's settings ask for: customColors[activeColor],
// paintStrength as a float (kept within 0..1), colorizeMode.
PaintBlend CurrentBlend(const Application& app);

// Per channel t + (d - t) * k, truncated, fourth byte 0. With `colorize` the
// drawing colour first takes the texel's HSV value.
std::uint32_t PaintTexel(std::uint32_t texel, const PaintBlend& blend);

// Paints the square of side 2 * radius + 1 around texel `index` of `skin`,
// clipped to the skin, skipping texels already marked in `mask` and marking
// the ones it paints. Radius is kept within 0..2. Returns whether any texel
// was painted. An index outside the skin, or a mask smaller than the skin,
// paints nothing.
bool StampBrush(SkinSlot& skin, std::vector<std::uint8_t>& mask, std::int32_t index, int radius,
                const PaintBlend& blend);

// ---- Where a view shows texels ----

struct WindowPoint {
  int x = 0;
  int y = 0;  // counted from the top of the view
  bool operator==(const WindowPoint&) const = default;
};

// A view's texel-id buffer: `pitch` ids per row, rows bottom-up (row 0 is the
// bottom line of the view). The client area (clientWidth x height, at most
// pitch wide) is where points count and where lines are clipped.
struct TexelIdView {
  const std::int32_t* ids = nullptr;
  int pitch = 0;
  int height = 0;
  int clientWidth = 0;

  bool Contains(WindowPoint p) const;
  // The id under a window point; -1 outside the client area.
  std::int32_t TexelAt(WindowPoint p) const;
};

// ---- Strokes and colour picks ----

class Painter {
 public:
  explicit Painter(Application& app);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  // Left press in paint mode. Without an active skin there is no stroke and
  // the result is false. Point and Pencil stamp the press point; Line takes
  // the snapshot first.
  bool BeginStroke(const TexelIdView& view, WindowPoint press);
  // Mouse move during the stroke: Point stamps, Pencil draws from the
  // previous point, Line restores the snapshot and draws from the press point.
  void MoveStroke(const TexelIdView& view, WindowPoint point);
  // Release or loss of the mouse: frees the mask and the snapshot.
  void EndStroke();
  bool StrokeInProgress() const { return skin_ != nullptr; }
  // The current stroke's mask (one byte per texel of the active skin), empty
  // when no stroke is in progress.
  const std::vector<std::uint8_t>& StrokeMask() const { return mask_; }

  // Stamps the brush at the texel under a window point; refresh kind 3 on
  // the skin and 3D views when anything changed. Returns whether it did.
  bool StampAt(const TexelIdView& view, WindowPoint point);
  // A Pencil or Line segment in window pixels: clipped to the client area,
  // walked pixel by pixel, one stamp per pixel, one refresh at the end.
  // A segment of one point inside the area is a stamp. Returns whether a
  // refresh was asked for.
  bool PaintLine(const TexelIdView& view, WindowPoint from, WindowPoint to);

  // Right press or move in paint mode: the texel under the point becomes the
  // drawing colour. Returns whether the colour changed.
  bool PickAt(const TexelIdView& view, WindowPoint point);
  bool PickTexel(std::int32_t index);
  // Right release or loss of the mouse after picking.
  void EndPick();

 private:
  bool StampTexel(std::int32_t index);
  bool StrokeSkinValid() const;
  void RestoreLine();

  Application& app_;
  std::unique_ptr<RasterContext> clip_;  // only its clip limits are used
  SkinSlot* skin_ = nullptr;             // the skin the stroke paints
  std::vector<std::uint8_t> mask_;
  std::vector<std::uint32_t> lineSnapshot_;
  WindowPoint press_;
  WindowPoint previous_;
};

}  // namespace mok
