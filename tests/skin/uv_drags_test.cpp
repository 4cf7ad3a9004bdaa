// Mapping edits with the mouse, driven through the skin view's state
// machine: vertex drags with the detach rule, selection transforms, sweeps,
// frame drags and the texture warp.
//
// The view is 200 x 100 at zoom 1.5 centred on (16, 16): the skin point under
// client (x, y) is (16 + (x - 100) / 1.5, 16 + (y - 50) / 1.5), and a UV
// vertex (u, v) is hit at (100 + (u + 0.5 - 16) * 1.5, 50 + (v + 0.5 - 16) * 1.5).

#include <algorithm>
#include <cmath>

#include "tests/skin/skin_view_test_support.h"

namespace mok {
namespace {

using namespace viewtest;

class UvDrags : public SkinViewFixture {
 protected:
  UvDrags() { app.flags.editMode = EditMode::Mapping; }

  // Face A (selected) and face B (not) share the UV vertex (16, 16).
  void SharedCorner(bool selectA) {
    a = AddFace({16, 16}, {20, 16}, {16, 20}, selectA ? kFaceSelected : 0);
    b = AddFace({16, 16}, {12, 16}, {16, 12});
  }
  void DragSharedCornerTo(int x, int y) {
    Send(Press(kLeft, 100, 50));  // (16, 16) sits at (100.75, 50.75)
    Send(MoveTo(x, y, kHeldLeft));
  }

  int a = -1;
  int b = -1;
};

TEST_F(UvDrags, GrabbingAVertexOfTheSelectionDetachesItFromOtherFaces) {
  SharedCorner(true);
  ASSERT_EQ(doc().uvVertexCount, 5);
  Send(Press(kLeft, 100, 50));
  EXPECT_EQ(view.dragState(), kSkinVertexDrag);
  EXPECT_EQ(doc().triangles[a].uvIndex[0], 5);  // the grab vertex, one past the table
  EXPECT_EQ(doc().triangles[b].uvIndex[0], 0);
  EXPECT_EQ(doc().triangles[a].state, kFaceSelected | kFaceEditing);
  EXPECT_EQ(doc().triangles[b].state, 0u);
  Send(MoveTo(103, 56, kHeldLeft));  // (18, 20)
  EXPECT_FLOAT_EQ(CornerOf(a, 0).u, 18);
  EXPECT_FLOAT_EQ(CornerOf(a, 0).v, 20);
  EXPECT_FLOAT_EQ(CornerOf(b, 0).u, 16);
  EXPECT_FLOAT_EQ(CornerOf(b, 0).v, 16);
  Send(Release(kLeft, 103, 56));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(doc().uvVertexCount, 6);  // the two corners are separate vertices now
  EXPECT_NE(doc().triangles[a].uvIndex[0], doc().triangles[b].uvIndex[0]);
  EXPECT_FLOAT_EQ(doc().triangles[a].uv[0].u, 18);
  EXPECT_EQ(doc().triangles[a].state, kFaceSelected);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kQuickEdit, kQuickEdit, kFinalEdit}));
  EXPECT_EQ(host.captures, 1);
  EXPECT_EQ(host.releases, 1);
}

TEST_F(UvDrags, AVertexOutsideTheSelectionMovesEveryFaceUsingIt) {
  SharedCorner(false);
  DragSharedCornerTo(103, 56);
  EXPECT_EQ(doc().triangles[a].state, kFaceEditing);
  EXPECT_EQ(doc().triangles[b].state, kFaceEditing);
  Send(Release(kLeft, 103, 56));
  EXPECT_EQ(doc().uvVertexCount, 5);
  EXPECT_EQ(doc().triangles[a].uvIndex[0], doc().triangles[b].uvIndex[0]);
  EXPECT_FLOAT_EQ(CornerOf(b, 0).u, 18);
  EXPECT_FLOAT_EQ(CornerOf(b, 0).v, 20);
  EXPECT_EQ(doc().triangles[b].state, 0u);
}

// The 3D view takes UVs in whole texels: a step within one texel (without
// the warp) leaves it as it is.
TEST_F(UvDrags, AStepWithinOneTexelRedrawsTheSkinViewAlone) {
  SharedCorner(true);
  DragSharedCornerTo(101, 50);  // (16.67, 16)
  Send(MoveTo(103, 56, kHeldLeft));  // (18, 20)
  app.flags.warpTexture = 1;
  Send(MoveTo(104, 56, kHeldLeft));  // (18.67, 20)
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kQuickEdit, kQuickSkin, kQuickEdit, kQuickEdit}));
}

TEST_F(UvDrags, NoVertexWithinSixPixelsLeavesTheViewIdle) {
  AddFace({16, 16}, {24, 16}, {16, 24});  // the other corners lie 12 pixels away
  Send(Press(kLeft, 94, 50));  // dx = trunc(94 - 100.75) = -6: 36 is not below 36
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(host.captures, 0);
  Send(Press(kLeft, 95, 50));  // 5 pixels: taken
  EXPECT_EQ(view.dragState(), kSkinVertexDrag);
}

TEST_F(UvDrags, NearestVertexWinsAndTiesGoToTheLowerIndex) {
  AddFace({16, 16}, {18, 16}, {16, 18});
  const SkinViewport at = view.viewport();
  EXPECT_EQ(NearestUvVertex(doc(), at, 102, 50), 0);  // dx 1 to (16, 16), dx -1 to (18, 16)
  EXPECT_EQ(NearestUvVertex(doc(), at, 103, 50), 1);
  doc().activeChannel = 1;  // vertices of other channels are never picked
  EXPECT_EQ(NearestUvVertex(doc(), at, 102, 50), -1);
}

// On a screen scaled by 2 the view has twice the pixels: the reach is the
// same 6 screen pixels, 12 view pixels.
TEST_F(UvDrags, PickReachFollowsTheScreenScale) {
  AddFace({16, 16}, {40, 16}, {16, 40});
  const SkinViewport at = view.viewport();
  const RasterPoint2 corner = at.VertexInWindow({16, 16});
  const int x = static_cast<int>(corner.x), y = static_cast<int>(corner.y);
  EXPECT_EQ(NearestUvVertex(doc(), at, x - 10, y), -1);
  EXPECT_EQ(NearestUvVertex(doc(), at, x - 10, y, 2.0), 0);
  EXPECT_EQ(NearestUvVertex(doc(), at, x - 12, y, 2.0), -1);
}

TEST_F(UvDrags, LocksKeepTheirAxis) {
  SharedCorner(false);
  app.flags.lockX = true;
  DragSharedCornerTo(103, 53);  // (18, 18) asked, (16, 18) given
  EXPECT_FLOAT_EQ(CornerOf(a, 0).u, 16);
  EXPECT_FLOAT_EQ(CornerOf(a, 0).v, 18);
  Send(Release(kLeft, 103, 53));
  app.flags.lockY = true;
  DragSharedCornerTo(110, 70);  // picks (16, 18), 3 pixels below the press
  EXPECT_FLOAT_EQ(CornerOf(a, 0).u, 16);
  EXPECT_FLOAT_EQ(CornerOf(a, 0).v, 18);
  Send(Release(kLeft, 110, 70));
  EXPECT_EQ(doc().uvVertexCount, 5);
}

TEST_F(UvDrags, SnapTruncatesTowardZero) {
  SharedCorner(false);
  app.flags.snapToGrid = true;
  view.zoom = 10;  // (16, 16) now sits at (105, 55)
  Send(Press(kLeft, 105, 55));
  Send(MoveTo(-67, 55, kHeldLeft));  // u = 16 - 167 / 10 = -0.7, v = 16.5
  EXPECT_EQ(CornerOf(a, 0).u, 0.0f);
  EXPECT_EQ(CornerOf(a, 0).v, 16.0f);
  Send(Release(kLeft, -67, 55));
  EXPECT_EQ(doc().triangles[b].uv[0].u, 0.0f);
}

TEST_F(UvDrags, FullTableRefusesTheDragAndKeepsTheTable) {
  MeshDocument& d = doc();
  d.triangleCount = kMaxTriangles;
  for (int i = 0; i < kMaxTriangles; ++i) {
    MeshTriangle& face = d.triangles[i];
    face = MeshTriangle{};
    for (int k = 0; k < 3; ++k) face.uv[k] = {static_cast<float>(i % 64) + 0.25f * k, static_cast<float>(i / 64)};
  }
  d.RebuildUvVertices(false);
  ASSERT_EQ(d.uvVertexCount, kMaxUvVertices);
  const auto vertices = d.uvVertices;
  const MeshTriangle probe = d.triangles[16 * 64 + 16];
  Send(Press(kLeft, 100, 50));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(host.captures, 0);
  EXPECT_TRUE(refresh.requests.empty());
  EXPECT_EQ(d.uvVertexCount, kMaxUvVertices);
  EXPECT_TRUE(std::equal(vertices.begin(), vertices.end(), d.uvVertices.begin(),
                         [](UvPair p, UvPair q) { return p.u == q.u && p.v == q.v; }));
  EXPECT_TRUE(std::equal(std::begin(probe.uvIndex), std::end(probe.uvIndex), std::begin(d.triangles[16 * 64 + 16].uvIndex)));
  for (int i = 0; i < kMaxTriangles; ++i) ASSERT_EQ(d.triangles[i].state, 0u);
}

TEST_F(UvDrags, RightPressDuringAVertexDragStartsNothing) {
  SharedCorner(true);
  Send(Press(kLeft, 100, 50));
  Send(Press(kRight, 100, 50, 0, kHeldLeft));
  EXPECT_EQ(view.dragState(), kSkinVertexDrag);
  EXPECT_EQ(host.hideCalls, 0);
  Send(Release(kRight, 100, 50, kHeldLeft));
  EXPECT_EQ(view.dragState(), kSkinVertexDrag);
}

TEST_F(UvDrags, CaptureLossCommitsTheVertexDrag) {
  SharedCorner(true);
  DragSharedCornerTo(103, 56);
  Send(CaptureLoss());
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(doc().uvVertexCount, 6);
  EXPECT_FLOAT_EQ(CornerOf(a, 0).u, 18);
  for (int i = 0; i < doc().triangleCount; ++i) EXPECT_EQ(doc().triangles[i].state & kFaceEditing, 0u);
  EXPECT_EQ(refresh.requests.back(), kFinalEdit);
  EXPECT_EQ(host.releases, 0);  // the capture is gone already
  Send(Press(kLeft, 100, 50));  // the view is ready for the next drag
  EXPECT_EQ(view.dragState(), kSkinVertexDrag);
}

TEST_F(UvDrags, UniformScaleGrowsByPointFourPerHundredPixels) {
  SharedCorner(true);
  app.flags.uniformScale = true;
  Send(Press(kRight, 100, 50, kModCtrl));  // pivot (16, 16)
  EXPECT_EQ(view.dragState(), kSkinTransform);
  EXPECT_EQ(doc().triangles[a].state, kFaceSelected | kFaceEditing);
  EXPECT_EQ(doc().triangles[b].state, kFaceEditing);  // it shares a marked vertex
  Send(MoveTo(100, 150, kHeldRight));  // dy = 100: sx = sy = 1.4
  EXPECT_NEAR(CornerOf(a, 1).u, 16 + 1.4 * 4, 1e-4);
  EXPECT_NEAR(CornerOf(a, 1).v, 16, 1e-4);
  EXPECT_NEAR(CornerOf(a, 2).v, 16 + 1.4 * 4, 1e-4);
  EXPECT_NEAR(CornerOf(b, 1).u, 12, 1e-6);  // B's own corners are not marked
  ASSERT_EQ(host.warps.size(), 1u);
  EXPECT_EQ(host.warps[0], std::make_pair(100, 50));
  Send(Release(kRight, 100, 50));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(host.displayCount, 0);
  EXPECT_EQ(doc().triangles[b].state, 0u);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kQuickEdit, kQuickEdit, kFinalEdit}));
}

TEST_F(UvDrags, LockYFreezesAUniformScale) {
  SharedCorner(true);
  app.flags.uniformScale = true;
  app.flags.lockY = true;
  Send(Press(kRight, 100, 50, kModCtrl));
  Send(MoveTo(130, 150, kHeldRight));
  EXPECT_FLOAT_EQ(CornerOf(a, 1).u, 20);
  EXPECT_FLOAT_EQ(CornerOf(a, 2).v, 20);
}

TEST_F(UvDrags, ScaleWithoutUniformUsesBothAxes) {
  SharedCorner(true);
  Send(Press(kRight, 100, 50, kModCtrl));
  Send(MoveTo(150, 25, kHeldRight));  // sx = 1 + 50 * 0.004 = 1.2, sy = 1 - 25 * 0.004 = 0.9
  EXPECT_NEAR(CornerOf(a, 1).u, 16 + 1.2 * 4, 1e-4);
  EXPECT_NEAR(CornerOf(a, 2).v, 16 + 0.9 * 4, 1e-4);
}

TEST_F(UvDrags, RotationTurnsHalfWayAfterAbout628Pixels) {
  SharedCorner(true);
  Send(Press(kRight, 100, 50, kModShift));  // pivot (16, 16)
  for (int step = 0; step < 4; ++step) {
    Send(MoveTo(100, 50 + 157, kHeldRight));
    Send(MoveTo(100, 50, kHeldRight));  // the echo of the warp
  }
  // angle = 628 * 0.005 = 3.14: (20, 16) turns to about (12, 16).
  EXPECT_NEAR(CornerOf(a, 1).u, 12, 0.01);
  EXPECT_NEAR(CornerOf(a, 1).v, 16, 0.01);
  EXPECT_NEAR(CornerOf(a, 2).u, 16, 0.01);
  EXPECT_NEAR(CornerOf(a, 2).v, 12, 0.01);
  EXPECT_EQ(host.warps.size(), 4u);
}

TEST_F(UvDrags, MoveFollowsTheMouseAndSnapsHalfTexelSteps) {
  const int f = AddFace({16.6f, 16}, {20, 16}, {16, 20}, kFaceSelected);
  Send(Press(kRight, 100, 50));
  Send(MoveTo(103, 50, kHeldRight));  // du = 3 / 1.5 = 2
  EXPECT_NEAR(CornerOf(f, 0).u, 18.6, 1e-5);
  Send(Release(kRight, 103, 50));
  app.flags.snapToGrid = true;
  view.zoom = 4;
  Send(Press(kRight, 100, 50));
  Send(MoveTo(101, 50, kHeldRight));  // du = 0.25 becomes 0.5: 19.1 -> 19
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 19);
  EXPECT_FLOAT_EQ(CornerOf(f, 1).u, 22);  // 22.5 -> 22
  Send(MoveTo(99, 50, kHeldRight));  // du = -0.25 becomes 0
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 19);
  Send(Release(kRight, 99, 50));
}

TEST_F(UvDrags, TransformOfAnEmptySelectionMovesNothing) {
  SharedCorner(false);
  Send(Press(kRight, 100, 50));
  Send(MoveTo(130, 80, kHeldRight));
  EXPECT_FLOAT_EQ(CornerOf(a, 1).u, 20);
  Send(Release(kRight, 130, 80));
  EXPECT_EQ(doc().uvVertexCount, 5);
}

TEST_F(UvDrags, SweepsSelectAndDeselectFacesUnderTheCursor) {
  const int hidden = AddFace({4, 4}, {10, 4}, {4, 10}, kFaceHidden);  // window (82.75, 32.75) .. (91.75, 41.75)
  const int other = AddFace({4, 4}, {10, 4}, {4, 10}, 0, 1);
  Send(Press(kLeft, 84, 34, kModShift | kModCtrl));  // Shift wins
  EXPECT_EQ(view.dragState(), kSkinSweepSelect);
  EXPECT_EQ(doc().triangles[hidden].state, kFaceHidden | kFaceSelected);
  EXPECT_EQ(doc().triangles[other].state, 0u);
  Send(Release(kLeft, 84, 34));
  Send(Press(kLeft, 60, 34, kModCtrl));  // outside: nothing
  Send(MoveTo(84, 34, kHeldLeft));
  EXPECT_EQ(doc().triangles[hidden].state, kFaceHidden);
  Send(MoveTo(85, 35, kHeldLeft));  // changes no face: no refresh
  Send(Release(kLeft, 84, 34));
  EXPECT_EQ(refresh.requests,
            (std::vector<RefreshCall>{kQuickEdit, kFinalEdit, kQuickEdit, kQuickEdit, kFinalEdit}));
}

TEST_F(UvDrags, FrameMoveAddsTheMotionAndRespectsLocks) {
  view.frameVisible = 1;
  Send(Press(kLeft, 83, 33));  // (4.67, 4.67): inside the frame shrunk by 2
  EXPECT_EQ(view.dragState(), kFrameMove);
  Send(MoveTo(86, 36, kHeldLeft));  // +2 texels each way
  EXPECT_FLOAT_EQ(view.mappingFrame.u0, 2);
  EXPECT_FLOAT_EQ(view.mappingFrame.v1, 12);
  app.flags.lockX = true;
  Send(MoveTo(89, 39, kHeldLeft));
  EXPECT_FLOAT_EQ(view.mappingFrame.u0, 2);
  EXPECT_FLOAT_EQ(view.mappingFrame.v0, 4);
  Send(Release(kLeft, 89, 39));
  EXPECT_EQ(view.dragState(), kSkinIdle);
  EXPECT_EQ(refresh.requests, (std::vector<RefreshCall>{kFinalSkin, kFinalSkin, kFinalSkin}));
}

TEST_F(UvDrags, FrameEdgesAndNewFrames) {
  view.frameVisible = 1;
  AddFace({0, 0}, {4, 0}, {0, 4});  // a vertex right under the next press is never grabbed
  Send(Press(kLeft, 77, 41));  // (0.67, 10): within 2 of u0, tested first
  EXPECT_EQ(view.dragState(), kFrameLeft);
  Send(MoveTo(70, 41, kHeldLeft));
  EXPECT_FLOAT_EQ(view.mappingFrame.u0, -4);
  Send(Release(kLeft, 70, 41));
  Send(Press(kLeft, 85, 41));  // (6, 10): no u edge or v0 within 2: v1
  EXPECT_EQ(view.dragState(), kFrameBottom);
  Send(Release(kLeft, 85, 41));
  Send(Press(kLeft, 190, 80));  // (76, 36): far away, a new frame
  EXPECT_EQ(view.dragState(), kFrameNew);
  Send(MoveTo(175, 65, kHeldLeft));
  EXPECT_FLOAT_EQ(view.mappingFrame.u0, 66);
  EXPECT_FLOAT_EQ(view.mappingFrame.v0, 26);
  EXPECT_FLOAT_EQ(view.mappingFrame.u1, 76);
  EXPECT_FLOAT_EQ(view.mappingFrame.v1, 36);
  Send(Release(kLeft, 175, 65));
  EXPECT_FLOAT_EQ(CornerOf(0, 0).u, 0);
  EXPECT_EQ(doc().triangles[0].state, 0u);
}

TEST_F(UvDrags, WithTheFrameShownEveryLeftPressEditsTheFrame) {
  view.frameVisible = 1;
  SharedCorner(false);
  Send(Press(kLeft, 100, 50, kModShift));  // on a vertex, with Shift: still the frame
  EXPECT_EQ(view.dragState(), kFrameNew);
  Send(Release(kLeft, 100, 50));
  EXPECT_EQ(doc().triangles[a].state, 0u);
  EXPECT_EQ(doc().uvVertexCount, 5);
  Send(Press(kRight, 100, 50));  // the right button still transforms the selection
  EXPECT_EQ(view.dragState(), kSkinTransform);
}

TEST_F(UvDrags, TextureWarpDragsTheTexelsAlong) {
  SkinSlot& skin = *doc().activeSkin;
  for (std::size_t i = 0; i < skin.pixels.size(); ++i) skin.pixels[i] = static_cast<std::uint32_t>(i);
  app.flags.warpTexture = true;
  view.zoom = 1;
  AddFace({0, 0}, {8, 0}, {0, 8}, kFaceSelected);
  Send(Press(kRight, 100, 50));
  Send(MoveTo(104, 50, kHeldRight));  // the face moves to (4, 0), (12, 0), (4, 8)
  auto texel = [&](int x, int y) { return skin.pixels[static_cast<std::size_t>(y * 32 + x)]; };
  EXPECT_EQ(texel(4, 0), 0u);        // from (0, 0)
  EXPECT_EQ(texel(5, 1), 1u * 32 + 1);  // from (1, 1)
  EXPECT_EQ(texel(0, 5), 5u * 32);   // not covered any more: unchanged
  Send(MoveTo(100, 50, kHeldRight));
  Send(MoveTo(102, 50, kHeldRight));  // on to (6, 0): the picture is redrawn from the snapshot
  EXPECT_EQ(texel(4, 0), 4u);
  EXPECT_EQ(texel(6, 0), 0u);
  Send(Release(kRight, 102, 50));
  EXPECT_EQ(texel(6, 0), 0u);  // the warped picture stays
}

TEST_F(UvDrags, ChannelWithoutASlotIsEditedWithoutItsSkin) {
  doc().activeChannel = 40;
  doc().activeSkin = nullptr;
  app.flags.warpTexture = true;
  const int f = AddFace({16, 16}, {20, 16}, {16, 20}, kFaceSelected, 40);
  view.RenderView(kRefreshFinal);
  Send(Press(kLeft, 100, 50));
  Send(MoveTo(103, 56, kHeldLeft));
  Send(Release(kLeft, 103, 56));
  EXPECT_FLOAT_EQ(CornerOf(f, 0).u, 18);
  Send(Press(kRight, 100, 50));
  Send(MoveTo(103, 50, kHeldRight));
  Send(Release(kRight, 103, 50));
  EXPECT_FLOAT_EQ(CornerOf(f, 1).u, 22);
}

TEST_F(UvDrags, WarpOnAOneTexelSkin) {
  AllocateSkin(*doc().activeSkin, 1, 1);
  doc().activeSkin->pixels[0] = 0xABCDEF;
  app.flags.warpTexture = true;
  AddFace({0, 0}, {8, 0}, {0, 8}, kFaceSelected);
  Send(Press(kRight, 100, 50));
  Send(MoveTo(130, 90, kHeldRight));
  Send(Release(kRight, 130, 90));
  EXPECT_EQ(doc().activeSkin->pixels[0], 0xABCDEFu);
}

}  // namespace
}  // namespace mok
