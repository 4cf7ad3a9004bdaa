#include "render/ray_tracer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/frame_pipeline.h"

namespace mok {

namespace {

constexpr int kCellSize = 8;  // pixels per side of a screen cell

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
  Vec3d corner0;
  Vec3d edge1;  // corner 1 - corner 0
  Vec3d edge2;  // corner 2 - corner 0
  UvPair uv[3];
  const SkinSlot* skin = nullptr;
  int left = 0, right = -1, bottom = 0, top = -1;  // screen box, rows counted upward
  // No hit on this face can store a smaller depth: a ray's t is at least
  // the camera depth of its hit, which is at least the nearest corner's.
  std::int32_t nearestDepth = 0;

  // Rays from the eye share their origin, so the intersection terms that
  // depend only on it are worked out once, with the very operations of the
  // per-ray test and so to the same values.
  Vec3d fromEye;           // eye - corner 0
  Vec3d q;                 // fromEye x edge1
  double tNumerator = 0;   // edge2 . q
  // Triple products giving the determinant and the first barycentric
  // numerator up to rounding, for rejecting rays that clearly miss.
  Vec3d detAxis;           // edge2 x edge1
  Vec3d uAxis;             // edge2 x fromEye
  double tolerance = 0;    // far above any rounding in those products

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

// A depth no hit at camera depth >= nearestZ can go below, one step lower
// than the exact bound so rounding in the hit's t cannot undercut it.
std::int32_t DepthLowerBound(double nearestZ, double distance) {
  const double scaled = nearestZ / (2.0 * distance) * 0xFFFE;
  if (!(scaled > 1)) return 0;
  return static_cast<std::int32_t>(std::min(scaled, 1.0e6)) - 1;
}

double Length(const Vec3d& a) { return std::sqrt(Dot(a, a)); }

void PrepareEyeRays(TracedFace& face) {
  face.fromEye = Vec3d{0, 0, 0} - face.corner0;
  face.q = Cross(face.fromEye, face.edge1);
  face.tNumerator = Dot(face.edge2, face.q);
  face.detAxis = Cross(face.edge2, face.edge1);
  face.uAxis = Cross(face.edge2, face.fromEye);
  const double scale = Length(face.edge1) + Length(face.edge2) + Length(face.fromEye);
  face.tolerance = 1e-9 * scale * scale;
}

std::vector<TracedFace> CollectFaces(const ViewRecord& view, const MeshDocument& doc) {
  const std::vector<Vec3>& vertices = view.cameraVertices;
  std::vector<TracedFace> faces;
  faces.reserve(static_cast<std::size_t>(std::max<int>(doc.triangleCount, 0)));
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    Vec3d corner[3];
    int xs[3] = {}, ys[3] = {};
    bool valid = true;
    TracedFace traced;
    for (int k = 0; k < 3 && valid; ++k) {
      const int v = face.vertex[k];
      valid = ValidVertex(v, vertices.size());
      if (!valid) break;
      const Vec3& p = vertices[static_cast<std::size_t>(v)];
      const ScreenPointF s = ProjectToScreen(view.camera, view.projectionScale, view.frame.width, view.frame.height, p);
      xs[k] = TruncateCoordinate(s.x);
      ys[k] = TruncateCoordinate(s.y);
      corner[k] = {p.x, p.y, p.z};
      const int uvIndex = face.uvIndex[k];
      traced.uv[k] = uvIndex >= 0 && uvIndex < kMaxUvVertices ? doc.uvVertices[static_cast<std::size_t>(uvIndex)] : UvPair{};
    }
    if (!valid) continue;
    traced.corner0 = corner[0];
    traced.edge1 = corner[1] - corner[0];
    traced.edge2 = corner[2] - corner[0];
    PrepareEyeRays(traced);
    traced.left = std::min({xs[0], xs[1], xs[2]}) - 1;
    traced.right = std::max({xs[0], xs[1], xs[2]}) + 1;
    traced.bottom = std::min({ys[0], ys[1], ys[2]}) - 1;
    traced.top = std::max({ys[0], ys[1], ys[2]}) + 1;
    traced.nearestDepth = DepthLowerBound(std::min({corner[0].z, corner[1].z, corner[2].z}), view.camera.distance);
    traced.skin = &TextureOf(doc, face);
    faces.push_back(traced);
  }
  return faces;
}

struct Candidate {
  std::int32_t nearestDepth;
  std::int32_t face;
};

// Screen cells listing the faces whose box touches them, nearest bound
// first, so a pixel can stop once no remaining face can beat its hit.
class CellGrid {
 public:
  CellGrid(const std::vector<TracedFace>& faces, int width, int height)
      : columns_((width + kCellSize - 1) / kCellSize), rows_((height + kCellSize - 1) / kCellSize),
        cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
      const TracedFace& f = faces[i];
      if (f.right < 0 || f.top < 0 || f.left > width - 1 || f.bottom > height - 1) continue;
      const int c0 = std::max(f.left, 0) / kCellSize, c1 = std::min(f.right, width - 1) / kCellSize;
      const int r0 = std::max(f.bottom, 0) / kCellSize, r1 = std::min(f.top, height - 1) / kCellSize;
      for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) cells_[Cell(c, r)].push_back({f.nearestDepth, static_cast<std::int32_t>(i)});
    }
    for (std::vector<Candidate>& cell : cells_)
      std::sort(cell.begin(), cell.end(), [](const Candidate& a, const Candidate& b) { return a.nearestDepth < b.nearestDepth; });
  }
  const std::vector<Candidate>& At(int k, int r) const { return cells_[Cell(k / kCellSize, r / kCellSize)]; }

 private:
  std::size_t Cell(int c, int r) const { return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c); }
  int columns_;
  int rows_;
  std::vector<std::vector<Candidate>> cells_;
};

// One buffer side's steps: position i of n maps to i (n / s) / (n - 1) - n / (2 s);
// a side of one pixel maps to its centre line.
double ScreenToView(int i, int n, double s) {
  const double span = n / s;
  return n > 1 ? i * span / (n - 1) - n / (2 * s) : 0.0;
}

struct Hit {
  double t = 0;
  double u = 0;  // weight of corner 1
  double v = 0;  // weight of corner 2
};

bool Intersect(const Ray& ray, const TracedFace& face, Hit& hit) {
  const Vec3d p = Cross(ray.direction, face.edge2);
  const double det = Dot(face.edge1, p);
  if (std::fabs(det) < 1e-9) return false;
  const double inv = 1.0 / det;
  const Vec3d s = ray.origin - face.corner0;
  hit.u = Dot(s, p) * inv;
  if (hit.u < 0 || hit.u > 1) return false;
  const Vec3d q = Cross(s, face.edge1);
  hit.v = Dot(ray.direction, q) * inv;
  if (hit.v < 0 || hit.u + hit.v > 1) return false;
  hit.t = Dot(face.edge2, q) * inv;
  return true;
}

// Intersect for a ray leaving the eye, with the face's prepared terms.
bool IntersectFromEye(const Vec3d& direction, const TracedFace& face, Hit& hit) {
  const Vec3d p = Cross(direction, face.edge2);
  const double det = Dot(face.edge1, p);
  if (std::fabs(det) < 1e-9) return false;
  const double inv = 1.0 / det;
  hit.u = Dot(face.fromEye, p) * inv;
  if (hit.u < 0 || hit.u > 1) return false;
  hit.v = Dot(direction, face.q) * inv;
  if (hit.v < 0 || hit.u + hit.v > 1) return false;
  hit.t = face.tNumerator * inv;
  return true;
}

// True only when a ray from the eye misses the face by far more than any
// rounding, so the exact test would refuse it too: a barycentric numerator
// of the wrong sign, or the two together beyond the determinant.
bool SurelyMissesFromEye(const Vec3d& direction, const TracedFace& face) {
  const double det = Dot(direction, face.detAxis);
  const double tol = face.tolerance;
  if (std::fabs(det) <= tol) return false;
  const double sign = det > 0 ? 1.0 : -1.0;
  const double u = Dot(direction, face.uAxis) * sign;
  const double v = Dot(direction, face.q) * sign;
  return u < -tol || v < -tol || u + v > std::fabs(det) + 3 * tol;
}

bool IntersectRay(const Ray& ray, bool fromEye, const TracedFace& face, Hit& hit) {
  if (!fromEye) return Intersect(ray, face, hit);
  return !SurelyMissesFromEye(ray.direction, face) && IntersectFromEye(ray.direction, face, hit);
}

// A coordinate wrapped into [0, size).
double Wrap(double value, int size) {
  if (value >= 0 && value < size) return value;  // what fmod gives, without its cost
  if (!std::isfinite(value)) return 0;
  double w = std::fmod(value, size);
  if (w < 0) w += size;
  return w < size ? w : 0;
}

double Channel(std::uint32_t texel, int shift) { return static_cast<double>((texel >> shift) & 0xFF); }

// The bilinear sample of a w x h texel array (both at least 1).
inline std::uint32_t SampleTexels(const std::uint32_t* texels, int w, int h, double u, double v) {
  const double uw = Wrap(u, w), vw = Wrap(v, h);
  // Both are in [0, size), where truncation is the floor.
  const int iu = static_cast<int>(uw), iv = static_cast<int>(vw);
  const double fu = uw - iu, fv = vw - iv;
  const int iu1 = iu + 1 == w ? 0 : iu + 1, iv1 = iv + 1 == h ? 0 : iv + 1;
  const std::uint32_t* row0 = texels + static_cast<std::size_t>(iv) * static_cast<std::size_t>(w);
  const std::uint32_t* row1 = texels + static_cast<std::size_t>(iv1) * static_cast<std::size_t>(w);
  const std::uint32_t c00 = row0[iu], c10 = row0[iu1], c01 = row1[iu], c11 = row1[iu1];
  // The four bytes side by side (the fourth is dropped) so the compiler can
  // work on several channels at once; each lane is the same arithmetic.
  double blended[4];
  for (int lane = 0; lane < 4; ++lane) {
    const int shift = 8 * lane;
    const double top = Channel(c00, shift) + (Channel(c10, shift) - Channel(c00, shift)) * fu;
    const double bottom = Channel(c01, shift) + (Channel(c11, shift) - Channel(c01, shift)) * fu;
    blended[lane] = top + (bottom - top) * fv;
  }
  std::uint32_t out = 0;
  for (int lane = 0; lane < 3; ++lane) out |= (static_cast<std::uint32_t>(blended[lane]) & 0xFF) << (8 * lane);
  return out;
}


std::uint32_t ShadeHit(const TracedFace& face, const Hit& hit) {
  const double w0 = 1 - hit.u - hit.v;
  const double u = w0 * face.uv[0].u + hit.u * face.uv[1].u + hit.v * face.uv[2].u;
  const double v = w0 * face.uv[0].v + hit.u * face.uv[1].v + hit.v * face.uv[2].v;
  return SampleTexels(face.skin->pixels.data(), face.skin->width, face.skin->height, u, v);
}

// Trying the faces in index order and keeping every hit whose depth is <=
// the stored one leaves the smallest depth and, of equal depths, the latest
// face: that winner is found here in any order, nearest bound first.
struct PixelWinner {
  std::uint32_t depth = kDepthFar;
  int face = -1;
  Hit hit;

  void Offer(int index, std::uint32_t d, const Hit& h) {
    if (d < depth || (d == depth && index > face)) depth = d, face = index, hit = h;
  }
};

PixelWinner TracePixel(const std::vector<TracedFace>& faces, const std::vector<Candidate>& candidates, const Ray& ray,
                       bool fromEye, int k, int r, double depthScale) {
  PixelWinner winner;
  for (const Candidate& c : candidates) {
    if (static_cast<std::uint32_t>(c.nearestDepth) > winner.depth) break;
    const TracedFace& face = faces[static_cast<std::size_t>(c.face)];
    Hit hit;
    if (!face.Covers(k, r) || !IntersectRay(ray, fromEye, face, hit)) continue;
    const double tScaled = hit.t / depthScale;
    if (!(tScaled >= 0 && tScaled <= 1)) continue;
    winner.Offer(c.face, static_cast<std::uint16_t>(tScaled * 0xFFFE), hit);
  }
  return winner;
}

// The directions of a row's perspective rays, worked out for the whole row
// in one simple loop the compiler can run on several pixels at once (each
// pixel's arithmetic is the per-ray formula unchanged).
struct RowRays {
  std::vector<double> x, y, z;

  void Fill(const std::vector<double>& columnX, double rowY, double distance) {
    const std::size_t n = columnX.size();
    x.resize(n), y.resize(n), z.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
      const double cx = columnX[k];
      const double length = std::sqrt(cx * cx + rowY * rowY + distance * distance);
      x[k] = cx / length, y[k] = rowY / length, z[k] = distance / length;
    }
    // A ray of no length (the eye on the view plane) looks straight ahead.
    for (std::size_t k = 0; k < n; ++k)
      if (!std::isfinite(z[k])) x[k] = 0, y[k] = 0, z[k] = 1;
  }
};

void TraceRow(const std::vector<TracedFace>& faces, const CellGrid& grid, FrameBuffer& buffer, const Camera& camera,
              const std::vector<double>& columnX, double rowY, int r, std::uint32_t background, RowRays& rays) {
  const std::size_t rowStart = static_cast<std::size_t>(r) * static_cast<std::size_t>(buffer.width);
  const double depthScale = 2.0 * camera.distance;
  const bool fromEye = !camera.orthographic;
  if (fromEye) rays.Fill(columnX, rowY, camera.distance);
  for (int k = 0; k < buffer.width; ++k) {
    const std::size_t at = rowStart + static_cast<std::size_t>(k);
    const std::vector<Candidate>& candidates = grid.At(k, r);
    buffer.colour[at] = background;
    if (candidates.empty()) continue;
    const std::size_t column = static_cast<std::size_t>(k);
    const Ray ray = fromEye ? Ray{{0, 0, 0}, {rays.x[column], rays.y[column], rays.z[column]}}
                            : Ray{{columnX[column], rowY, 0}, {0, 0, 1}};
    const PixelWinner winner = TracePixel(faces, candidates, ray, fromEye, k, r, depthScale);
    if (winner.face < 0) continue;
    buffer.depth[at] = static_cast<std::uint16_t>(winner.depth);
    buffer.colour[at] = ShadeHit(faces[static_cast<std::size_t>(winner.face)], winner.hit);
  }
}

}  // namespace

std::uint32_t SampleSkinBilinear(const SkinSlot& skin, double u, double v) {
  const int w = skin.width, h = skin.height;
  if (w <= 0 || h <= 0 || skin.pixels.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) return 0;
  return SampleTexels(skin.pixels.data(), w, h, u, v);
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
  const double s = job.view.projectionScale;
  std::vector<double> columnX(static_cast<std::size_t>(buffer.width));
  for (int k = 0; k < buffer.width; ++k) columnX[static_cast<std::size_t>(k)] = -ScreenToView(k, buffer.width, s);
  std::fill(buffer.depth.begin(), buffer.depth.end(), kDepthFar);
  RowRays rays;
  for (int r = 0; r < buffer.height; ++r) {
    TraceRow(faces, grid, buffer, job.view.camera, columnX, ScreenToView(r, buffer.height, s), r, job.background, rays);
    if (job.afterRow) job.afterRow(r);
  }
}

}  // namespace mok
