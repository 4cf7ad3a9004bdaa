#include "render/shading.h"

#include <algorithm>
#include <cmath>

namespace mok {

namespace {

double Channel(std::uint32_t colour, int shift) { return ((colour >> shift) & 0xFF) / 256.0; }

std::uint32_t PackChannel(double value, int shift) {
  return static_cast<std::uint32_t>(std::clamp(static_cast<int>(value * 256), 0, 255)) << shift;
}

}  // namespace

GammaTable BuildGammaTable(double gamma) {
  GammaTable table{};
  for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::pow(i / 255.0, gamma) * 255);
  return table;
}

Hsv RgbToHsv(const RgbF& rgb) {
  const double max = std::max({rgb.r, rgb.g, rgb.b});
  const double min = std::min({rgb.r, rgb.g, rgb.b});
  Hsv hsv;
  hsv.v = max;
  hsv.s = max > 0 ? (max - min) / max : 0;
  if (hsv.s == 0) return hsv;
  const double delta = max - min;
  double sector;
  if (rgb.r == max) sector = (rgb.g - rgb.b) / delta;
  else if (rgb.g == max) sector = 2 + (rgb.b - rgb.r) / delta;
  else sector = 4 + (rgb.r - rgb.g) / delta;
  hsv.h = sector * 60;
  if (hsv.h < 0) hsv.h += 360;
  return hsv;
}

RgbF HsvToRgb(const Hsv& hsv) {
  const double v = hsv.v;
  if (hsv.s == 0) return {v, v, v};
  const double h = (hsv.h >= 360 ? 0 : hsv.h) / 60;
  const int sector = std::clamp(static_cast<int>(std::floor(h)), 0, 5);
  const double f = h - sector;
  const double p = v * (1 - hsv.s);
  const double q = v * (1 - hsv.s * f);
  const double t = v * (1 - hsv.s * (1 - f));
  switch (sector) {
    case 0: return {v, t, p};
    case 1: return {q, v, p};
    case 2: return {p, v, t};
    case 3: return {p, q, v};
    case 4: return {t, p, v};
    default: return {v, p, q};
  }
}

RgbF UnpackColour(std::uint32_t colour) { return {Channel(colour, 16), Channel(colour, 8), Channel(colour, 0)}; }

std::uint32_t PackColour(const RgbF& rgb) {
  return PackChannel(rgb.r, 16) | PackChannel(rgb.g, 8) | PackChannel(rgb.b, 0);
}

std::array<std::uint32_t, kRampSize> BuildShadeRamp(std::uint32_t colour, const GammaTable& gamma) {
  const Hsv base = RgbToHsv(UnpackColour(colour));
  std::array<std::uint32_t, kRampSize> ramp{};
  for (std::size_t i = 0; i < ramp.size(); ++i) {
    ramp[i] = PackColour(HsvToRgb({base.h, base.s, base.v * gamma[i] / 256}));
  }
  return ramp;
}

ShadeRamps BuildShadeRamps(const DisplayColours& colours, const GammaTable& gamma) {
  ShadeRamps ramps{};
  const int sources[3] = {kColourUnselected, kColourSelected, kColourEditing};
  for (std::size_t r = 0; r < 3; ++r) {
    const auto ramp = BuildShadeRamp(colours[static_cast<std::size_t>(sources[r])], gamma);
    std::copy(ramp.begin(), ramp.end(), ramps.begin() + static_cast<std::ptrdiff_t>(r * kRampSize));
  }
  return ramps;
}

std::uint32_t modulate(std::uint32_t texel, std::uint32_t shade) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t t = (texel >> shift) & 0xFF;
    const std::uint32_t s = (shade >> shift) & 0xFF;
    out |= ((t * (s + 1)) >> 8) << shift;
  }
  return out;
}

void ShadingTables::SetGamma(double exponent) {
  gamma = exponent;
  RebuildGammaTable();
}

}  // namespace mok
