#include "core/packed_vertex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "core/little_endian.h"

namespace mok {
namespace {

std::uint32_t XField(std::uint32_t word) { return word & 0x7FF; }
std::uint32_t YField(std::uint32_t word) { return (word >> 11) & 0x7FF; }
std::uint32_t ZField(std::uint32_t word) { return word >> 22; }

TEST(PackedVertex, NegativeValuesAreTwosComplementFields) {
  std::uint32_t word = PackVertex({-1.0f, 1.0f, -1.0f});
  EXPECT_EQ(XField(word), 0x7F8u);  // -8 in 11 bits
  EXPECT_EQ(YField(word), 0x7F8u);  // y is stored negated
  EXPECT_EQ(ZField(word), 0x3FCu);  // -4 in 10 bits
  Vec3 back = UnpackVertex(word);
  EXPECT_EQ(back.x, -1.0f);
  EXPECT_EQ(back.y, 1.0f);
  EXPECT_EQ(back.z, -1.0f);
}

TEST(PackedVertex, TheEnginesMinusOneFieldIsOneStepBelowZero) {
  // Field value 0x7FF is -1 for the engine: one step of 1/8 below zero.
  Vec3 p = UnpackVertex(0x7FFu | (0x7FFu << 11) | (0x3FFu << 22));
  EXPECT_EQ(p.x, -0.125f);
  EXPECT_EQ(p.y, 0.125f);
  EXPECT_EQ(p.z, -0.25f);
}

TEST(PackedVertex, ScaledValuesAreTruncatedTowardZero) {
  EXPECT_EQ(XField(PackVertex({0.1f, 0, 0})), 0u);
  EXPECT_EQ(UnpackVertex(PackVertex({0.1f, 0, 0})).x, 0.0f);
  EXPECT_EQ(XField(PackVertex({-0.2f, 0, 0})), 0x7FFu);  // -1.6 -> -1
  EXPECT_EQ(ZField(PackVertex({0, 0, 0.3f})), 1u);       // 1.2 -> 1
}

// Also through the frame functions, whose groups of four and tail must give
// UnpackVertex's floats bit for bit (-0 included) and the same words back.
TEST(PackedVertex, EveryFieldValueSurvivesAnUnpackAndPack) {
  constexpr std::size_t kCount = 2051;
  std::vector<std::uint8_t> bytes(4 * kCount);
  for (std::uint32_t i = 0; i < kCount; ++i) {
    const std::uint32_t field = i % 2048;
    const std::uint32_t word = field | ((2047 - field) << 11) | ((field & 0x3FF) << 22);
    ASSERT_EQ(PackVertex(UnpackVertex(word)), word) << field;
    for (int k = 0; k < 4; ++k) bytes[4 * i + k] = static_cast<std::uint8_t>(word >> (8 * k));
  }
  std::vector<Vec3> frame(kCount);
  UnpackFrame(bytes.data(), kCount, frame.data());
  for (std::uint32_t i = 0; i < kCount; ++i) {
    const Vec3 one = UnpackVertex(LoadLittle32(&bytes[4 * i]));
    ASSERT_EQ(std::memcmp(&one, &frame[i], sizeof one), 0) << i;
  }
  std::vector<std::uint8_t> again(bytes.size());
  ASSERT_EQ(PackFrame(frame.data(), kCount, again.data()), 0);
  EXPECT_EQ(again, bytes);
}

TEST(PackedVertex, OutOfRangeValuesAreClampedNotWrapped) {
  bool clamped = false;
  std::uint32_t word = PackVertex({200.0f, -200.0f, -300.0f}, &clamped);
  EXPECT_TRUE(clamped);
  Vec3 back = UnpackVertex(word);
  EXPECT_EQ(back.x, 127.875f);
  EXPECT_EQ(back.y, -127.875f);  // Y = 1023 at most
  EXPECT_EQ(back.z, -128.0f);    // Z = -512 at least
  clamped = false;
  PackVertex({127.875f, 128.0f, 127.75f}, &clamped);
  EXPECT_FALSE(clamped);
  // Just inside the edges truncation keeps the value; on them it clamps.
  EXPECT_EQ(UnpackVertex(PackVertex({-128.12f, 0, -128.2f}, &clamped)).x, -128.0f);
  EXPECT_FALSE(clamped);
  PackVertex({128.0f, 0, 0}, &clamped);
  EXPECT_TRUE(clamped);
  clamped = false;
  PackVertex({0, 0, -128.25f}, &clamped);
  EXPECT_TRUE(clamped);
}

// The frame packer gives PackVertex's words and counts its clamps, in groups
// of four with every mix of plain, clamped and NaN positions, and in the tail.
TEST(PackedVertex, FramePackingAgreesWithPackVertexAtTheEdges) {
  const float edges[] = {0.0f, -0.1f, 0.3f, 127.875f, 127.9f, 128.0f, -128.0f, -128.12f, -128.2f, -128.25f, 1e30f, NAN};
  for (float a : edges) {
    for (float b : edges) {
      const Vec3 frame[5] = {{a, b, a}, {b, -a, b}, {}, {a, 0, 0}, {0, b, a}};
      std::uint8_t out[4 * 5];
      int clamped = 0;
      const int packed = PackFrame(frame, 5, out);
      for (int i = 0; i < 5; ++i) {
        bool held = false;
        ASSERT_EQ(LoadLittle32(out + 4 * i), PackVertex(frame[i], &held)) << a << " " << b << " vertex " << i;
        clamped += held ? 1 : 0;
      }
      ASSERT_EQ(packed, clamped) << a << " " << b;
    }
  }
}

TEST(DeusExVertex, ScaleIsOneOver128WithYNegated) {
  Vec3 p = DecodeDeusExVertex({256, -384, -32768});
  EXPECT_EQ(p.x, 2.0f);
  EXPECT_EQ(p.y, 3.0f);
  EXPECT_EQ(p.z, -256.0f);
  DeusExVertex back = EncodeDeusExVertex(p);
  EXPECT_EQ(back.x, 256);
  EXPECT_EQ(back.y, -384);
  EXPECT_EQ(back.z, -32768);
}

TEST(DeusExVertex, OutOfRangeValuesAreClamped) {
  bool clamped = false;
  DeusExVertex stored = EncodeDeusExVertex({300.0f, 0, -300.0f}, &clamped);
  EXPECT_TRUE(clamped);
  EXPECT_EQ(stored.x, 32767);
  EXPECT_EQ(stored.z, -32768);
}

}  // namespace
}  // namespace mok
