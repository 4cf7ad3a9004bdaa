#include "panes/painting.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/refresh.h"
#include "raster/raster.h"
#include "render/shading.h"
#include "panes/user_colours.h"

namespace mok {
namespace {

inline constexpr int kMaxBrushRadius = 2;

// Texels a skin really holds: width * height when both are positive and the
// buffer is that large, else 0.
std::size_t TexelCount(const SkinSlot& skin) {
  if (skin.width <= 0 || skin.height <= 0) return 0;
  const std::size_t count = static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
  return skin.pixels.size() >= count ? count : 0;
}

int ActiveColourIndex(const Application& app) { return std::clamp(app.activeColor, 0, 7); }

std::uint32_t ChannelOf(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

std::uint32_t BlendChannel(std::uint32_t texel, std::uint32_t drawing, float k) {
  const float t = static_cast<float>(texel);
  const float d = static_cast<float>(drawing);
  return static_cast<std::uint32_t>(static_cast<int>(t + (d - t) * k)) & 0xFF;
}

// The drawing colour's hue and saturation at the texel's brightness.
std::uint32_t Colorized(std::uint32_t drawing, std::uint32_t texel) {
  const Hsv d = RgbToHsv(UnpackColour(drawing));
  const Hsv t = RgbToHsv(UnpackColour(texel));
  return PackColour(HsvToRgb({d.h, d.s, t.v}));
}

// Visits every pixel of the segment from the end with the smaller y to the
// other, both ends included. Plain runs step one pixel on each moving axis;
// other lines advance the minor coordinate whenever a 16-bit accumulator,
// grown by (minor << 16) / major per step, carries.
template <class Visit>
void WalkPixels(WindowPoint a, WindowPoint b, Visit visit) {
  if (a.y > b.y) std::swap(a, b);
  const int xDir = b.x >= a.x ? 1 : -1;
  const int dx = std::abs(b.x - a.x);
  const int dy = b.y - a.y;
  visit(a);
  if (dx == 0 && dy == 0) return;
  if (dx == 0 || dy == 0 || dx == dy) {
    const int stepX = dx == 0 ? 0 : xDir;
    const int stepY = dy == 0 ? 0 : 1;
    for (int k = 1; k <= std::max(dx, dy); ++k) visit({a.x + k * stepX, a.y + k * stepY});
    return;
  }
  const bool yMajor = dy > dx;
  const int major = yMajor ? dy : dx;
  const int minor = yMajor ? dx : dy;
  const std::uint32_t step = static_cast<std::uint32_t>((static_cast<std::int64_t>(minor) << 16) / major);
  std::uint32_t accumulator = 0;
  int across = 0;
  for (int k = 1; k < major; ++k) {
    accumulator += step;
    if (accumulator > 0xFFFF) {
      accumulator &= 0xFFFF;
      ++across;
    }
    visit(yMajor ? WindowPoint{a.x + across * xDir, a.y + k} : WindowPoint{a.x + k * xDir, a.y + across});
  }
  visit(b);
}

}  // namespace

PaintBlend CurrentBlend(const Application& app) {
  PaintBlend blend;
  blend.colour = app.customColors[static_cast<std::size_t>(ActiveColourIndex(app))];
  blend.strength = static_cast<float>(std::clamp(app.paintStrength, 0.0, 1.0));
  blend.colorize = app.flags.colorizeMode;
  return blend;
}

std::uint32_t PaintTexel(std::uint32_t texel, const PaintBlend& blend) {
  const std::uint32_t drawing = blend.colorize ? Colorized(blend.colour, texel) : blend.colour;
  const float k = std::clamp(blend.strength, 0.0F, 1.0F);
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    result |= BlendChannel(ChannelOf(texel, shift), ChannelOf(drawing, shift), k) << shift;
  }
  return result;
}

bool StampBrush(SkinSlot& skin, std::vector<std::uint8_t>& mask, std::int32_t index, int radius,
                const PaintBlend& blend) {
  const std::size_t count = TexelCount(skin);
  if (index < 0 || static_cast<std::size_t>(index) >= count || mask.size() < count) return false;
  const int width = skin.width;
  const int height = skin.height;
  const int row = index / width;
  const int column = index % width;
  const int r = std::clamp(radius, 0, kMaxBrushRadius);
  bool painted = false;
  for (int y = std::max(row - r, 0); y <= std::min(row + r, height - 1); ++y) {
    for (int x = std::max(column - r, 0); x <= std::min(column + r, width - 1); ++x) {
      const std::size_t texel = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
      if (mask[texel] != 0) continue;
      mask[texel] = 1;
      skin.pixels[texel] = PaintTexel(skin.pixels[texel], blend);
      painted = true;
    }
  }
  return painted;
}

bool TexelIdView::Contains(WindowPoint p) const {
  return p.x >= 0 && p.y >= 0 && p.x < std::min(clientWidth, pitch) && p.y < height;
}

std::int32_t TexelIdView::TexelAt(WindowPoint p) const {
  if (ids == nullptr || !Contains(p)) return -1;
  const std::size_t row = static_cast<std::size_t>(height - 1 - p.y);
  return ids[row * static_cast<std::size_t>(pitch) + static_cast<std::size_t>(p.x)];
}

Painter::Painter(Application& app) : app_(app), clip_(std::make_unique<RasterContext>()) {}

Painter::~Painter() = default;

bool Painter::StrokeSkinValid() const {
  return skin_ != nullptr && skin_ == app_.doc().activeSkin && TexelCount(*skin_) == mask_.size() && !mask_.empty();
}

bool Painter::BeginStroke(const TexelIdView& view, WindowPoint press) {
  EndStroke();
  SkinSlot* skin = app_.doc().activeSkin;
  if (skin == nullptr || TexelCount(*skin) == 0) return false;
  skin_ = skin;
  mask_.assign(TexelCount(*skin), 0);
  press_ = previous_ = press;
  if (app_.flags.brushKind == BrushKind::Line) {
    lineSnapshot_.assign(skin->pixels.begin(), skin->pixels.begin() + static_cast<std::ptrdiff_t>(mask_.size()));
  }
  StampAt(view, press);
  return true;
}

void Painter::MoveStroke(const TexelIdView& view, WindowPoint point) {
  if (!StrokeSkinValid()) return;
  switch (app_.flags.brushKind) {
    case BrushKind::Pencil:
      PaintLine(view, previous_, point);
      break;
    case BrushKind::Line:
      RestoreLine();
      if (!PaintLine(view, press_, point)) Notify(app_, Change::Painted);
      break;
    case BrushKind::Point:
      StampAt(view, point);
      break;
  }
  previous_ = point;
}

// Puts back what earlier positions of the line painted (only marked texels
// changed since the press), lets both views recolour those texels (rendered,
// not yet shown), and forgets them.
void Painter::RestoreLine() {
  if (lineSnapshot_.size() == mask_.size()) {
    for (std::size_t i = 0; i < mask_.size(); ++i) {
      if (mask_[i] != 0) skin_->pixels[i] = lineSnapshot_[i];
    }
  }
  Notify(app_, Change::PaintRestored);
  std::fill(mask_.begin(), mask_.end(), std::uint8_t{0});
}

void Painter::EndStroke() {
  if (skin_) {
    MeshDocument& doc = app_.doc();
    for (int slot = 0; slot < doc.slotCount(); ++slot)
      if (doc.skinSlots[static_cast<std::size_t>(slot)].get() == skin_)
        app_.history.Commit(doc, "Paint Stroke", ChangeScope::OneSkin(slot));
  }
  skin_ = nullptr;
  std::vector<std::uint8_t>().swap(mask_);
  std::vector<std::uint32_t>().swap(lineSnapshot_);
}

bool Painter::StampTexel(std::int32_t index) {
  return StampBrush(*skin_, mask_, index, app_.flags.brushRadius, CurrentBlend(app_));
}

bool Painter::StampAt(const TexelIdView& view, WindowPoint point) {
  if (!StrokeSkinValid()) return false;
  if (!StampTexel(view.TexelAt(point))) return false;
  Notify(app_, Change::Painted);
  return true;
}

bool Painter::PaintLine(const TexelIdView& view, WindowPoint from, WindowPoint to) {
  if (!StrokeSkinValid()) return false;
  if (view.Contains(from) && view.Contains(to)) {
    if (from == to) return StampAt(view, from);
  } else {
    if (from == to) return false;
    clip_->maxX = std::min(view.clientWidth, view.pitch) - 1;
    clip_->maxY = view.height - 1;
    if (!clipLine2D(*clip_, from.x, from.y, to.x, to.y)) return false;
  }
  WalkPixels(from, to, [&](WindowPoint p) { StampTexel(view.TexelAt(p)); });
  Notify(app_, Change::Painted);
  return true;
}

bool Painter::PickAt(const TexelIdView& view, WindowPoint point) {
  if (!view.Contains(point)) return false;
  return PickTexel(view.TexelAt(point));
}

bool Painter::PickTexel(std::int32_t index) {
  const SkinSlot* skin = app_.doc().activeSkin;
  if (skin == nullptr || index < 0 || static_cast<std::size_t>(index) >= TexelCount(*skin)) return false;
  const std::uint32_t texel = skin->pixels[static_cast<std::size_t>(index)] & kUserColourMask;
  const int active = ActiveColourIndex(app_);
  std::uint32_t& colour = app_.customColors[static_cast<std::size_t>(active)];
  if (texel == colour) return false;
  colour = texel;
  Notify(app_, Change::Palette);
  return true;
}

void Painter::EndPick() { Notify(app_, Change::ViewsEdited); }

}  // namespace mok
