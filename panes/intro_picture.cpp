// The intro's picture, one frame at a time (see intro_picture.h).

#include "panes/intro_picture.h"

#include <algorithm>
#include <cmath>

#include "raster/raster.h"

namespace mok {

// Points in the intro's model space: the model turns about the vertical line
// through (1.5, 4.0); z grows downward on screen.
const std::array<IntroPoint, kIntroPointCount> kIntroPoints = {{
    // crystal: six upper and six lower prism corners, then the two tips
    {2.8775f, 4.0000f, 0.4175f},
    {2.8775f, 4.0000f, 4.7675f},
    {2.1888f, 5.1929f, 0.4175f},
    {2.1888f, 5.1929f, 4.7675f},
    {0.8113f, 5.1929f, 0.4175f},
    {0.8113f, 5.1929f, 4.7675f},
    {0.1225f, 4.0000f, 0.4175f},
    {0.1225f, 4.0000f, 4.7675f},
    {0.8112f, 2.8071f, 0.4175f},
    {0.8112f, 2.8071f, 4.7675f},
    {2.1887f, 2.8071f, 0.4175f},
    {2.1887f, 2.8071f, 4.7675f},
    {1.5000f, 4.0000f, -1.3225f},
    {1.5000f, 4.0000f, 6.5075f},
    // flat orbit ring
    {5.8500f, 4.0000f, 2.5925f},
    {5.2672f, 6.1750f, 2.5925f},
    {3.6750f, 7.7672f, 2.5925f},
    {1.5000f, 8.3500f, 2.5925f},
    {-0.6750f, 7.7672f, 2.5925f},
    {-2.2672f, 6.1750f, 2.5925f},
    {-2.8500f, 4.0000f, 2.5925f},
    {-2.2672f, 1.8250f, 2.5925f},
    {-0.6750f, 0.2328f, 2.5925f},
    {1.5000f, -0.3500f, 2.5925f},
    {3.6750f, 0.2328f, 2.5925f},
    {5.2672f, 1.8250f, 2.5925f},
    // tilted orbit ring
    {4.8614f, 4.5166f, 1.8547f},
    {3.9607f, 5.4114f, 0.5768f},
    {2.4007f, 5.9280f, -0.1610f},
    {0.5993f, 5.9280f, -0.1610f},
    {-0.9607f, 5.4114f, 0.5768f},
    {-1.8614f, 4.5166f, 1.8547f},
    {-1.8614f, 3.4834f, 3.3303f},
    {-0.9607f, 2.5886f, 4.6082f},
    {0.5993f, 2.0720f, 5.3460f},
    {2.4007f, 2.0720f, 5.3460f},
    {3.9607f, 2.5886f, 4.6082f},
    {4.8614f, 3.4834f, 3.3303f},
    // moon crystal: three waist corners, then the two tips
    {5.3425f, 1.6800f, -0.1625f},
    {4.3638f, 2.2451f, -0.1625f},
    {4.3637f, 1.1149f, -0.1625f},
    {4.6900f, 1.6800f, -1.3225f},
    {4.6900f, 1.6800f, 0.9975f},
}};

const std::array<IntroEdge, kIntroEdgeCount> kIntroEdges = {{
    // crystal: per side the upper and lower rim, the side edge and both tips
    {0, 2}, {1, 3}, {0, 1}, {0, 12}, {1, 13}, {2, 4}, {3, 5}, {2, 3}, {2, 12}, {3, 13},
    {4, 6}, {5, 7}, {4, 5}, {4, 12}, {5, 13}, {6, 8}, {7, 9}, {6, 7}, {6, 12}, {7, 13},
    {8, 10}, {9, 11}, {8, 9}, {8, 12}, {9, 13}, {10, 0}, {11, 1}, {10, 11}, {10, 12}, {11, 13},
    // flat ring and its triangle
    {14, 15}, {15, 16}, {16, 17}, {17, 18}, {18, 19}, {19, 20}, {20, 21}, {21, 22}, {22, 23},
    {23, 24}, {24, 25}, {25, 14}, {14, 18}, {18, 22}, {22, 14},
    // tilted ring
    {26, 27}, {27, 28}, {28, 29}, {29, 30}, {30, 31}, {31, 32}, {32, 33}, {33, 34}, {34, 35},
    {35, 36}, {36, 37}, {37, 26},
    // moon crystal
    {38, 39}, {38, 41}, {38, 42}, {39, 40}, {39, 41}, {39, 42}, {40, 38}, {40, 41}, {40, 42},
}};

namespace {

struct ScreenPoint {
  double x, y;
};

// Channel access in the 5:5:5 layout.
int Red(std::uint16_t p) { return (p >> 10) & 31; }
int Green(std::uint16_t p) { return (p >> 5) & 31; }
int Blue(std::uint16_t p) { return p & 31; }
std::uint16_t Pack(int r, int g, int b) { return static_cast<std::uint16_t>((r << 10) | (g << 5) | b); }

// The first and last column the noise and the band touch, and the rows of
// the noise.
constexpr int kInnerLeft = 4;
constexpr int kInnerRight = 315;
constexpr int kNoiseTop = 4;
constexpr int kNoiseBottom = 235;
constexpr int kBandWrap = 237;

// Points the raster's 16-bit target at the picture for one frame and puts
// the previous target back afterwards, so other users of the shared context
// find theirs unchanged.
class Intro16Target {
 public:
  Intro16Target(RasterContext& raster, std::uint16_t* pixels)
      : raster_(raster), saved_{raster.width, raster.height, raster.maxX, raster.maxY, raster.pitch16},
        savedColour_(raster.colour16) {
    raster.width = kIntroWidth;
    raster.height = kIntroHeight;
    raster.maxX = kIntroWidth - 1;
    raster.maxY = kIntroHeight - 1;
    raster.colour16 = pixels;
    raster.pitch16 = kIntroWidth;
  }
  ~Intro16Target() {
    raster_.width = saved_[0];
    raster_.height = saved_[1];
    raster_.maxX = saved_[2];
    raster_.maxY = saved_[3];
    raster_.pitch16 = saved_[4];
    raster_.colour16 = savedColour_;
  }
  Intro16Target(const Intro16Target&) = delete;
  Intro16Target& operator=(const Intro16Target&) = delete;

 private:
  RasterContext& raster_;
  std::array<std::int32_t, 5> saved_;
  std::uint16_t* savedColour_;
};

ScreenPoint Project(const IntroPoint& p, double angle, double tilt) {
  const double x1 = p.x - 1.5;
  const double y1 = p.y - 4.0;
  const double z1 = p.z - 3.1;
  const double rx = x1 * std::cos(angle) - y1 * std::sin(angle);
  const double ry = x1 * std::sin(angle) + y1 * std::cos(angle);
  const double h = rx * std::sin(tilt) + z1 * std::cos(tilt);
  const double d = rx * std::cos(tilt) - z1 * std::sin(tilt) + 15.25;
  return {ry / (d / 15) * (-17) + 160, h / (d / 15) * 17 + 130};
}

void DrawEdge(RasterContext& raster, const ScreenPoint& a, const ScreenPoint& b, double dx, double dy,
              std::uint16_t colour) {
  drawLineAA16(raster, static_cast<int>(a.x + dx), static_cast<int>(a.y + dy), static_cast<int>(b.x + dx),
               static_cast<int>(b.y + dy), colour);
}

// One glow pass: per edge a random green, drawn four times around the edge.
void DrawGlow(RasterContext& raster, const std::array<ScreenPoint, kIntroPointCount>& screen, double offset,
              int greens, IntroRandom& random) {
  for (const IntroEdge& e : kIntroEdges) {
    const auto colour = static_cast<std::uint16_t>((random.Next() % greens) << 5);
    const ScreenPoint& a = screen[e.from];
    const ScreenPoint& b = screen[e.to];
    DrawEdge(raster, a, b, -offset, 0, colour);
    DrawEdge(raster, a, b, offset, 0, colour);
    DrawEdge(raster, a, b, 0, -offset, colour);
    DrawEdge(raster, a, b, 0, offset, colour);
  }
}

// The model needs no clipping: at every angle it stays inside the bevel.
void DrawWireframe(RasterContext& raster, const IntroPicture& picture, IntroRandom& random) {
  std::array<ScreenPoint, kIntroPointCount> screen{};
  for (int i = 0; i < kIntroPointCount; ++i) screen[i] = Project(kIntroPoints[i], picture.angle, picture.tilt);
  DrawGlow(raster, screen, 2, 16, random);
  DrawGlow(raster, screen, 1, 24, random);
  for (const IntroEdge& e : kIntroEdges) DrawEdge(raster, screen[e.from], screen[e.to], 0, 0, 0x23E8);
}

// Even rows: a random value per channel (mod 28); odd rows: one per pixel
// (mod 15). Each channel becomes (2c + r) / 3, which darkens and speckles.
void DrawNoise(IntroPicture& picture, IntroRandom& random) {
  for (int row = kNoiseTop; row <= kNoiseBottom; ++row) {
    std::uint16_t* line = &picture.pixels[static_cast<std::size_t>(row) * kIntroWidth];
    const bool even = row % 2 == 0;
    for (int x = kInnerLeft; x <= kInnerRight; ++x) {
      const std::uint16_t p = line[x];
      int r = 0, g = 0, b = 0;
      if (even) {
        r = ((2 * Red(p) + random.Next() % 28) & 255) / 3;
        g = ((2 * Green(p) + random.Next() % 28) & 255) / 3;
        b = ((2 * Blue(p) + random.Next() % 28) & 255) / 3;
      } else {
        const int n = random.Next() % 15;
        r = ((2 * Red(p) + n) & 255) / 3;
        g = ((2 * Green(p) + n) & 255) / 3;
        b = ((2 * Blue(p) + n) & 255) / 3;
      }
      line[x] = Pack(r, g, b);
    }
  }
}

void BrightenRow(IntroPicture& picture, int row, IntroRandom& random) {
  std::uint16_t* line = &picture.pixels[static_cast<std::size_t>(row) * kIntroWidth];
  for (int x = kInnerLeft; x <= kInnerRight; ++x) {
    const std::uint16_t p = line[x];
    const int e = random.Next() % 10;
    const int r = std::min(31, ((2 * Red(p) + e) & 255) / 2);
    const int g = std::min(31, ((e / 2) + Green(p)) & 127);
    const int b = std::min(31, ((e / 2) + Blue(p)) & 127);
    line[x] = Pack(r, g, b);
  }
}

// Forty rows from `scroll` and twenty from `scroll` + 10, each lit about
// half the time; the band wraps at row 237.
void DrawBand(IntroPicture& picture, IntroRandom& random) {
  for (int j = 0; j < 40; ++j) {
    if (random.Next() % 100 <= 50) continue;
    int row = j + picture.scroll;
    if (row >= kBandWrap + 1) row -= kBandWrap;
    BrightenRow(picture, row, random);
  }
  for (int j = 0; j < 20; ++j) {
    if (random.Next() % 100 <= 50) continue;
    int row = picture.scroll + j + 10;
    if (row > kBandWrap) row -= kBandWrap;
    BrightenRow(picture, row, random);
  }
}

void DrawClipped16(RasterContext& raster, int x0, int y0, int x1, int y1, std::uint16_t colour) {
  if (clipLine2D(raster, x0, y0, x1, y1)) drawLine16(raster, x0, y0, x1, y1, colour);
}

// Three nested rectangles: top and right edges in the darker colour, bottom
// and left in the lighter one.
void DrawBevel(RasterContext& raster) {
  struct Ring {
    int left, top, right, bottom;
    std::uint16_t first, second;
  };
  constexpr Ring kRings[] = {
      {1, 1, 318, 238, 0x1CE7, 0x3DEF},
      {2, 2, 317, 237, 0x3DEF, 0x6318},
      {3, 3, 316, 236, 0x5294, 0x739C},
  };
  for (const Ring& r : kRings) {
    DrawClipped16(raster, r.left, r.top, r.right, r.top, r.first);
    DrawClipped16(raster, r.right, r.top, r.right, r.bottom, r.first);
    DrawClipped16(raster, r.right, r.bottom, r.left, r.bottom, r.second);
    DrawClipped16(raster, r.left, r.bottom, r.left, r.top, r.second);
  }
}

}  // namespace

void SetIntroTime(IntroPicture& picture, std::int64_t elapsedMs) {
  picture.angle = static_cast<double>(elapsedMs) / 350;
  picture.scroll = static_cast<int>(static_cast<std::int64_t>(static_cast<double>(elapsedMs) * 0.1) % kBandWrap);
}

void DrawIntroFloor(RasterContext& raster) {
  float y = 130.0f;
  float step = 0.0f;
  for (int k = 0; y > 0; ++k) {
    DrawClipped16(raster, 4, static_cast<int>(y), 315, static_cast<int>(y),
                  static_cast<std::uint16_t>((1 + 3 * k) << 5));
    y = y - step;
    step = (step + 1.5f) * 1.1f;
  }
}

void RenderIntroFrame(RasterContext& raster, IntroPicture& picture, IntroRandom& random) {
  const Intro16Target target(raster, picture.pixels.data());
  std::fill(picture.pixels.begin(), picture.pixels.end(), std::uint16_t{0});
  DrawIntroFloor(raster);
  if (picture.playing == 1) DrawWireframe(raster, picture, random);
  DrawNoise(picture, random);
  DrawBand(picture, random);
  DrawBevel(raster);
}

}  // namespace mok
