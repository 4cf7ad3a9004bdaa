#pragma once
// The 3D view ("ISO Box"): its buffers and camera, and the mouse state
// machine that turns presses, moves and releases into camera moves, triangle
// selection, painting through the picture and colour picking.
//
// The view never draws a pane or talks to a window itself. It reaches the
// rest of the program through small interfaces: IsoRenderer (the current
// render mode), PaneHost (capture, cursor, context menu), CameraLink (the
// session link) and the application's RefreshSink; strokes and colour picks
// go to the painting engine with a view of the id buffer. During a drag the
// view asks for quick renders (kind 1) of the panes that change, and for one
// final render (kind 0) when the drag ends.
//
// Mouse points are client pixels counted from the top-left corner; the id
// buffer's rows are bottom-up, so the pixel under (x, y) is row height-1-y.

#include <cstdint>

#include "core/application.h"
#include "render/camera.h"
#include "render/camera_controls.h"
#include "panes/cursor_control.h"
#include "render/frame_buffer.h"
#include "panes/pane_events.h"
#include "panes/painting.h"

namespace mok {

// The current render mode as the 3D view sees it.
class IsoRenderer {
 public:
  virtual ~IsoRenderer() = default;
  // Draws one frame of the current mode into the view record.
  virtual void RenderMode(ViewRecord& view, int kind, int flags) = 0;
  // Whether the current mode shows skins (a left press in paint mode paints).
  virtual bool ModeUsesSkins() const = 0;
  // Whether the current mode keeps a per-pixel shade buffer.
  virtual bool ModeUsesShade() const = 0;
  // Draws the corner button over the finished frame, in the system colours.
  virtual void DrawCornerButton(FrameBuffer& frame, bool pressed) = 0;
};

// The link to a second running copy.
class CameraLink {
 public:
  virtual ~CameraLink() = default;
  virtual void SendCameraToWatcher(const CameraState& state) = 0;
};

// Everything outside the pane that the view uses.
struct IsoViewLinks {
  Application& app;
  LightFrame& light;
  IsoRenderer& renderer;
  PaneHost& host;
  Painter& painter;
  CameraLink& link;
};

enum class IsoMouseState : int {
  Idle = 0,
  WaitForRelease = 2,  // a press with nothing to do: wait until every button is up
  ToolDrag = 100,      // left, camera on: the camera tool; zoom while the right button is held
  PanDrag = 101,       // right, camera on: pan; dolly while the left button is held
  FovDrag = 102,       // Shift + left, camera on
  LightDrag = 103,     // Shift + right, camera on
  ZoomDrag = 104,      // middle, camera on
  PaintStroke = 200,   // left, paint mode, a mode that shows skins
  ColourPick = 201,    // right, paint mode, a mode that shows skins
  Select = 300,        // left, mapping mode
  Deselect = 301,      // right, mapping mode
  CornerButton = 302,  // left press on the corner button
};

// The corner button covers client x 2..16, y 3..17; its menu opens at (2, 3).

class IsoView final {
 public:
  // Reads "IsoFilter" and sets the light orientation to the identity.
  explicit IsoView(const IsoViewLinks& links);
  // Writes "IsoFilter" back.
  ~IsoView();
  IsoView(const IsoView&) = delete;
  IsoView& operator=(const IsoView&) = delete;

  // The window's client area changed: new buffers, then a full frame.
  void Resize(int clientWidth, int clientHeight);
  // The same without the frame: the window renders when it chooses. Until
  // then the buffers hold no picture (FrameBuffer::stale) and every id reads
  // as -1.
  void ResizeBuffers(int clientWidth, int clientHeight);
  // Draws the current mode into the buffers, then the corner button.
  void RenderFrame(int kind, int flags);
  // The one entry for mouse input.
  void HandleEvent(const PaneEvent& event);

  // Context menu "Filtered Render".
  bool filtered() const { return isoFilter_ != 0; }
  void ToggleFiltered();

  IsoMouseState mouseState() const { return state_; }
  bool cornerButtonPressed() const { return cornerPressed_; }
  const FrameBuffer& frame() const { return record_.frame; }
  FrameBuffer& frame() { return record_.frame; }
  Camera& camera() { return record_.camera; }
  // The buffers and camera as the picture commands render them.
  ViewRecord& record() { return record_; }
  const Camera& camera() const { return record_.camera; }
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }

  // View pixels per screen pixel: sizes the corner button (2 when the view
  // renders at the device pixels of a screen scaled by 200 %).
  double screenScale = 1.0;

  // The id under a client point; -1 outside the client area or the buffer.
  std::int32_t IdAt(int x, int y) const;
  // The id buffer as the painting engine reads it: texel offsets in paint
  // mode, bottom-up rows, strokes clipped to the client area.
  TexelIdView TexelIds() const;

 private:
  void OnPress(const PaneEvent& event);
  void OnMove(const PaneEvent& event);
  void OnRelease(const PaneEvent& event);
  void OnWheel(int delta);
  void OnCaptureLost();

  IsoMouseState StateForPress(const PaneEvent& event) const;
  void BeginState(const PaneEvent& event);
  // The drag of the current state ends (release or loss of the mouse); the
  // state becomes WaitForRelease. Returns whether the corner menu is due.
  bool EndState();
  void ReturnToIdle();

  void MoveCamera(const PaneEvent& event);
  ToolDrag DragFor(CameraTool tool, const PaneEvent& event) const;
  bool FieldOfViewDrag(const PaneEvent& event) const;
  void CameraMoved(bool cameraChanged, bool lightChanged);
  void SendCameraIfLinked();
  void ActAtCursor(int x, int y);
  void ChangeSelectionAt(int x, int y);
  void TrackCornerButton(int x, int y);

  Application& app_;
  LightFrame& light_;
  IsoRenderer& renderer_;
  PaneHost& host_;
  Painter& painter_;
  CameraLink& link_;

  ViewRecord record_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int isoFilter_ = 1;

  IsoMouseState state_ = IsoMouseState::Idle;
  int pressX_ = 0;
  int pressY_ = 0;
  int prevX_ = 0;
  int prevY_ = 0;
  TrackballHandle handle_ = TrackballHandle::None;
  bool cornerPressed_ = false;
  bool cursorHidden_ = false;
  bool selectionChanged_ = false;
};

}  // namespace mok
