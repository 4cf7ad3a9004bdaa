#include "core/face_edits.h"

#include <gtest/gtest.h>

#include "core/selection.h"
#include "tests/core/edit_test_support.h"

namespace mok {
namespace {

using edit_test::Hide;
using edit_test::MeshBuilder;
using edit_test::ScriptedPrompter;
using edit_test::Select;
using edit_test::SelectedFaces;

// Four separate faces with distinct coordinates, in the xy plane facing +z.
MeshDocument* FourFaces(MeshBuilder& builder) {
  for (int i = 0; i < 4; ++i) {
    auto base = static_cast<std::int16_t>(3 * i);
    float x = 4.0f * i;
    builder.AddFace(base, static_cast<std::int16_t>(base + 1), static_cast<std::int16_t>(base + 2), {x, 1},
                    {x + 2, 1}, {x, 3});
  }
  return builder.Build();
}

std::vector<Vec3> GridPositions() {
  std::vector<Vec3> p(64);
  for (int i = 0; i < 12; ++i) p[static_cast<std::size_t>(i)] = {float(i % 3), float(i / 3), 0};
  return p;
}

TEST(DeleteSelectedFaces, RefusesWithoutSelection) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  ScriptedPrompter& prompter = builder.prompter;
  Select(*doc, {1});
  Hide(*doc, {1});  // hidden faces do not count as selected
  EXPECT_FALSE(DeleteSelectedFaces(builder.app));
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"There are no selected triangles!"}));
  EXPECT_EQ(doc->triangleCount, 4);
  EXPECT_TRUE(builder.refresh.refreshes() == 0);
}

TEST(DeleteSelectedFaces, RefusesToDeleteEveryFace) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  ScriptedPrompter& prompter = builder.prompter;
  SelectAll(builder.app);
  EXPECT_FALSE(DeleteSelectedFaces(builder.app));
  EXPECT_EQ(prompter.messages.back(), "You can no delete all existing triangles!");
  EXPECT_EQ(doc->triangleCount, 4);
}

TEST(DeleteSelectedFaces, DeletesEveryVisibleFaceWhileHiddenOnesRemain) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  ScriptedPrompter& prompter = builder.prompter;
  Hide(*doc, {1, 3});
  SelectAll(builder.app);
  ASSERT_TRUE(DeleteSelectedFaces(builder.app));
  EXPECT_TRUE(prompter.messages.empty());
  ASSERT_EQ(doc->triangleCount, 2);
  EXPECT_EQ(doc->triangles[0].vertex[0], 3);
  EXPECT_EQ(doc->triangles[1].vertex[0], 9);
  EXPECT_TRUE(doc->triangles[0].hidden());
  EXPECT_EQ(doc->uvVertexCount, 6);
  EXPECT_EQ(builder.refresh.lastPaneBits(), kPanesAll);
}

TEST(DeleteSelectedFaces, RevertStillRestoresTheRemainingFacesStoredCoordinates) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  doc->triangles[2].uv[0] = {30, 30};  // an edit after the snapshot
  doc->RebuildUvVertices(false);
  Select(*doc, {0});
  ASSERT_TRUE(DeleteSelectedFaces(builder.app));
  doc->RevertMapping();
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[0].u, 8);  // the old face 2
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[0].v, 1);
  EXPECT_FLOAT_EQ(doc->triangles[2].uv[1].u, 14);
}

TEST(FlipSelectedFaces, ReversesTheNormalAndTwiceRestoresTheFace) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  Select(*doc, {1, 2});
  Hide(*doc, {2});
  MeshTriangle before1 = doc->triangles[1];
  MeshTriangle before2 = doc->triangles[2];
  FlipSelectedFaces(builder.app);
  EXPECT_EQ(doc->triangles[1].vertex[1], before1.vertex[2]);
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[1].u, before1.uv[2].u);
  EXPECT_FLOAT_EQ(doc->triangles[1].normal.z, -before1.normal.z);
  EXPECT_EQ(doc->triangles[2].vertex[1], before2.vertex[1]);  // hidden: untouched
  FlipSelectedFaces(builder.app);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(doc->triangles[1].vertex[k], before1.vertex[k]);
    EXPECT_EQ(doc->triangles[1].uvIndex[k], before1.uvIndex[k]);
    EXPECT_EQ(doc->triangles[1].storedUvIndex[k], before1.storedUvIndex[k]);
    EXPECT_FLOAT_EQ(doc->triangles[1].uv[k].u, before1.uv[k].u);
  }
  EXPECT_FLOAT_EQ(doc->triangles[1].normal.z, before1.normal.z);
}

TEST(FlipSelectedFaces, RevertPutsStoredCoordinatesBackInTheirOldCornerPositions) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  Select(*doc, {0});
  FlipSelectedFaces(builder.app);
  doc->RevertMapping();
  // Corner 1 now holds vertex 2 but gets corner 1's stored coordinate back.
  EXPECT_EQ(doc->triangles[0].vertex[1], 2);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].u, 2);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[2].u, 0);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[2].v, 3);
}

// A unit quad 0 (0,0), 1 (1,0), 2 (1,1), 3 (0,1), split along 0-2, mapped
// onto the skin as it lies (16 texels per unit), facing +z.
struct Quad {
  MeshBuilder builder{{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}};
  MeshDocument* doc = nullptr;
};

UvPair UvOf(int vertex) {
  static const UvPair kUv[4] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
  return kUv[vertex];
}

std::unique_ptr<Quad> MakeQuad(std::array<std::int16_t, 3> a, std::array<std::int16_t, 3> b) {
  auto quad = std::make_unique<Quad>();
  quad->builder.AddFace(a[0], a[1], a[2], UvOf(a[0]), UvOf(a[1]), UvOf(a[2]));
  quad->builder.AddFace(b[0], b[1], b[2], UvOf(b[0]), UvOf(b[1]), UvOf(b[2]));
  quad->doc = quad->builder.Build();
  Select(*quad->doc, {0, 1});
  return quad;
}

std::array<std::int16_t, 3> Vertices(const MeshTriangle& face) { return {face.vertex[0], face.vertex[1], face.vertex[2]}; }

void ExpectMappingFollowsVertices(const MeshDocument& doc) {
  for (int i = 0; i < 2; ++i) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_FLOAT_EQ(doc.triangles[i].uv[k].u, UvOf(doc.triangles[i].vertex[k]).u);
      EXPECT_FLOAT_EQ(doc.triangles[i].uv[k].v, UvOf(doc.triangles[i].vertex[k]).v);
    }
  }
}

// The first face lists its unshared corner (vertex 1) last or first.
class TurnEdgeKeepingOrientation : public ::testing::TestWithParam<std::array<std::int16_t, 3>> {};

TEST_P(TurnEdgeKeepingOrientation, TakesTheOtherDiagonalWithTheSameOrientation) {
  auto quad = MakeQuad(GetParam(), {0, 2, 3});
  ASSERT_TRUE(TurnEdge(quad->builder.app));
  EXPECT_EQ(Vertices(quad->doc->triangles[0]), (std::array<std::int16_t, 3>{2, 3, 1}));
  EXPECT_EQ(Vertices(quad->doc->triangles[1]), (std::array<std::int16_t, 3>{0, 1, 3}));
  EXPECT_FLOAT_EQ(quad->doc->triangles[0].normal.z, 1);
  EXPECT_FLOAT_EQ(quad->doc->triangles[1].normal.z, 1);
  ExpectMappingFollowsVertices(*quad->doc);
}

INSTANTIATE_TEST_SUITE_P(CornerOrders, TurnEdgeKeepingOrientation,
                         ::testing::Values(std::array<std::int16_t, 3>{2, 0, 1}, std::array<std::int16_t, 3>{1, 2, 0}));

TEST(TurnEdge, UnsharedCornerInTheMiddleReversesBothFacesAndAFlipTurnsThemBack) {
  auto quad = MakeQuad({0, 1, 2}, {0, 2, 3});
  ASSERT_TRUE(TurnEdge(quad->builder.app));
  EXPECT_EQ(Vertices(quad->doc->triangles[0]), (std::array<std::int16_t, 3>{0, 3, 1}));
  EXPECT_EQ(Vertices(quad->doc->triangles[1]), (std::array<std::int16_t, 3>{2, 1, 3}));
  EXPECT_FLOAT_EQ(quad->doc->triangles[0].normal.z, -1);
  EXPECT_FLOAT_EQ(quad->doc->triangles[1].normal.z, -1);
  FlipSelectedFaces(quad->builder.app);
  EXPECT_FLOAT_EQ(quad->doc->triangles[0].normal.z, 1);
  EXPECT_FLOAT_EQ(quad->doc->triangles[1].normal.z, 1);
  ExpectMappingFollowsVertices(*quad->doc);
}

TEST(TurnEdge, NeedsExactlyTwoVisibleSelectedFaces) {
  MeshBuilder builder(GridPositions());
  auto doc = FourFaces(builder);
  ScriptedPrompter& prompter = builder.prompter;
  Select(*doc, {0});
  EXPECT_FALSE(TurnEdge(builder.app));
  Select(*doc, {0, 1, 2});
  EXPECT_FALSE(TurnEdge(builder.app));
  Select(*doc, {0, 1});
  Hide(*doc, {1});
  EXPECT_FALSE(TurnEdge(builder.app));
  EXPECT_EQ(prompter.messages, std::vector<std::string>(3, "You must select only 2 triangles when turning an edge!"));
}

TEST(TurnEdge, IgnoresHiddenSelectedFacesWhenCounting) {
  MeshBuilder builder({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  builder.AddFace(2, 0, 1, UvOf(2), UvOf(0), UvOf(1));
  builder.AddFace(0, 1, 3, {40, 0}, {41, 0}, {40, 1});
  builder.AddFace(0, 2, 3, UvOf(0), UvOf(2), UvOf(3));
  auto doc = builder.Build();
  Select(*doc, {0, 1, 2});
  Hide(*doc, {1});
  ScriptedPrompter& prompter = builder.prompter;
  ASSERT_TRUE(TurnEdge(builder.app));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(Vertices(doc->triangles[0]), (std::array<std::int16_t, 3>{2, 3, 1}));
  EXPECT_EQ(Vertices(doc->triangles[1]), (std::array<std::int16_t, 3>{0, 1, 3}));  // hidden: untouched
  EXPECT_EQ(Vertices(doc->triangles[2]), (std::array<std::int16_t, 3>{0, 1, 3}));
}

TEST(TurnEdge, RefusesFacesThatShareOnlyAVertex) {
  MeshBuilder builder(GridPositions());
  builder.AddFace(0, 1, 2, {0, 0}, {1, 0}, {1, 1});
  builder.AddFace(2, 4, 5, {1, 1}, {2, 1}, {2, 2});
  auto doc = builder.Build();
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  EXPECT_FALSE(TurnEdge(builder.app));
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"The selected triangles are not connected!"}));
  EXPECT_EQ(Vertices(doc->triangles[0]), (std::array<std::int16_t, 3>{0, 1, 2}));
}

TEST(TurnEdge, RefusesFacesWithARepeatedVertex) {
  MeshBuilder builder(GridPositions());
  builder.AddFace(0, 0, 2, {0, 0}, {0, 0}, {1, 1});
  builder.AddFace(0, 5, 3, {0, 0}, {2, 1}, {2, 2});
  auto doc = builder.Build();
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  EXPECT_FALSE(TurnEdge(builder.app));
  EXPECT_EQ(prompter.messages.back(), "The selected triangles are not connected!");
}

TEST(TurnEdge, RefusesAnEdgeOnASeamOfTheMapping) {
  MeshBuilder builder({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  builder.AddFace(0, 1, 2, UvOf(0), UvOf(1), UvOf(2));
  builder.AddFace(0, 2, 3, {20, 0}, {20, 16}, {30, 16});  // mapped elsewhere
  auto doc = builder.Build();
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  EXPECT_FALSE(TurnEdge(builder.app));
  EXPECT_EQ(prompter.messages.back(), "The selected triangles are not connected in their mapping!");
  EXPECT_EQ(Vertices(doc->triangles[1]), (std::array<std::int16_t, 3>{0, 2, 3}));
}

TEST(ClearSelectedMapping, LeavesOneUvVertexAtTheOriginPerChannel) {
  MeshBuilder builder(GridPositions());
  builder.AddFace(0, 1, 2, {1, 1}, {5, 1}, {1, 5}, 0);
  builder.AddFace(3, 4, 5, {1, 1}, {5, 1}, {1, 5}, 2);
  builder.AddFace(6, 7, 8, {9, 9}, {12, 9}, {9, 12}, 0);
  auto doc = builder.Build();
  Select(*doc, {0, 1});
  ClearSelectedMapping(builder.app);
  EXPECT_EQ(doc->triangles[0].uvIndex[0], doc->triangles[0].uvIndex[2]);
  EXPECT_NE(doc->triangles[0].uvIndex[0], doc->triangles[1].uvIndex[0]);
  int atOrigin = 0;
  for (int i = 0; i < doc->uvVertexCount; ++i)
    if (doc->uvVertices[i].u == 0 && doc->uvVertices[i].v == 0) ++atOrigin;
  EXPECT_EQ(atOrigin, 2);
  EXPECT_EQ(doc->uvVertexCount, 5);
  EXPECT_FLOAT_EQ(doc->triangles[2].uv[1].u, 12);
}

}  // namespace
}  // namespace mok
