#pragma once
// The ray-traced picture of "Quick Render" and of "Raytraced" snapshots: one
// ray per pixel against every triangle (no culling, no lighting), the
// nearest hit showing its skin sampled bilinearly.
//
// Per pixel (k, r) of a W x H buffer with projection scale s:
//   x = -(k (W / s) / (W - 1) - W / (2 s)),  y = r (H / s) / (H - 1) - H / (2 s);
//   perspective rays leave the eye (0, 0, 0) along normalise(x, y, distance),
//   parallel rays leave (x, y, 0) along (0, 0, 1).
// A hit (Moller-Trumbore, |det| >= 1e-9) at t counts when
// 0 <= t / (2 distance) <= 1; its depth truncate(t / (2 distance) * 0xFFFE)
// wins when it is <= the stored one, so of two equal hits the later triangle
// shows. Only triangles whose screen box (the projected corners, widened by
// one pixel) contains the pixel are tried; pixels without a hit get the
// background colour.
//
// The screen is divided into square cells that list the triangles whose box
// touches them, less those no ray through the cell can hit (decided with a
// margin far above rounding), so a pixel tries only the triangles of its
// cell; the winner rule above makes the order of trying them irrelevant.

#include <cstdint>
#include <functional>

#include "core/mesh_document.h"
#include "render/frame_buffer.h"
#include "render/frame_steps.h"

namespace mok {

struct RayTraceJob {
  ViewRecord& view;
  const MeshDocument* doc;      // null: nothing to trace
  std::uint32_t background = 0;  // "Color-7"
  FramePriority* priority = nullptr;  // raised for the setup only
  std::function<void(int row)> afterRow;  // progressive display; may be empty
};

// Writes the picture into the view's colour buffer (depth is used as the hit
// depth; ids are left alone). Without a model frame it draws nothing.
void RayTrace(RayTraceJob& job);

// The bilinear skin sample at texel coordinates (u, v), wrapping both ways
// (negative coordinates too); channels truncated to bytes.
std::uint32_t SampleSkinBilinear(const SkinSlot& skin, double u, double v);

}  // namespace mok
