#include "panes/gradient_box.h"

#include <algorithm>

#include "core/refresh.h"

namespace mok {
namespace {

inline constexpr int kBarTop = 2;
inline constexpr int kBarSide = 2;          // columns left free on each side of the bar
inline constexpr int kBandFromBottom = 27;  // the band's first row is H - 27
inline constexpr int kButtonsFromBottom = 12;
inline constexpr int kBandRows = kBandFromBottom - kButtonsFromBottom;
inline constexpr double kMaxGamma = 20.0;

std::uint32_t Grey(std::uint8_t value) {
  const std::uint32_t v = value;
  return v << 16 | v << 8 | v;
}

}  // namespace

bool IsShadedRenderMode(int index) { return (index >= 2 && index <= 4) || (index >= 7 && index <= 9); }

double GammaFromBarFraction(double f) {
  const double up = 1.0 - std::clamp(f, 0.0, 1.0);
  return up * up * kMaxGamma;
}

GradientBox::GradientBox(Application& app, ShadingTables& shading, PaneHost& host, SplitterShell& shell)
    : app_(app), shading_(shading), host_(host), shell_(shell) {}

void GradientBox::Resize(int width, int height) { canvas_.Resize(width, height); }

// ---- Picture ----

void GradientBox::Render() {
  canvas_.Fill({0, 0, canvas_.width(), canvas_.height()}, buttonColours.face);
  DrawBar();
  DrawBandAndButtons();
}

// The bar fills from its bottom to paintStrength of its height; row d of the
// fill shows g[d * 255 / filled], so the fill also pictures the gamma curve.
void GradientBox::DrawBar() {
  const int rows = canvas_.height() - 29;
  if (rows <= 0) return;
  const int filled = std::clamp(static_cast<int>(std::clamp(app_.paintStrength, 0.0, 1.0) * rows), 0, rows);
  const int bottom = canvas_.height() - 28;
  for (int d = 0; d < rows; ++d) {
    const std::uint32_t colour = d < filled ? Grey(shading_.gammaTable[static_cast<std::size_t>(d * 255 / filled)]) : 0;
    canvas_.Fill({kBarSide, bottom - d, canvas_.width() - 2 * kBarSide, 1}, colour);
  }
}

void GradientBox::DrawBandAndButtons() {
  const int width = canvas_.width();
  const int band = canvas_.height() - kBandFromBottom;
  const int buttons = canvas_.height() - kButtonsFromBottom;
  const int half = width / 2;
  canvas_.Bevel({0, band, width, kBandRows}, dragState_ == kSplitterDrag || dragState_ == kSwapPress, buttonColours);
  // Grip: two short grooves across the band's middle.
  for (int k = 0; k < 2; ++k) {
    canvas_.Fill({4, band + 6 + 2 * k, width - 8, 1}, buttonColours.shadow);
    canvas_.Fill({4, band + 7 + 2 * k, width - 8, 1}, buttonColours.highlight);
  }
  canvas_.Bevel({0, buttons, half, kButtonsFromBottom}, dragState_ == kRecallA || dragState_ == kStoreA,
                buttonColours);
  canvas_.Bevel({half, buttons, width - half, kButtonsFromBottom}, dragState_ == kRecallB || dragState_ == kStoreB,
                buttonColours);
  // One mark per button: near the left edge for A, near the right edge for B.
  canvas_.Fill({3, buttons + 5, 2, 2}, buttonColours.text);
  canvas_.Fill({width - 5, buttons + 5, 2, 2}, buttonColours.text);
}

// ---- Mouse ----

double GradientBox::BarFraction(int y) const {
  if (BarLimit() <= 0) return 0.0;
  return std::clamp(static_cast<double>(y) / BarLimit(), 0.0, 1.0);
}

void GradientBox::Press(const PaneEvent& event) {
  if (dragState_ != kIdle || canvas_.width() < 1 || canvas_.height() < 1) return;
  if (event.button != PaneButton::Left && event.button != PaneButton::Right) return;
  if (event.y < BarLimit()) {
    PressBar(event);
  } else if (event.y < canvas_.height() - kButtonsFromBottom) {
    if (event.button == PaneButton::Left) {
      shell_.BeginSplitterDrag();
      return;
    }
    dragState_ = kSwapPress;
    dragButton_ = event.button;
    host_.CaptureMouse();
    Redraw(kRefreshFinal);
  } else {
    PressButtons(event);
  }
}

void GradientBox::PressBar(const PaneEvent& event) {
  dragState_ = event.button == PaneButton::Left ? kStrengthDrag : kGammaDrag;
  dragButton_ = event.button;
  pressX_ = event.x;
  pressY_ = event.y;
  host_.CaptureMouse();
  HideCursorFully(host_);
  FollowBar(event.y, kRefreshQuick);
}

void GradientBox::PressButtons(const PaneEvent& event) {
  const bool left = event.x < canvas_.width() / 2;
  if (event.button == PaneButton::Left) dragState_ = left ? kRecallA : kRecallB;
  else dragState_ = left ? kStoreA : kStoreB;
  dragButton_ = event.button;
  host_.CaptureMouse();
  Redraw(kRefreshFinal);
}

void GradientBox::Move(const PaneEvent& event) {
  if (dragState_ == kStrengthDrag || dragState_ == kGammaDrag) FollowBar(event.y, kRefreshQuick);
}

// Strength: the top of the bar is full strength. Gamma: the tables follow at
// once, and the 3D view with them when its mode is shaded.
void GradientBox::FollowBar(int y, RefreshKind kind) {
  const double f = BarFraction(y);
  if (dragState_ == kStrengthDrag) {
    app_.paintStrength = 1.0 - f;
  } else {
    shading_.SetGamma(GammaFromBarFraction(f));
    RefreshShadedView(kind);
  }
  Redraw(kind);
}

void GradientBox::RefreshShadedView(RefreshKind kind) {
  if (IsShadedRenderMode(shell_.RenderModeIndex())) Notify(app_, Change::Shading, kind);
}

void GradientBox::Release(const PaneEvent& event) {
  if (dragState_ == kIdle || dragState_ == kSplitterDrag || event.button != dragButton_) return;
  const int ended = dragState_;
  if (ended == kStrengthDrag || ended == kGammaDrag) {
    EndBarDrag();
    if (ended == kGammaDrag) RefreshShadedView(kRefreshFinal);
    return;
  }
  dragState_ = kIdle;
  dragButton_ = PaneButton::None;
  host_.ReleaseMouse();
  switch (ended) {
    case kSwapPress: shell_.SwapDisplays(); break;
    case kRecallA: shell_.ApplySplitFraction(presetA_); break;
    case kRecallB: shell_.ApplySplitFraction(presetB_); break;
    case kStoreA: presetA_ = shell_.SplitFraction(); break;
    case kStoreB: presetB_ = shell_.SplitFraction(); break;
    default: break;
  }
  Redraw(kRefreshFinal);
}

void GradientBox::EndBarDrag() {
  dragState_ = kIdle;
  dragButton_ = PaneButton::None;
  host_.ReleaseMouse();
  ShowCursorAtPress();
  Redraw(kRefreshFinal);
}

// A bar drag hid the cursor where it was pressed; it comes back there.
void GradientBox::ShowCursorAtPress() {
  host_.WarpCursor(pressX_, pressY_);
  ShowCursorFully(host_);
}

// The platform took the mouse away: a bar drag ends as on release (a gamma
// drag rebuilding its tables once more); presses on the band and buttons are
// dropped without their action.
void GradientBox::CaptureLost() {
  const int lost = dragState_;
  if (lost == kIdle || lost == kSplitterDrag) return;
  dragState_ = kIdle;
  dragButton_ = PaneButton::None;
  if (lost == kStrengthDrag || lost == kGammaDrag) ShowCursorAtPress();
  if (lost == kGammaDrag) {
    shading_.RebuildGammaTable();
    Notify(app_, Change::Shading);
  }
  Redraw(kRefreshFinal);
}

void GradientBox::SetSplitterDrag(bool on) {
  if (on) {
    dragState_ = kSplitterDrag;
  } else if (dragState_ == kSplitterDrag) {
    dragState_ = kIdle;
  }
}

void GradientBox::Redraw(RefreshKind kind) { Notify(app_, Change::Gradient, kind); }

}  // namespace mok
