#include "render/shading.h"

#include <gtest/gtest.h>

namespace mok {
namespace {

GammaTable Identity() { return BuildGammaTable(1.0); }

TEST(GammaTable, ExponentOneIsTheIdentity) {
  const GammaTable g = Identity();
  for (int i = 0; i < 256; ++i) EXPECT_EQ(g[static_cast<std::size_t>(i)], i) << i;
}

TEST(GammaTable, ValuesTruncate) {
  const GammaTable two = BuildGammaTable(2.0);
  EXPECT_EQ(two[128], 64);   // 16384 / 255 = 64.25
  EXPECT_EQ(two[255], 255);
  EXPECT_EQ(two[0], 0);
  EXPECT_EQ(two[16], 1);     // 256 / 255 = 1.004
  EXPECT_EQ(two[15], 0);     // 225 / 255 = 0.88
  const GammaTable half = BuildGammaTable(0.5);
  EXPECT_EQ(half[64], 127);  // sqrt(64 / 255) * 255 = 127.75
}

TEST(Hsv, PrimaryColoursHaveTheirTextbookHues) {
  EXPECT_DOUBLE_EQ(RgbToHsv({1, 0, 0}).h, 0);
  EXPECT_DOUBLE_EQ(RgbToHsv({0, 1, 0}).h, 120);
  EXPECT_DOUBLE_EQ(RgbToHsv({0, 0, 1}).h, 240);
  EXPECT_DOUBLE_EQ(RgbToHsv({1, 0, 1}).h, 300);
  const Hsv grey = RgbToHsv({0.5, 0.5, 0.5});
  EXPECT_DOUBLE_EQ(grey.s, 0);
  EXPECT_DOUBLE_EQ(grey.v, 0.5);
  const Hsv black = RgbToHsv({0, 0, 0});
  EXPECT_DOUBLE_EQ(black.s, 0);
  EXPECT_DOUBLE_EQ(black.v, 0);
}

TEST(Hsv, HueOf360CountsAsZero) {
  const RgbF a = HsvToRgb({360, 1, 1});
  EXPECT_DOUBLE_EQ(a.r, 1);
  EXPECT_DOUBLE_EQ(a.g, 0);
  EXPECT_DOUBLE_EQ(a.b, 0);
}

TEST(Hsv, NoSaturationIsExactGrey) {
  const RgbF grey = HsvToRgb({200, 0, 0.25});
  EXPECT_DOUBLE_EQ(grey.r, 0.25);
  EXPECT_DOUBLE_EQ(grey.g, 0.25);
  EXPECT_DOUBLE_EQ(grey.b, 0.25);
}

TEST(Hsv, RoundTripGivesTheColourBack) {
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 17) {
      for (int b = 0; b < 256; b += 51) {
        const RgbF in{r / 256.0, g / 256.0, b / 256.0};
        const RgbF out = HsvToRgb(RgbToHsv(in));
        EXPECT_NEAR(out.r, in.r, 1e-12);
        EXPECT_NEAR(out.g, in.g, 1e-12);
        EXPECT_NEAR(out.b, in.b, 1e-12);
      }
    }
  }
}

TEST(ShadeRamps, BuiltFromColoursOneTwoThree) {
  DisplayColours colours = {0xFFFFFF, 0x80FF80, 0x8080FF, 0xFF8080, 0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000};
  const ShadeRamps ramps = BuildShadeRamps(colours, Identity());
  // Full light scales V by 255/256: 255 -> 254.004, 128 -> 127.5.
  EXPECT_EQ(ramps[255], 0x7FFE7Fu);
  EXPECT_EQ(ramps[256 + 255], 0x7F7FFEu);
  EXPECT_EQ(ramps[512 + 255], 0xFE7F7Fu);
  // Entry 101: 255 * 101 / 256 = 100.6, 128 * 101 / 256 = 50.5.
  EXPECT_EQ(ramps[101], 0x326432u);
  EXPECT_EQ(ramps[0], 0u);
  EXPECT_EQ(ramps[256], 0u);
}

TEST(ShadeRamps, IntermediateHuesUseTheSectorFormulas) {
  // Orange: hue 30.1, sector 0, green = V * f. Rose: hue 329.9, sector 5,
  // blue = V (1 - S f). Both give 127.5 at full light.
  EXPECT_EQ(BuildShadeRamp(0xFF8000, Identity())[255], 0xFE7F00u);
  EXPECT_EQ(BuildShadeRamp(0xFF0080, Identity())[255], 0xFE007Fu);
}

TEST(ShadeRamps, GreyStaysGreyAtEveryLevel) {
  const auto ramp = BuildShadeRamp(0x808080, Identity());
  for (std::uint32_t c : ramp) {
    EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
    EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
  }
  EXPECT_EQ(ramp[255], 0x7F7F7Fu);
}

TEST(ShadeRamps, FollowTheGammaTable) {
  ShadingTables tables;
  tables.SetGamma(2.0);
  EXPECT_EQ(tables.gammaTable[128], 64);
  // White: V = 255/256, scaled by g[128] / 256 = 64 / 256: 255 * 64 / 256 = 63.75.
  EXPECT_EQ(BuildShadeRamps({0, 0xFFFFFF, 0, 0, 0, 0, 0, 0}, tables.gammaTable)[128], 0x3F3F3Fu);
}

TEST(Modulate, MultipliesEachChannelByShadePlusOne) {
  EXPECT_EQ(modulate(0xFFFFFF, 0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(modulate(0x804020, 0x000000), 0x000000u);
  // 128 * 128 >> 8 = 64; 255 * 64 >> 8 = 63; 16 * 1 >> 8 = 0.
  EXPECT_EQ(modulate(0x80FF10, 0x7F3F00), 0x403F00u);
  EXPECT_EQ(modulate(0xFF123456, 0xFFFFFFFF), 0x123456u);  // the spare byte never leaks
}

}  // namespace
}  // namespace mok
