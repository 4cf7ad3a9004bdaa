#include "render/frame_pipeline.h"

#include <algorithm>

namespace mok {

namespace {

ScreenCorner ToScreen(const FrameState& frame, const Vec3& p) {
  const ViewRecord& view = frame.view();
  const ScreenPointF s = ProjectToScreen(view.camera, view.projectionScale, view.frame.width, view.frame.height, p);
  return {TruncateCoordinate(s.x), TruncateCoordinate(s.y), DepthAttribute(frame.depth, p.z)};
}

// A camera-space vertex on screen, from the frame's table when it has one.
ScreenCorner VertexOnScreen(const FrameState& frame, std::size_t vertex) {
  if (vertex < frame.screen.size()) return frame.screen[vertex];
  return ToScreen(frame, frame.view().cameraVertices[vertex]);
}

// An edge end on screen: the vertex's own projection unless the near clip
// moved it.
ScreenCorner EdgeEndOnScreen(const FrameState& frame, std::size_t vertex, const RasterPoint3& end) {
  const Vec3& p = frame.view().cameraVertices[vertex];
  if (end.x == p.x && end.y == p.y && end.z == p.z) return VertexOnScreen(frame, vertex);
  return ToScreen(frame, {end.x, end.y, end.z});
}

// The edge between camera-space vertices a and b, both within the array.
void DrawEdge(const FrameState& frame, std::size_t a, std::size_t b, std::uint32_t colour, EdgeStyle style, int key) {
  const std::vector<Vec3>& vertices = frame.view().cameraVertices;
  RasterPoint3 p0{vertices[a].x, vertices[a].y, vertices[a].z}, p1{vertices[b].x, vertices[b].y, vertices[b].z};
  if (!clipLineNear(p0, p1)) return;
  const ScreenCorner s0 = EdgeEndOnScreen(frame, a, p0);
  const ScreenCorner s1 = EdgeEndOnScreen(frame, b, p1);
  int x0 = s0.x, y0 = s0.y, x1 = s1.x, y1 = s1.y;
  if (!clipLine2D(frame.raster(), x0, y0, x1, y1)) return;
  if (style == EdgeStyle::Masked) drawLineAAMasked(frame.raster(), x0, y0, x1, y1, colour, key);
  else drawLineAA(frame.raster(), x0, y0, x1, y1, colour);
}

void DrawOutlinePass(const FrameState& frame, EdgeStyle style, std::uint32_t colour, bool (*member)(std::uint32_t)) {
  for (int index : frame.visible.taken) {
    if (member(frame.face(index).state)) DrawFaceEdges(frame, index, colour, style);
  }
}

}  // namespace

void SetRasterTarget(RasterContext& raster, FrameBuffer& frame) {
  raster.colour = frame.colour.data();
  raster.depth = frame.depth.data();
  raster.ids = frame.ids.data();
  raster.width = frame.width;
  raster.height = frame.height;
  raster.maxX = frame.width - 1;
  raster.maxY = frame.height - 1;
}

void SetRasterTexture(RasterContext& raster, SkinSlot& skin) {
  const std::size_t texels = static_cast<std::size_t>(std::max<int>(skin.width, 0)) *
                             static_cast<std::size_t>(std::max<int>(skin.height, 0));
  const bool usable = texels > 0 && skin.pixels.size() >= texels && skin.height <= kMaxSkinRows;
  if (usable) BuildRowOffsets(skin);
  raster.texels = usable ? skin.pixels.data() : nullptr;
  raster.texRows = usable ? skin.rowOffsets.data() : nullptr;
  raster.texWidth = usable ? skin.width : std::int16_t{0};
  raster.texHeight = usable ? skin.height : std::int16_t{0};
}

bool TransformFrame(ViewRecord& view, const MeshDocument& doc) {
  const FramePositions* positions = CurrentPositions(doc);
  if (!positions) return false;
  TransformVertices(view.camera, *positions, view.cameraVertices);
  view.projectionScale = ProjectionScale(view.camera, view.frame.width, view.frame.height);
  return true;
}

void BeginShadePass(FrameState& frame) {
  FrameBuffer& buffer = frame.view().frame;
  if (!buffer.hasShade()) return;
  SettleShade(buffer);
  frame.raster().colour = buffer.shade.data();
  std::fill(buffer.depth.begin(), buffer.depth.end(), kDepthFar);
  resetEdges(frame.raster());
}

ScreenCorner CornerOnScreen(const FrameState& frame, const MeshTriangle& face, int corner) {
  const std::vector<Vec3>& vertices = frame.view().cameraVertices;
  const int v = face.vertex[corner];
  if (v < 0 || static_cast<std::size_t>(v) >= vertices.size()) return {};
  return VertexOnScreen(frame, static_cast<std::size_t>(v));
}

void ProjectVertices(FrameState& frame) {
  const std::vector<Vec3>& vertices = frame.view().cameraVertices;
  frame.screen.resize(vertices.size());
  for (std::size_t i = 0; i < vertices.size(); ++i) frame.screen[i] = ToScreen(frame, vertices[i]);
}

std::array<RasterVertex, 3> FaceVertices(const FrameState& frame, int faceIndex, AttributeLayout layout,
                                         const std::array<CornerRgb, 3>& colours) {
  const MeshTriangle& face = frame.face(faceIndex);
  std::array<RasterVertex, 3> out{};
  for (int k = 0; k < 3; ++k) {
    RasterVertex& v = out[static_cast<std::size_t>(k)];
    const ScreenCorner s = CornerOnScreen(frame, face, k);
    const CornerRgb& c = colours[static_cast<std::size_t>(k)];
    v.x = s.x;
    v.y = s.y;
    switch (layout) {
      case AttributeLayout::Depth: v.attr[0] = s.z; break;
      case AttributeLayout::Colour:
        v.attr[0] = c.r, v.attr[1] = c.g, v.attr[2] = c.b, v.attr[3] = s.z;
        break;
      case AttributeLayout::Map: {
        const CornerUv m = CornerMapUv(face, k);
        v.attr[0] = m.u, v.attr[1] = m.v, v.attr[2] = s.z;
        break;
      }
      case AttributeLayout::Texture: {
        const CornerUv t = CornerTexel(frame.doc, face, k);
        v.attr[0] = t.u, v.attr[1] = t.v, v.attr[2] = s.z;
        break;
      }
      case AttributeLayout::TextureColour: {
        const CornerUv t = CornerTexel(frame.doc, face, k);
        v.attr[0] = t.u, v.attr[1] = t.v, v.attr[2] = c.r, v.attr[3] = c.g, v.attr[4] = c.b, v.attr[5] = s.z;
        break;
      }
      case AttributeLayout::TextureMap: {
        const CornerUv t = CornerTexel(frame.doc, face, k);
        const CornerUv m = CornerMapUv(face, k);
        v.attr[0] = t.u, v.attr[1] = t.v, v.attr[2] = m.u, v.attr[3] = m.v, v.attr[4] = s.z;
        break;
      }
    }
  }
  return out;
}

namespace {

// The slot of the depth attribute in a layout: always the last one.
int DepthSlot(AttributeLayout layout) {
  switch (layout) {
    case AttributeLayout::Depth: return 0;
    case AttributeLayout::Colour: return 3;
    case AttributeLayout::Map: return 2;
    case AttributeLayout::Texture: return 2;
    case AttributeLayout::TextureColour: return 5;
    case AttributeLayout::TextureMap: return 4;
  }
  return 0;
}

bool InFront(const Vec3& p) { return !(p.z < kNearestTriangleZ); }

// The point where the edge from `a` (in front) to `b` (behind) meets the near
// plane, with the edge's attributes there.
RasterVertex ClipPoint(const FrameState& frame, AttributeLayout layout, const Vec3& a, const Vec3& b,
                       const RasterVertex& va, const RasterVertex& vb) {
  const double t = (static_cast<double>(kNearestTriangleZ) - a.z) / (static_cast<double>(b.z) - a.z);
  const Vec3 p{static_cast<float>(a.x + t * (b.x - a.x)), static_cast<float>(a.y + t * (b.y - a.y)), kNearestTriangleZ};
  RasterVertex out;
  for (int i = 0; i < kRasterMaxAttributes; ++i)
    out.attr[i] = static_cast<std::int32_t>(va.attr[i] + t * (static_cast<double>(vb.attr[i]) - va.attr[i]));
  const ScreenCorner s = ToScreen(frame, p);
  out.x = s.x;
  out.y = s.y;
  out.attr[DepthSlot(layout)] = s.z;
  return out;
}

}  // namespace

FacePieces FaceInFront(const FrameState& frame, int faceIndex, AttributeLayout layout,
                       const std::array<CornerRgb, 3>& colours) {
  FacePieces pieces;
  const std::array<RasterVertex, 3> v = FaceVertices(frame, faceIndex, layout, colours);
  const MeshTriangle& face = frame.face(faceIndex);
  const std::vector<Vec3>& camera = frame.view().cameraVertices;
  Vec3 p[3];
  for (int k = 0; k < 3; ++k) {
    const int index = face.vertex[k];
    if (index < 0 || static_cast<std::size_t>(index) >= camera.size()) return pieces;
    p[k] = camera[static_cast<std::size_t>(index)];
  }
  if (InFront(p[0]) && InFront(p[1]) && InFront(p[2])) {
    pieces.triangles[0] = v;
    pieces.count = 1;
    return pieces;
  }
  // The corners in front in order, with a clip point wherever an edge
  // crosses the plane: three or four points, drawn as a fan.
  std::array<RasterVertex, 4> polygon{};
  int n = 0;
  for (int k = 0; k < 3; ++k) {
    const int next = (k + 1) % 3;
    if (InFront(p[k])) polygon[static_cast<std::size_t>(n++)] = v[static_cast<std::size_t>(k)];
    if (InFront(p[k]) != InFront(p[next])) {
      polygon[static_cast<std::size_t>(n++)] =
          InFront(p[k]) ? ClipPoint(frame, layout, p[k], p[next], v[static_cast<std::size_t>(k)], v[static_cast<std::size_t>(next)])
                        : ClipPoint(frame, layout, p[next], p[k], v[static_cast<std::size_t>(next)], v[static_cast<std::size_t>(k)]);
    }
  }
  for (int i = 1; i + 1 < n; ++i) {
    pieces.triangles[static_cast<std::size_t>(pieces.count++)] = {polygon[0], polygon[static_cast<std::size_t>(i)],
                                                                   polygon[static_cast<std::size_t>(i) + 1]};
  }
  return pieces;
}

std::uint32_t FlatShadeColour(const FrameState& frame, const MeshTriangle& face, int ramp) {
  return RampColour(frame.ramps, ramp, face.shade[0]);
}

std::array<CornerRgb, 3> CornerColours(const FrameState& frame, const MeshTriangle& face, int ramp, bool plusOne) {
  std::array<CornerRgb, 3> out{};
  for (std::size_t k = 0; k < 3; ++k) out[k] = RampChannels(RampColour(frame.ramps, ramp, face.shade[k]), plusOne);
  return out;
}

void DrawFaceEdges(const FrameState& frame, int faceIndex, std::uint32_t colour, EdgeStyle style) {
  const MeshTriangle& face = frame.face(faceIndex);
  const std::vector<Vec3>& vertices = frame.view().cameraVertices;
  for (int k = 0; k < 3; ++k) {
    const int a = face.vertex[k], b = face.vertex[(k + 1) % 3];
    if (a < 0 || b < 0 || static_cast<std::size_t>(a) >= vertices.size() || static_cast<std::size_t>(b) >= vertices.size()) return;
    DrawEdge(frame, static_cast<std::size_t>(a), static_cast<std::size_t>(b), colour, style, faceIndex);
  }
}

void DrawOutlines(const FrameState& frame, EdgeStyle style) {
  const DisplayColours& colours = frame.job.colours;
  if (!frame.job.mappingMode) {
    DrawOutlinePass(frame, style, colours[kColourUnselected], [](std::uint32_t) { return true; });
    return;
  }
  DrawOutlinePass(frame, style, colours[kColourUnselected], [](std::uint32_t state) { return state == 0; });
  DrawOutlinePass(frame, style, colours[kColourSelected], [](std::uint32_t state) { return state == kFaceSelected; });
  DrawOutlinePass(frame, style, colours[kColourEditing], [](std::uint32_t state) { return (state & kFaceEditing) != 0; });
}

void RunFrame(FrameJob& job, const FramePlan& plan, FrameDrawer& drawer) {
  FrameBuffer& buffer = job.view.frame;
  if (!buffer.hasArea() || buffer.colour.size() < buffer.pixelCount()) return;
  ScopedFramePriority priority(job.priority);
  SetRasterTarget(job.raster, buffer);
  job.raster.shadeRamps = BuildShadeRamps(job.colours, job.gamma);
  // Stale ids after a resize are cleared on the quick path too.
  ClearBuffers(buffer, job.colours[kColourBackground], plan.clearIds || buffer.stale);
  buffer.stale = false;
  resetEdges(job.raster);
  if (!job.doc || (plan.needsActiveSkin && !job.doc->activeSkin)) return;
  if (!TransformFrame(job.view, *job.doc)) return;

  FrameState frame(job, *job.doc);
  frame.ramps = job.raster.shadeRamps;
  ApplyLighting(plan.lighting, frame.doc, job.view.cameraVertices.size(), job.light, job.view.camera, job.gamma);
  frame.visible = plan.cullFaces ? SelectVisibleTriangles(frame.doc, job.view.cameraVertices)
                                 : SelectNonHiddenTriangles(frame.doc, job.view.cameraVertices);
  frame.depth = ComputeDepthScale(frame.visible);
  ProjectVertices(frame);

  std::vector<TexturePass> passes;
  if (plan.textured) passes = PlanTexturePasses(frame.doc, frame.visible);
  else passes.push_back({nullptr, -1, frame.visible.taken});
  for (const TexturePass& pass : passes) {
    if (pass.skin) SetRasterTexture(job.raster, *pass.skin);
    drawer.DrawPass(frame, pass);
  }
  drawer.AfterPasses(frame);
  SetRasterTarget(job.raster, buffer);

  if (plan.outlines) DrawOutlines(frame, EdgeStyle::Masked);
  if (job.cameraActive) DrawTrackballCircle(buffer, job.colours[kColourUnselected]);
}

}  // namespace mok
