// RebuildUvVertices goes through a spatial index; the plain linear search of
// the table below is the reference it must match entry for entry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>

#include "core/mesh_document.h"
#include "core/uv_vertex_index.h"

namespace mok {
namespace {

constexpr float kD = 1.0f / 4096.0f;

struct UvTable {
  std::vector<UvPair> entries;
  std::vector<std::uint8_t> channels;
  std::vector<std::int16_t> cornerIndex;
};

// The first entry in table order on the same channel closer than 1/4096 in
// both coordinates, else a new entry.
UvTable LinearRebuild(const MeshDocument& doc) {
  UvTable t;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    for (const UvPair& uv : face.uv) {
      std::size_t m = 0;
      while (m < t.entries.size() && !(t.channels[m] == face.textureNum && std::fabs(uv.u - t.entries[m].u) < kD &&
                                       std::fabs(uv.v - t.entries[m].v) < kD)) {
        ++m;
      }
      if (m == t.entries.size()) t.entries.push_back(uv), t.channels.push_back(face.textureNum);
      t.cornerIndex.push_back(static_cast<std::int16_t>(m));
    }
  }
  return t;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Fills every face from `corner(face, k)` and the channel from `channel(face)`,
// rebuilds and compares with the linear search.
void ExpectSameAsLinearSearch(int faces, const std::function<UvPair(int, int)>& corner,
                              const std::function<int(int)>& channel) {
  auto doc = std::make_unique<MeshDocument>();
  doc->triangleCount = static_cast<std::int16_t>(faces);
  for (int i = 0; i < faces; ++i) {
    MeshTriangle& face = doc->triangles[static_cast<std::size_t>(i)];
    face.textureNum = static_cast<std::uint8_t>(channel(i));
    for (int k = 0; k < 3; ++k) face.uv[k] = corner(i, k);
  }
  const UvTable expected = LinearRebuild(*doc);
  doc->RebuildUvVertices(false);
  ASSERT_EQ(doc->uvVertexCount, static_cast<int>(expected.entries.size()));
  for (std::size_t m = 0; m < expected.entries.size(); ++m) {
    ASSERT_TRUE(SameBits(doc->uvVertices[m].u, expected.entries[m].u) && SameBits(doc->uvVertices[m].v, expected.entries[m].v))
        << "entry " << m;
    ASSERT_EQ(doc->uvVertexChannel[m], expected.channels[m]) << "entry " << m;
  }
  for (int i = 0; i < faces; ++i) {
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(doc->triangles[static_cast<std::size_t>(i)].uvIndex[k], expected.cornerIndex[static_cast<std::size_t>(i * 3 + k)])
          << "face " << i << " corner " << k;
    }
  }
}

// Offsets from a base that straddle the merge distance and the cell edges.
float EdgeOffset(std::mt19937& rng) {
  static const float kOffsets[] = {0,
                                   kD,
                                   -kD,
                                   kD / 2,
                                   2 * kD,
                                   3 * kD,
                                   std::nextafter(kD, 0.0f),
                                   std::nextafter(kD, 1.0f),
                                   -std::nextafter(kD, 0.0f),
                                   std::nextafter(2 * kD, 0.0f),
                                   1.5f * kD,
                                   -0.0f};
  return kOffsets[std::uniform_int_distribution<int>(0, std::size(kOffsets) - 1)(rng)];
}

TEST(UvVertexIndex, MatchesTheLinearSearchOnRandomLayoutsWithManyChannels) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> cell(-40, 40), channel(0, 17);
  std::uniform_real_distribution<float> jitter(-1.5f * kD, 1.5f * kD);
  for (int round = 0; round < 4; ++round) {
    ExpectSameAsLinearSearch(
        kMaxTriangles, [&](int, int) { return UvPair{cell(rng) * kD + jitter(rng), cell(rng) * kD + jitter(rng)}; },
        [&](int) { return round == 0 ? 0 : channel(rng); });
  }
}

TEST(UvVertexIndex, MatchesTheLinearSearchAtTheMergeDistanceAndTheCellEdges) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> step(-6, 6), channel(0, 2);
  for (const float base : {0.0f, 1.0f, 127.5f, -3.0f, 2047.75f, 2048.0f, 4095.0f, 65536.0f}) {
    ExpectSameAsLinearSearch(
        2000,
        [&](int, int) {
          return UvPair{base + step(rng) * kD + EdgeOffset(rng), base + step(rng) * kD + EdgeOffset(rng)};
        },
        [&](int) { return channel(rng); });
  }
}

TEST(UvVertexIndex, MatchesTheLinearSearchOnDuplicatesHugeAndNonFiniteValues) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const float odd[] = {0, -0.0f, 1e30f, -1e30f, 3e9f, inf, -inf, nan, 1e-40f, -1e-40f, 5, 5 + kD};
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> pick(0, std::size(odd) - 1);
  ExpectSameAsLinearSearch(kMaxTriangles, [&](int, int) { return UvPair{odd[pick(rng)], odd[pick(rng)]}; },
                           [](int face) { return face % 3; });
  // Every corner at one point on alternating channels, and every corner its own.
  ExpectSameAsLinearSearch(kMaxTriangles, [](int, int) { return UvPair{9.5f, 9.5f}; },
                           [](int face) { return face % 2; });
  ExpectSameAsLinearSearch(
      kMaxTriangles, [](int face, int k) { return UvPair{static_cast<float>(face % 64 * 3 + k), static_cast<float>(face / 64)}; },
      [](int) { return 0; });
}

// Clear leaves the storage as it is; what was added before must not be found,
// nor block a cell that the same key takes again on another channel.
TEST(UvVertexIndex, ClearForgetsEveryEntry) {
  UvVertexIndex index(8);
  const UvPair table[] = {{1, 1}, {1, 1 + kD / 2}};
  index.Add(0, 0, table[0]);
  ASSERT_EQ(index.Find(0, table[1], table), 0);
  for (int round = 0; round < 3; ++round) {
    index.Clear();
    EXPECT_EQ(index.Find(0, table[1], table), -1);
    index.Add(1, 5, table[1]);
    EXPECT_EQ(index.Find(0, table[0], table), -1);
    EXPECT_EQ(index.Find(5, table[0], table), 1);
  }
}

}  // namespace
}  // namespace mok
