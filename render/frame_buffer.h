#pragma once
// The 3D view's pixel buffers. Rows are bottom-up (row 0 is the bottom line
// on screen) and the row pitch is `width`, the client width rounded up to a
// multiple of 4.

#include <cstdint>
#include <vector>

#include "core/mesh_document.h"
#include "render/camera.h"

namespace mok {

// The rasterizer's edge tables hold this many rows.
inline constexpr int kMaxFrameHeight = 2048;
// The widest buffer whose rounded width still fits the 16-bit size field.
inline constexpr int kMaxFrameWidth = 32764;

inline constexpr std::uint16_t kDepthFar = 0xFFFF;
inline constexpr std::int32_t kIdBackground = -1;
inline constexpr std::int32_t kIdOtherSkin = -2;

struct FrameBuffer {
  std::vector<std::uint32_t> colour;  // 0x00RRGGBB
  std::vector<std::uint16_t> depth;   // smaller = nearer
  std::vector<std::uint32_t> shade;   // light colour per pixel; only in the textured-and-shaded modes
  std::vector<std::int32_t> ids;      // -1 background, triangle index, texel offset, or -2
  std::int16_t width = -1;
  std::int16_t height = -1;
  // Left unwritten by a resize for the next frame (ResizeFill::Nothing):
  // colour, depth and ids until the frame clears them, shade until the
  // shade pass or a repaint writes zeros there first (SettleResize,
  // SettleShade). Readers of stale ids see -1.
  bool stale = false;
  bool staleShade = false;

  bool hasArea() const { return width >= 1 && height >= 1; }
  std::size_t pixelCount() const { return hasArea() ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) : 0; }
  bool hasShade() const { return hasArea() && shade.size() == pixelCount(); }
};

// The client width rounded up to a multiple of 4.
int FrameWidthFor(int clientWidth);

// What a resize writes. Everything: colour 0, depth far, ids -1, shade 0.
// Nothing, for a view that draws a frame next: the buffers only take the new
// size and are marked stale, so the frame's clear is the one write.
enum class ResizeFill { Everything, Nothing };

// Reallocates every buffer for a client area (held within the limits above);
// `shade` only when `withShade`.
void ResizeFrameBuffer(FrameBuffer& frame, int clientWidth, int clientHeight, bool withShade,
                       ResizeFill fill = ResizeFill::Everything);

// Gives stale buffers what a full resize would have written: colour, depth
// and ids (SettleResize), or shade (SettleShade).
void SettleResize(FrameBuffer& frame);
void SettleShade(FrameBuffer& frame);

// Gives or takes the `shade` buffer when the render mode changes into or out
// of the textured-and-shaded modes.
void SetShadeBuffer(FrameBuffer& frame, bool present);

// What a render mode reads: the buffers, the camera and the camera-space
// vertices of the current frame (rewritten by every frame).
struct ViewRecord {
  FrameBuffer frame;
  Camera camera;
  std::vector<Vec3> cameraVertices;
  float projectionScale = 0;
};

}  // namespace mok
