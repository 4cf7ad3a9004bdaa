#pragma once
// The frame every render mode draws into the 3D view's FrameBuffer.
//
// A mode describes its frame with a FramePlan and supplies the per-triangle
// drawing through a FrameDrawer; RunFrame performs the shared steps in order:
//   1. nothing without a buffer area; 2. raise the priority (restored at the
//   end, also on early stops); 3. bind the buffers as the raster target and
//   build the shade ramps from this frame's display colours; 4. clear colour
//   to "Color-7", depth to 0xFFFF, ids to -1 (not on the quick path), reset
//   the edge tables; 5. stop without a model (textured modes also without an
//   active skin); 6. transform the current frame into camera space; 7. light;
//   8. pick the visible faces; 9. depth scaling; 10. the texture passes (or
//   one pass) handed to the drawer; then the drawer's after-pass hook (the
//   shade pass), the selection outlines and the trackball circle.
// Refresh kind 3 does not come here: the textured-and-shaded modes answer it
// with RepaintFromShade, the others ignore it.

#include <array>
#include <cstdint>
#include <vector>

#include "core/mesh_document.h"
#include "render/camera.h"
#include "render/frame_buffer.h"
#include "render/frame_steps.h"
#include "render/lighting.h"
#include "raster/raster.h"
#include "render/shading.h"
#include "render/visibility.h"

namespace mok {

struct FramePlan {
  LightingKind lighting = LightingKind::None;
  bool clearIds = true;         // false on the quick path
  bool textured = false;        // default-skin pass, then one pass per skin slot
  bool needsActiveSkin = false;  // stop after the clear without an active skin
  bool cullFaces = true;        // false: every non-hidden face (wireframe)
  bool outlines = false;        // id-masked edge outlines of the taken faces
};

// Everything a frame reads, gathered by the 3D view before each frame.
struct FrameJob {
  ViewRecord& view;
  MeshDocument* doc;  // null: no model, the frame is only cleared
  RasterContext& raster;
  const GammaTable& gamma;
  const LightFrame& light;
  DisplayColours colours{};  // copied for this frame
  bool mappingMode = false;  // interaction mode mapping (else paint)
  bool cameraActive = false;
  FramePriority* priority = nullptr;
};

struct ScreenCorner {
  std::int32_t x = 0;  // truncated screen position, rows counted upward
  std::int32_t y = 0;
  std::int32_t z = 0;  // depth attribute
};

// The state of one frame after step 9, handed to the drawer.
struct FrameState {
  FrameState(FrameJob& frameJob, MeshDocument& document) : job(frameJob), doc(document) {}

  FrameJob& job;
  MeshDocument& doc;
  ShadeRamps ramps{};
  VisibleTriangles visible;
  DepthScale depth;
  // Every camera-space vertex on screen, once the depth scale is known, so
  // the corners and edge ends the vertices share are projected once. Empty:
  // each corner is projected where it is used.
  std::vector<ScreenCorner> screen;

  RasterContext& raster() const { return job.raster; }
  ViewRecord& view() const { return job.view; }
  const MeshTriangle& face(int index) const { return doc.triangles[static_cast<std::size_t>(index)]; }
  bool filtered() const { return job.view.camera.filtered != 0; }
};

class FrameDrawer {
 public:
  virtual ~FrameDrawer() = default;
  // One texture pass: the pass's skin is already the raster texture (an
  // untextured mode gets one pass with no skin and every taken face).
  virtual void DrawPass(FrameState& frame, const TexturePass& pass) = 0;
  // After the last pass, before outlines and the trackball circle.
  virtual void AfterPasses(FrameState&) {}
};

void RunFrame(FrameJob& job, const FramePlan& plan, FrameDrawer& drawer);

// ---- Shared steps, usable one by one ----

// Colour, depth and ids of the frame as the raster target.
void SetRasterTarget(RasterContext& raster, FrameBuffer& frame);
// Binds a skin (or map) as the raster texture, rebuilding its row table; a
// skin without texels binds nothing, so textured fills draw nothing.
void SetRasterTexture(RasterContext& raster, SkinSlot& skin);

// Camera-space vertices and projection scale of the current frame; false
// without a model frame.
bool TransformFrame(ViewRecord& view, const MeshDocument& doc);

// Fills frame.screen from the camera-space vertices and the depth scale.
void ProjectVertices(FrameState& frame);

// The shade pass of the textured-and-shaded modes in paint mode: the colour
// target becomes `shade`, depth is cleared again and the edge tables reset.
// RunFrame binds the colour buffer again after the drawer's AfterPasses.
void BeginShadePass(FrameState& frame);

// ---- Vertices for the rasterizer ----

ScreenCorner CornerOnScreen(const FrameState& frame, const MeshTriangle& face, int corner);

// Attribute layouts after x, y, as the rasterizer families take them.
enum class AttributeLayout {
  Depth,           // z                     fillFlat*
  Colour,          // r, g, b, z            fillGouraud*
  Map,             // mu, mv, z             fillPhongMap*, and fillTexture* with envUv (environment mode)
  Texture,         // u, v, z               fillTexture*, fillTexFlat*
  TextureColour,   // u, v, r, g, b, z      fillTexGouraud*
  TextureMap,      // u, v, mu, mv, z       fillTexPhong*
};

// The three vertices of a face; `colours` are the corner colours of the
// Colour layouts (see CornerColours).
std::array<RasterVertex, 3> FaceVertices(const FrameState& frame, int faceIndex, AttributeLayout layout,
                                         const std::array<CornerRgb, 3>& colours = {});

// What the rasterizer draws of a face: its three vertices, or, when a corner
// lies nearer than the near plane (kNearestTriangleZ), the part in front of
// the plane as one or two triangles. Clip points take the attributes of their
// edge at the crossing (linear in camera space) and are projected from the
// plane itself. A face wholly behind the plane gives none.
struct FacePieces {
  std::array<std::array<RasterVertex, 3>, 2> triangles{};
  int count = 0;

  const std::array<RasterVertex, 3>* begin() const { return triangles.data(); }
  const std::array<RasterVertex, 3>* end() const { return triangles.data() + count; }
};
FacePieces FaceInFront(const FrameState& frame, int faceIndex, AttributeLayout layout,
                       const std::array<CornerRgb, 3>& colours = {});

// Flat shade colour of a face: ramp `ramp` at its flat light.
std::uint32_t FlatShadeColour(const FrameState& frame, const MeshTriangle& face, int ramp);
// Gouraud corner colours: ramp `ramp` at each corner's light, channels << 16;
// `plusOne` for the textured Gouraud mode.
std::array<CornerRgb, 3> CornerColours(const FrameState& frame, const MeshTriangle& face, int ramp, bool plusOne);

// ---- Edges ----

enum class EdgeStyle {
  AntiAliased,  // drawLineAA: every edge, no depth test (wireframe)
  Masked,       // drawLineAAMasked keyed by the face index: only over the face's own pixels
};

// A face's three edges, each clipped to z >= 0.1 in camera space, projected
// and clipped to the buffer.
void DrawFaceEdges(const FrameState& frame, int faceIndex, std::uint32_t colour, EdgeStyle style);

// Outlines of the taken faces: in mapping mode three passes (state exactly 0
// in "Color-1", exactly 1 in "Color-2", editing bit in "Color-3"), in paint
// mode all in "Color-1".
void DrawOutlines(const FrameState& frame, EdgeStyle style);

}  // namespace mok
