#pragma once
// The main window's client pane: tiles the four boxes ("Skin Box", "ISO
// Box", "Pal Box", "Gradient Box") by the pane layout, runs the splitter
// drag, answers "MOK-Refresh" and "MOK-BarAdjust", and routes wheel turns to
// the box under the mouse.
//
// The layout works in the window's logical pixels, which the toolkit scales
// to the screen: at 200 % the 35-pixel palette strip, the 24-pixel gradient
// strip and the 64-pixel snap margin cover twice as many device pixels, and
// the split fraction (the "Splitter" setting) means the same at every ratio.
// The 3D and skin views render at device pixels (PaneGrid).

#include <QWidget>

#include "app/pane_layout.h"
#include "app/refresh_dispatch.h"
#include "core/application.h"
#include "panes/gradient_box.h"
#include "panes/painting.h"
#include "shell/gradient_box_widget.h"
#include "shell/iso_view_widget.h"
#include "shell/palette_box_widget.h"
#include "shell/skin_view_widget.h"

namespace mok::shell {

class ShellWindow final : public QWidget, public SplitterShell, private RefreshTargets {
  Q_OBJECT
 public:
  // Reads "Pal On Top"; the skin and 3D boxes stay hidden until the first
  // refresh after the main window is shown.
  ShellWindow(Application& app, double splitFraction, QWidget* parent = nullptr);

  // "MOK-Refresh": renders and redraws the boxes the request names.
  void HandleRefresh(const RefreshRequest& request);
  // "MOK-BarAdjust": 0 begins a splitter drag, 1 lays the boxes out again at
  // the current split and renders them in full.
  void BarAdjust(int wParam);
  // A new "Pal On Top" (the Preferences dialog).
  void SetPalOnTop(int palOnTop);
  // The system colours changed: the boxes take the new button colours.
  void TakeSystemColours();

  const PaneLayout& layout() const { return layout_; }
  SkinViewWidget& skinBox() { return *skinBox_; }
  IsoViewWidget& isoBox() { return *isoBox_; }
  PaletteBoxWidget& palBox() { return *palBox_; }
  GradientBoxWidget& gradientBox() { return *gradientBox_; }
  bool splitterDragging() const { return gradientBox_->box().dragState() == GradientBox::kSplitterDrag; }

  // SplitterShell.
  void BeginSplitterDrag() override;
  void ApplySplitFraction(double fraction) override;
  void SwapDisplays() override;
  double SplitFraction() const override { return layout_.splitFraction; }
  int RenderModeIndex() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // RefreshTargets.
  void RenderBox(Pane pane, int kind, int flags) override;
  void RedrawBox(Pane pane) override;

  PaneWidget* BoxOf(Pane pane);
  PaneWidget* BoxOf(PaneBox box);
  void PlaceBoxes();
  void PostRefresh(PaneSet panes);
  void EndSplitterDrag();

  Application& app_;
  Painter painter_;
  PaneLayout layout_;
  SkinViewWidget* skinBox_;
  IsoViewWidget* isoBox_;
  PaletteBoxWidget* palBox_;
  GradientBoxWidget* gradientBox_;
};

}  // namespace mok::shell
