#pragma once
// The mouse edits of the mapping in the skin view: dragging one UV vertex,
// moving, rotating or scaling the selection, sweeping triangles into or out
// of the selection, and dragging the mapping frame. The skin view's state
// machine starts and ends them and sends the refreshes; these functions only
// change the document (and, with the texture warp, the active skin).
//
// All coordinates are texels of the active channel's skin.
//
// The editing bit (kFaceEditing) marks the faces a vertex drag or selection
// transform is moving; EndMappingDrag clears it everywhere.
//
// The grab vertex: a vertex drag copies the picked UV vertex to the entry one
// past the last in use and points the dragged corners at it, so the table
// needs one spare entry. With all 12288 entries in use the drag is refused
// and the table is left as it was.

#include <cstdint>
#include <vector>

#include "core/application.h"
#include "raster/raster_context.h"
#include "panes/skin_viewport.h"

namespace mok {

// What a mapping edit works on: the application (document and interaction
// flags), where the view shows the skin, the shared rasterizer (texture
// warp) and whether the view samples the skin bilinearly.
struct MappingEditTarget {
  Application& app;
  SkinViewport viewport;
  RasterContext& raster;
  bool filtered = false;
  double screenScale = 1.0;  // view pixels per screen pixel: widens the pick reach
};

enum class SelectionTransform : std::uint8_t { Move, Rotate, Scale };

// The state of the drag in progress, kept by the view from press to release.
struct MappingDrag {
  std::vector<UvPair> uvSnapshot;            // every UV vertex as the drag began
  std::vector<std::uint32_t> imageSnapshot;  // the skin as the drag began (texture warp only)
  int grabVertex = -1;
  SelectionTransform transform = SelectionTransform::Move;
  UvPair pivot;
  double angle = 0;
  double sx = 1;
  double sy = 1;
};

enum class VertexPick : std::uint8_t { Grabbed, NoneNear, TableFull };

// The nearest UV vertex of the active channel within 6 screen pixels of a
// client point (squared truncated offsets below 36 at a screen scale of 1;
// ties go to the lower index), or -1.
int NearestUvVertex(const MeshDocument& doc, const SkinViewport& viewport, int x, int y, double screenScale = 1.0);

// Left press without modifiers: picks, detaches and grabs a vertex.
VertexPick BeginVertexDrag(MappingEditTarget target, MappingDrag& drag, int x, int y);
// Puts the grab vertex under the cursor (locks and snap applied). False when
// it was already there and nothing changed.
bool MoveVertexDrag(MappingEditTarget target, MappingDrag& drag, int x, int y);
// Where the grab vertex is; (0, 0) without one.
UvPair GrabbedUv(const MeshDocument& doc, const MappingDrag& drag);
// Whether two UV positions give a corner the same texture coordinates in the
// 3D view, which takes them in whole texels (CornerTexel).
bool SameCornerTexel(UvPair a, UvPair b);

// Right press: marks the selection of the active channel and starts a move,
// a rotation (Shift) or a scale (Ctrl) about the press point.
void BeginSelectionTransform(MappingEditTarget target, MappingDrag& drag, int x, int y, bool shift, bool ctrl);
// One relative mouse step (offsets from the press point).
void MoveSelectionTransform(MappingEditTarget target, MappingDrag& drag, int dx, int dy);

// Ends a vertex drag or selection transform: folds the grab vertex back,
// merges coinciding vertices and clears the editing bits.
void EndMappingDrag(MeshDocument& doc, MappingDrag& drag);

// Selects (or deselects) every face of the active channel, hidden or not,
// whose UV triangle contains the client point. True when a bit changed.
bool SweepSelection(MeshDocument& doc, const SkinViewport& viewport, int x, int y, bool select);

// Frame drag states of the view.
inline constexpr int kFrameMove = 400;
inline constexpr int kFrameNew = 401;
inline constexpr int kFrameLeft = 402;    // u0
inline constexpr int kFrameRight = 403;   // u1
inline constexpr int kFrameTop = 404;     // v0
inline constexpr int kFrameBottom = 405;  // v1

// Left press on the frame at skin point p: which part is dragged. A press
// well away from it starts a new frame at p.
int BeginFrameDrag(MappingFrame& frame, UvPair p);
// One move: `cursor` is the skin point under the mouse, `motion` the mouse
// motion since the last move in skin units.
void MoveFrameDrag(MappingFrame& frame, int part, UvPair cursor, UvPair motion, const InteractionFlags& flags);

// The texture warp: restores the skin from the image snapshot and redraws
// every face being edited at its current coordinates, sampled from the
// snapshot at its starting coordinates.
void WarpTexture(MappingEditTarget target, const MappingDrag& drag);

}  // namespace mok
