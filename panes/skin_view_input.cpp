// The skin view's mouse state machine: presses start a drag only from idle,
// moves drive the drag in progress, and a release (or the loss of the mouse)
// ends it. Releases count only while the view holds the capture.

#include <algorithm>
#include <cstdlib>

#include "panes/skin_view.h"

namespace mok {

namespace {

constexpr float kZoomInPerPixel = 1.001f;
constexpr float kZoomOutPerPixel = 0.99900097f;
constexpr float kMaxCentre = 131072;  // texels; far beyond any skin

bool IsFrameDrag(int state) { return state >= kFrameMove && state <= kFrameBottom; }

}  // namespace

void SkinView::HandleEvent(const PaneEvent& event) {
  switch (event.type) {
    case PaneEventType::Press:
      Press(event);
      break;
    case PaneEventType::Release:
      if (!captured_) return;
      if (event.button == PaneButton::Left) ReleaseLeft(event);
      if (event.button == PaneButton::Right) ReleaseRight(event);
      break;
    case PaneEventType::Move:
      Move(event);
      break;
    case PaneEventType::Wheel:
      WheelZoom(event.wheelDelta);
      break;
    case PaneEventType::CaptureLost:
      CaptureLost();
      break;
  }
}

MappingEditTarget SkinView::EditTarget() { return {app_, viewport(), raster_, filtered != 0, screenScale}; }

void SkinView::RefreshEditedPanes(RefreshKind kind) { Notify(app_, Change::ViewsEdited, kind); }

// The 3D view draws a UV vertex at its whole texel: a step within one texel
// leaves its picture as it is, unless the texture warp repainted the skin.
void SkinView::RefreshAfterVertexStep(UvPair before) {
  if (!app_.flags.warpTexture && SameCornerTexel(before, GrabbedUv(app_.doc(), mappingDrag_)))
    Notify(app_, Change::SkinView, kRefreshQuick);
  else
    RefreshEditedPanes(kRefreshQuick);
}

void SkinView::Press(const PaneEvent& event) {
  if (dragState_ != kSkinIdle) return;
  pressX_ = lastX_ = event.x;
  pressY_ = lastY_ = event.y;
  shiftAtPress_ = event.shift();
  ctrlAtPress_ = event.ctrl();
  if (event.button == PaneButton::Left) PressLeft(event);
  if (event.button == PaneButton::Right) PressRight(event);
  if (dragState_ == kSkinIdle) {
    shiftAtPress_ = ctrlAtPress_ = false;
    return;
  }
  if (!captured_) {
    captured_ = true;
    host_.CaptureMouse();
  }
}

void SkinView::PressLeft(const PaneEvent& event) {
  const bool mapping = app_.flags.editMode == EditMode::Mapping;
  if (InCornerButton(event.x, event.y, screenScale)) {
    dragState_ = kSkinCornerButton;
    cornerPressed_ = true;
    Notify(app_, Change::SkinView);
  } else if (app_.flags.cameraActive) {
    StartNavigation();
  } else if (mapping && frameVisible) {
    dragState_ = BeginFrameDrag(mappingFrame, viewport().SkinPoint(event.x, event.y));
    pendingStep_ = "Mapping Frame";
    Notify(app_, Change::SkinView);
  } else if (!mapping) {
    dragState_ = kSkinPaintStroke;
    if (painter_) painter_->BeginStroke(texelIdView(), {event.x, event.y});
  } else if (event.shift() || event.ctrl()) {
    // Shift wins over Ctrl.
    dragState_ = event.shift() ? kSkinSweepSelect : kSkinSweepDeselect;
    SweepSelection(app_.doc(), viewport(), event.x, event.y, dragState_ == kSkinSweepSelect);
    RefreshEditedPanes(kRefreshQuick);
  } else if (BeginVertexDrag(EditTarget(), mappingDrag_, event.x, event.y) == VertexPick::Grabbed) {
    dragState_ = kSkinVertexDrag;
    pendingStep_ = "Move UV Vertex";
    RefreshEditedPanes(kRefreshQuick);
  }
}

void SkinView::PressRight(const PaneEvent& event) {
  if (app_.flags.cameraActive) {
    StartNavigation();
  } else if (app_.flags.editMode != EditMode::Mapping) {
    dragState_ = kSkinColourPick;
    if (painter_) painter_->PickColour(texelIdView(), {event.x, event.y});
  } else {
    StartTransform(event);
  }
}

void SkinView::StartNavigation() {
  dragState_ = kSkinNavigate;
  HideCursorFully(host_);
  cursorHidden_ = true;
}

void SkinView::StartTransform(const PaneEvent& event) {
  dragState_ = kSkinTransform;
  BeginSelectionTransform(EditTarget(), mappingDrag_, event.x, event.y, event.shift(), event.ctrl());
  pendingStep_ = event.shift() ? "Rotate Selection" : event.ctrl() ? "Scale Selection" : "Move Selection";
  RefreshEditedPanes(kRefreshQuick);
  HideCursorFully(host_);
  cursorHidden_ = true;
}

void SkinView::Move(const PaneEvent& event) {
  switch (dragState_) {
    case kSkinNavigate:
      Navigate(event);
      break;
    case kSkinPaintStroke:
      if (painter_) painter_->ContinueStroke(texelIdView(), {event.x, event.y});
      break;
    case kSkinColourPick:
      if (painter_) painter_->PickColour(texelIdView(), {event.x, event.y});
      break;
    case kSkinVertexDrag: {
      const UvPair before = GrabbedUv(app_.doc(), mappingDrag_);
      if (MoveVertexDrag(EditTarget(), mappingDrag_, event.x, event.y)) RefreshAfterVertexStep(before);
      break;
    }
    case kSkinTransform: {
      const int dx = event.x - pressX_;
      const int dy = event.y - pressY_;
      if (dx == 0 && dy == 0) break;  // the echo of putting the cursor back
      host_.WarpCursor(pressX_, pressY_);
      MoveSelectionTransform(EditTarget(), mappingDrag_, dx, dy);
      RefreshEditedPanes(kRefreshQuick);
      break;
    }
    case kSkinSweepSelect:
    case kSkinSweepDeselect:
      // A step that changes no face leaves both views as they are.
      if (SweepSelection(app_.doc(), viewport(), event.x, event.y, dragState_ == kSkinSweepSelect))
        RefreshEditedPanes(kRefreshQuick);
      break;
    case kSkinCornerButton:
      MoveCornerButton(event);
      break;
    default:
      if (IsFrameDrag(dragState_)) {
        const UvPair motion{(event.x - lastX_) / zoom, (event.y - lastY_) / zoom};
        MoveFrameDrag(mappingFrame, dragState_, viewport().SkinPoint(event.x, event.y), motion, app_.flags);
        Notify(app_, Change::SkinView);
      }
      break;
  }
  lastX_ = event.x;
  lastY_ = event.y;
}

// Relative motion: every move is measured from the press point and the
// cursor is put back there, so the drag never runs into the screen edge.
void SkinView::Navigate(const PaneEvent& event) {
  const int dx = event.x - pressX_;
  const int dy = event.y - pressY_;
  if (dx == 0 && dy == 0) return;
  host_.WarpCursor(pressX_, pressY_);
  if (event.held(kHeldRight)) {
    if (dy != 0) zoom = ScaleZoom(zoom, dy > 0 ? kZoomOutPerPixel : kZoomInPerPixel, std::abs(static_cast<long long>(dy)));
  } else {
    viewCenter.u = std::clamp(viewCenter.u - dx / zoom, -kMaxCentre, kMaxCentre);
    viewCenter.v = std::clamp(viewCenter.v - dy / zoom, -kMaxCentre, kMaxCentre);
  }
  Notify(app_, Change::SkinView, kRefreshQuick);
}

void SkinView::EndNavigation() {
  dragState_ = kSkinNavigationDone;
  Notify(app_, Change::SkinView);
}

void SkinView::CommitMappingDrag() {
  EndMappingDrag(app_.doc(), mappingDrag_);
  RefreshEditedPanes(kRefreshFinal);
}

void SkinView::MoveCornerButton(const PaneEvent& event) {
  const bool inside = InCornerButton(event.x, event.y, screenScale);
  if (inside == cornerPressed_) return;
  cornerPressed_ = inside;
  Notify(app_, Change::SkinView);
}

void SkinView::ReleaseCornerButton() {
  cornerPressed_ = false;
  Notify(app_, Change::SkinView);
}

void SkinView::ReleaseLeft(const PaneEvent& event) {
  bool openMenu = false;
  switch (dragState_) {
    case kSkinNavigate:
      if (!event.held(kHeldRight)) EndNavigation();
      break;
    case kSkinPaintStroke:
      if (painter_) painter_->EndStroke();
      dragState_ = kSkinActionDone;
      break;
    case kSkinVertexDrag:
      CommitMappingDrag();
      dragState_ = kSkinActionDone;
      break;
    case kSkinSweepSelect:
    case kSkinSweepDeselect:
      RefreshEditedPanes(kRefreshFinal);
      dragState_ = kSkinActionDone;
      break;
    case kSkinCornerButton:
      // Released anywhere, the button still opens its menu.
      ReleaseCornerButton();
      dragState_ = kSkinActionDone;
      openMenu = true;
      break;
    default:
      if (IsFrameDrag(dragState_)) dragState_ = kSkinActionDone;
      break;
  }
  FinishIfIdle(event, kHeldRight);
  if (openMenu) {
    const CornerButtonPlace corner = CornerButtonAt(screenScale);
    host_.OpenContextMenu(corner.left, corner.top);
  }
}

void SkinView::ReleaseRight(const PaneEvent& event) {
  switch (dragState_) {
    case kSkinNavigate:
      if (!event.held(kHeldLeft)) EndNavigation();
      break;
    case kSkinColourPick:
      RefreshEditedPanes(kRefreshFinal);
      dragState_ = kSkinActionDone;
      break;
    case kSkinTransform:
      CommitMappingDrag();
      dragState_ = kSkinNavigationDone;
      break;
    default:
      break;
  }
  FinishIfIdle(event, kHeldLeft);
}

void SkinView::FinishIfIdle(const PaneEvent& event, unsigned otherButton) {
  if ((dragState_ == kSkinNavigationDone || dragState_ == kSkinActionDone) && !event.held(otherButton)) ReturnToIdle();
}

// The state is idle before the capture is released: releasing it may report
// the loss of the capture at once.
void SkinView::ReturnToIdle() {
  dragState_ = kSkinIdle;
  if (pendingStep_) {
    // Warping moves the skin's texels with the mapping.
    const ChangeScope scope{true, true, app_.doc().activeChannel};
    app_.history.Commit(app_.doc(), pendingStep_, scope);
    pendingStep_ = nullptr;
  }
  shiftAtPress_ = ctrlAtPress_ = false;
  if (cursorHidden_) {
    cursorHidden_ = false;
    ShowCursorFully(host_);
  }
  if (captured_) {
    captured_ = false;
    host_.ReleaseMouse();
  }
}

void SkinView::CaptureLost() {
  captured_ = false;
  switch (dragState_) {
    case kSkinNavigate:
      Notify(app_, Change::SkinView);
      break;
    case kSkinPaintStroke:
      if (painter_) painter_->EndStroke();
      break;
    case kSkinVertexDrag:
    case kSkinTransform:
      CommitMappingDrag();
      break;
    case kSkinColourPick:
    case kSkinSweepSelect:
    case kSkinSweepDeselect:
      RefreshEditedPanes(kRefreshFinal);
      break;
    case kSkinCornerButton:
      ReleaseCornerButton();
      break;
    default:
      break;
  }
  ReturnToIdle();
}

}  // namespace mok
