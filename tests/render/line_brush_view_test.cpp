// A line-brush stroke over the 3D view in "Textured Flat Shaded", drawn the
// way the shell draws: a sent refresh renders the view before the painter
// goes on. Each move restores the last line and sends a render-only request
// while that line's texels are still marked, so the view recolours them.

#include <gtest/gtest.h>

#include <vector>

#include "panes/painting.h"
#include "tests/render/mode_test_support.h"

namespace mok {
namespace {

struct StrokeScene {
  test::ModeScene scene;
  Painter painter{scene.app};

  StrokeScene() {
    scene.AddFace(0, 2, 1);
    scene.LoadPlaceholderSkins();
    scene.UseMode(kModeTexturedFlat);
    scene.Render(kRefreshFinal);
    scene.app.flags.brushKind = BrushKind::Line;
    scene.refresh.onRefresh = [this](const RefreshRequest& request) { Draw(request); };
  }

  void Draw(const RefreshRequest& request) {
    if (!request.panes.contains(Pane::Iso) || request.redraw == Redraw::RepaintOnly) return;
    if (request.delivery == Delivery::Post) return;  // the event loop's business
    RenderJob job = MakeRenderJob(scene.app, scene.view);
    job.strokeMarks = &painter.StrokeMask();
    scene.state().current().render(job, request.kind, request.bits());
  }

  TexelIdView Ids() const {
    const FrameBuffer& frame = scene.view.frame;
    return {frame.ids.data(), frame.width, frame.height, frame.width};
  }

  // Window points over the face: the leftmost, the lowest and the rightmost.
  std::vector<WindowPoint> Corners() const {
    std::vector<WindowPoint> inside;
    for (int y = 0; y < scene.view.frame.height; ++y)
      for (int x = 0; x < scene.view.frame.width; ++x)
        if (Ids().TexelAt({x, y}) >= 0) inside.push_back({x, y});
    WindowPoint left = inside.front(), low = inside.front(), right = inside.front();
    for (WindowPoint p : inside) {
      if (p.x < left.x) left = p;
      if (p.y > low.y) low = p;
      if (p.x > right.x) right = p;
    }
    return {left, low, right};
  }
};

TEST(LineBrushInTheIsoView, MovingTheLineLeavesNoStalePixels) {
  StrokeScene stroke;
  const std::vector<WindowPoint> corners = stroke.Corners();
  ASSERT_TRUE(stroke.painter.BeginStroke(stroke.Ids(), corners[0]));
  stroke.painter.MoveStroke(stroke.Ids(), corners[1]);
  stroke.painter.MoveStroke(stroke.Ids(), corners[2]);
  const std::vector<std::uint32_t> shown = stroke.scene.view.frame.colour;
  stroke.painter.EndStroke();
  stroke.scene.Render(kRefreshFinal);
  int stale = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) stale += shown[i] != stroke.scene.view.frame.colour[i] ? 1 : 0;
  EXPECT_EQ(stale, 0);
  EXPECT_GT(stroke.scene.refresh.Count({kPaneSkinView | kPaneIsoView | kRenderWithoutRepaint, kRefreshPaint}), 0);
}

}  // namespace
}  // namespace mok
