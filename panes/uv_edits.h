#pragma once
// The Mapping menu's commands on the selection's texture coordinates, and
// Map from 3D View, which projects the selected faces as the 3D view shows
// them into the mapping frame.
//
// Flip, Mirror and 90-degree Rotate work on the selected, visible faces of
// every channel; each corner moves on its own, so a corner shared with an
// unselected face is split from it. All end with a mapping change notice.

#include "core/application.h"
#include "panes/pane_dialogs.h"
#include "panes/skin_viewport.h"

namespace mok {

inline constexpr const char* kRotateOutsideMessage =
    "Rotation of the selected triangles will place them outside of the skin area...aborting.";

// Vertical flip within the selection's v range: v <- vmax - (v - vmin).
void FlipSelected(Application& app);
// Horizontal mirror within the selection's u range: u <- umax - (u - umin).
void MirrorSelected(Application& app);
// A quarter turn about the centre of the selection's bounding box. Refused
// with kRotateOutsideMessage when a corner would leave the active skin.
void RotateSelected90(Application& app);
// Truncates every UV vertex of a selected, visible face to whole texels.
void SnapSelectedToGrid(Application& app);

// What Map from 3D View needs of the 3D view: its camera transform and the
// size and scale of its picture. The shell adapts the 3D view's camera.
class ViewProjection {
 public:
  virtual ~ViewProjection() = default;
  // A model vertex in camera space (eye looking along +Z, Z including the
  // camera distance).
  virtual Vec3 ToCameraSpace(const Vec3& vertex) const = 0;
  virtual int Width() const = 0;  // the view's pitch
  virtual int Height() const = 0;
  virtual float ProjectionScale() const = 0;
  virtual float Distance() const = 0;
};

// Asks for the options (Projection, Flip, Mirror and No Backfaces start
// cleared at every opening; Assign Channel keeps its last value in
// `remembered`) and maps the selected faces into `frame`. Nothing changes
// when the dialog is cancelled or there is no animation frame.
void MapFrom3DView(Application& app, const ViewProjection& view, MappingFrame frame, MapFrom3DViewOptions& remembered);

}  // namespace mok
