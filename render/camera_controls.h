#pragma once
// Camera edits driven by mouse drags. Every function takes plain numbers:
// mouse positions in client pixels (y downward) and view sizes; the pane that
// owns the camera turns its toolkit's events into these calls and re-renders.

#include "render/camera.h"

namespace mok {

// One mouse move of a drag: the previously handled and the current position.
struct DragStep {
  int prevX = 0;
  int prevY = 0;
  int x = 0;
  int y = 0;
};

// The trackball axis handle a rotate drag began on.
enum class TrackballHandle { None, Vertical, Horizontal };

// Which handle a press at (x, y) hits; width and height are the buffer size.
TrackballHandle HitTrackballHandle(int x, int y, int width, int height);

// The trackball rotation for one mouse move in a client area of the given
// size. Identity when the two mapped points coincide.
Mat3 TrackballRotation(const DragStep& step, int clientWidth, int clientHeight, TrackballHandle handle);

// Turns the camera by R (orientation becomes M R). With the light locked to
// the camera the light frame is turned first so it keeps its place on screen.
void RotateCamera(Camera& camera, LightFrame& light, const Mat3& r, bool lockLight);

// Turns the light by R as seen from the camera; the camera does not move.
void RotateLight(const Camera& camera, LightFrame& light, const Mat3& r);

// Moves the look-at point with the mouse in the screen plane; width and
// height are the view's buffer size (they give the projection scale).
void PanCamera(Camera& camera, const DragStep& step, int width, int height);

// Vertical drag zoom: up brings the eye closer (x0.998004 per pixel), down
// moves it away (x1.002 per pixel).
void ZoomCamera(Camera& camera, const DragStep& step);

// Wheel zoom by the raw signed wheel delta: x1.002 per unit up, x0.998004 per
// unit down.
void WheelZoom(Camera& camera, int delta);

// Moves the look-at point along the view axis while the eye stays put.
void DollyCamera(Camera& camera, const DragStep& step);

// Field of view from the horizontal distance of the mouse from the press
// point: fov + 0.1 dx, held within [1, 120].
void ChangeFieldOfView(Camera& camera, int dxFromPress);

// The distance is kept within these bounds so a long zoom can always be
// undone (a distance of 0 would stay 0 and break the projection).
inline constexpr float kMinCameraDistance = 0.001f;
inline constexpr float kMaxCameraDistance = 1.0e9f;

// A left drag in camera mode, applied with the current camera tool.
struct ToolDrag {
  CameraTool tool = CameraTool::Standard;
  DragStep step;
  int pressX = 0;           // where the button went down (field of view)
  int clientWidth = 0;      // trackball mapping
  int clientHeight = 0;
  int bufferWidth = 0;      // pan projection scale
  int bufferHeight = 0;
  TrackballHandle handle = TrackballHandle::None;
  bool lockLight = false;
};

enum class DragEffect { None, CameraChanged, LightChanged };

// Applies the tool; the caller re-renders (quick kind) and, for a camera
// change with "Sync Cameras" on, sends the camera state.
DragEffect ApplyCameraTool(const ToolDrag& drag, Camera& camera, LightFrame& light);

}  // namespace mok
