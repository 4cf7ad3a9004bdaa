#include "render/frame_buffer.h"

#include <algorithm>

namespace mok {

int FrameWidthFor(int clientWidth) { return (std::clamp(clientWidth, 0, kMaxFrameWidth) + 3) & ~3; }

void ResizeFrameBuffer(FrameBuffer& frame, int clientWidth, int clientHeight, bool withShade) {
  frame.width = static_cast<std::int16_t>(FrameWidthFor(clientWidth));
  frame.height = static_cast<std::int16_t>(std::clamp(clientHeight, 0, kMaxFrameHeight));
  const std::size_t n = frame.pixelCount();
  frame.colour.assign(n, 0);
  frame.depth.assign(n, kDepthFar);
  frame.ids.assign(n, kIdBackground);
  frame.shade.clear();
  SetShadeBuffer(frame, withShade);
}

void SetShadeBuffer(FrameBuffer& frame, bool present) {
  if (present) frame.shade.assign(frame.pixelCount(), 0);
  else frame.shade = {};
}

}  // namespace mok
