// The 3D view's mouse state machine.
//
// A press while the view is idle picks a state by the interaction flags and
// captures the mouse; presses of further buttons during a drag start nothing
// of their own, they only change what the drag does while they are held
// (right during a left camera drag zooms, left during a right drag dollies).
// The release of the button that began the drag ends it; the view then waits
// until every button is up before it gives the capture back. Loss of the
// capture ends any drag at once.

#include <algorithm>

#include "panes/iso_view.h"

#include "panes/corner_button.h"

namespace mok {

namespace {

enum class Owner { None, Left, Right, Middle };

// The button whose release ends a state.
Owner OwnerOf(IsoMouseState state) {
  switch (state) {
    case IsoMouseState::ToolDrag:
    case IsoMouseState::FovDrag:
    case IsoMouseState::PaintStroke:
    case IsoMouseState::Select:
    case IsoMouseState::CornerButton:
      return Owner::Left;
    case IsoMouseState::PanDrag:
    case IsoMouseState::LightDrag:
    case IsoMouseState::ColourPick:
    case IsoMouseState::Deselect:
      return Owner::Right;
    case IsoMouseState::ZoomDrag:
      return Owner::Middle;
    case IsoMouseState::Idle:
    case IsoMouseState::WaitForRelease:
      break;
  }
  return Owner::None;
}

Owner OwnerOf(PaneButton button) {
  switch (button) {
    case PaneButton::Left:
      return Owner::Left;
    case PaneButton::Right:
      return Owner::Right;
    case PaneButton::Middle:
      return Owner::Middle;
    case PaneButton::None:
      break;
  }
  return Owner::None;
}

bool IsCameraState(IsoMouseState state) {
  const int s = static_cast<int>(state);
  return s >= static_cast<int>(IsoMouseState::ToolDrag) && s <= static_cast<int>(IsoMouseState::ZoomDrag);
}

bool SameView(const Camera& a, const Camera& b) {
  return a.fovDegrees == b.fovDegrees && a.orientation == b.orientation && a.panOffset == b.panOffset &&
         a.distance == b.distance;
}

constexpr unsigned kAllButtons = kHeldLeft | kHeldRight | kHeldMiddle;

}  // namespace

void IsoView::HandleEvent(const PaneEvent& event) {
  // Input that comes between a resize and its frame sees the ids a full
  // resize writes.
  SettleResize(record_.frame);
  switch (event.type) {
    case PaneEventType::Press:
      OnPress(event);
      break;
    case PaneEventType::Move:
      OnMove(event);
      break;
    case PaneEventType::Release:
      OnRelease(event);
      break;
    case PaneEventType::Wheel:
      OnWheel(event.wheelDelta);
      break;
    case PaneEventType::CaptureLost:
      OnCaptureLost();
      break;
  }
}

IsoMouseState IsoView::StateForPress(const PaneEvent& event) const {
  const InteractionFlags& flags = app_.flags;
  const bool paintable = flags.editMode == EditMode::Paint && renderer_.ModeUsesSkins();
  switch (event.button) {
    case PaneButton::Left:
      if (InCornerButton(event.x, event.y, screenScale)) return IsoMouseState::CornerButton;
      if (flags.cameraActive) return event.shift() ? IsoMouseState::FovDrag : IsoMouseState::ToolDrag;
      if (flags.editMode == EditMode::Mapping) return IsoMouseState::Select;
      return paintable ? IsoMouseState::PaintStroke : IsoMouseState::WaitForRelease;
    case PaneButton::Right:
      if (flags.cameraActive) return event.shift() ? IsoMouseState::LightDrag : IsoMouseState::PanDrag;
      if (flags.editMode == EditMode::Mapping) return IsoMouseState::Deselect;
      return paintable ? IsoMouseState::ColourPick : IsoMouseState::WaitForRelease;
    case PaneButton::Middle:
      return flags.cameraActive ? IsoMouseState::ZoomDrag : IsoMouseState::WaitForRelease;
    case PaneButton::None:
      break;
  }
  return IsoMouseState::WaitForRelease;
}

void IsoView::OnPress(const PaneEvent& event) {
  if (state_ != IsoMouseState::Idle || event.button == PaneButton::None) return;
  pressX_ = prevX_ = event.x;
  pressY_ = prevY_ = event.y;
  state_ = StateForPress(event);
  BeginState(event);
  host_.CaptureMouse();
}

void IsoView::BeginState(const PaneEvent& event) {
  const FrameBuffer& frame = record_.frame;
  switch (state_) {
    case IsoMouseState::CornerButton:
      cornerPressed_ = true;
      Notify(app_, Change::IsoView);
      break;
    case IsoMouseState::ToolDrag:
    case IsoMouseState::LightDrag:
      handle_ = HitTrackballHandle(event.x, event.y, frame.width, frame.height);
      break;
    case IsoMouseState::PaintStroke:
      painter_.BeginStroke(TexelIds(), {event.x, event.y});
      break;
    default:
      ActAtCursor(event.x, event.y);
      break;
  }
  // The field-of-view drag puts the cursor back on the press point after
  // every move; a cursor jumping back and forth is better hidden.
  if (FieldOfViewDrag(event)) {
    HideCursorFully(host_);
    cursorHidden_ = true;
  }
}

void IsoView::OnMove(const PaneEvent& event) {
  switch (state_) {
    case IsoMouseState::ToolDrag:
    case IsoMouseState::PanDrag:
    case IsoMouseState::FovDrag:
    case IsoMouseState::LightDrag:
    case IsoMouseState::ZoomDrag:
      MoveCamera(event);
      return;
    case IsoMouseState::PaintStroke:
      painter_.MoveStroke(TexelIds(), {event.x, event.y});
      break;
    case IsoMouseState::CornerButton:
      TrackCornerButton(event.x, event.y);
      break;
    default:
      ActAtCursor(event.x, event.y);
      break;
  }
  prevX_ = event.x;
  prevY_ = event.y;
}

bool IsoView::FieldOfViewDrag(const PaneEvent& event) const {
  if (state_ == IsoMouseState::FovDrag) return true;
  return state_ == IsoMouseState::ToolDrag && app_.flags.cameraTool == CameraTool::Fov &&
         !event.held(kHeldRight);
}

ToolDrag IsoView::DragFor(CameraTool tool, const PaneEvent& event) const {
  ToolDrag drag;
  drag.tool = tool;
  drag.step = {prevX_, prevY_, event.x, event.y};
  drag.pressX = pressX_;
  drag.clientWidth = clientWidth_;
  drag.clientHeight = clientHeight_;
  drag.bufferWidth = record_.frame.width;
  drag.bufferHeight = record_.frame.height;
  drag.handle = handle_;
  drag.lockLight = app_.flags.lockLight;
  return drag;
}

// Which tool the move applies: the state and the buttons held decide.
void IsoView::MoveCamera(const PaneEvent& event) {
  CameraTool tool = CameraTool::Zoom;
  switch (state_) {
    case IsoMouseState::ToolDrag:
      tool = event.held(kHeldRight) ? CameraTool::Zoom : app_.flags.cameraTool;
      break;
    case IsoMouseState::PanDrag:
      tool = CameraTool::Pan;
      break;
    case IsoMouseState::FovDrag:
      tool = CameraTool::Fov;
      break;
    case IsoMouseState::LightDrag:
      tool = CameraTool::RotateLight;
      break;
    default:
      break;
  }
  const Camera before = record_.camera;
  const Mat3 lightBefore = light_.m;
  if (state_ == IsoMouseState::PanDrag && event.held(kHeldLeft)) {
    DollyCamera(record_.camera, {prevX_, prevY_, event.x, event.y});
  } else {
    ApplyCameraTool(DragFor(tool, event), record_.camera, light_);
  }
  const bool putBack = FieldOfViewDrag(event);
  prevX_ = putBack ? pressX_ : event.x;
  prevY_ = putBack ? pressY_ : event.y;
  if (putBack && (event.x != pressX_ || event.y != pressY_)) host_.WarpCursor(pressX_, pressY_);
  CameraMoved(!SameView(before, record_.camera), lightBefore != light_.m);
}

// A quick frame of the 3D view for any change; the linked copy follows the
// camera, not the light.
void IsoView::CameraMoved(bool cameraChanged, bool lightChanged) {
  if (cameraChanged || lightChanged) Notify(app_, Change::IsoView, kRefreshQuick);
  if (cameraChanged) SendCameraIfLinked();
}

void IsoView::SendCameraIfLinked() {
  if (app_.flags.syncCameras && !app_.flags.watching) link_.SendCameraToWatcher(GetCameraState(record_.camera));
}

// Colour picks and selection act alike at the press and at every move.
void IsoView::ActAtCursor(int x, int y) {
  if (state_ == IsoMouseState::ColourPick) painter_.PickAt(TexelIds(), {x, y});
  if (state_ == IsoMouseState::Select || state_ == IsoMouseState::Deselect) ChangeSelectionAt(x, y);
}

void IsoView::ChangeSelectionAt(int x, int y) {
  const std::int32_t id = IdAt(x, y);
  MeshDocument& doc = app_.doc();
  // A buffer drawn before faces were deleted may hold indices past the end.
  const int count = std::clamp(static_cast<int>(doc.triangleCount), 0, kMaxTriangles);
  if (id < 0 || id >= count) return;
  MeshTriangle& face = doc.triangles[static_cast<std::size_t>(id)];
  if (face.hidden()) return;
  const bool select = state_ == IsoMouseState::Select;
  if (face.selected() == select) return;
  face.state = select ? (face.state | kFaceSelected) : (face.state & ~kFaceSelected);
  selectionChanged_ = true;
  Notify(app_, Change::ViewsEdited, kRefreshQuick);
}

void IsoView::TrackCornerButton(int x, int y) {
  const bool inside = InCornerButton(x, y, screenScale);
  if (inside == cornerPressed_) return;
  cornerPressed_ = inside;
  Notify(app_, Change::IsoView);
}

void IsoView::OnRelease(const PaneEvent& event) {
  if (state_ == IsoMouseState::Idle) return;
  bool openMenu = false;
  if (OwnerOf(event.button) == OwnerOf(state_)) openMenu = EndState();
  if (state_ == IsoMouseState::WaitForRelease && (event.buttonsHeld & kAllButtons) == 0) {
    ReturnToIdle();
    host_.ReleaseMouse();
  }
  // The menu runs its own loop and takes the mouse, so it opens last.
  if (openMenu) {
    const CornerButtonPlace corner = CornerButtonAt(screenScale);
    host_.OpenContextMenu(corner.left, corner.top);
  }
}

bool IsoView::EndState() {
  const IsoMouseState ending = state_;
  state_ = IsoMouseState::WaitForRelease;
  if (cursorHidden_) {
    ShowCursorFully(host_);
    cursorHidden_ = false;
  }
  if (IsCameraState(ending)) Notify(app_, Change::IsoView);
  switch (ending) {
    case IsoMouseState::PaintStroke:
      painter_.EndStroke();
      break;
    case IsoMouseState::ColourPick:
      painter_.EndPick();
      break;
    case IsoMouseState::Select:
    case IsoMouseState::Deselect:
      // Quick frames showed the change; one full frame settles both views.
      if (selectionChanged_) Notify(app_, Change::ViewsEdited);
      break;
    case IsoMouseState::CornerButton:
      cornerPressed_ = false;
      Notify(app_, Change::IsoView);
      return true;
    default:
      break;
  }
  return false;
}

void IsoView::ReturnToIdle() {
  state_ = IsoMouseState::Idle;
  handle_ = TrackballHandle::None;
  selectionChanged_ = false;
}

void IsoView::OnCaptureLost() {
  if (state_ == IsoMouseState::Idle) return;
  EndState();
  ReturnToIdle();
}

void IsoView::OnWheel(int delta) {
  const Camera before = record_.camera;
  WheelZoom(record_.camera, delta);
  if (SameView(before, record_.camera)) return;
  Notify(app_, Change::IsoView);
  SendCameraIfLinked();
}

}  // namespace mok
