#include "panes/skin_view.h"

#include <algorithm>
#include <cmath>

#include "core/prompter.h"
#include "core/settings.h"
#include "raster/raster.h"
#include "panes/buffer_room.h"

namespace mok {

namespace {

constexpr std::int32_t kTexelInset = 5462;  // one twelfth of a texel, 16.16
constexpr int kLargestTexCoord = 32767;     // whole texels that still fit 16.16 in 32 bits
constexpr float kMaxTileRepeat = 99;

// The repeat count the tiled rectangle is drawn with: at least 1, and small
// enough that its texture coordinates (up to (repeat + 1) skins) fit 16.16.
double EffectiveRepeat(const SkinView& view, const SkinSlot& skin) {
  if (!view.tiled || !(view.tileRepeat > 1)) return 1;
  const double largest = kLargestTexCoord / static_cast<double>(std::max(skin.width, skin.height)) - 1;
  return std::max(1.0, std::min(static_cast<double>(view.tileRepeat), largest));
}

std::int32_t Fixed16(double texels) { return static_cast<std::int32_t>(std::trunc(texels * 65536)); }

RasterVertex RectangleCorner(const SkinViewport& viewport, float u, float v, std::int32_t tu, std::int32_t tv) {
  const BufferPoint at = viewport.CornerInBuffer(u, v);
  RasterVertex corner;
  corner.x = at.x;
  corner.y = at.row;
  corner.attr[0] = tu;
  corner.attr[1] = tv;
  return corner;
}

}  // namespace

SkinView::SkinView(Application& app, RasterContext& raster, PaneHost& host)
    : app_(app), raster_(raster), host_(host) {
  viewCenter = {app.doc().placeholderSpec.width / 2.0f, app.doc().placeholderSpec.height / 2.0f};
  filtered = Read(app.settings, setting::SknFilter) != 0 ? 1 : 0;
}

SkinView::~SkinView() { Write(app_.settings, setting::SknFilter, filtered); }

void SkinView::Resize(int clientWidth, int clientHeight) {
  if (ResizeBuffers(clientWidth, clientHeight)) RenderView(kRefreshFinal);
}

bool SkinView::ResizeBuffers(int clientWidth, int clientHeight) {
  clientWidth_ = std::clamp(clientWidth, 0, kMaxViewPitch);
  const int height = std::clamp(clientHeight, 0, kRasterMaxRows);
  const int pitch = (clientWidth_ + 3) & ~3;
  if (pitch == pitch_ && height == height_) return false;
  pitch_ = pitch;
  height_ = height;
  const std::size_t pixels = static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height_);
  ReserveWithRoom(colours_, pixels);
  ReserveWithRoom(texelIds_, pixels);
  colours_.assign(pixels, app_.customColors[7]);
  // Ids that are all -1 stay so in any layout; only new ones need writing.
  if (idsBlank_) texelIds_.resize(pixels, -1);
  else texelIds_.assign(pixels, -1);
  coloursBlank_ = true;
  blankColour_ = app_.customColors[7];
  idsBlank_ = true;
  return true;
}

void SkinView::WheelZoom(int delta) {
  zoom = ScaleZoom(zoom, delta > 0 ? 1.00125f : 0.9987515f, std::abs(static_cast<long long>(delta)));
  Notify(app_, Change::SkinView);
}

float ScaleZoom(float zoom, float factor, long long steps) {
  // Past this many steps any start is clamped anyway.
  const long long limited = std::min(steps, 100000LL);
  for (long long i = 0; i < limited; ++i) zoom *= factor;
  if (!(zoom >= kMinSkinZoom)) return kMinSkinZoom;
  return std::min(zoom, kMaxSkinZoom);
}

void SkinView::RenderView(int kind) {
  if (pitch_ < 1 || height_ < 1) return;
  OrderFrame(mappingFrame);
  AimRasterAtBuffer();
  if (SkinSlot* skin = DrawableActiveSkin(app_.doc())) DrawSkin(*skin, kind);
  if (OutlinesShown()) DrawOutlines();
  if (frameVisible && app_.flags.editMode == EditMode::Mapping) DrawMappingFrame();
  DrawButton();
  coloursBlank_ = false;
}

void SkinView::AimRasterAtBuffer() {
  raster_.colour = colours_.data();
  raster_.depth = nullptr;
  raster_.ids = texelIds_.data();
  raster_.width = pitch_;
  raster_.height = height_;
  raster_.maxX = pitch_ - 1;
  raster_.maxY = height_ - 1;
  raster_.background = app_.customColors[7];
  resetEdges(raster_);
}

void SkinView::DrawSkin(SkinSlot& skin, int kind) {
  BuildRowOffsets(skin);
  raster_.texels = skin.pixels.data();
  raster_.texRows = skin.rowOffsets.data();
  raster_.texWidth = skin.width;
  raster_.texHeight = skin.height;
  if (kind == kRefreshBackground) {
    FillBackground();
    return;
  }
  if (kind == kRefreshPaint) {
    if (OutlinesShown()) EraseAllOutlines();
    RecolourPaintedTexels(skin);
    return;
  }
  if (!idsBlank_) std::fill(texelIds_.begin(), texelIds_.end(), -1);
  idsBlank_ = true;
  // Buffers just made for a new size already hold the cleared colours.
  const bool blank = coloursBlank_ && blankColour_ == app_.customColors[7];
  if (kind == kRefreshQuick) {
    DrawQuickSkin(skin, blank);
    return;
  }
  if (!blank) std::fill(colours_.begin(), colours_.end(), app_.customColors[7]);
  DrawTiledSkin(skin, true);
  idsBlank_ = false;
}

bool SkinPicture::CopyTo(std::vector<std::uint32_t>& colours, const Source& source,
                         const std::vector<std::uint32_t>& texels) const {
  if (!kept_ || source != source_ || colours.size() != colours_.size() || texels != texels_) return false;
  std::copy(colours_.begin(), colours_.end(), colours.begin());
  return true;
}

void SkinPicture::Keep(const Source& source, const std::vector<std::uint32_t>& texels,
                       const std::vector<std::uint32_t>& colours) {
  kept_ = true;
  source_ = source;
  texels_.assign(texels.begin(), texels.end());
  colours_.assign(colours.begin(), colours.end());
}

SkinPicture::Source SkinView::PictureSource(const SkinSlot& skin) const {
  return {pitch_,    height_,  viewCenter.u,        viewCenter.v, zoom,       EffectiveRepeat(*this, skin),
          filtered, app_.customColors[7], skin.width, skin.height};
}

// The drags whose steps redraw only lines over an unchanged skin (the
// texture warp rewrites the skin at every step).
bool SkinView::LinesOnlyDrag() const {
  switch (dragState_) {
    case kSkinVertexDrag:
    case kSkinTransform: return !app_.flags.warpTexture;
    case kSkinSweepSelect:
    case kSkinSweepDeselect: return true;
    default: return false;
  }
}

void SkinView::DrawQuickSkin(const SkinSlot& skin, bool blank) {
  const SkinPicture::Source source = PictureSource(skin);
  if (quickSkin_.CopyTo(colours_, source, skin.pixels)) return;
  if (!blank) std::fill(colours_.begin(), colours_.end(), app_.customColors[7]);
  DrawTiledSkin(skin, false);
  if (LinesOnlyDrag()) quickSkin_.Keep(source, skin.pixels, colours_);
  else quickSkin_.Forget();
}

// One rectangle covers every repeat; its texture coordinates run over the
// same range shifted to non-negative values and wrap, so each block of one
// skin size repeats the skin. The inset keeps the end pixels inside the end
// texels.
void SkinView::DrawTiledSkin(const SkinSlot& skin, bool withIds) {
  const double repeat = EffectiveRepeat(*this, skin);
  const double f = (repeat - 1) / 2;
  const double width = skin.width;
  const double height = skin.height;
  const double shift = std::ceil(f);
  const float uA = static_cast<float>(-f * width);
  const float uB = static_cast<float>((f + 1) * width);
  const float vA = static_cast<float>(-f * height);
  const float vB = static_cast<float>((f + 1) * height);
  const std::int32_t tuA = Fixed16((shift - f) * width) + kTexelInset;
  const std::int32_t tuB = Fixed16((shift + f + 1) * width) - kTexelInset;
  const std::int32_t tvA = Fixed16((shift - f) * height) + kTexelInset;
  const std::int32_t tvB = Fixed16((shift + f + 1) * height) - kTexelInset;
  const SkinViewport at = viewport();
  const RasterVertex a = RectangleCorner(at, uA, vA, tuA, tvA);
  const RasterVertex b = RectangleCorner(at, uB, vA, tuB, tvA);
  const RasterVertex c = RectangleCorner(at, uB, vB, tuB, tvB);
  const RasterVertex d = RectangleCorner(at, uA, vB, tuA, tvB);
  const RasterVertex halves[2][3] = {{a, b, c}, {a, c, d}};
  for (const auto& half : halves) {
    if (withIds)
      filtered ? fillSkinTexturePaintFiltered(raster_, half) : fillSkinTexturePaint(raster_, half);
    else
      filtered ? fillSkinTextureFiltered(raster_, half) : fillSkinTexture(raster_, half);
  }
}

void SkinView::FillBackground() {
  for (std::size_t p = 0; p < colours_.size(); ++p)
    if (texelIds_[p] < 0) colours_[p] = app_.customColors[7];
}

void SkinView::RecolourPaintedTexels(const SkinSlot& skin) {
  if (!painter_) return;
  const std::span<const std::uint8_t> mask = painter_->StrokeMask();
  const std::size_t limit =
      std::min(mask.size(), static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height));
  for (std::size_t p = 0; p < colours_.size(); ++p) {
    const std::int32_t id = texelIds_[p];
    if (id >= 0 && static_cast<std::size_t>(id) < limit && mask[static_cast<std::size_t>(id)])
      colours_[p] = skin.pixels[static_cast<std::size_t>(id)];
  }
}

bool SkinView::OutlinesShown() const { return app_.flags.showUvLines || app_.flags.editMode == EditMode::Mapping; }

template <typename DrawEdge>
void SkinView::ForEachEdge(const MeshTriangle& face, DrawEdge draw) {
  const MeshDocument& doc = app_.doc();
  const SkinViewport at = viewport();
  BufferPoint corners[3];
  for (int k = 0; k < 3; ++k) {
    const UvPair* uv = CornerUv(doc, face, k);
    if (!uv) return;
    corners[k] = at.VertexInBuffer(*uv);
  }
  for (int k = 0; k < 3; ++k) {
    int x0 = corners[k].x, y0 = corners[k].row;
    int x1 = corners[(k + 1) % 3].x, y1 = corners[(k + 1) % 3].row;
    if (clipLine2D(raster_, x0, y0, x1, y1)) draw(x0, y0, x1, y1);
  }
}

void SkinView::EraseAllOutlines() {
  const MeshDocument& doc = app_.doc();
  for (int i = 0; i < doc.triangleCount; ++i)
    ForEachEdge(doc.triangles[i], [&](int x0, int y0, int x1, int y1) { drawLineTextured(raster_, x0, y0, x1, y1); });
}

// Unselected faces first, then selected ones, then the faces being edited,
// so the later colours stay on shared edges. Hidden faces are outlined only
// while they are being edited.
void SkinView::DrawOutlines() {
  const MeshDocument& doc = app_.doc();
  struct Pass {
    bool (*takes)(std::uint32_t state);
    std::uint32_t colour;
  };
  const Pass passes[3] = {
      {[](std::uint32_t state) { return state == 0; }, app_.customColors[1]},
      {[](std::uint32_t state) { return state == kFaceSelected; }, app_.customColors[2]},
      {[](std::uint32_t state) { return (state & kFaceEditing) != 0; }, app_.customColors[3]},
  };
  for (const Pass& pass : passes) {
    for (int i = 0; i < doc.triangleCount; ++i) {
      const MeshTriangle& face = doc.triangles[i];
      if (face.textureNum != doc.activeChannel || !pass.takes(face.state)) continue;
      ForEachEdge(face, [&](int x0, int y0, int x1, int y1) { drawLineAA(raster_, x0, y0, x1, y1, pass.colour); });
    }
  }
}

void SkinView::DrawMappingFrame() {
  const SkinViewport at = viewport();
  const BufferPoint a = at.CornerInBuffer(mappingFrame.u0, mappingFrame.v0);
  const BufferPoint b = at.CornerInBuffer(mappingFrame.u1, mappingFrame.v1);
  const int sides[4][4] = {
      {a.x, a.row, b.x, a.row}, {b.x, a.row, b.x, b.row}, {b.x, b.row, a.x, b.row}, {a.x, b.row, a.x, a.row}};
  for (const auto& side : sides) {
    int x0 = side[0], y0 = side[1], x1 = side[2], y1 = side[3];
    if (clipLine2D(raster_, x0, y0, x1, y1)) drawLine(raster_, x0, y0, x1, y1, app_.customColors[1]);
  }
}

void SkinView::DrawButton() {
  DrawCornerButton(colours_.data(), pitch_, height_, cornerPressed_, buttonColours, screenScale);
}

void ToggleUvLines(Application& app) {
  app.flags.showUvLines = !app.flags.showUvLines;
  Notify(app, Change::Display);
}

void ToggleSkinFilter(Application& app, SkinView& view) {
  view.filtered = view.filtered ? 0 : 1;
  Notify(app, Change::SkinView);
}

void ToggleSkinTiled(Application& app, SkinView& view) {
  view.tiled = view.tiled ? 0 : 1;
  Notify(app, Change::Display);
}

void TilingSetup(Application& app, SkinView& view) {
  TilingOptions options{view.tiled != 0, view.tileRepeat};
  if (!app.dialogs.EditTilingOptions(options)) return;
  view.tiled = options.tiled ? 1 : 0;
  view.tileRepeat = options.tileRepeat >= 1 ? std::min(options.tileRepeat, kMaxTileRepeat) : 1;
  Notify(app, Change::Display);
}

void ToggleMappingFrame(Application& app, SkinView& view) {
  view.frameVisible = view.frameVisible ? 0 : 1;
  Notify(app, Change::SkinView);
}

}  // namespace mok
