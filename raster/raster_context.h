#pragma once
// The state shared by every triangle and line the program draws.
//
// One RasterContext serves the 3D view, the skin view, the new-skin mesh
// lines and the intro; the application owns it and hands it to every call.
// It is not reentrant: a batch of draws into one target is never interleaved
// with another.
//
// Target layout: the colour (0x00RRGGBB), depth (16-bit, smaller is nearer)
// and id (int32) buffers all hold `width` x `height` pixels, pixel (x, row)
// at row * width + x. Row 0 is the FIRST row in memory; the 3D view's
// buffers are bottom-up bitmaps, so there row 0 is the bottom line on screen.
// The 16-bit target of the intro lines uses its own pitch, `pitch16`.
//
// Setup before a batch: set the target (colour, depth, ids, width, height,
// maxX = width - 1, maxY = height - 1), the texture (texels, texRows,
// texWidth, texHeight, and phongMap / shadeRamps where used), then call
// resetEdges once. Every fill leaves the rows it touched idle again, so one
// reset serves a whole frame.
//
// Limits the draws enforce so that no input can reach outside a buffer:
// - triangles use rows 0 .. min(maxY, height - 1, kRasterMaxRows - 1) and
//   columns 0 .. min(maxX, width - 1); lines use the same rectangle without
//   the row cap (the 16-bit lines also stay below pitch16 columns);
// - a textured member draws nothing unless texels and texRows are set and
//   both texture sizes are at least 1; texRows must hold texHeight entries
//   (entry r = r * texWidth) and texels texWidth * texHeight texels;
// - a member draws nothing when a buffer it writes is not set.

#include <array>
#include <cstdint>
#include <limits>

namespace mok {

inline constexpr int kRasterMaxRows = 2048;     // rows of the edge tables
inline constexpr int kRasterMaxAttributes = 6;  // interpolated values per vertex

inline constexpr std::int32_t kEdgeIdleLeft = std::numeric_limits<std::int32_t>::max();
inline constexpr std::int32_t kEdgeIdleRight = std::numeric_limits<std::int32_t>::min();

// Each table runs a cache line past its rows. Tables exactly 8 KB long would
// put every row's entries 4 KB apart, and a load that follows a store 4 KB
// away waits for the store to finish: the edge walk and the span loop both
// store one table and then load another of the same row.
inline constexpr int kEdgeTablePad = 16;
using EdgeTable = std::array<std::int32_t, kRasterMaxRows + kEdgeTablePad>;

struct RasterContext {
  // Edge tables: per row the smallest and largest x an edge reached, and the
  // attributes at those two points. Idle rows hold kEdgeIdleLeft/Right.
  EdgeTable leftX;
  EdgeTable rightX;
  std::array<EdgeTable, kRasterMaxAttributes> leftAttr;
  std::array<EdgeTable, kRasterMaxAttributes> rightAttr;
  // Rows the current triangle's edges touched. A fill sets both back to the
  // idle values once its rows are drawn, so the next triangle walks only its
  // own rows.
  std::int32_t minRow = kEdgeIdleLeft;
  std::int32_t maxRow = kEdgeIdleRight;

  // Target.
  std::int32_t width = 0;  // also the row pitch of colour, depth and ids
  std::int32_t height = 0;
  std::int32_t maxX = -1;  // clip limits, normally width - 1 and height - 1
  std::int32_t maxY = -1;
  std::int32_t clipFlag = 0;  // set when an edge clip moved the edge's start
  std::uint32_t* colour = nullptr;
  std::uint16_t* depth = nullptr;
  std::int32_t* ids = nullptr;

  // Texture.
  std::int16_t texWidth = 0;
  std::int16_t texHeight = 0;
  const std::uint32_t* texels = nullptr;        // 0x00RRGGBB, row-major
  const std::int32_t* texRows = nullptr;        // entry r = r * texWidth
  std::array<std::uint32_t, 768> shadeRamps{};  // three 256-colour ramps
  const std::uint8_t* phongMap = nullptr;       // 256 x 256 intensities, row-major
  std::uint32_t background = 0;                 // drawLineTextured's colour where no texel is shown

  // 16-bit target of the intro lines: blue bits 0-4, green 5-9, red 10-14.
  std::uint16_t* colour16 = nullptr;
  std::int32_t pitch16 = 0;

  RasterContext() {
    leftX.fill(kEdgeIdleLeft);
    rightX.fill(kEdgeIdleRight);
    for (EdgeTable& table : leftAttr) table.fill(0);
    for (EdgeTable& table : rightAttr) table.fill(0);
  }
};

// Makes every row of the target idle and forgets the touched rows.
void resetEdges(RasterContext& ctx);

}  // namespace mok
