#pragma once
// The tables that turn light into colour: the gamma table, the three colour
// ramps built from the display colours, and the texel-times-light rule.
// Colours are 0x00RRGGBB.

#include <array>
#include <cstdint>

namespace mok {

// The eight user colours "Color-0" .. "Color-7" and their roles in drawing.
using DisplayColours = std::array<std::uint32_t, 8>;
inline constexpr int kColourUnselected = 1;
inline constexpr int kColourSelected = 2;
inline constexpr int kColourEditing = 3;
inline constexpr int kColourBackground = 7;

// g[i] = truncate(pow(i / 255, gamma) * 255).
using GammaTable = std::array<std::uint8_t, 256>;
GammaTable BuildGammaTable(double gamma);

// Hue in degrees [0, 360) (0 when saturation is 0), saturation and value 0..1.
struct Hsv {
  double h = 0;
  double s = 0;
  double v = 0;
};
struct RgbF {
  double r = 0;
  double g = 0;
  double b = 0;
};
Hsv RgbToHsv(const RgbF& rgb);
// Six-sector hexcone; a hue of 360 or more counts as 0; no saturation is grey.
RgbF HsvToRgb(const Hsv& hsv);

// A 0x00RRGGBB colour as channels / 256, and back: each channel * 256,
// truncated and kept within 0..255.
RgbF UnpackColour(std::uint32_t colour);
std::uint32_t PackColour(const RgbF& rgb);

// Three ramps of 256 colours: ramp 0 from "Color-1", 1 from "Color-2",
// 2 from "Color-3". Entry i keeps the colour's hue and saturation and scales
// its value by g[i] / 256.
inline constexpr int kRampSize = 256;
using ShadeRamps = std::array<std::uint32_t, 3 * kRampSize>;
std::array<std::uint32_t, kRampSize> BuildShadeRamp(std::uint32_t colour, const GammaTable& gamma);
ShadeRamps BuildShadeRamps(const DisplayColours& colours, const GammaTable& gamma);

// Per channel (texel * (shade + 1)) >> 8.
std::uint32_t modulate(std::uint32_t texel, std::uint32_t shade);

// The program-wide gamma: the exponent is held by the gradient box and not
// saved. Rebuild the table at start-up and after a change of gamma, render
// mode or phong maps. The shade ramps need no stored copy: every frame builds
// them from its own copy of the display colours and this table, so they can
// never be stale.
struct ShadingTables {
  double gamma = 1.0;
  GammaTable gammaTable = BuildGammaTable(1.0);

  void SetGamma(double exponent);
  void RebuildGammaTable() { gammaTable = BuildGammaTable(gamma); }
};

}  // namespace mok
