#include "panes/palette_box.h"

#include <algorithm>

#include "core/refresh.h"
#include "core/settings.h"
#include "render/shading.h"
#include "panes/user_colours.h"

namespace mok {

using namespace palette_layout;

namespace {

inline constexpr int kBrightnessBar = 3;
inline constexpr int kHueRows = 16;        // rows 0..15 fade the saturation in
inline constexpr double kHueFieldTopValue = 0.99;
inline constexpr std::uint32_t kMarkerDark = 0x000000;
inline constexpr std::uint32_t kMarkerLight = 0xFFFFFF;

int ChannelShift(int bar) { return 16 - 8 * bar; }  // red, green, blue

std::uint32_t Grey(int value) {
  const auto v = static_cast<std::uint32_t>(value) & 0xFF;
  return v << 16 | v << 8 | v;
}

}  // namespace

std::uint32_t BarColour(int bar, int column, int pickerWidth, std::uint32_t colour) {
  const int value = column * 256 / pickerWidth;
  if (bar == kBrightnessBar) return Grey(value);
  const int shift = ChannelShift(bar);
  return (colour & kUserColourMask & ~(0xFFU << shift)) | (static_cast<std::uint32_t>(value) & 0xFF) << shift;
}

int BarValue(int bar, std::uint32_t colour) {
  if (bar == kBrightnessBar) return static_cast<int>(RgbToHsv(UnpackColour(colour)).v * 256);
  return static_cast<int>((colour >> ChannelShift(bar)) & 0xFF);
}

int MarkerColumn(int value, int pickerWidth) {
  if (pickerWidth < 1) return -1;
  // The smallest j with j * 256 / P >= value.
  const int first = (std::max(value, 0) * pickerWidth + 255) / 256;
  return std::min(first, pickerWidth - 1);
}

std::uint32_t ColourFromBar(int bar, int column, int pickerWidth, std::uint32_t colour) {
  if (bar != kBrightnessBar) return BarColour(bar, column, pickerWidth, colour);
  Hsv hsv = RgbToHsv(UnpackColour(colour));
  hsv.v = static_cast<double>(column) / pickerWidth;
  return PackColour(HsvToRgb(hsv));
}

std::uint32_t HueFieldColour(int column, int row, int pickerWidth) {
  Hsv hsv;
  hsv.h = static_cast<double>(column) * 360.0 / pickerWidth;
  if (row < kHueRows) {
    hsv.s = static_cast<double>(row) / kHueRows;
    hsv.v = kHueFieldTopValue;
  } else {
    hsv.s = 1.0;
    hsv.v = row == kHueRows ? kHueFieldTopValue : static_cast<double>(kRows - 1 - row) / kHueRows;
  }
  return PackColour(HsvToRgb(hsv));
}

PaletteBox::PaletteBox(Application& app, PaneHost& host) : app_(app), host_(host) {
  pickerType_ = Read(app_.settings, setting::PickerType) == 0 ? PickerType::Bars : PickerType::HueField;
}

PaletteBox::~PaletteBox() { Write(app_.settings, setting::PickerType, static_cast<std::int32_t>(pickerType_)); }

void PaletteBox::Resize(int width, int height) { canvas_.Resize(width, height); }

// ---- Picture ----

void PaletteBox::PutPicture(int x, int y, std::uint32_t colour) {
  if (x < 0 || y < 0 || x > canvas_.width() - 3 || y >= kRows) return;
  canvas_.Set(x + kInset, y + kInset, colour);
}

void PaletteBox::Render() {
  canvas_.Fill({0, 0, canvas_.width(), canvas_.height()}, buttonColours.face);
  DrawSwatches();
  if (pickerWidth() >= 1) {
    if (pickerType_ == PickerType::Bars) DrawBars();
    else DrawHueField();
  }
  DrawTypeButtons();
}

void PaletteBox::DrawSwatches() {
  for (int i = 0; i < 8; ++i) {
    const int x = (i % 4) * kSwatchCell + kInset;
    const int y = (i / 4) * kSwatchCell + kInset;
    canvas_.Bevel({x, y, kSwatchCell, kSwatchCell}, i == app_.activeColor, buttonColours);
    canvas_.Fill({x + 2, y + 2, kSwatchSquare, kSwatchSquare}, app_.customColors[static_cast<std::size_t>(i)]);
  }
}

void PaletteBox::DrawBars() {
  const int p = pickerWidth();
  const std::uint32_t active = app_.customColors[static_cast<std::size_t>(std::clamp(app_.activeColor, 0, 7))];
  for (int bar = 0; bar < 4; ++bar) {
    const int top = bar * kBarHeight;
    for (int j = 0; j < p; ++j) {
      const std::uint32_t colour = BarColour(bar, j, p, active);
      for (int y = top; y < top + kBarHeight; ++y) PutPicture(kPickerLeft + j, y, colour);
    }
    const int marker = MarkerColumn(BarValue(bar, active), p);
    const std::uint32_t stripes[3] = {kMarkerDark, kMarkerLight, kMarkerDark};
    for (int k = 0; k < 3 && marker + k < p; ++k) {
      for (int y = top; y < top + kBarHeight; ++y) PutPicture(kPickerLeft + marker + k, y, stripes[k]);
    }
  }
}

void PaletteBox::DrawHueField() {
  const int p = pickerWidth();
  for (int y = 0; y < kRows; ++y) {
    for (int j = 0; j < p; ++j) PutPicture(kPickerLeft + j, y, HueFieldColour(j, y, p));
  }
}

void PaletteBox::DrawTypeButtons() {
  const int x = canvas_.width() - kTypeButtonFromRight + kInset;
  const int glyph = kSwatchSquare;
  canvas_.Bevel({x, kInset, kSwatchCell, kSwatchCell}, pickerType_ == PickerType::Bars, buttonColours);
  canvas_.Bevel({x, kInset + kSwatchCell, kSwatchCell, kSwatchCell}, pickerType_ == PickerType::HueField,
                buttonColours);
  // Bars glyph: four small ramps, three rows each; hue glyph: the field in 12 x 12.
  for (int j = 0; j < glyph; ++j) {
    for (int row = 0; row < glyph; ++row) {
      canvas_.Set(x + 2 + j, kInset + 2 + row, BarColour(row / 3, j, glyph, 0));
      canvas_.Set(x + 2 + j, kInset + kSwatchCell + 2 + row, HueFieldColour(j, row * kRows / glyph, glyph));
    }
  }
}

// ---- Mouse ----

PaletteBox::Point PaletteBox::PicturePoint(const PaneEvent& event) const {
  return {std::clamp(event.x - kInset, 0, canvas_.width() - 3), std::max(event.y - kInset, 0)};
}

void PaletteBox::Press(const PaneEvent& event) {
  if (dragState_ != kIdle || canvas_.width() < 3 || canvas_.height() < 1) return;
  if (event.button != PaneButton::Left && event.button != PaneButton::Right) return;
  const Point p = PicturePoint(event);
  const int typeButtons = canvas_.width() - kTypeButtonFromRight;
  dragButton_ = event.button;
  if (event.button == PaneButton::Right) {
    if (p.x >= kPickerLeft) {
      dragState_ = kRightOnPicker;
      SetPickerType(pickerType_ == PickerType::Bars ? PickerType::HueField : PickerType::Bars);
    } else {
      dragState_ = kRightOnSwatches;
    }
  } else if (p.x < kPickerLeft) {
    dragState_ = kSwatchDrag;
    SelectSwatch(p);
  } else if (p.x < typeButtons) {
    dragState_ = kPickerDrag;
    pressBar_ = std::min(p.y / kBarHeight, kBrightnessBar);
    PickFromPicker(p);
  } else {
    dragState_ = kTypeButtonPress;
    SetPickerType(p.y > kSwatchCell ? PickerType::HueField : PickerType::Bars);
  }
  host_.CaptureMouse();
}

void PaletteBox::Move(const PaneEvent& event) {
  if (dragState_ != kSwatchDrag && dragState_ != kPickerDrag) return;
  const Point p = PicturePoint(event);
  if (dragState_ == kSwatchDrag) {
    SelectSwatch(p);
  } else if (pickerWidth() >= 1) {
    PickFromPicker({std::clamp(p.x, kPickerLeft, kPickerLeft + pickerWidth() - 1), p.y});
  }
}

void PaletteBox::Release(const PaneEvent& event) {
  if (dragState_ == kIdle || event.button != dragButton_) return;
  const bool openDialog = dragState_ == kRightOnSwatches;
  EndDrag();
  if (openDialog) OpenColourDialog();
}

void PaletteBox::CaptureLost() {
  if (dragState_ == kIdle) return;
  dragState_ = kIdle;
  dragButton_ = PaneButton::None;
}

void PaletteBox::EndDrag() {
  dragState_ = kIdle;
  dragButton_ = PaneButton::None;
  host_.ReleaseMouse();
}

// The press row picks the swatch row; a box taller than the picture still
// selects one of the eight colours.
void PaletteBox::SelectSwatch(Point p) {
  const int x = std::clamp(p.x, 0, kPickerLeft - 1);
  const int y = std::clamp(p.y, 0, kRows - 1);
  const int index = (y / kSwatchCell) * 4 + x / kSwatchCell;
  if (index == app_.activeColor) return;
  app_.activeColor = index;
  RequestRedraw();
}

void PaletteBox::PickFromPicker(Point p) {
  const int width = pickerWidth();
  if (width < 1) return;
  const int column = p.x - kPickerLeft;
  const int row = std::clamp(p.y, 0, kRows - 1);
  const std::uint32_t active = app_.customColors[static_cast<std::size_t>(std::clamp(app_.activeColor, 0, 7))];
  const std::uint32_t picked = pickerType_ == PickerType::Bars ? ColourFromBar(pressBar_, column, width, active)
                                                               : HueFieldColour(column, row, width);
  if (picked != active) StoreActiveColour(picked);
}

void PaletteBox::OpenColourDialog() {
  if (!dialogSlotsFilled_) {
    std::copy(app_.customColors.begin(), app_.customColors.end(), dialogSlots_.begin());
    std::fill(dialogSlots_.begin() + 8, dialogSlots_.end(), 0U);
    dialogSlotsFilled_ = true;
  }
  std::uint32_t colour = app_.customColors[static_cast<std::size_t>(std::clamp(app_.activeColor, 0, 7))];
  if (app_.prompter.ChooseColor(colour, dialogSlots_)) StoreActiveColour(colour);
}

void PaletteBox::StoreActiveColour(std::uint32_t colour) {
  const int index = std::clamp(app_.activeColor, 0, 7);
  app_.customColors[static_cast<std::size_t>(index)] = colour & kUserColourMask;
  RequestRedraw();
  AfterUserColourChange(app_, index);
}

void PaletteBox::SetPickerType(PickerType type) {
  pickerType_ = type;
  RequestRedraw();
}

void PaletteBox::RequestRedraw() { Notify(app_, Change::Palette); }

}  // namespace mok
