#include "render/frame_buffer.h"

#include <algorithm>

namespace mok {

int FrameWidthFor(int clientWidth) { return (std::clamp(clientWidth, 0, kMaxFrameWidth) + 3) & ~3; }

void ResizeFrameBuffer(FrameBuffer& frame, int clientWidth, int clientHeight, bool withShade, ResizeFill fill) {
  frame.width = static_cast<std::int16_t>(FrameWidthFor(clientWidth));
  frame.height = static_cast<std::int16_t>(std::clamp(clientHeight, 0, kMaxFrameHeight));
  const std::size_t n = frame.pixelCount();
  frame.colour.resize(n);
  frame.depth.resize(n);
  frame.ids.resize(n);
  frame.stale = true;
  if (fill == ResizeFill::Nothing) {
    if (withShade) frame.shade.resize(n);
    else frame.shade = {};
    frame.staleShade = withShade;
    return;
  }
  SettleResize(frame);
  SetShadeBuffer(frame, withShade);
}

void SetShadeBuffer(FrameBuffer& frame, bool present) {
  if (present) frame.shade.assign(frame.pixelCount(), 0);
  else frame.shade = {};
  frame.staleShade = false;
}

void SettleResize(FrameBuffer& frame) {
  if (!frame.stale) return;
  std::fill(frame.colour.begin(), frame.colour.end(), 0);
  std::fill(frame.depth.begin(), frame.depth.end(), kDepthFar);
  std::fill(frame.ids.begin(), frame.ids.end(), kIdBackground);
  frame.stale = false;
}

void SettleShade(FrameBuffer& frame) {
  if (!frame.staleShade) return;
  std::fill(frame.shade.begin(), frame.shade.end(), 0);
  frame.staleShade = false;
}

}  // namespace mok
