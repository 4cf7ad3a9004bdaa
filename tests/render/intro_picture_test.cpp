// The intro's picture: the floor rows and colours, the model's size, and one
// whole frame compared byte for byte with tests/render/golden/intro.bmp (a
// 16-bit 5:5:5 bitmap, so any viewer shows it).
//
// After an intended change of the picture, write it again with
//   MOK_UPDATE_GOLDEN=1 build/bin/mok_tests --gtest_filter='IntroPicture*'
// and look at it before committing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "panes/intro_picture.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

// A bottom-up 16-bit bitmap with a 40-byte header: its pixel rows are the
// picture's rows in reverse order.
std::vector<std::uint8_t> Bitmap16(const IntroPicture& picture) {
  const std::uint32_t imageBytes = kIntroWidth * kIntroHeight * 2;
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  put('B' | ('M' << 8), 2), put(54 + imageBytes, 4), put(0, 4), put(54, 4);
  put(40, 4), put(kIntroWidth, 4), put(kIntroHeight, 4), put(1, 2), put(16, 2), put(0, 4);
  put(imageBytes, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  for (int row = kIntroHeight - 1; row >= 0; --row)
    for (int x = 0; x < kIntroWidth; ++x) put(picture.pixels[static_cast<std::size_t>(row) * kIntroWidth + x], 2);
  return out;
}

TEST(IntroPicture, FloorHasTwelveGreenLinesAtTheirRows) {
  IntroPicture picture;
  RasterContext raster;
  raster.width = raster.pitch16 = kIntroWidth;
  raster.height = kIntroHeight;
  raster.maxX = kIntroWidth - 1;
  raster.maxY = kIntroHeight - 1;
  raster.colour16 = picture.pixels.data();
  DrawIntroFloor(raster);
  const int rows[] = {130, 130, 128, 124, 119, 111, 101, 88, 73, 54, 32, 5};
  for (int k = 1; k < 12; ++k) {
    const std::uint16_t colour = static_cast<std::uint16_t>((1 + 3 * k) << 5);
    const std::size_t row = static_cast<std::size_t>(rows[k]) * kIntroWidth;
    EXPECT_EQ(picture.pixels[row + 4], colour) << "line " << k;
    EXPECT_EQ(picture.pixels[row + 315], colour) << "line " << k;
    EXPECT_EQ(picture.pixels[row + 3], 0) << "line " << k;
    EXPECT_EQ(picture.pixels[row + 316], 0) << "line " << k;
  }
  EXPECT_EQ(picture.pixels[5 * kIntroWidth + 160], 1088);  // red 1, green 2: the green overflows
  EXPECT_EQ(picture.pixels[131 * kIntroWidth + 160], 0);
}

TEST(IntroPicture, ModelHasItsCountsAndStaysInsideTheBevelAtEveryAngle) {
  std::set<std::pair<int, int>> edges;
  for (const IntroEdge& e : kIntroEdges) {
    ASSERT_LT(e.from, kIntroPointCount);
    ASSERT_LT(e.to, kIntroPointCount);
    ASSERT_NE(e.from, e.to);
    EXPECT_TRUE(edges.insert({std::min(e.from, e.to), std::max(e.from, e.to)}).second) << "edge drawn twice";
  }
  // The wireframe is drawn unclipped: with its glow (2 pixels) and the
  // anti-aliased neighbour it must stay inside the bevel at every angle.
  const double tilt = 0.25;
  for (double angle = 0; angle < 6.3; angle += 0.01) {
    for (const IntroPoint& p : kIntroPoints) {
      const double x1 = p.x - 1.5, y1 = p.y - 4.0, z1 = p.z - 3.1;
      const double rx = x1 * std::cos(angle) - y1 * std::sin(angle);
      const double ry = x1 * std::sin(angle) + y1 * std::cos(angle);
      const double h = rx * std::sin(tilt) + z1 * std::cos(tilt);
      const double d = rx * std::cos(tilt) - z1 * std::sin(tilt) + 15.25;
      ASSERT_GT(d, 1.0);
      const double sx = ry / (d / 15) * (-17) + 160, sy = h / (d / 15) * 17 + 130;
      ASSERT_TRUE(sx > 8 && sx < 311 && sy > 8 && sy < 231) << angle << ": " << sx << ", " << sy;
    }
  }
}

TEST(IntroPicture, FramePutsTheSharedTargetBack) {
  RasterContext raster;
  raster.width = 64;
  raster.maxX = 63;
  IntroPicture picture;
  IntroRandom random(3);
  RenderIntroFrame(raster, picture, random);
  EXPECT_EQ(raster.width, 64);
  EXPECT_EQ(raster.maxX, 63);
  EXPECT_EQ(raster.colour16, nullptr);
}

TEST(IntroPicture, TimeTurnsTheModelAndScrollsTheBand) {
  IntroPicture picture;
  SetIntroTime(picture, 3500);
  EXPECT_DOUBLE_EQ(picture.angle, 10.0);
  EXPECT_EQ(picture.scroll, 350 % 237);
  SetIntroTime(picture, 59100);
  EXPECT_EQ(picture.scroll, 5910 % 237);
}

TEST(IntroPicture, FrameMatchesTheKeptBitmap) {
  RasterContext raster;
  IntroPicture picture;
  picture.playing = 1;
  IntroRandom random(1);
  SetIntroTime(picture, 2500);
  RenderIntroFrame(raster, picture, random);
  const std::vector<std::uint8_t> actual = Bitmap16(picture);
  const std::string golden = (std::filesystem::path(MOK_SOURCE_DIR) / "tests/render/golden/intro.bmp").string();
  if (std::getenv("MOK_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary).write(reinterpret_cast<const char*>(actual.data()),
                                                  static_cast<std::streamsize>(actual.size()));
    GTEST_SKIP() << "wrote " << golden;
  }
  const std::vector<std::uint8_t> expected = test::ReadBytes(golden);
  ASSERT_FALSE(expected.empty()) << "missing " << golden;
  EXPECT_TRUE(actual == expected) << "the intro frame differs from " << golden;
}

}  // namespace
}  // namespace mok
