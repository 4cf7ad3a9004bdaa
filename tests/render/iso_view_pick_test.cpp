// What the 3D view reads from its id buffer: triangle selection in mapping
// mode, texels for painting and colour picking in paint mode; and the view's
// buffers, settings and cursor.

#include "tests/render/iso_view_fakes.h"

namespace mok::test {
namespace {

using B = PaneButton;
using S = IsoMouseState;

// The window's bottom line (client y 79) is buffer row 0.
constexpr int kBottomY = 79;

class IsoSelectionTest : public IsoViewTest {
 protected:
  IsoSelectionTest() { app.flags.editMode = EditMode::Mapping; }
  std::uint32_t State(int face) const { return app.document->triangles[static_cast<std::size_t>(face)].state; }
};

TEST_F(IsoSelectionTest, LeftPressSelectsTheTriangleUnderTheCursorCountingRowsFromTheBottom) {
  SetIdAtRow(10, 0, 3);    // bottom row
  SetIdAtRow(10, 79, 4);   // top row
  Press(B::Left, 10, kBottomY, kHeldLeft);
  EXPECT_EQ(State(3), kFaceSelected);
  EXPECT_EQ(State(4), 0u);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneSkinView | kPaneIsoView, kRefreshQuick}}));
  Move(10, 0, kHeldLeft);
  EXPECT_EQ(State(4), kFaceSelected);
}

// The buffers a resize leaves to the next frame hold leftovers; until the
// frame, the ids read as a fresh buffer's, and a press selects nothing.
TEST_F(IsoSelectionTest, BetweenAResizeAndItsFrameEveryIdIsBackground) {
  SetIdAtRow(10, 0, 3);
  view->ResizeBuffers(kClientWidth, kClientHeight);
  EXPECT_EQ(view->IdAt(10, kBottomY), kIdBackground);
  Press(B::Left, 10, kBottomY, kHeldLeft);
  EXPECT_EQ(State(3), 0u);
  EXPECT_EQ(view->frame().ids[10], kIdBackground);
  SetIdAtRow(10, 0, 3);
  view->ResizeBuffers(kClientWidth, kClientHeight);
  view->RenderFrame(kRefreshQuick, kPaneIsoView);  // a renderer that writes nothing
  EXPECT_EQ(view->IdAt(10, kBottomY), kIdBackground);
}

TEST_F(IsoSelectionTest, DraggingOverSelectedTrianglesChangesNothingMore) {
  SetIdAtRow(10, 0, 3);
  SetIdAtRow(11, 0, 3);
  app.document->triangles[3].state = kFaceSelected | 2;
  Press(B::Left, 10, kBottomY, kHeldLeft);
  Move(11, kBottomY, kHeldLeft);
  Release(B::Left, 11, kBottomY, 0);
  EXPECT_EQ(State(3), kFaceSelected | 2u);
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(IsoSelectionTest, RightDragDeselectsAndKeepsTheOtherStateBits) {
  SetIdAtRow(10, 0, 3);
  SetIdAtRow(20, 0, 5);
  app.document->triangles[3].state = kFaceSelected | 2;
  app.document->triangles[5].state = kFaceSelected;
  Press(B::Right, 10, kBottomY, kHeldRight);
  Move(20, kBottomY, kHeldRight);
  EXPECT_EQ(State(3), 2u);
  EXPECT_EQ(State(5), 0u);
  Release(B::Right, 20, kBottomY, 0);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneSkinView | kPaneIsoView, kRefreshQuick},
                                                     {kPaneSkinView | kPaneIsoView, kRefreshQuick},
                                                     {kPaneSkinView | kPaneIsoView, kRefreshFinal}}));
  EXPECT_EQ(view->mouseState(), S::Idle);
}

TEST_F(IsoSelectionTest, IdsThatNameNoTriangleAreIgnored) {
  const std::int32_t bad[] = {-1, -2, 8, 4095, 4096, 1 << 30, -2147483647 - 1};
  for (std::size_t i = 0; i < std::size(bad); ++i) SetIdAtRow(static_cast<int>(i), 0, bad[i]);
  Press(B::Left, 0, kBottomY, kHeldLeft);
  for (int x = 1; x < static_cast<int>(std::size(bad)); ++x) Move(x, kBottomY, kHeldLeft);
  for (int f = 0; f < 8; ++f) EXPECT_EQ(State(f), 0u);
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(IsoSelectionTest, IdsLeftOverFromDeletedFacesAreIgnored) {
  SetIdAtRow(10, 0, 6);
  app.document->triangleCount = 6;  // faces 6 and 7 were deleted since the frame
  Press(B::Left, 10, kBottomY, kHeldLeft);
  EXPECT_EQ(State(6), 0u);
}

TEST_F(IsoSelectionTest, HiddenTrianglesAreNotSelected) {
  SetIdAtRow(10, 0, 2);
  app.document->triangles[2].state = kFaceHidden;
  Press(B::Left, 10, kBottomY, kHeldLeft);
  EXPECT_EQ(State(2), kFaceHidden);
}

TEST_F(IsoSelectionTest, PointsOutsideTheClientAreaSelectNothing) {
  // Columns 101..103 pad the buffer to a multiple of 4 but are not on screen.
  for (int x = 0; x < 104; ++x) SetIdAtRow(x, 0, 1);
  for (int y = 0; y < 80; ++y) SetIdAtRow(0, y, 1);
  Press(B::Left, 101, kBottomY, kHeldLeft);
  Move(103, kBottomY, kHeldLeft);
  Move(-1, kBottomY, kHeldLeft);
  Move(0, 80, kHeldLeft);
  Move(0, -1, kHeldLeft);
  EXPECT_EQ(State(1), 0u);
  Move(100, kBottomY, kHeldLeft);
  EXPECT_EQ(State(1), kFaceSelected);
}

TEST_F(IsoSelectionTest, CameraModeTakesPrecedenceOverSelection) {
  app.flags.cameraActive = true;
  SetIdAtRow(10, 0, 3);
  Press(B::Left, 10, kBottomY, kHeldLeft);
  EXPECT_EQ(State(3), 0u);
}

// ---- Painting and colour picking, with the real painting engine ----

// A 16 x 16 black skin; the drawing colour is red.
class IsoPaintTest : public IsoViewTest {
 protected:
  IsoPaintTest() {
    auto slot = std::make_unique<SkinSlot>();
    AllocateSkin(*slot, 16, 16);
    std::fill(slot->pixels.begin(), slot->pixels.end(), 0u);
    skin = slot.get();
    app.doc().skinSlots.push_back(std::move(slot));
    app.doc().activeSkin = skin;
    app.customColors[0] = 0xFF0000;
  }
  std::vector<int> PaintedTexels() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < skin->pixels.size(); ++i)
      if (skin->pixels[i] != 0) out.push_back(static_cast<int>(i));
    return out;
  }
  // Gives every pixel of a client line the texel id `base + x`.
  void TexelRow(int clientY, int base) {
    for (int x = 0; x < kClientWidth; ++x) SetIdAtRow(x, kClientHeight - 1 - clientY, base + x);
  }
  SkinSlot* skin = nullptr;
};

TEST_F(IsoPaintTest, APointStrokePaintsTheTexelsUnderTheCursorCountingRowsFromTheBottom) {
  SetIdAtRow(30, 0, 17);  // bottom row
  SetIdAtRow(31, 79, 40); // top row
  Press(B::Left, 30, kBottomY, kHeldLeft);
  EXPECT_EQ(PaintedTexels(), (std::vector<int>{17}));
  EXPECT_EQ(skin->pixels[17], 0xFF0000u);
  Move(31, 0, kHeldLeft);
  EXPECT_EQ(PaintedTexels(), (std::vector<int>{17, 40}));
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneSkinView | kPaneIsoView, kRefreshPaint},
                                                        {kPaneSkinView | kPaneIsoView, kRefreshPaint}}));
  Release(B::Left, 31, 0, 0);
  EXPECT_FALSE(painter.StrokeInProgress());
  EXPECT_EQ(view->mouseState(), S::Idle);
}

TEST_F(IsoPaintTest, PixelsOfOtherSkinsAndTheBackgroundPaintNothing) {
  SetIdAtRow(30, 0, kIdOtherSkin);
  SetIdAtRow(31, 0, kIdBackground);
  Press(B::Left, 30, kBottomY, kHeldLeft);
  Move(31, kBottomY, kHeldLeft);
  Move(-4, kBottomY, kHeldLeft);
  Move(101, kBottomY, kHeldLeft);  // padding column, not on screen
  EXPECT_TRUE(PaintedTexels().empty());
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(IsoPaintTest, PencilWalksEveryPixelBetweenTwoMoves) {
  app.flags.brushKind = BrushKind::Pencil;
  TexelRow(30, 0);
  Press(B::Left, 22, 30, kHeldLeft);
  Move(29, 30, kHeldLeft);
  EXPECT_EQ(PaintedTexels(), (std::vector<int>{22, 23, 24, 25, 26, 27, 28, 29}));
}

TEST_F(IsoPaintTest, LineBrushKeepsOnlyTheLastLineFromThePressPoint) {
  app.flags.brushKind = BrushKind::Line;
  TexelRow(30, 0);
  TexelRow(31, 120);  // the line below shows other texels
  Press(B::Left, 22, 30, kHeldLeft);
  Move(26, 31, kHeldLeft);
  Move(24, 30, kHeldLeft);
  EXPECT_EQ(PaintedTexels(), (std::vector<int>{22, 23, 24}));
}

TEST_F(IsoPaintTest, NoActiveSkinMeansNoStroke) {
  app.doc().activeSkin = nullptr;
  SetIdAtRow(30, 0, 17);
  Press(B::Left, 30, kBottomY, kHeldLeft);
  EXPECT_EQ(view->mouseState(), S::PaintStroke);
  EXPECT_FALSE(painter.StrokeInProgress());
  EXPECT_TRUE(refresh.requests.empty());
}

TEST_F(IsoPaintTest, LosingTheMouseEndsTheStroke) {
  SetIdAtRow(30, 0, 17);
  Press(B::Left, 30, kBottomY, kHeldLeft);
  LoseCapture();
  EXPECT_FALSE(painter.StrokeInProgress());
  EXPECT_EQ(view->mouseState(), S::Idle);
}

TEST_F(IsoPaintTest, ColourPickTakesTheTexelAtThePressAndEveryMoveThenAFinalFrame) {
  skin->pixels[12] = 0x123456;
  skin->pixels[13] = 0x00FF00;
  SetIdAtRow(5, 0, 12);
  SetIdAtRow(6, 0, 13);
  SetIdAtRow(7, 0, kIdOtherSkin);
  Press(B::Right, 5, kBottomY, kHeldRight);
  EXPECT_EQ(app.customColors[0], 0x123456u);
  Move(6, kBottomY, kHeldRight);
  Move(7, kBottomY, kHeldRight);
  EXPECT_EQ(app.customColors[0], 0x00FF00u);
  Release(B::Right, 7, kBottomY, 0);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPanePalette, kRefreshFinal},
                                                        {kPanePalette, kRefreshFinal},
                                                        {kPaneSkinView | kPaneIsoView, kRefreshFinal}}));
  EXPECT_EQ(PaintedTexels(), (std::vector<int>{12, 13}));  // picking paints nothing
}

TEST_F(IsoPaintTest, MappingModeNeverPaints) {
  app.flags.editMode = EditMode::Mapping;
  SetIdAtRow(5, 0, 1);  // a triangle index in mapping mode
  Press(B::Left, 5, kBottomY, kHeldLeft);
  Release(B::Left, 5, kBottomY, 0);
  Press(B::Right, 5, kBottomY, kHeldRight);
  Release(B::Right, 5, kBottomY, 0);
  EXPECT_TRUE(PaintedTexels().empty());
  EXPECT_EQ(app.customColors[0], 0xFF0000u);
}

// ---- Buffers, frames and settings ----

TEST_F(IsoViewTest, SizingRoundsTheBufferWidthAndRendersAFullFrame) {
  renderer.usesShade = true;
  view->Resize(101, 33);
  EXPECT_EQ(view->frame().width, 104);
  EXPECT_EQ(view->frame().height, 33);
  EXPECT_EQ(view->frame().shade.size(), 104u * 33u);
  EXPECT_EQ(view->frame().ids.size(), 104u * 33u);
  EXPECT_EQ(renderer.renders, (std::vector<std::pair<int, int>>{{kRefreshFinal, kPanesAll}}));
  EXPECT_EQ(renderer.cornerDraws.back(), false);
}

TEST_F(IsoViewTest, AZeroSizedViewDrawsNothingAndSurvivesEveryDrag) {
  view->Resize(0, 0);
  EXPECT_TRUE(renderer.renders.empty());
  view->RenderFrame(kRefreshFinal, kPaneIsoView);
  EXPECT_TRUE(renderer.renders.empty());
  app.flags.editMode = EditMode::Mapping;
  Press(B::Left, 0, 0, kHeldLeft);
  Move(3, 3, kHeldLeft);
  Release(B::Left, 3, 3, 0);
  app.flags.cameraActive = true;
  for (int tool = 0; tool <= 5; ++tool) {
    app.flags.cameraTool = static_cast<CameraTool>(tool);
    Press(B::Left, 0, 0, kHeldLeft);
    Move(7, 9, kHeldLeft);
    Release(B::Left, 7, 9, 0);
  }
  Press(B::Right, 0, 0, kHeldRight);
  Move(7, 9, kHeldRight);
  Release(B::Right, 7, 9, 0);
  EXPECT_EQ(view->camera().orientation, kIdentity3);
  EXPECT_EQ(view->camera().panOffset, (std::array<float, 3>{0, 0, 0}));
  EXPECT_EQ(view->mouseState(), S::Idle);
  EXPECT_EQ(view->IdAt(0, 0), kIdBackground);
}

TEST_F(IsoViewTest, NegativeClientSizesCountAsEmpty) {
  view->Resize(-5, -7);
  EXPECT_EQ(view->clientWidth(), 0);
  EXPECT_EQ(view->clientHeight(), 0);
  EXPECT_EQ(view->IdAt(0, 0), kIdBackground);
}

TEST_F(IsoViewTest, BeforeTheFirstSizeThereIsNoPictureAndNoId) {
  IsoView fresh(IsoViewLinks{app, light, renderer, host, painter, link});
  EXPECT_EQ(fresh.frame().width, -1);
  fresh.RenderFrame(kRefreshFinal, kPanesAll);
  EXPECT_TRUE(renderer.renders.empty());
  EXPECT_EQ(fresh.IdAt(0, 0), kIdBackground);
}

TEST_F(IsoViewTest, CreationResetsTheLight) {
  light.m = {0, 1, 0, 1, 0, 0, 0, 0, 1};
  IsoView fresh(IsoViewLinks{app, light, renderer, host, painter, link});
  EXPECT_EQ(light.m, kIdentity3);
}

TEST_F(IsoViewTest, IsoFilterIsReadAtCreationCopiedIntoEveryFrameAndSavedAtTheEnd) {
  EXPECT_TRUE(view->filtered());  // default 1
  Write(settings, setting::IsoFilter, 0);
  {
    IsoView fresh(IsoViewLinks{app, light, renderer, host, painter, link});
    EXPECT_FALSE(fresh.filtered());
    fresh.Resize(8, 8);
    EXPECT_EQ(renderer.filteredSeen.back(), 0);
    fresh.ToggleFiltered();
    EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{{kPaneIsoView, kRefreshFinal}}));
    fresh.RenderFrame(kRefreshFinal, kPaneIsoView);
    EXPECT_EQ(renderer.filteredSeen.back(), 1);
  }
  EXPECT_EQ(Read(settings, setting::IsoFilter), 1);
}

}  // namespace
}  // namespace mok::test
