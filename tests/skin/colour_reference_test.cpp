// The picker's hue field and the colorize blend checked against Python's own
// HSV conversion (colorsys), which we did not write.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "panes/painting.h"
#include "panes/palette_box.h"

namespace mok {
namespace {

// Runs a Python program and reads back one "r g b" line per colour.
std::vector<std::uint32_t> PythonColours(const std::string& program) {
  const std::string command = std::string(MOK_SYSTEM_PYTHON) + " -c \"" + program + "\"";
  std::vector<std::uint32_t> colours;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return colours;
  unsigned r = 0;
  unsigned g = 0;
  unsigned b = 0;
  while (std::fscanf(pipe, "%u %u %u", &r, &g, &b) == 3) colours.push_back(r << 16 | g << 8 | b);
  ::pclose(pipe);
  return colours;
}

bool HavePython() { return std::system((std::string(MOK_SYSTEM_PYTHON) + " -c pass 2>/dev/null").c_str()) == 0; }

// Per-channel distance: the two sides may round a boundary value differently.
int Distance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return worst;
}

const char* const kPack = "def pack(c): return ' '.join(str(min(255, int(x * 256))) for x in c)\n";

TEST(ColourReference, HueFieldMatchesColorsys) {
  if (!HavePython()) GTEST_SKIP() << "no " << MOK_SYSTEM_PYTHON;
  const std::string program = std::string("import colorsys\n") + kPack +
                              "for y in range(32):\n"
                              "  s, v = (y / 16, 0.99) if y < 16 else (1.0, 0.99 if y == 16 else (31 - y) / 16)\n"
                              "  for j in range(256): print(pack(colorsys.hsv_to_rgb(j / 256, s, v)))\n";
  const std::vector<std::uint32_t> expected = PythonColours(program);
  ASSERT_EQ(expected.size(), 32u * 256u);
  int exact = 0;
  for (int row = 0; row < 32; ++row) {
    for (int j = 0; j < 256; ++j) {
      const std::uint32_t theirs = expected[static_cast<std::size_t>(row * 256 + j)];
      const std::uint32_t ours = HueFieldColour(j, row, 256);
      ASSERT_LE(Distance(ours, theirs), 1) << "row " << row << " column " << j;
      exact += ours == theirs ? 1 : 0;
    }
  }
  EXPECT_GT(exact, 32 * 256 * 99 / 100);
}

TEST(ColourReference, ColorizeMatchesColorsys) {
  if (!HavePython()) GTEST_SKIP() << "no " << MOK_SYSTEM_PYTHON;
  const std::vector<std::uint32_t> samples = {0x000000, 0xFFFFFF, 0x808080, 0xFF0000, 0x00FF00, 0x0000FF,
                                              0x123456, 0xFEDCBA, 0x7F3F1F, 0x10F080, 0xC0C0FF, 0x010203};
  std::string list;
  for (std::uint32_t c : samples) list += std::to_string(c) + ",";
  const std::string program = std::string("import colorsys\n") + kPack + "cs = [" + list +
                              "]\n"
                              "hsv = lambda c: colorsys.rgb_to_hsv((c >> 16) / 256, ((c >> 8) & 255) / 256, (c & 255) / 256)\n"
                              "for d in cs:\n"
                              "  for t in cs:\n"
                              "    dh, ds, dv = hsv(d)\n"
                              "    print(pack(colorsys.hsv_to_rgb(dh, ds, hsv(t)[2])))\n";
  const std::vector<std::uint32_t> expected = PythonColours(program);
  ASSERT_EQ(expected.size(), samples.size() * samples.size());
  std::size_t k = 0;
  for (std::uint32_t d : samples) {
    for (std::uint32_t t : samples) {
      PaintBlend blend;
      blend.colour = d;
      blend.colorize = true;
      EXPECT_LE(Distance(PaintTexel(t, blend), expected[k]), 1) << std::hex << d << " on " << t;
      ++k;
    }
  }
}

}  // namespace
}  // namespace mok
