#pragma once
// The steps every render mode shares that need no rasterizer: refresh kinds,
// the frame priority, clearing, shade-ramp choice, texture passes, corner
// attributes, the trackball circle and the after-paint repaint.

#include <cstdint>
#include <vector>

#include "core/mesh_document.h"
#include "core/refresh.h"
#include "render/frame_buffer.h"
#include "render/shading.h"
#include "render/visibility.h"

namespace mok {

// Kind 2 (background only in the skin view) draws as a full frame here;
// unknown kinds are treated as full frames too.
int NormaliseRefreshKind(int kind);

// The platform hook that raises the process priority while a frame is drawn.
class FramePriority {
 public:
  virtual ~FramePriority() = default;
  virtual void Raise() {}
  virtual void Restore() {}
};

// Raises on construction and restores on destruction, so a frame that stops
// early (no model, no skin) restores too.
class ScopedFramePriority {
 public:
  explicit ScopedFramePriority(FramePriority* priority) : priority_(priority) {
    if (priority_) priority_->Raise();
  }
  ~ScopedFramePriority() {
    if (priority_) priority_->Restore();
  }
  ScopedFramePriority(const ScopedFramePriority&) = delete;
  ScopedFramePriority& operator=(const ScopedFramePriority&) = delete;

 private:
  FramePriority* priority_;
};

// Colour to the background, depth to 0xFFFF, ids to -1 unless the frame takes
// the quick path.
void ClearBuffers(FrameBuffer& frame, std::uint32_t background, bool clearIds);

// Ramp of a face: in mapping mode 2 while it is being edited, 1 when it is
// otherwise selected (any other state bit), else 0; in paint mode always 0.
int RampFor(const MeshTriangle& face, bool mappingMode);
std::uint32_t RampColour(const ShadeRamps& ramps, int ramp, int index);

// One texture pass: the skin to bind (null for the single pass of an
// untextured mode) and the taken faces it draws, in the order taken.
struct TexturePass {
  SkinSlot* skin = nullptr;
  int channel = -1;  // -1: the default skin, for faces whose channel has no slot
  std::vector<int> triangles;
};

// Default skin first (faces whose channel has no slot), then each slot in
// channel order; passes without faces are left out.
std::vector<TexturePass> PlanTexturePasses(MeshDocument& doc, const VisibleTriangles& visible);

// Integer corner attributes in the rasterizer's 16.16 formats (written
// "struct CornerUv" where a file also sees the panes' CornerUv function).
struct CornerUv {
  std::int32_t u = 0;
  std::int32_t v = 0;
};
// The whole texels a 16.16 attribute can carry.
inline constexpr int kMinCornerTexel = -32768;
inline constexpr int kMaxCornerTexel = 32767;
// The corner's UV vertex, truncated to whole texels and held to
// kMinCornerTexel..kMaxCornerTexel (NaN as 0).
struct CornerUv CornerTexel(const MeshDocument& doc, const MeshTriangle& face, int corner);
// The corner's map coordinates (`envUv`).
struct CornerUv CornerMapUv(const MeshTriangle& face, int corner);

struct CornerRgb {
  std::int32_t r = 0;
  std::int32_t g = 0;
  std::int32_t b = 0;
};
// Colour channels << 16; with `plusOne` each channel is raised by one first
// (the textured Gouraud mode multiplies texels by it without adding one).
CornerRgb RampChannels(std::uint32_t colour, bool plusOne);

// The faded trackball circle of camera mode, blended into `colour`: centre
// (width / 2, height / 2), radius 0.45 * min(width, height), solid at the
// four compass points and fading toward the diagonals.
void DrawTrackballCircle(FrameBuffer& frame, std::uint32_t colour);

// Refresh kind 3: every pixel showing a texel the current stroke changed is
// recoloured as texel x stored light. Nothing else is touched.
void RepaintFromShade(FrameBuffer& frame, const SkinSlot& skin, const std::vector<std::uint8_t>& strokeMarks);

}  // namespace mok
