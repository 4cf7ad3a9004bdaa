#pragma once
// The gradient box ("Gradient Box"): the 24-pixel strip between the two
// views. Its bar sets the paint strength (left button) and the display gamma
// (right button); the band below it starts the shell's splitter drag (left)
// or swaps the views (right); the two small buttons at the bottom recall
// (left) or store (right) split positions A and B.
//
// Layout, H the box height, rows from the top:
//   bar     rows 2 .. H - 28 (x 2 .. W - 3); presses anywhere above H - 27
//   band    rows H - 27 .. H - 13
//   buttons rows H - 12 .. H - 1: A the left half, B the right half
// A box shorter than 29 rows has no bar rows; one shorter than 28 takes no
// bar presses at all.
//
// The splitter drag itself and the relayout belong to the shell: the box only
// asks for them through SplitterShell and shows the drag (state 2002) it is
// told about.

#include <cstdint>

#include "core/application.h"
#include "panes/cursor_control.h"
#include "render/shading.h"
#include "panes/box_canvas.h"
#include "panes/box_mouse.h"

namespace mok {

// What the gradient box asks of the shell.
class SplitterShell {
 public:
  virtual ~SplitterShell() = default;
  // "MOK-BarAdjust" (0, 0): the shell starts its splitter drag (and tells the
  // box with SetSplitterDrag).
  virtual void BeginSplitterDrag() = 0;
  // A stored position chosen: `splitFraction` becomes `fraction`, then
  // "MOK-BarAdjust" (1, 0) lays the panes out again.
  virtual void ApplySplitFraction(double fraction) = 0;
  // The "&Swap Displays" command.
  virtual void SwapDisplays() = 0;
  virtual double SplitFraction() const = 0;
  // The 3D view's current render mode, 0..9.
  virtual int RenderModeIndex() const = 0;
};

// Modes whose picture depends on the gamma table: "Flat Shaded", "Gouraud
// Shaded", "Phong Shaded" and the three textured-and-shaded modes.
bool IsShadedRenderMode(int index);

// Gamma exponent of a bar fraction f (0 at the top): (1 - f)^2 * 20.
double GammaFromBarFraction(double f);

class GradientBox final : public BoxMouse {
 public:
  static constexpr int kIdle = 0;
  static constexpr int kStrengthDrag = 2000;
  static constexpr int kGammaDrag = 2001;
  static constexpr int kSplitterDrag = 2002;
  static constexpr int kSwapPress = 2003;
  static constexpr int kRecallA = 2004;
  static constexpr int kStoreA = 2005;
  static constexpr int kRecallB = 2006;
  static constexpr int kStoreB = 2007;

  GradientBox(Application& app, ShadingTables& shading, PaneHost& host, SplitterShell& shell);

  void Resize(int width, int height);
  void Render();
  const BoxCanvas& canvas() const { return canvas_; }

  // The shell's splitter drag begins (true) or ends (false); the band shows
  // sunken meanwhile and presses are ignored.
  void SetSplitterDrag(bool on);

  int dragState() const { return dragState_; }
  double presetA() const { return presetA_; }
  double presetB() const { return presetB_; }

  ButtonColours buttonColours;

 private:
  int BarLimit() const { return canvas_.height() - 27; }
  double BarFraction(int y) const;
  void Press(const PaneEvent& event) override;
  void PressBar(const PaneEvent& event);
  void PressButtons(const PaneEvent& event);
  void Move(const PaneEvent& event) override;
  void Release(const PaneEvent& event) override;
  void CaptureLost() override;
  void FollowBar(int y, RefreshKind kind);
  void RefreshShadedView(RefreshKind kind);
  void EndBarDrag();
  void ShowCursorAtPress();
  void Redraw(RefreshKind kind);

  void DrawBar();
  void DrawBandAndButtons();

  Application& app_;
  ShadingTables& shading_;
  PaneHost& host_;
  SplitterShell& shell_;
  BoxCanvas canvas_;
  int dragState_ = kIdle;
  PaneButton dragButton_ = PaneButton::None;
  int pressX_ = 0;
  int pressY_ = 0;
  double presetA_ = 0.25;
  double presetB_ = 0.75;
};

}  // namespace mok
