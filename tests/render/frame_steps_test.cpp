#include "render/frame_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include <memory>

namespace mok {
namespace {

TEST(RefreshKinds, KindTwoDrawsAsAFullFrameInTheThreeDView) {
  EXPECT_EQ(NormaliseRefreshKind(0), 0);
  EXPECT_EQ(NormaliseRefreshKind(1), 1);
  EXPECT_EQ(NormaliseRefreshKind(2), 0);
  EXPECT_EQ(NormaliseRefreshKind(3), 3);
  EXPECT_EQ(NormaliseRefreshKind(9), 0);
  EXPECT_EQ(NormaliseRefreshKind(-1), 0);
}

struct CountingPriority : FramePriority {
  int raised = 0;
  int restored = 0;
  void Raise() override { ++raised; }
  void Restore() override { ++restored; }
};

TEST(FramePriority, IsRestoredWhenAFrameStopsEarly) {
  CountingPriority priority;
  auto frame = [&](bool stopEarly) {
    ScopedFramePriority scope(&priority);
    if (stopEarly) return;
  };
  frame(true);
  frame(false);
  EXPECT_EQ(priority.raised, 2);
  EXPECT_EQ(priority.restored, 2);
  ScopedFramePriority none(nullptr);  // headless: nothing to raise
}

FrameBuffer SmallFrame(int width, int height) {
  FrameBuffer frame;
  ResizeFrameBuffer(frame, width, height, false);
  return frame;
}

TEST(FrameBuffer, WidthIsRoundedUpToFourAndSizesAreBounded) {
  EXPECT_EQ(FrameWidthFor(101), 104);
  EXPECT_EQ(FrameWidthFor(100), 100);
  EXPECT_EQ(FrameWidthFor(0), 0);
  FrameBuffer frame;
  ResizeFrameBuffer(frame, 101, 30, true);
  EXPECT_EQ(frame.width, 104);
  EXPECT_EQ(frame.colour.size(), 104u * 30);
  EXPECT_EQ(frame.depth.size(), 104u * 30);
  EXPECT_TRUE(frame.hasShade());
  SetShadeBuffer(frame, false);
  EXPECT_FALSE(frame.hasShade());
  ResizeFrameBuffer(frame, 40000, 5000, false);
  EXPECT_EQ(frame.width, kMaxFrameWidth);
  EXPECT_EQ(frame.height, kMaxFrameHeight);
  ResizeFrameBuffer(frame, -5, 10, false);
  EXPECT_FALSE(frame.hasArea());
}

TEST(ClearBuffers, QuickPathKeepsTheIds) {
  FrameBuffer frame = SmallFrame(4, 2);
  frame.ids.assign(8, 7);
  frame.depth.assign(8, 3);
  ClearBuffers(frame, 0x123456, false);
  EXPECT_EQ(frame.colour[5], 0x123456u);
  EXPECT_EQ(frame.depth[5], 0xFFFF);
  EXPECT_EQ(frame.ids[5], 7);
  ClearBuffers(frame, 0x123456, true);
  EXPECT_EQ(frame.ids[5], -1);
}

TEST(ClearBuffers, EveryPixelTakesTheBackgroundAndNothingBeyond) {
  FrameBuffer frame = SmallFrame(7, 3);
  frame.colour.assign(frame.pixelCount() + 1, 5);
  ClearBuffers(frame, 0xABCDEF, true);
  EXPECT_EQ(std::count(frame.colour.begin(), frame.colour.end(), 0xABCDEFu),
            static_cast<std::ptrdiff_t>(frame.pixelCount()));
  EXPECT_EQ(frame.colour.back(), 5u);
}

TEST(RampFor, MappingModeShowsSelectionAndEditingPaintModeDoesNot) {
  MeshTriangle face;
  EXPECT_EQ(RampFor(face, true), 0);
  face.state = kFaceSelected;
  EXPECT_EQ(RampFor(face, true), 1);
  EXPECT_EQ(RampFor(face, false), 0);
  face.state = kFaceSelected | kFaceEditing;
  EXPECT_EQ(RampFor(face, true), 2);
  face.state = kFaceEditing;
  EXPECT_EQ(RampFor(face, true), 2);
  face.state = kFaceHidden;  // any other state bit counts as selected
  EXPECT_EQ(RampFor(face, true), 1);
}

TEST(RampColour, IndexesTheRampBlocks) {
  ShadeRamps ramps{};
  ramps[256 + 10] = 0xABCDEF;
  EXPECT_EQ(RampColour(ramps, 1, 10), 0xABCDEFu);
}

TEST(PlanTexturePasses, DefaultSkinFirstThenSlotsInOrder) {
  auto doc = std::make_unique<MeshDocument>();
  doc->ResetSkinSlots();  // 16 slots
  doc->triangleCount = 5;
  const std::uint8_t channels[5] = {3, 20, 0, 3, 16};
  for (int i = 0; i < 5; ++i) doc->triangles[static_cast<std::size_t>(i)].textureNum = channels[i];
  VisibleTriangles visible;
  visible.taken = {4, 3, 2, 1, 0};
  std::vector<TexturePass> passes = PlanTexturePasses(*doc, visible);
  ASSERT_EQ(passes.size(), 3u);
  EXPECT_EQ(passes[0].channel, -1);
  EXPECT_EQ(passes[0].skin, &doc->defaultSkin);
  EXPECT_EQ(passes[0].triangles, (std::vector<int>{4, 1}));
  EXPECT_EQ(passes[1].channel, 0);
  EXPECT_EQ(passes[1].skin, doc->skinSlots[0].get());
  EXPECT_EQ(passes[2].channel, 3);
  EXPECT_EQ(passes[2].triangles, (std::vector<int>{3, 0}));
}

TEST(CornerAttributes, TexelsTruncateAndShift) {
  auto doc = std::make_unique<MeshDocument>();
  doc->uvVertices[7] = {3.7f, -2.5f};
  MeshTriangle face;
  face.uvIndex[1] = 7;
  face.uvIndex[2] = -3;
  EXPECT_EQ(CornerTexel(*doc, face, 1).u, 3 << 16);
  EXPECT_EQ(CornerTexel(*doc, face, 1).v, -(2 << 16));
  EXPECT_EQ(CornerTexel(*doc, face, 2).u, 0);  // a bad index reads nothing
  // Texels no 16.16 attribute can carry saturate; NaN reads as 0.
  doc->uvVertices[7] = {1e30f, -std::numeric_limits<float>::infinity()};
  EXPECT_EQ(CornerTexel(*doc, face, 1).u, kMaxCornerTexel * 65536);
  EXPECT_EQ(CornerTexel(*doc, face, 1).v, kMinCornerTexel * 65536);
  doc->uvVertices[7] = {std::numeric_limits<float>::quiet_NaN(), 32768.5f};
  EXPECT_EQ(CornerTexel(*doc, face, 1).u, 0);
  EXPECT_EQ(CornerTexel(*doc, face, 1).v, kMaxCornerTexel * 65536);
  face.envUv[0][0] = 200;
  face.envUv[0][1] = 17;
  EXPECT_EQ(CornerMapUv(face, 0).u, 200 << 16);
  EXPECT_EQ(CornerMapUv(face, 0).v, 17 << 16);
}

TEST(CornerAttributes, RampChannelsWithAndWithoutPlusOne) {
  const CornerRgb plain = RampChannels(0x10FF00, false);
  EXPECT_EQ(plain.r, 0x10 << 16);
  EXPECT_EQ(plain.g, 0xFF << 16);
  EXPECT_EQ(plain.b, 0);
  const CornerRgb raised = RampChannels(0x10FF00, true);
  EXPECT_EQ(raised.g, 0x100 << 16);
  EXPECT_EQ(raised.b, 1 << 16);
}

std::uint32_t Pixel(const FrameBuffer& f, int x, int y) { return f.colour[static_cast<std::size_t>(y * f.width + x)]; }

TEST(TrackballCircle, SolidAtCompassPointsFadedAtDiagonals) {
  FrameBuffer frame = SmallFrame(100, 100);
  ClearBuffers(frame, 0, true);
  DrawTrackballCircle(frame, 0xFFFFFF);
  // r = 45 around (50, 50): 33 points per octant, weight step 65536 / 30.
  EXPECT_EQ(Pixel(frame, 50, 95), 0xFFFFFFu);
  EXPECT_EQ(Pixel(frame, 50, 5), 0xFFFFFFu);
  EXPECT_EQ(Pixel(frame, 95, 50), 0xFFFFFFu);
  EXPECT_EQ(Pixel(frame, 5, 50), 0xFFFFFFu);
  EXPECT_EQ(Pixel(frame, 51, 95), 0xF7F7F7u);  // weight 8
  EXPECT_EQ(Pixel(frame, 60, 94), 0xAAAAAAu);  // weight 85
  EXPECT_EQ(Pixel(frame, 40, 6), 0xAAAAAAu);
  EXPECT_EQ(Pixel(frame, 94, 40), 0xAAAAAAu);
  EXPECT_EQ(Pixel(frame, 82, 82), 0u);  // diagonal: fully faded
  EXPECT_EQ(Pixel(frame, 50, 50), 0u);
}

TEST(TrackballCircle, BlendsOverTheOldPixel) {
  FrameBuffer frame = SmallFrame(100, 100);
  ClearBuffers(frame, 0x0000FF, true);
  DrawTrackballCircle(frame, 0xFF0000);
  // (255 * 171) >> 8 = 170 red; (255 * 85) >> 8 = 84 blue.
  EXPECT_EQ(Pixel(frame, 60, 94), 0xAA0054u);
}

TEST(TrackballCircle, TinyViewsDoNotBreak) {
  FrameBuffer tiny = SmallFrame(4, 2);
  ClearBuffers(tiny, 0, true);
  DrawTrackballCircle(tiny, 0xFFFFFF);  // radius 0: nothing
  for (std::uint32_t c : tiny.colour) EXPECT_EQ(c, 0u);
  FrameBuffer small = SmallFrame(4, 4);
  ClearBuffers(small, 0, true);
  DrawTrackballCircle(small, 0xFFFFFF);  // radius 1: four solid points
  EXPECT_EQ(Pixel(small, 2, 3), 0xFFFFFFu);
  EXPECT_EQ(Pixel(small, 1, 2), 0xFFFFFFu);
  EXPECT_EQ(Pixel(small, 2, 2), 0u);
}

TEST(RepaintFromShade, RecoloursOnlyMarkedTexelPixels) {
  FrameBuffer frame;
  ResizeFrameBuffer(frame, 4, 1, true);
  frame.colour = {1, 2, 3, 4};
  frame.ids = {-1, 0, 1, 5};
  frame.shade.assign(4, 0x7F7F7F);
  SkinSlot skin;
  AllocateSkin(skin, 2, 1);
  skin.pixels = {0x804020, 0xFFFFFF};
  RepaintFromShade(frame, skin, {1, 0});
  EXPECT_EQ(frame.colour, (std::vector<std::uint32_t>{1, 0x402010, 3, 4}));
}

TEST(RepaintFromShade, DoesNothingWithoutAShadeBuffer) {
  FrameBuffer frame;
  ResizeFrameBuffer(frame, 4, 1, false);
  frame.colour = {1, 2, 3, 4};
  frame.ids = {0, 0, 0, 0};
  SkinSlot skin;
  AllocateSkin(skin, 1, 1);
  RepaintFromShade(frame, skin, {1});
  EXPECT_EQ(frame.colour, (std::vector<std::uint32_t>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace mok
