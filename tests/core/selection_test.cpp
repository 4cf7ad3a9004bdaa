#include "core/selection.h"

#include <gtest/gtest.h>

#include "tests/core/edit_test_support.h"

namespace mok {
namespace {

using edit_test::Hide;
using edit_test::MeshBuilder;
using edit_test::Select;
using edit_test::SelectedFaces;

// A strip of ten faces over a row of six top and six bottom UV vertices:
// face 2i = (t_i, b_i, t_i+1), face 2i+1 = (t_i+1, b_i, b_i+1), all welded.
MeshDocument* Strip(MeshBuilder& builder) {
  auto t = [](int i) { return UvPair{4.0f * i, 0}; };
  auto b = [](int i) { return UvPair{4.0f * i, 4}; };
  for (int i = 0; i < 5; ++i) {
    auto ti = static_cast<std::int16_t>(i), bi = static_cast<std::int16_t>(6 + i);
    builder.AddFace(ti, bi, static_cast<std::int16_t>(ti + 1), t(i), b(i), t(i + 1));
    builder.AddFace(static_cast<std::int16_t>(ti + 1), bi, static_cast<std::int16_t>(bi + 1), t(i + 1), b(i), b(i + 1));
  }
  return builder.Build();
}

// Two quads sharing 3D vertices 1 and 2; the first (faces 0, 1) is mapped at
// the left of the skin, the second (faces 2, 3) apart from it, on the channel given.
MeshDocument* TwoIslands(MeshBuilder& builder, std::uint8_t secondChannel, float secondOffset) {
  builder.AddFace(0, 1, 2, {0, 0}, {8, 0}, {8, 8});
  builder.AddFace(0, 2, 3, {0, 0}, {8, 8}, {0, 8});
  float o = secondOffset;
  builder.AddFace(1, 4, 5, {o, 0}, {o + 8, 0}, {o + 8, 8}, secondChannel);
  builder.AddFace(1, 5, 2, {o, 0}, {o + 8, 8}, {o, 8}, secondChannel);
  return builder.Build();
}

TEST(SelectConnected, FillsTheIslandButStopsAtASeam) {
  MeshBuilder builder;
  auto doc = TwoIslands(builder, 0, 16);
  Select(*doc, {1});
  SelectConnected(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1}));
  EXPECT_EQ(builder.refresh.refreshes(), 1);
  EXPECT_EQ(builder.refresh.lastPaneBits(), kPanesAll);
}

TEST(SelectConnected, IslandsAtTheSameTexelsOnDifferentChannelsStayApart) {
  MeshBuilder builder;
  auto doc = TwoIslands(builder, 1, 0);  // the second island lies exactly on the first
  Select(*doc, {0});
  SelectConnected(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1}));
  Select(*doc, {3});
  SelectConnected(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{2, 3}));
}

TEST(SelectConnected, IslandsAtTheSameTexelsOnOneChannelAreOne) {
  MeshBuilder builder;
  auto doc = TwoIslands(builder, 0, 0);
  Select(*doc, {0});
  SelectConnected(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1, 2, 3}));
}

TEST(SelectConnected, WithNothingSelectedChangesNothing) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  SelectConnected(builder.app);
  EXPECT_TRUE(SelectedFaces(*doc).empty());
}

TEST(SelectConnected, NeitherSpreadsThroughNorSelectsHiddenFaces) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  // Faces 0..2 and 5..9 meet only through the hidden faces 3 and 4.
  Hide(*doc, {3, 4});
  Select(*doc, {0});
  SelectConnected(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1, 2}));
  // A hidden selected face spreads nothing either.
  Select(*doc, {4});
  SelectConnected(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{4}));
}

TEST(GrowSelection, AddsTheFacesWhoseCornersAllTouchTheSelection) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Select(*doc, {4});
  GrowSelection(builder.app);
  // Faces 2 and 6 touch face 4 only at a corner; faces 1 and 7 have a corner
  // (b0, b4) outside the ring.
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{2, 3, 4, 5, 6}));
  GrowSelection(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(GrowSelection, HiddenFacesNeitherCarryTheRingNorJoin) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Hide(*doc, {6});
  Select(*doc, {4});
  GrowSelection(builder.app);
  // t4 is reached only through the hidden face 6, so nothing beyond t3 joins.
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{2, 3, 4, 5}));
}

TEST(ShrinkSelection, UndoesOneGrowStep) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Select(*doc, {2, 3, 4, 5, 6});
  ShrinkSelection(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{4}));
}

TEST(ShrinkSelection, AWholeIslandWithoutUnselectedNeighboursStays) {
  MeshBuilder builder;
  auto doc = TwoIslands(builder, 0, 16);
  Select(*doc, {0, 1});
  ShrinkSelection(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1}));
}

TEST(ShrinkSelection, NeverDropsAFaceBecauseOfAHiddenNeighbour) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Select(*doc, {2, 3, 4, 5, 6});
  Hide(*doc, {0, 1, 7, 8, 9});
  ShrinkSelection(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{2, 3, 4, 5, 6}));
}

TEST(ShrinkSelection, LeavesHiddenSelectedFacesSelected) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Select(*doc, {0, 9});
  Hide(*doc, {9});
  ShrinkSelection(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{9}));
}

TEST(SelectAllAndInvert, AlsoChangeHiddenFaces) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Hide(*doc, {1});
  SelectAll(builder.app);
  EXPECT_EQ(SelectedFaces(*doc).size(), 10u);
  Select(*doc, {0, 1});
  InvertSelection(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9}));
  SelectNone(builder.app);
  EXPECT_TRUE(SelectedFaces(*doc).empty());
  EXPECT_TRUE(doc->triangles[1].hidden());
}

TEST(HideAndUnhide, SelectAllThenHideHidesEverythingAndKeepsItSelected) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  SelectAll(builder.app);
  HideSelectedFaces(builder.app);
  for (int i = 0; i < doc->triangleCount; ++i) {
    EXPECT_TRUE(doc->triangles[i].hidden());
    EXPECT_TRUE(doc->triangles[i].selected());
  }
}

TEST(HideAndUnhide, UnhiddenFacesJoinTheSelection) {
  MeshBuilder builder;
  auto doc = Strip(builder);
  Select(*doc, {1, 2, 3});
  HideSelectedFaces(builder.app);
  Select(*doc, {7});
  UnhideAll(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{1, 2, 3, 7}));
  for (int i = 0; i < doc->triangleCount; ++i) EXPECT_FALSE(doc->triangles[i].hidden());
}

}  // namespace
}  // namespace mok
