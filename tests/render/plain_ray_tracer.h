#pragma once
// The ray tracer written plainly, pixel by pixel against every triangle box,
// as the reference the accelerated one must match exactly (tests) and beat
// (benchmark). Kept apart from render/ray_tracer.cpp on purpose: it shares
// only the camera transform and projection with it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "render/frame_pipeline.h"

namespace mok::test {

struct PlainBox {
  int x0, x1, y0, y1;
};

inline std::uint32_t PlainSample(const SkinSlot& skin, double u, double v) {
  const int w = skin.width, h = skin.height;
  double uu = std::fmod(u, w), vv = std::fmod(v, h);
  if (uu < 0) uu += w;
  if (vv < 0) vv += h;
  if (uu >= w) uu = 0;
  if (vv >= h) vv = 0;
  const int iu = static_cast<int>(std::floor(uu)), iv = static_cast<int>(std::floor(vv));
  const int iu1 = (iu + 1) % w, iv1 = (iv + 1) % h;
  const double fu = uu - iu, fv = vv - iv;
  auto at = [&](int x, int y) { return skin.pixels[static_cast<std::size_t>(y * w + x)]; };
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    auto c = [&](int x, int y) { return static_cast<double>((at(x, y) >> shift) & 0xFF); };
    const double top = c(iu, iv) + (c(iu1, iv) - c(iu, iv)) * fu;
    const double bottom = c(iu, iv1) + (c(iu1, iv1) - c(iu, iv1)) * fu;
    out |= (static_cast<std::uint32_t>(top + (bottom - top) * fv) & 0xFF) << shift;
  }
  return out;
}

// Every triangle of the document must reference valid vertices and UVs.
inline void PlainRayTrace(ViewRecord& view, const MeshDocument& doc, std::uint32_t background) {
  FrameBuffer& fb = view.frame;
  if (!TransformFrame(view, doc)) return;
  const int W = fb.width, H = fb.height, n = doc.triangleCount;
  const double s = view.projectionScale, dist = view.camera.distance;
  std::vector<PlainBox> boxes(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    PlainBox b{1 << 30, -(1 << 30), 1 << 30, -(1 << 30)};
    for (int k = 0; k < 3; ++k) {
      const Vec3& p = view.cameraVertices[static_cast<std::size_t>(doc.triangles[static_cast<std::size_t>(i)].vertex[k])];
      const ScreenPointF sp = ProjectToScreen(view.camera, view.projectionScale, W, H, p);
      const int x = TruncateCoordinate(sp.x), y = TruncateCoordinate(sp.y);
      b = {std::min(b.x0, x), std::max(b.x1, x), std::min(b.y0, y), std::max(b.y1, y)};
    }
    boxes[static_cast<std::size_t>(i)] = {b.x0 - 1, b.x1 + 1, b.y0 - 1, b.y1 + 1};
  }
  std::fill(fb.depth.begin(), fb.depth.end(), std::uint16_t{0xFFFF});
  for (int r = 0; r < H; ++r) {
    int left = 1 << 30, right = -(1 << 30);
    for (const PlainBox& b : boxes)
      if (r >= b.y0 && r <= b.y1) left = std::min(left, b.x0), right = std::max(right, b.x1);
    for (int k = 0; k < W; ++k) {
      const std::size_t at = static_cast<std::size_t>(r * W + k);
      fb.colour[at] = background;
      if (k < left || k > right) continue;
      const double x = -(k * (W / s) / (W - 1) - W / (2 * s));
      const double y = r * (H / s) / (H - 1) - H / (2 * s);
      double o[3] = {0, 0, 0}, d[3] = {0, 0, 1};
      if (view.camera.orthographic) {
        o[0] = x, o[1] = y;
      } else {
        const double len = std::sqrt(x * x + y * y + dist * dist);
        if (len != 0) d[0] = x / len, d[1] = y / len, d[2] = dist / len;
      }
      for (int i = 0; i < n; ++i) {
        const PlainBox& b = boxes[static_cast<std::size_t>(i)];
        if (k < b.x0 || k > b.x1 || r < b.y0 || r > b.y1) continue;
        const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
        double v[3][3];
        for (int c = 0; c < 3; ++c) {
          const Vec3& p = view.cameraVertices[static_cast<std::size_t>(face.vertex[c])];
          v[c][0] = p.x, v[c][1] = p.y, v[c][2] = p.z;
        }
        const double e1[3] = {v[1][0] - v[0][0], v[1][1] - v[0][1], v[1][2] - v[0][2]};
        const double e2[3] = {v[2][0] - v[0][0], v[2][1] - v[0][1], v[2][2] - v[0][2]};
        const double p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2], d[0] * e2[1] - d[1] * e2[0]};
        const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
        if (std::fabs(det) < 1e-9) continue;
        const double inv = 1.0 / det;
        const double t0[3] = {o[0] - v[0][0], o[1] - v[0][1], o[2] - v[0][2]};
        const double bu = (t0[0] * p[0] + t0[1] * p[1] + t0[2] * p[2]) * inv;
        if (bu < 0 || bu > 1) continue;
        const double q[3] = {t0[1] * e1[2] - t0[2] * e1[1], t0[2] * e1[0] - t0[0] * e1[2], t0[0] * e1[1] - t0[1] * e1[0]};
        const double bv = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) * inv;
        if (bv < 0 || bu + bv > 1) continue;
        const double t = (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) * inv;
        const double tt = t / (2.0 * dist);
        if (!(tt >= 0 && tt <= 1)) continue;
        const auto depth = static_cast<std::uint16_t>(tt * 0xFFFE);
        if (depth > fb.depth[at]) continue;
        fb.depth[at] = depth;
        const UvPair& a = doc.uvVertices[static_cast<std::size_t>(face.uvIndex[0])];
        const UvPair& bb = doc.uvVertices[static_cast<std::size_t>(face.uvIndex[1])];
        const UvPair& c = doc.uvVertices[static_cast<std::size_t>(face.uvIndex[2])];
        const double w0 = 1 - bu - bv;
        const SkinSlot* slot = doc.slotFor(face.textureNum);
        const SkinSlot& skin = slot && slot->width > 0 ? *slot : doc.defaultSkin;
        fb.colour[at] = PlainSample(skin, w0 * a.u + bu * bb.u + bv * c.u, w0 * a.v + bu * bb.v + bv * c.v);
      }
    }
  }
}

}  // namespace mok::test
