#pragma once
// The shell's interaction flags: how the panes answer the mouse. All start
// off (paint mode, point brush, standard camera) and are never saved.

namespace mok {

enum class EditMode { Paint, Mapping };

enum class BrushKind { Point, Pencil, Line };

// The tool a left drag applies while camera interaction is on.
enum class CameraTool : int { Standard = 0, Rotate = 1, Pan = 2, Zoom = 3, Fov = 4, RotateLight = 5 };

struct InteractionFlags {
  EditMode editMode = EditMode::Paint;
  bool cameraActive = false;
  BrushKind brushKind = BrushKind::Point;
  int brushRadius = 0;  // 0..2
  bool colorizeMode = false;
  bool warpTexture = false;
  CameraTool cameraTool = CameraTool::Standard;
  bool lockX = false;
  bool lockY = false;
  bool uniformScale = false;
  bool snapToGrid = false;
  bool lockLight = false;
  bool showUvLines = false;
  bool syncCameras = false;
  bool watching = false;
  bool autoReload = false;
};

}  // namespace mok
