#include "panes/iso_view.h"

#include <algorithm>

#include "core/settings.h"
#include "panes/buffer_room.h"

namespace mok {

IsoView::IsoView(const IsoViewLinks& links)
    : app_(links.app),
      light_(links.light),
      renderer_(links.renderer),
      host_(links.host),
      painter_(links.painter),
      link_(links.link),
      isoFilter_(Read(links.app.settings, setting::IsoFilter) != 0 ? 1 : 0) {
  light_.m = kIdentity3;
}

IsoView::~IsoView() { Write(app_.settings, setting::IsoFilter, isoFilter_); }

void IsoView::Resize(int clientWidth, int clientHeight) {
  ResizeBuffers(clientWidth, clientHeight);
  RenderFrame(kRefreshFinal, PaneSet::All().bits());
}

void IsoView::ResizeBuffers(int clientWidth, int clientHeight) {
  FrameBuffer& frame = record_.frame;
  const std::size_t pixels = static_cast<std::size_t>(FrameWidthFor(clientWidth)) *
                             static_cast<std::size_t>(std::clamp(clientHeight, 0, kMaxFrameHeight));
  ReserveWithRoom(frame.colour, pixels);
  ReserveWithRoom(frame.depth, pixels);
  ReserveWithRoom(frame.ids, pixels);
  if (renderer_.ModeUsesShade()) ReserveWithRoom(frame.shade, pixels);
  // The next frame clears the buffers; they are not written twice.
  ResizeFrameBuffer(frame, clientWidth, clientHeight, renderer_.ModeUsesShade(), ResizeFill::Nothing);
  // The buffer keeps at least the client width; the client area never
  // reaches past the buffer, so every client point has an id.
  clientWidth_ = std::clamp(clientWidth, 0, static_cast<int>(record_.frame.width));
  clientHeight_ = std::clamp(clientHeight, 0, static_cast<int>(record_.frame.height));
}

void IsoView::RenderFrame(int kind, int flags) {
  if (!record_.frame.hasArea()) return;
  record_.camera.filtered = isoFilter_;
  renderer_.RenderMode(record_, kind, flags);
  // A mode's frame clears what the resize left; anything else it left
  // unwritten reads as a full resize made it.
  SettleResize(record_.frame);
  renderer_.DrawCornerButton(record_.frame, cornerPressed_);
}

void IsoView::ToggleFiltered() {
  isoFilter_ = isoFilter_ != 0 ? 0 : 1;
  Notify(app_, Change::IsoView);
}

std::int32_t IsoView::IdAt(int x, int y) const {
  const FrameBuffer& frame = record_.frame;
  if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return kIdBackground;
  if (frame.stale || frame.ids.size() != frame.pixelCount()) return kIdBackground;
  const std::size_t row = static_cast<std::size_t>(frame.height - 1 - y);
  return frame.ids[row * static_cast<std::size_t>(frame.width) + static_cast<std::size_t>(x)];
}

TexelIdView IsoView::TexelIds() const {
  const FrameBuffer& frame = record_.frame;
  if (frame.ids.size() != frame.pixelCount() || frame.pixelCount() == 0) return {};
  return {frame.ids.data(), frame.width, frame.height, clientWidth_};
}

}  // namespace mok
