#pragma once
// The 2D skin pane ("Skin Box"): shows the active channel's skin at any zoom,
// optionally tiled and filtered, with the outlines of the active channel's
// faces in texture space; navigates, edits the mapping and hands paint
// drags to the painting code.
//
// Buffers: pitch x height 32-bit colours (0x00RRGGBB) and as many texel ids
// (row * width + column of the skin texel drawn at a pixel, -1 where no skin
// is drawn). Row 0 is the bottom line of the window; the pitch is the client
// width rounded up to a multiple of 4 and serves as the logical width in
// every coordinate rule (skin_viewport.h). The buffers are at most
// kMaxViewPitch x kRasterMaxRows; a larger client area shows them in its
// top-left part.
//
// Redraws go through the application's refresh sink ("MOK-Refresh"): the
// shell answers a request naming the skin pane by calling RenderView with the
// kind and repainting. During drags the view asks for the quick kind (1) and
// only the panes that change; the release sends one final kind 0.

#include <cstdint>
#include <vector>

#include "core/application.h"
#include "raster/raster_context.h"
#include "panes/corner_button.h"
#include "panes/cursor_control.h"
#include "panes/paint_handoff.h"
#include "panes/pane_dialogs.h"
#include "panes/pane_events.h"
#include "panes/skin_viewport.h"
#include "panes/uv_drags.h"
#include "panes/uv_edits.h"
#include "render/view_commands.h"  // the zoom limits

namespace mok {

inline constexpr int kMaxViewPitch = 8192;

// Drag states of the view.
enum SkinDragState : int {
  kSkinIdle = 0,
  kSkinNavigationDone = 1,  // waiting for the other button
  kSkinActionDone = 2,      // waiting for the other button
  kSkinNavigate = 100,
  kSkinPaintStroke = 200,
  kSkinColourPick = 201,
  kSkinVertexDrag = 300,
  kSkinTransform = 301,
  kSkinSweepSelect = 302,
  kSkinSweepDeselect = 303,
  // 400..405: the frame drags of uv_drags.h
  kSkinCornerButton = 406,
};

// The skin as a quick render drew it, before the outlines, with everything
// it was drawn from. A drag that only moves lines over the skin copies it
// back instead of drawing the skin again; any difference in the buffer size,
// the view centre, zoom, filter or tiling, the background colour, or the
// skin's size or any of its texels draws afresh.
class SkinPicture {
 public:
  struct Source {
    int pitch = 0;
    int height = 0;
    float centerU = 0;
    float centerV = 0;
    float zoom = 0;
    double repeat = 0;
    int filtered = 0;
    std::uint32_t background = 0;
    int skinWidth = 0;
    int skinHeight = 0;
    bool operator==(const Source&) const = default;
  };

  // Copies the kept picture into `colours` when it was drawn from `source`
  // and these texels; false otherwise.
  bool CopyTo(std::vector<std::uint32_t>& colours, const Source& source, const std::vector<std::uint32_t>& texels) const;
  void Keep(const Source& source, const std::vector<std::uint32_t>& texels, const std::vector<std::uint32_t>& colours);
  void Forget() { *this = {}; }

 private:
  bool kept_ = false;
  Source source_;
  std::vector<std::uint32_t> texels_;
  std::vector<std::uint32_t> colours_;
};

class SkinView final {
 public:
  // Reads "SknFilter" and starts the view centre at the middle of the
  // default placeholder size.
  SkinView(Application& app, RasterContext& raster, PaneHost& host);
  // Writes "SknFilter" back; the application must outlive the view.
  ~SkinView();
  SkinView(const SkinView&) = delete;
  SkinView& operator=(const SkinView&) = delete;

  // The painting code that takes Paint-mode drags; may be null.
  void SetPainter(SkinPainter* painter) { painter_ = painter; }

  // A new client size: reallocates the buffers and renders when it changed.
  void Resize(int clientWidth, int clientHeight);
  // The same without the render; returns whether the buffers changed.
  bool ResizeBuffers(int clientWidth, int clientHeight);
  // Redraws the colour buffer: kinds 0 final (with texel ids), 1 quick
  // (without), 2 background colour only, 3 after a paint step (the painted
  // texels and the outlines). Every kind then draws the outlines, the mapping
  // frame and the corner button again, so kind 2 cannot wipe them where they
  // cross the background.
  void RenderView(int kind);
  // One mouse event from the shell.
  void HandleEvent(const PaneEvent& event);
  // A wheel turn over the view.
  void WheelZoom(int delta);

  // The texel-id buffer as painting reads it.
  TexelIdView texelIdView() const { return {texelIds_.data(), pitch_, height_, clientWidth_}; }
  // The texel shown at a client point (y from the top); -1 where no skin is
  // shown and outside the client area.
  std::int32_t TexelAt(int x, int y) const { return texelIdView().TexelAt({x, y}); }
  int ClientWidth() const { return clientWidth_; }

  int pitch() const { return pitch_; }
  int height() const { return height_; }
  const std::vector<std::uint32_t>& colours() const { return colours_; }
  const std::vector<std::int32_t>& texelIds() const { return texelIds_; }
  int dragState() const { return dragState_; }
  bool cornerButtonPressed() const { return cornerPressed_; }
  SkinViewport viewport() const { return {pitch_, height_, viewCenter, zoom}; }

  UvPair viewCenter;
  float zoom = 1.5f;
  int tiled = 0;
  float tileRepeat = 1;
  int filtered = 0;
  MappingFrame mappingFrame;
  int frameVisible = 0;
  ButtonColours buttonColours;
  double screenScale = 1.0;  // view pixels per screen pixel: sizes the corner button
  MapFrom3DViewOptions mapOptions;  // the Map from 3D View choices that persist

 private:
  // Rendering steps.
  void AimRasterAtBuffer();
  void FillBackground();
  void RecolourPaintedTexels(const SkinSlot& skin);
  void EraseAllOutlines();
  void DrawSkin(SkinSlot& skin, int kind);
  void DrawTiledSkin(const SkinSlot& skin, bool withIds);
  void DrawQuickSkin(const SkinSlot& skin, bool blank);
  SkinPicture::Source PictureSource(const SkinSlot& skin) const;
  bool LinesOnlyDrag() const;
  template <typename DrawEdge>
  void ForEachEdge(const MeshTriangle& face, DrawEdge draw);
  bool OutlinesShown() const;
  void DrawOutlines();
  void DrawMappingFrame();
  void DrawButton();

  // Input.
  void Press(const PaneEvent& event);
  void PressLeft(const PaneEvent& event);
  void PressRight(const PaneEvent& event);
  void Move(const PaneEvent& event);
  void ReleaseLeft(const PaneEvent& event);
  void ReleaseRight(const PaneEvent& event);
  void CaptureLost();
  void FinishIfIdle(const PaneEvent& event, unsigned otherButton);
  void ReturnToIdle();
  void StartNavigation();
  void Navigate(const PaneEvent& event);
  void EndNavigation();
  void MoveCornerButton(const PaneEvent& event);
  void ReleaseCornerButton();
  void StartTransform(const PaneEvent& event);
  void CommitMappingDrag();
  MappingEditTarget EditTarget();
  void RefreshEditedPanes(RefreshKind kind);
  void RefreshAfterVertexStep(UvPair before);

  Application& app_;
  RasterContext& raster_;
  PaneHost& host_;
  SkinPainter* painter_ = nullptr;

  std::vector<std::uint32_t> colours_;
  std::vector<std::int32_t> texelIds_;
  SkinPicture quickSkin_;
  // The colours as ResizeBuffers made them, untouched since: every one
  // `blankColour_`.
  bool coloursBlank_ = false;
  std::uint32_t blankColour_ = 0;
  // Every texel id is -1: only a final render of the skin writes ids.
  bool idsBlank_ = false;
  int pitch_ = 0;
  int height_ = 0;
  int clientWidth_ = 0;

  // The undo step a mapping drag becomes when it ends; null for drags that
  // change no data.
  const char* pendingStep_ = nullptr;
  int dragState_ = kSkinIdle;
  int pressX_ = 0;
  int pressY_ = 0;
  int lastX_ = 0;
  int lastY_ = 0;
  bool shiftAtPress_ = false;
  bool ctrlAtPress_ = false;
  bool captured_ = false;
  bool cursorHidden_ = false;
  bool cornerPressed_ = false;
  MappingDrag mappingDrag_;
};

// zoom multiplied by factor `steps` times, then held within
// [kMinSkinZoom, kMaxSkinZoom].
float ScaleZoom(float zoom, float factor, long long steps);

// Commands of the skin view's menu and the mapping tool bar.
void ToggleUvLines(Application& app);                       // "Display UV Lines"
void ToggleSkinFilter(Application& app, SkinView& view);    // "Filtered Render"
void ToggleSkinTiled(Application& app, SkinView& view);     // "Render Skin Tiled"
void TilingSetup(Application& app, SkinView& view);         // "Tiling Setup..."
void ToggleMappingFrame(Application& app, SkinView& view);  // mapping-frame button

}  // namespace mok
