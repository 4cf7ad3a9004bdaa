#include "render/frame_buffer.h"

#include <algorithm>

namespace mok {

int FrameWidthFor(int clientWidth) { return (std::clamp(clientWidth, 0, kMaxFrameWidth) + 3) & ~3; }

void ResizeFrameBuffer(FrameBuffer& frame, int clientWidth, int clientHeight, bool withShade, ResizeFill fill) {
  frame.width = static_cast<std::int16_t>(FrameWidthFor(clientWidth));
  frame.height = static_cast<std::int16_t>(std::clamp(clientHeight, 0, kMaxFrameHeight));
  const std::size_t n = frame.pixelCount();
  if (fill == ResizeFill::Nothing) {
    frame.colour.resize(n);
    frame.depth.resize(n);
    frame.ids.resize(n);
    if (withShade) frame.shade.resize(n);
    else frame.shade = {};
    frame.stale = true;
    frame.staleShade = withShade;
    return;
  }
  frame.colour.assign(n, 0);
  frame.depth.assign(n, kDepthFar);
  frame.ids.assign(n, kIdBackground);
  frame.stale = false;
  frame.shade.clear();
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
