#include "render/ray_tracer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/frame_pipeline.h"

namespace mok {

namespace {

constexpr int kCellSize = 16;  // pixels per side of a screen cell

struct Vec3d {
  double x = 0, y = 0, z = 0;
};
Vec3d operator-(const Vec3d& a, const Vec3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(const Vec3d& a, const Vec3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3d Cross(const Vec3d& a, const Vec3d& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

struct Ray {
  Vec3d origin;
  Vec3d direction;
};

// What the trace needs of one triangle.
struct TracedFace {
  Vec3d corner[3];
  UvPair uv[3];
  const SkinSlot* skin = nullptr;
  int left = 0, right = -1, bottom = 0, top = -1;  // screen box, rows counted upward

  bool Covers(int k, int r) const { return k >= left && k <= right && r >= bottom && r <= top; }
};

bool ValidVertex(int v, std::size_t count) { return v >= 0 && static_cast<std::size_t>(v) < count; }

// The face's channel skin, or the default skin where the channel has no
// usable image.
const SkinSlot& TextureOf(const MeshDocument& doc, const MeshTriangle& face) {
  const SkinSlot& skin = doc.skinFor(face.textureNum);
  const bool usable = skin.width > 0 && skin.height > 0 &&
                      skin.pixels.size() >= static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
  return usable ? skin : doc.defaultSkin;
}

std::vector<TracedFace> CollectFaces(const ViewRecord& view, const MeshDocument& doc) {
  const std::vector<Vec3>& vertices = view.cameraVertices;
  std::vector<TracedFace> faces;
  faces.reserve(static_cast<std::size_t>(std::max<int>(doc.triangleCount, 0)));
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    TracedFace traced;
    bool valid = true;
    int xs[3] = {}, ys[3] = {};
    for (int k = 0; k < 3; ++k) {
      const int v = face.vertex[k];
      valid = valid && ValidVertex(v, vertices.size());
      if (!valid) break;
      const Vec3& p = vertices[static_cast<std::size_t>(v)];
      const ScreenPointF s = ProjectToScreen(view.camera, view.projectionScale, view.frame.width, view.frame.height, p);
      xs[k] = TruncateCoordinate(s.x);
      ys[k] = TruncateCoordinate(s.y);
      traced.corner[k] = {p.x, p.y, p.z};
      const int uvIndex = face.uvIndex[k];
      traced.uv[k] = uvIndex >= 0 && uvIndex < kMaxUvVertices ? doc.uvVertices[static_cast<std::size_t>(uvIndex)] : UvPair{};
    }
    if (!valid) continue;
    traced.left = std::min({xs[0], xs[1], xs[2]}) - 1;
    traced.right = std::max({xs[0], xs[1], xs[2]}) + 1;
    traced.bottom = std::min({ys[0], ys[1], ys[2]}) - 1;
    traced.top = std::max({ys[0], ys[1], ys[2]}) + 1;
    traced.skin = &TextureOf(doc, face);
    faces.push_back(traced);
  }
  return faces;
}

// Screen cells listing the faces whose box touches them, in face order.
class CellGrid {
 public:
  CellGrid(const std::vector<TracedFace>& faces, int width, int height)
      : columns_((width + kCellSize - 1) / kCellSize), rows_((height + kCellSize - 1) / kCellSize),
        cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
      const TracedFace& f = faces[i];
      const int c0 = std::max(f.left, 0) / kCellSize, c1 = std::min(f.right, width - 1) / kCellSize;
      const int r0 = std::max(f.bottom, 0) / kCellSize, r1 = std::min(f.top, height - 1) / kCellSize;
      if (f.right < 0 || f.top < 0 || f.left > width - 1 || f.bottom > height - 1) continue;
      for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) cells_[Cell(c, r)].push_back(static_cast<int>(i));
    }
  }
  const std::vector<int>& At(int k, int r) const { return cells_[Cell(k / kCellSize, r / kCellSize)]; }

 private:
  std::size_t Cell(int c, int r) const { return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c); }
  int columns_;
  int rows_;
  std::vector<std::vector<int>> cells_;
};

// One buffer side's steps: position i of n maps to i (n / s) / (n - 1) - n / (2 s);
// a side of one pixel maps to its centre line.
double ScreenToView(int i, int n, double s) {
  const double span = n / s;
  return n > 1 ? i * span / (n - 1) - n / (2 * s) : 0.0;
}

Ray PixelRay(const Camera& camera, double s, int k, int r, int width, int height) {
  const double x = -ScreenToView(k, width, s);
  const double y = ScreenToView(r, height, s);
  if (camera.orthographic) return {{x, y, 0}, {0, 0, 1}};
  const double d = camera.distance;
  const double length = std::sqrt(x * x + y * y + d * d);
  if (length == 0) return {{0, 0, 0}, {0, 0, 1}};
  return {{0, 0, 0}, {x / length, y / length, d / length}};
}

struct Hit {
  double t = 0;
  double u = 0;  // weight of corner 1
  double v = 0;  // weight of corner 2
};

bool Intersect(const Ray& ray, const TracedFace& face, Hit& hit) {
  const Vec3d e1 = face.corner[1] - face.corner[0];
  const Vec3d e2 = face.corner[2] - face.corner[0];
  const Vec3d p = Cross(ray.direction, e2);
  const double det = Dot(e1, p);
  if (std::fabs(det) < 1e-9) return false;
  const double inv = 1.0 / det;
  const Vec3d s = ray.origin - face.corner[0];
  hit.u = Dot(s, p) * inv;
  if (hit.u < 0 || hit.u > 1) return false;
  const Vec3d q = Cross(s, e1);
  hit.v = Dot(ray.direction, q) * inv;
  if (hit.v < 0 || hit.u + hit.v > 1) return false;
  hit.t = Dot(e2, q) * inv;
  return true;
}

std::uint32_t ShadeHit(const TracedFace& face, const Hit& hit) {
  const double w0 = 1 - hit.u - hit.v;
  const double u = w0 * face.uv[0].u + hit.u * face.uv[1].u + hit.v * face.uv[2].u;
  const double v = w0 * face.uv[0].v + hit.u * face.uv[1].v + hit.v * face.uv[2].v;
  return SampleSkinBilinear(*face.skin, u, v);
}

// A coordinate wrapped into [0, size).
double Wrap(double value, int size) {
  if (!std::isfinite(value)) return 0;
  double w = std::fmod(value, size);
  if (w < 0) w += size;
  return w < size ? w : 0;
}

double Channel(std::uint32_t texel, int shift) { return static_cast<double>((texel >> shift) & 0xFF); }

void TraceRow(const std::vector<TracedFace>& faces, const CellGrid& grid, FrameBuffer& buffer, const Camera& camera,
              double s, int r, std::uint32_t background) {
  const std::size_t rowStart = static_cast<std::size_t>(r) * static_cast<std::size_t>(buffer.width);
  const double depthScale = 2.0 * camera.distance;
  for (int k = 0; k < buffer.width; ++k) {
    const std::size_t at = rowStart + static_cast<std::size_t>(k);
    const std::vector<int>& candidates = grid.At(k, r);
    std::uint32_t colour = background;
    if (!candidates.empty()) {
      const Ray ray = PixelRay(camera, s, k, r, buffer.width, buffer.height);
      for (int index : candidates) {
        const TracedFace& face = faces[static_cast<std::size_t>(index)];
        Hit hit;
        if (!face.Covers(k, r) || !Intersect(ray, face, hit)) continue;
        const double tScaled = hit.t / depthScale;
        if (!(tScaled >= 0 && tScaled <= 1)) continue;
        const auto depth = static_cast<std::uint16_t>(tScaled * 0xFFFE);
        if (depth > buffer.depth[at]) continue;
        buffer.depth[at] = depth;
        colour = ShadeHit(face, hit);
      }
    }
    buffer.colour[at] = buffer.depth[at] == kDepthFar ? background : colour;
  }
}

}  // namespace

std::uint32_t SampleSkinBilinear(const SkinSlot& skin, double u, double v) {
  const int w = skin.width, h = skin.height;
  if (w <= 0 || h <= 0 || skin.pixels.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) return 0;
  const double uw = Wrap(u, w), vw = Wrap(v, h);
  const int iu = static_cast<int>(std::floor(uw)), iv = static_cast<int>(std::floor(vw));
  const double fu = uw - iu, fv = vw - iv;
  const int iu1 = (iu + 1) % w, iv1 = (iv + 1) % h;
  auto texel = [&](int x, int y) { return skin.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)]; };
  const std::uint32_t c00 = texel(iu, iv), c10 = texel(iu1, iv), c01 = texel(iu, iv1), c11 = texel(iu1, iv1);
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double top = Channel(c00, shift) + (Channel(c10, shift) - Channel(c00, shift)) * fu;
    const double bottom = Channel(c01, shift) + (Channel(c11, shift) - Channel(c01, shift)) * fu;
    out |= (static_cast<std::uint32_t>(top + (bottom - top) * fv) & 0xFF) << shift;
  }
  return out;
}

void RayTrace(RayTraceJob& job) {
  FrameBuffer& buffer = job.view.frame;
  if (!buffer.hasArea() || buffer.colour.size() < buffer.pixelCount() || buffer.depth.size() < buffer.pixelCount()) return;
  std::vector<TracedFace> faces;
  {
    ScopedFramePriority priority(job.priority);
    if (!job.doc || !TransformFrame(job.view, *job.doc)) return;
    faces = CollectFaces(job.view, *job.doc);
  }
  const CellGrid grid(faces, buffer.width, buffer.height);
  std::fill(buffer.depth.begin(), buffer.depth.end(), kDepthFar);
  for (int r = 0; r < buffer.height; ++r) {
    TraceRow(faces, grid, buffer, job.view.camera, job.view.projectionScale, r, job.background);
    if (job.afterRow) job.afterRow(r);
  }
}

}  // namespace mok
