#include "panes/uv_edits.h"

#include <cmath>
#include <limits>
#include <vector>

#include "core/prompter.h"

namespace mok {

namespace {

struct Range {
  float low = std::numeric_limits<float>::infinity();
  float high = -std::numeric_limits<float>::infinity();
  void Add(float value) {
    low = std::fmin(low, value);
    high = std::fmax(high, value);
  }
};

// Every corner takes the value of its shared UV vertex.
void SyncCorners(MeshDocument& doc) {
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    for (int k = 0; k < 3; ++k)
      if (const UvPair* uv = CornerUv(doc, face, k)) face.uv[k] = *uv;
  }
}

template <typename Visit>
void ForSelectedCorners(MeshDocument& doc, Visit visit) {
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.selectedVisible()) continue;
    for (UvPair& corner : face.uv) visit(corner);
  }
}

void FinishCornerEdit(Application& app) {
  app.doc().RebuildUvVertices(false);
  Notify(app, Change::Mapping);
}

}  // namespace

namespace {

// Reflects one coordinate of the selection's corners within its own range.
void ReflectSelected(Application& app, float UvPair::*axis) {
  MeshDocument& doc = app.doc();
  SyncCorners(doc);
  Range range;
  ForSelectedCorners(doc, [&](UvPair& uv) { range.Add(uv.*axis); });
  ForSelectedCorners(doc, [&](UvPair& uv) { uv.*axis = range.high - (uv.*axis - range.low); });
  FinishCornerEdit(app);
}

}  // namespace

void FlipSelected(Application& app) { ReflectSelected(app, &UvPair::v); }

void MirrorSelected(Application& app) { ReflectSelected(app, &UvPair::u); }

void RotateSelected90(Application& app) {
  MeshDocument& doc = app.doc();
  SyncCorners(doc);
  Range us;
  Range vs;
  ForSelectedCorners(doc, [&](UvPair& uv) {
    us.Add(uv.u);
    vs.Add(uv.v);
  });
  const float cu = (us.low + us.high) / 2;
  const float cv = (vs.low + vs.high) / 2;
  const SkinSlot& skin = doc.activeSkin ? *doc.activeSkin : doc.skinFor(doc.activeChannel);
  bool outside = false;
  ForSelectedCorners(doc, [&](UvPair& uv) {
    const UvPair old = uv;
    uv.u = cu + (old.v - cv);
    uv.v = cv - (old.u - cu);
    outside = outside || uv.u < 0 || uv.u >= skin.width || uv.v < 0 || uv.v >= skin.height;
  });
  if (outside) {
    app.prompter.Message(kRotateOutsideMessage, MessageIcon::Warning);
    doc.RebuildUvVertices(true);  // the shared vertices still hold the old corners
    Notify(app, Change::Mapping);
    return;
  }
  FinishCornerEdit(app);
}

void SnapSelectedToGrid(Application& app) {
  MeshDocument& doc = app.doc();
  doc.uvMarks.fill(0);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!face.selectedVisible()) continue;
    for (int k = 0; k < 3; ++k)
      if (CornerUv(doc, face, k)) doc.uvMarks[static_cast<std::size_t>(face.uvIndex[k])] = 1;
  }
  for (std::size_t i = 0; i < kMaxUvVertices; ++i)
    if (doc.uvMarks[i]) TruncateToTexels(doc.uvVertices[i]);
  doc.RebuildUvVertices(true);
  Notify(app, Change::Mapping);
}

namespace {

// The faces Map from 3D View takes, with their mesh vertices marked.
struct MapChoice {
  std::vector<int> faces;
  std::vector<std::uint8_t> marked;  // per mesh vertex
};

bool FaceVerticesValid(const MeshTriangle& face, std::size_t vertexCount) {
  for (std::int16_t v : face.vertex)
    if (v < 0 || static_cast<std::size_t>(v) >= vertexCount) return false;
  return true;
}

// Triangles whose camera-space corners a, b, c satisfy c . (b x a) < 0 face
// the camera.
bool FacesCamera(const Vec3& a, const Vec3& b, const Vec3& c) {
  const double x = static_cast<double>(b.y) * a.z - static_cast<double>(b.z) * a.y;
  const double y = static_cast<double>(b.z) * a.x - static_cast<double>(b.x) * a.z;
  const double z = static_cast<double>(b.x) * a.y - static_cast<double>(b.y) * a.x;
  return c.x * x + c.y * y + c.z * z < 0;
}

MapChoice ChooseFaces(const MeshDocument& doc, const std::vector<Vec3>& camera, bool noBackfaces) {
  MapChoice choice;
  choice.marked.assign(camera.size(), 0);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!face.selected() || !FaceVerticesValid(face, camera.size())) continue;
    const Vec3& a = camera[static_cast<std::size_t>(face.vertex[0])];
    const Vec3& b = camera[static_cast<std::size_t>(face.vertex[1])];
    const Vec3& c = camera[static_cast<std::size_t>(face.vertex[2])];
    if (noBackfaces && !FacesCamera(a, b, c)) continue;
    choice.faces.push_back(i);
    for (std::int16_t v : face.vertex) choice.marked[static_cast<std::size_t>(v)] = 1;
  }
  return choice;
}

struct ViewPoint {
  double x = 0;
  double y = 0;
};

ViewPoint Project(const ViewProjection& view, const MapFrom3DViewOptions& options, const Vec3& p) {
  const double mu = options.mirror ? 1 : -1;
  const double mv = options.flip ? 1 : -1;
  const double s = view.ProjectionScale();
  const ViewPoint centre{static_cast<double>(view.Width() / 2), static_cast<double>(view.Height() / 2)};
  ViewPoint out;
  if (options.projection == 1) {
    const double distance = view.Distance();
    if (!(p.z > 0.1) || !(distance > 0)) return centre;
    const double k = p.z / distance;
    out = {mu * s * p.x / k + centre.x, mv * s * p.y / k + centre.y};
  } else {
    out = {mu * s * p.x + centre.x, mv * s * p.y + centre.y};
  }
  if (!std::isfinite(out.x) || !std::isfinite(out.y)) return centre;
  return out;
}

// Stretches the projected points onto the frame, u and v independently.
std::vector<UvPair> FitToFrame(const std::vector<ViewPoint>& points, const std::vector<std::uint8_t>& marked,
                               const MappingFrame& frame, bool snap) {
  double xmin = std::numeric_limits<double>::infinity(), xmax = -xmin, ymin = xmin, ymax = -xmin;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!marked[i]) continue;
    xmin = std::fmin(xmin, points[i].x);
    xmax = std::fmax(xmax, points[i].x);
    ymin = std::fmin(ymin, points[i].y);
    ymax = std::fmax(ymax, points[i].y);
  }
  const double fx = xmax > xmin ? (frame.u1 - frame.u0) / (xmax - xmin) : 0;
  const double fy = ymax > ymin ? (frame.v1 - frame.v0) / (ymax - ymin) : 0;
  std::vector<UvPair> uvs(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!marked[i]) continue;
    double u = frame.u0 + fx * (points[i].x - xmin);
    double v = frame.v0 + fy * (points[i].y - ymin);
    if (snap) {
      u = std::trunc(u);
      v = std::trunc(v);
    }
    uvs[i] = {static_cast<float>(u), static_cast<float>(v)};
  }
  return uvs;
}

}  // namespace

void MapFrom3DView(Application& app, const ViewProjection& view, MappingFrame frame, MapFrom3DViewOptions& remembered) {
  MapFrom3DViewOptions options;
  options.assignChannel = remembered.assignChannel;
  if (!app.dialogs.ChooseMapFrom3DView(options)) return;
  remembered.assignChannel = options.assignChannel;
  MeshDocument& doc = app.doc();
  const FramePositions* current = CurrentPositions(doc);
  if (!current) return;
  const FramePositions& positions = *current;
  std::vector<Vec3> camera(positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) camera[i] = view.ToCameraSpace(positions[i]);
  const MapChoice choice = ChooseFaces(doc, camera, options.noBackfaces);
  std::vector<ViewPoint> projected(camera.size());
  for (std::size_t i = 0; i < camera.size(); ++i)
    if (choice.marked[i]) projected[i] = Project(view, options, camera[i]);
  OrderFrame(frame);
  const bool snap = app.flags.snapToGrid;
  const std::vector<UvPair> uvs = FitToFrame(projected, choice.marked, frame, snap);
  // Faces left alone keep what they show, even where an earlier snap left
  // their corners apart from their shared vertices.
  SyncCorners(doc);
  for (int index : choice.faces) {
    MeshTriangle& face = doc.triangles[index];
    if (options.assignChannel) face.textureNum = static_cast<std::uint8_t>(doc.activeChannel);
    for (int k = 0; k < 3; ++k) face.uv[k] = uvs[static_cast<std::size_t>(face.vertex[k])];
  }
  doc.RebuildUvVertices(false);
  if (snap) {
    for (int i = 0; i < doc.uvVertexCount; ++i) TruncateToTexels(doc.uvVertices[static_cast<std::size_t>(i)]);
    // The corners follow their snapped vertices, and vertices that now
    // coincide merge, so a later rebuild cannot undo the snap.
    doc.RebuildUvVertices(true);
  }
  Notify(app, Change::Mapping);
}

}  // namespace mok
