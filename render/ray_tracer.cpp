#include "render/ray_tracer.h"

#include <algorithm>
#include <cmath>
#include <emmintrin.h>
#include <utility>
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
  double uvU[3] = {}, uvV[3] = {};  // the corners' UV coordinates
  const std::uint32_t* texels = nullptr;  // of the face's skin
  int skinWidth = 0, skinHeight = 0;
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
      const UvPair uv = uvIndex >= 0 && uvIndex < kMaxUvVertices ? doc.uvVertices[static_cast<std::size_t>(uvIndex)] : UvPair{};
      traced.uvU[k] = uv.u, traced.uvV[k] = uv.v;
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
    const SkinSlot& skin = TextureOf(doc, face);
    traced.texels = skin.pixels.data(), traced.skinWidth = skin.width, traced.skinHeight = skin.height;
    faces.push_back(traced);
  }
  return faces;
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

// The quick reject is worth its cost only where the face may well be missed.
bool IntersectRay(const Ray& ray, bool fromEye, bool screen, const TracedFace& face, Hit& hit) {
  if (!fromEye) return Intersect(ray, face, hit);
  return !(screen && SurelyMissesFromEye(ray.direction, face)) && IntersectFromEye(ray.direction, face, hit);
}

// One buffer side's steps: position i of n maps to i (n / s) / (n - 1) - n / (2 s);
// a side of one pixel maps to its centre line.
double ScreenToView(int i, int n, double s) {
  const double span = n / s;
  return n > 1 ? i * span / (n - 1) - n / (2 * s) : 0.0;
}

// The directions (before normalising) of the rays through the corner pixels
// of a screen rectangle: every ray of a pixel inside is a weighted mean of
// them, so a linear function of the direction lies within their values.
struct CellCorners {
  Vec3d direction[4];
  double longest = 0;  // no pixel's direction is longer (up to rounding)
  bool usable = false;
};

// The rectangle of pixels covered by one screen cell, in view units.
struct CellExtent {
  double x0, x1, y0, y1;
};

CellCorners CornersOf(const CellExtent& cell, double distance) {
  CellCorners corners;
  corners.direction[0] = {cell.x0, cell.y0, distance};
  corners.direction[1] = {cell.x1, cell.y0, distance};
  corners.direction[2] = {cell.x0, cell.y1, distance};
  corners.direction[3] = {cell.x1, cell.y1, distance};
  const double x = std::max(std::fabs(cell.x0), std::fabs(cell.x1)), y = std::max(std::fabs(cell.y0), std::fabs(cell.y1));
  corners.longest = std::sqrt(x * x + y * y + distance * distance);
  corners.usable = std::isfinite(corners.longest) && corners.longest > 0;
  return corners;
}

// How the rays from the eye through a cell meet a face.
enum class CellCover : std::uint8_t {
  kNone,    // every ray misses it
  kSome,    // some may hit it
  kWhole,   // every ray (within the face's box) meets it well inside
};

// The barycentric numerators of a ray from the eye (u, v and the rest up to
// the determinant) are linear in its direction, and a hit has all three of
// one sign (both faces of a triangle are drawn). Where one of them is
// clearly negative and another clearly positive at every corner of a cell,
// every ray of the cell misses; where all three are clearly of one sign,
// every ray lies inside. The margin is the per-ray test's, scaled to the
// longest corner direction, so the normalised rays keep it.
CellCover CoverOfCell(const TracedFace& face, const CellCorners& corners) {
  if (!corners.usable) return CellCover::kSome;
  const Vec3d axes[3] = {face.uAxis, face.q,
                         {face.detAxis.x - face.uAxis.x - face.q.x, face.detAxis.y - face.uAxis.y - face.q.y,
                          face.detAxis.z - face.uAxis.z - face.q.z}};
  const double margin = 3 * face.tolerance * corners.longest;
  int below = 0, above = 0;
  for (const Vec3d& axis : axes) {
    bool allBelow = true, allAbove = true;
    for (const Vec3d& d : corners.direction) {
      const double value = Dot(d, axis);
      allBelow = allBelow && value < -margin;
      allAbove = allAbove && value > margin;
    }
    below += allBelow, above += allAbove;
  }
  if (below > 0 && above > 0) return CellCover::kNone;
  return below == 3 || above == 3 ? CellCover::kWhole : CellCover::kSome;
}

struct Candidate {
  std::int32_t nearestDepth;
  std::int32_t face;
  bool screen;  // worth the quick reject before the exact test
};

// A contiguous run of candidates.
struct CandidateList {
  const Candidate* first;
  const Candidate* last;
  const Candidate* begin() const { return first; }
  const Candidate* end() const { return last; }
  bool empty() const { return first == last; }
};

// Screen cells listing the faces whose box touches them (less those that no
// ray from the eye through the cell can hit), nearest bound first, so a
// pixel can stop once no remaining face can beat its hit. The lists lie one
// after the other in a single array.
class CellGrid {
 public:
  CellGrid(const std::vector<TracedFace>& faces, int width, int height, const std::vector<double>& columnX,
           const std::vector<double>& rowY, const Camera& camera)
      : columns_((width + kCellSize - 1) / kCellSize), rows_((height + kCellSize - 1) / kCellSize),
        starts_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_) + 1, 0) {
    std::vector<std::pair<std::uint32_t, Candidate>> entries;  // cell and candidate, kept small
    for (const std::int32_t i : NearestFirst(faces)) {
      const TracedFace& f = faces[static_cast<std::size_t>(i)];
      if (f.right < 0 || f.top < 0 || f.left > width - 1 || f.bottom > height - 1) continue;
      const int c0 = std::max(f.left, 0) / kCellSize, c1 = std::min(f.right, width - 1) / kCellSize;
      const int r0 = std::max(f.bottom, 0) / kCellSize, r1 = std::min(f.top, height - 1) / kCellSize;
      for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
          const CellCover cover = camera.orthographic
                                      ? CellCover::kSome
                                      : CoverOfCell(f, CornersOf(Extent(columnX, rowY, c, r), camera.distance));
          if (cover == CellCover::kNone) continue;
          entries.push_back({static_cast<std::uint32_t>(Cell(c, r)), {f.nearestDepth, i, cover == CellCover::kSome}});
          ++starts_[Cell(c, r) + 1];
        }
    }
    for (std::size_t cell = 1; cell < starts_.size(); ++cell) starts_[cell] += starts_[cell - 1];
    // Filled in the faces' order, so every list stays nearest first.
    candidates_.resize(entries.size());
    std::vector<std::size_t> next(starts_.begin(), starts_.end() - 1);
    for (const auto& [cell, candidate] : entries) candidates_[next[cell]++] = candidate;
    for (int r = 0; r < rows_; ++r) spans_.push_back(SpanOfRow(r, width));
  }
  // The pixel columns [first, end) of a row's cells from the first to the
  // last one listing any face; outside it no pixel has a candidate.
  struct Span {
    int first = 0, end = 0;
  };
  Span ColumnsWithFaces(int r) const { return spans_[static_cast<std::size_t>(r / kCellSize)]; }
  CandidateList At(int k, int r) const { return List(Cell(k / kCellSize, r / kCellSize)); }

 private:
  int columns_;
  int rows_;
  std::vector<std::size_t> starts_;  // cell i lists candidates_[starts_[i] .. starts_[i + 1])
  std::vector<Candidate> candidates_;
  std::vector<Span> spans_;

  std::size_t Cell(int c, int r) const { return static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c); }
  CandidateList List(std::size_t cell) const {
    return {candidates_.data() + starts_[cell], candidates_.data() + starts_[cell + 1]};
  }

  // The face indices ordered by their depth bound (index order among equals).
  static std::vector<std::int32_t> NearestFirst(const std::vector<TracedFace>& faces) {
    std::vector<std::int32_t> order(faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) order[i] = static_cast<std::int32_t>(i);
    std::stable_sort(order.begin(), order.end(), [&faces](std::int32_t a, std::int32_t b) {
      return faces[static_cast<std::size_t>(a)].nearestDepth < faces[static_cast<std::size_t>(b)].nearestDepth;
    });
    return order;
  }

  // The view-plane rectangle of cell (c, r): its first and last pixel columns and rows.
  static CellExtent Extent(const std::vector<double>& columnX, const std::vector<double>& rowY, int c, int r) {
    const std::size_t k0 = static_cast<std::size_t>(c) * kCellSize, r0 = static_cast<std::size_t>(r) * kCellSize;
    const std::size_t k1 = std::min(k0 + kCellSize, columnX.size()) - 1, r1 = std::min(r0 + kCellSize, rowY.size()) - 1;
    return {columnX[k0], columnX[k1], rowY[r0], rowY[r1]};
  }

  Span SpanOfRow(int r, int width) const {
    int c0 = 0, c1 = columns_;
    while (c0 < c1 && List(Cell(c0, r)).empty()) ++c0;
    while (c1 > c0 && List(Cell(c1 - 1, r)).empty()) --c1;
    return {c0 * kCellSize, std::min(c1 * kCellSize, width)};
  }
};

// A coordinate wrapped into [0, size).
double Wrap(double value, int size) {
  if (value >= 0 && value < size) return value;  // what fmod gives, without its cost
  if (!std::isfinite(value)) return 0;
  double w = std::fmod(value, size);
  if (w < 0) w += size;
  return w < size ? w : 0;
}

// A texel's four bytes as doubles, blue and green in the low pair, red and
// the unused fourth byte in the high one, so the blend below works on two
// channels at once with each lane's arithmetic that of a channel alone.
struct TexelChannels {
  __m128d low, high;
};

TexelChannels Unpack(std::uint32_t texel) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(texel));
  const __m128i words = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
  return {_mm_cvtepi32_pd(words), _mm_cvtepi32_pd(_mm_shuffle_epi32(words, 0xEE))};
}

// The four texels of one blend as doubles, with the differences along u
// the blend multiplies (the very values it would work out), kept for the
// next sample: neighbouring pixels mostly blend the same four texels.
class TexelQuad {
 public:
  // The bilinear sample of a w x h texel array (both at least 1).
  std::uint32_t Sample(const std::uint32_t* texels, int w, int h, double u, double v) {
    const double uw = Wrap(u, w), vw = Wrap(v, h);
    // Both are in [0, size), where truncation is the floor.
    const int iu = static_cast<int>(uw), iv = static_cast<int>(vw);
    if (texels != texels_ || iu != iu_ || iv != iv_) Load(texels, w, h, iu, iv);
    const __m128d fu = _mm_set1_pd(uw - iu), fv = _mm_set1_pd(vw - iv);
    const __m128d low = Blend(0, fu, fv), high = Blend(1, fu, fv);
    // Each blend lies within its four bytes (up to rounding far below one), so
    // truncating to int then packing to bytes is the truncation to a byte.
    const __m128i whole = _mm_unpacklo_epi64(_mm_cvttpd_epi32(low), _mm_cvttpd_epi32(high));
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(whole, whole), _mm_setzero_si128());
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)) & 0x00FFFFFFu;
  }

 private:
  const std::uint32_t* texels_ = nullptr;  // the skin the quad belongs to
  int iu_ = -1, iv_ = -1;
  // Per half (0: blue and green, 1: red and the fourth byte): the texels
  // (iu, iv) and (iu, iv + 1), and the steps to their neighbours along u.
  __m128d top_[2] = {}, topStep_[2] = {}, bottom_[2] = {}, bottomStep_[2] = {};

  void Load(const std::uint32_t* texels, int w, int h, int iu, int iv) {
    texels_ = texels, iu_ = iu, iv_ = iv;
    const int iu1 = iu + 1 == w ? 0 : iu + 1, iv1 = iv + 1 == h ? 0 : iv + 1;
    const std::uint32_t* row0 = texels + static_cast<std::size_t>(iv) * static_cast<std::size_t>(w);
    const std::uint32_t* row1 = texels + static_cast<std::size_t>(iv1) * static_cast<std::size_t>(w);
    const TexelChannels c00 = Unpack(row0[iu]), c10 = Unpack(row0[iu1]), c01 = Unpack(row1[iu]), c11 = Unpack(row1[iu1]);
    top_[0] = c00.low, top_[1] = c00.high, bottom_[0] = c01.low, bottom_[1] = c01.high;
    topStep_[0] = _mm_sub_pd(c10.low, c00.low), topStep_[1] = _mm_sub_pd(c10.high, c00.high);
    bottomStep_[0] = _mm_sub_pd(c11.low, c01.low), bottomStep_[1] = _mm_sub_pd(c11.high, c01.high);
  }

  // top + (bottom - top) fv of the two lerps along u, lane by lane.
  __m128d Blend(int half, __m128d fu, __m128d fv) const {
    const __m128d top = _mm_add_pd(top_[half], _mm_mul_pd(topStep_[half], fu));
    const __m128d bottom = _mm_add_pd(bottom_[half], _mm_mul_pd(bottomStep_[half], fu));
    return _mm_add_pd(top, _mm_mul_pd(_mm_sub_pd(bottom, top), fv));
  }
};

std::uint32_t ShadeHit(const TracedFace& face, const Hit& hit, TexelQuad& quad) {
  const double w0 = 1 - hit.u - hit.v;
  const double u = w0 * face.uvU[0] + hit.u * face.uvU[1] + hit.v * face.uvU[2];
  const double v = w0 * face.uvV[0] + hit.u * face.uvV[1] + hit.v * face.uvV[2];
  return quad.Sample(face.texels, face.skinWidth, face.skinHeight, u, v);
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

PixelWinner TracePixel(const std::vector<TracedFace>& faces, const CandidateList& candidates, const Ray& ray,
                       bool fromEye, int k, int r, double depthScale) {
  PixelWinner winner;
  for (const Candidate& c : candidates) {
    if (static_cast<std::uint32_t>(c.nearestDepth) > winner.depth) break;
    const TracedFace& face = faces[static_cast<std::size_t>(c.face)];
    Hit hit;
    if (!face.Covers(k, r) || !IntersectRay(ray, fromEye, c.screen, face, hit)) continue;
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

  explicit RowRays(std::size_t columns) : x(columns), y(columns), z(columns) {}

  // Only columns first .. end - 1 are worked out.
  void Fill(const std::vector<double>& columnX, double rowY, double distance, std::size_t first, std::size_t end) {
    for (std::size_t k = first; k < end; ++k) {
      const double cx = columnX[k];
      const double length = std::sqrt(cx * cx + rowY * rowY + distance * distance);
      x[k] = cx / length, y[k] = rowY / length, z[k] = distance / length;
    }
    // A ray of no length (the eye on the view plane) looks straight ahead.
    for (std::size_t k = first; k < end; ++k)
      if (!std::isfinite(z[k])) x[k] = 0, y[k] = 0, z[k] = 1;
  }
};

void TraceRow(const std::vector<TracedFace>& faces, const CellGrid& grid, FrameBuffer& buffer, const Camera& camera,
              const std::vector<double>& columnX, double rowY, int r, std::uint32_t background, RowRays& rays) {
  const std::size_t rowStart = static_cast<std::size_t>(r) * static_cast<std::size_t>(buffer.width);
  const double depthScale = 2.0 * camera.distance;
  TexelQuad quad;
  const bool fromEye = !camera.orthographic;
  const CellGrid::Span span = grid.ColumnsWithFaces(r);
  std::fill_n(buffer.colour.begin() + static_cast<std::ptrdiff_t>(rowStart), buffer.width, background);
  // Cell by cell, so the rays of cells without faces are never worked out.
  for (int cellStart = span.first; cellStart < span.end; cellStart += kCellSize) {
    const CandidateList candidates = grid.At(cellStart, r);
    if (candidates.empty()) continue;
    const int cellEnd = std::min(cellStart + kCellSize, span.end);
    if (fromEye) rays.Fill(columnX, rowY, camera.distance, static_cast<std::size_t>(cellStart), static_cast<std::size_t>(cellEnd));
    for (int k = cellStart; k < cellEnd; ++k) {
      const std::size_t at = rowStart + static_cast<std::size_t>(k);
      const std::size_t column = static_cast<std::size_t>(k);
      const Ray ray = fromEye ? Ray{{0, 0, 0}, {rays.x[column], rays.y[column], rays.z[column]}}
                              : Ray{{columnX[column], rowY, 0}, {0, 0, 1}};
      const PixelWinner winner = TracePixel(faces, candidates, ray, fromEye, k, r, depthScale);
      if (winner.face < 0) continue;
      buffer.depth[at] = static_cast<std::uint16_t>(winner.depth);
      buffer.colour[at] = ShadeHit(faces[static_cast<std::size_t>(winner.face)], winner.hit, quad);
    }
  }
}

}  // namespace

std::uint32_t SampleSkinBilinear(const SkinSlot& skin, double u, double v) {
  const int w = skin.width, h = skin.height;
  if (w <= 0 || h <= 0 || skin.pixels.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) return 0;
  return TexelQuad().Sample(skin.pixels.data(), w, h, u, v);
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
  const double s = job.view.projectionScale;
  std::vector<double> columnX(static_cast<std::size_t>(buffer.width));
  for (int k = 0; k < buffer.width; ++k) columnX[static_cast<std::size_t>(k)] = -ScreenToView(k, buffer.width, s);
  std::vector<double> rowY(static_cast<std::size_t>(buffer.height));
  for (int r = 0; r < buffer.height; ++r) rowY[static_cast<std::size_t>(r)] = ScreenToView(r, buffer.height, s);
  const CellGrid grid(faces, buffer.width, buffer.height, columnX, rowY, job.view.camera);
  std::fill(buffer.depth.begin(), buffer.depth.end(), kDepthFar);
  RowRays rays(columnX.size());
  for (int r = 0; r < buffer.height; ++r) {
    TraceRow(faces, grid, buffer, job.view.camera, columnX, rowY[static_cast<std::size_t>(r)], r, job.background, rays);
    if (job.afterRow) job.afterRow(r);
  }
}

}  // namespace mok
