#include "core/mesh_document.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace mok {
namespace {

std::unique_ptr<MeshDocument> TwoFaceDocument() {
  auto doc = std::make_unique<MeshDocument>();
  doc->triangleCount = 2;
  doc->ResetSkinSlots();
  return doc;
}

TEST(RebuildUvVertices, MergesOnlyCornersOnTheSameChannelWithinAQuarterOf1Over1024) {
  auto doc = TwoFaceDocument();
  MeshTriangle& a = doc->triangles[0];
  MeshTriangle& b = doc->triangles[1];
  a.uv[0] = {1, 1};
  a.uv[1] = {1 + 1.0f / 8192, 1};  // just below 1/4096 apart: merged
  a.uv[2] = {1, 1 + 1.0f / 4096};  // exactly 1/4096 apart: kept apart
  b.textureNum = 1;
  b.uv[0] = {1, 1};                // same place on another channel
  b.uv[1] = {5, 5};
  b.uv[2] = {5, 5};
  doc->RebuildUvVertices(false);
  EXPECT_EQ(a.uvIndex[0], 0);
  EXPECT_EQ(a.uvIndex[1], 0);
  EXPECT_EQ(a.uvIndex[2], 1);
  EXPECT_EQ(b.uvIndex[0], 2);
  EXPECT_EQ(b.uvIndex[1], 3);
  EXPECT_EQ(b.uvIndex[2], 3);
  EXPECT_EQ(doc->uvVertexCount, 4);
}

TEST(ComputeFaceNormals, DegenerateFaceKeepsItsNormal) {
  auto doc = TwoFaceDocument();
  auto frame = std::make_unique<AnimFrame>();
  frame->positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  doc->frames.push_back(std::move(frame));
  doc->SetCurrentFrame(0);
  doc->triangles[0].vertex[0] = 0;
  doc->triangles[0].vertex[1] = 1;
  doc->triangles[0].vertex[2] = 2;
  doc->triangles[1].normal = {0.5f, 0.25f, 0.125f};
  doc->ComputeFaceNormals();
  EXPECT_FLOAT_EQ(doc->triangles[0].normal.z, 1.0f);
  EXPECT_FLOAT_EQ(doc->triangles[1].normal.x, 0.5f);
}

TEST(ChannelUnits, RoundTripIsExactUpToFloatPrecisionAlsoWithoutSlot) {
  auto doc = TwoFaceDocument();
  doc->triangles[0].uv[0] = {3.25f, 17.5f};
  doc->triangles[1].textureNum = 40;  // no slot: byte values
  doc->triangles[1].uv[0] = {200, 100};
  doc->RebuildUvVertices(false);
  doc->ToChannelUnits();
  EXPECT_FLOAT_EQ(doc->uvVertices[doc->triangles[0].uvIndex[0]].u, 3.25f * 4096 / 32);
  EXPECT_FLOAT_EQ(doc->uvVertices[doc->triangles[1].uvIndex[0]].u, 3200);
  doc->FromChannelUnits();
  doc->RebuildUvVertices(true);
  EXPECT_NEAR(doc->triangles[0].uv[0].u, 3.25f, 1e-5);
  EXPECT_NEAR(doc->triangles[0].uv[0].v, 17.5f, 1e-5);
  EXPECT_NEAR(doc->triangles[1].uv[0].u, 200, 1e-4);
}

TEST(Placeholders, CheckerStartsWithTheSecondColourAndUsesTheCellSize) {
  auto doc = TwoFaceDocument();
  ASSERT_EQ(doc->slotCount(), 16);
  const SkinSlot& slot3 = *doc->skinSlots[3];
  EXPECT_EQ(slot3.isEmpty, 1);
  EXPECT_EQ(slot3.width, 32);
  EXPECT_EQ(slot3.pixels[0], 0xA0A0A0u);
  EXPECT_EQ(slot3.pixels[4], 0xA0A040u);   // x = 4, cell 4: first colour
  EXPECT_EQ(slot3.pixels[32 * 4 + 4], 0xA0A0A0u);
  EXPECT_EQ(doc->skinSlots[12]->pixels[4], 0xA0A0A0u);
  EXPECT_EQ(doc->skinSlots[12]->pixels[0], 0x404040u);
  EXPECT_EQ(doc->activeSkin, doc->skinSlots[0].get());
}

}  // namespace
}  // namespace mok

namespace mok {
namespace {

// The indexed search merges exactly the corners a scan of the whole table
// would: the first entry of the same channel closer than 1/4096 on both axes.
TEST(RebuildUvVertices, MergesAsAScanOfTheWholeTableWould) {
  auto doc = std::make_unique<MeshDocument>();
  std::mt19937 random(5);
  doc->triangleCount = 4000;
  for (int i = 0; i < doc->triangleCount; ++i) {
    MeshTriangle& face = doc->triangles[static_cast<std::size_t>(i)];
    face.textureNum = static_cast<std::uint8_t>(random() % 2);
    for (UvPair& uv : face.uv)  // clustered around grid lines, a few far or NaN
      uv = {static_cast<float>(random() % 8) / 4096 + static_cast<float>(random() % 3) * 1e-5f,
            random() % 50 == 0 ? (random() % 2 ? std::nanf("") : 3e38f) : static_cast<float>(random() % 3) / 4096};
  }
  doc->RebuildUvVertices(false);
  std::vector<UvPair> table;
  std::vector<int> channels;
  for (int i = 0; i < doc->triangleCount; ++i) {
    const MeshTriangle& face = doc->triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      const UvPair& uv = face.uv[k];
      std::size_t m = 0;
      while (m < table.size() && !(channels[m] == face.textureNum && std::fabs(uv.u - table[m].u) < 1.0f / 4096 &&
                                   std::fabs(uv.v - table[m].v) < 1.0f / 4096))
        ++m;
      if (m == table.size()) table.push_back(uv), channels.push_back(face.textureNum);
      ASSERT_EQ(face.uvIndex[k], static_cast<int>(m)) << i << " " << k;
    }
  }
  EXPECT_EQ(doc->uvVertexCount, static_cast<int>(table.size()));
}

}  // namespace
}  // namespace mok
