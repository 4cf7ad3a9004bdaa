#pragma once
// The palette box ("Pal Box"): the eight user colours as swatches, the
// drawing colour (`activeColor`) and a built-in picker for it, either four
// bars (red, green, blue, brightness) or a hue field.
//
// Layout, in picture coordinates: the picture is (W - 2) x 32 pixels drawn at
// client point (1, 1), so a client point is first reduced by 1. Swatches take
// x 0..63 (colours 0-3 in the top row, 4-7 in the bottom row, 16 x 16 cells
// with a 12 x 12 colour square inset by 2); the picker x 64..W-19, P = W - 82
// columns wide; the two type buttons (bars above, hue field below) sit at
// x = W - 18, 16 x 16 each.
//
// Every colour change ends with the user-colour rule (the views redraw, only
// their background for colour 7) after the box asked for its own redraw.

#include <array>
#include <cstdint>

#include "core/application.h"
#include "panes/cursor_control.h"
#include "panes/box_canvas.h"
#include "panes/box_mouse.h"

namespace mok {

namespace palette_layout {
inline constexpr int kInset = 1;         // the picture's offset in the client area
inline constexpr int kRows = 32;         // picture height
inline constexpr int kSwatchCell = 16;
inline constexpr int kSwatchSquare = 12;
inline constexpr int kPickerLeft = 64;
inline constexpr int kNonPickerWidth = 82;  // P = W - 82
inline constexpr int kTypeButtonFromRight = 18;
inline constexpr int kBarHeight = 8;
}  // namespace palette_layout

enum class PickerType { Bars = 0, HueField = 1 };

// Bar 0..3 = red, green, blue, brightness.
// Column j of a bar P columns wide: value j * 256 / P in the bar's channel,
// the others those of `colour`; the brightness bar is grey j * 256 / P.
std::uint32_t BarColour(int bar, int column, int pickerWidth, std::uint32_t colour);
// The colour's value in a bar: its channel, or HSV brightness * 256.
int BarValue(int bar, std::uint32_t colour);
// The first column whose value reaches `value`, or the last column when none
// does (a picker narrower than 256 skips values).
int MarkerColumn(int value, int pickerWidth);
// `colour` with the bar's value set from picker column `column`: the channel
// becomes column * 256 / P; for brightness the HSV value becomes column / P.
std::uint32_t ColourFromBar(int bar, int column, int pickerWidth, std::uint32_t colour);
// Hue column * 360 / P degrees; rows 0..15 saturation row / 16 at value 0.99,
// row 16 full saturation at 0.99, rows 17..31 full saturation at value
// (31 - row) / 16.
std::uint32_t HueFieldColour(int column, int row, int pickerWidth);

class PaletteBox final : public BoxMouse {
 public:
  // Drag states.
  static constexpr int kIdle = 0;
  static constexpr int kSwatchDrag = 100;
  static constexpr int kPickerDrag = 101;
  static constexpr int kRightOnSwatches = 400;
  static constexpr int kRightOnPicker = 401;
  static constexpr int kTypeButtonPress = 402;

  // Reads "PickerType" (default 1).
  PaletteBox(Application& app, PaneHost& host);
  // Writes "PickerType" back.
  ~PaletteBox() override;
  PaletteBox(const PaletteBox&) = delete;
  PaletteBox& operator=(const PaletteBox&) = delete;

  void Resize(int width, int height);
  void Render();
  const BoxCanvas& canvas() const { return canvas_; }


  PickerType pickerType() const { return pickerType_; }
  int dragState() const { return dragState_; }
  int pickerWidth() const { return canvas_.width() - palette_layout::kNonPickerWidth; }

  ButtonColours buttonColours;

 private:
  struct Point {
    int x = 0;
    int y = 0;
  };
  Point PicturePoint(const PaneEvent& event) const;
  void Press(const PaneEvent& event) override;
  void Move(const PaneEvent& event) override;
  void Release(const PaneEvent& event) override;
  void CaptureLost() override;
  void SelectSwatch(Point p);
  void PickFromPicker(Point p);
  void OpenColourDialog();
  void StoreActiveColour(std::uint32_t colour);
  void SetPickerType(PickerType type);
  void RequestRedraw();
  void EndDrag();

  void DrawSwatches();
  void DrawBars();
  void DrawHueField();
  void DrawTypeButtons();
  void PutPicture(int x, int y, std::uint32_t colour);

  Application& app_;
  PaneHost& host_;
  BoxCanvas canvas_;
  PickerType pickerType_ = PickerType::HueField;
  int dragState_ = kIdle;
  PaneButton dragButton_ = PaneButton::None;
  int pressBar_ = 0;
  bool dialogSlotsFilled_ = false;
  std::array<std::uint32_t, 16> dialogSlots_{};
};

}  // namespace mok
