#include "render/mode_renderer.h"

#include <gtest/gtest.h>

#include "tests/render/mode_test_support.h"

namespace mok {
namespace {

using test::ModeScene;

class TestRenderer final : public ModeRenderer {
 public:
  using ModeRenderer::ModeRenderer;
  void DrawCornerButton(FrameBuffer&, bool) override {}
};

TEST(ModeRenderer, TheCurrentModeDrawsAndAnswersForTheView) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  Painter painter(scene.app);
  TestRenderer renderer(scene.app, painter);
  scene.UseMode(kModeFlatShaded);
  renderer.RenderMode(scene.view, 0, 15);
  EXPECT_EQ(scene.Id(45, 55), 0);
  EXPECT_FALSE(renderer.ModeUsesSkins());
  EXPECT_FALSE(renderer.ModeUsesShade());
  scene.UseMode(kModeTexturedGouraud);
  EXPECT_TRUE(renderer.ModeUsesSkins());
  EXPECT_TRUE(renderer.ModeUsesShade());
}

TEST(ModeRenderer, RepaintWithoutAStrokeChangesNothing) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  Painter painter(scene.app);
  TestRenderer renderer(scene.app, painter);
  scene.UseMode(kModeTexturedFlat);
  renderer.RenderMode(scene.view, 0, 15);
  const std::vector<std::uint32_t> before = scene.view.frame.colour;
  std::fill(scene.doc().activeSkin->pixels.begin(), scene.doc().activeSkin->pixels.end(), 0xFFFFFFu);
  renderer.RenderMode(scene.view, 3, 3);
  EXPECT_EQ(scene.view.frame.colour, before);
}

}  // namespace
}  // namespace mok
