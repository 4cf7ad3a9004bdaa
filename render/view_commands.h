#pragma once
// The "Views" menu: camera alignments, centring, and the skin view's
// "Zoom 2D Extents". Aligning changes only the orientation; centring changes
// only the pan offset.

#include "core/mesh_document.h"
#include "render/camera.h"

namespace mok {

enum class ViewAlignment { Front, Back, Left, Right, Top, Bottom };

Mat3 AlignmentOrientation(ViewAlignment alignment);
void AlignCamera(Camera& camera, ViewAlignment alignment);

// Looks at the mean of the centroids of the selected, visible triangles.
// Returns false (camera unchanged) when no triangle qualifies.
bool CenterOnSelected(Camera& camera, const MeshDocument& doc);

// Looks at the mean of all vertices of the current frame. Returns false
// (camera unchanged) without vertices.
bool CenterOnScene(Camera& camera, const MeshDocument& doc);

// The part of the skin view's state that "Zoom 2D Extents" sets.
struct SkinViewZoom {
  float centerU = 0;
  float centerV = 0;
  float zoom = 1.5f;
};

inline constexpr float kMinSkinZoom = 1.0f;
inline constexpr float kMaxSkinZoom = 12.0f;

// Centres the skin and fits it to 90% of the view, zoom held within [1, 12].
// Returns false (state unchanged) without a skin.
bool ZoomSkinExtents(SkinViewZoom& view, int viewWidth, int viewHeight, int skinWidth, int skinHeight);

}  // namespace mok
