#pragma once
// The intro's picture: a 320 x 240 frame of 16-bit pixels in the 5:5:5
// layout (red bits 10-14, green 5-9, blue 0-4), rows top to bottom, drawn
// with the rasterizer's 16-bit line members. One frame is, in order: a
// cleared frame, a green perspective floor, the rotating wireframe with two
// glow passes, flickering noise rows, a bright scan-line band and a
// three-line bevel.
//
// Every random value comes from IntroRandom, so one seed and one time give
// one picture exactly (the golden test relies on it).

#include <array>
#include <cstdint>
#include <vector>

#include "raster/raster_context.h"

namespace mok {

inline constexpr int kIntroWidth = 320;
inline constexpr int kIntroHeight = 240;
inline constexpr int kIntroDurationMs = 59100;  // the intro ends after this
inline constexpr int kIntroFramePauseMs = 15;   // pause between two frames
inline constexpr int kIntroPointCount = 43;
inline constexpr int kIntroEdgeCount = 66;

// The C library's classic linear congruential generator: state * 214013 +
// 2531011, values 0..32767 from bits 16-30. Cheap and identical everywhere.
class IntroRandom {
 public:
  explicit IntroRandom(std::uint32_t seed) : state_(seed) {}
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

 private:
  std::uint32_t state_;
};

struct IntroPoint {
  float x, y, z;
};

struct IntroEdge {
  std::uint8_t from, to;
};

// The wireframe: a double-ended hexagonal crystal inside a flat orbit ring
// (with an inscribed triangle), a tilted orbit ring and a small triangular
// moon crystal.
extern const std::array<IntroPoint, kIntroPointCount> kIntroPoints;
extern const std::array<IntroEdge, kIntroEdgeCount> kIntroEdges;

struct IntroPicture {
  std::vector<std::uint16_t> pixels = std::vector<std::uint16_t>(kIntroWidth * kIntroHeight);
  int playing = 0;      // the wireframe is drawn only while this is 1
  double angle = 0.0;   // rotation of the model, radians
  double tilt = 0.25;   // tilt of the view, radians
  int scroll = 0;       // first row of the bright band
};

// angle = elapsed / 350; scroll = (elapsed * 0.1, truncated) mod 237.
void SetIntroTime(IntroPicture& picture, std::int64_t elapsedMs);

// Draws one frame into picture.pixels. The 16-bit target of `raster` points
// at the picture while the frame is drawn and is restored afterwards.
void RenderIntroFrame(RasterContext& raster, IntroPicture& picture, IntroRandom& random);

// The floor alone, onto the current 16-bit target: twelve lines from x 4 to
// 315 at rows 130, 130, 128, 124, 119, 111, 101, 88, 73, 54, 32 and 5, in
// green (1 + 3k) << 5 for line k.
void DrawIntroFloor(RasterContext& raster);

}  // namespace mok
