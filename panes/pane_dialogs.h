#pragma once
// The state of the panes' two dialogs, "Tiling Options" (the skin view's
// Tiling Setup, panes/skin_view.h) and "Map from 3D View" (panes/uv_edits.h),
// as plain values: the command fills one in, the dialog host shows it and
// writes the user's choices back.

namespace mok {

// The choices of the "Tiling Options" dialog.
struct TilingOptions {
  bool tiled = false;
  float tileRepeat = 1;  // "Tile repeat", 1 to 99
};

// The choices of the "Map from 3D View" dialog.
struct MapFrom3DViewOptions {
  int projection = 0;  // 0 "Perspective": plain formula; 1 "Parallel": divided by depth
  bool flip = false;
  bool mirror = false;
  bool noBackfaces = false;
  bool assignChannel = false;  // kept from one opening to the next
};

}  // namespace mok
