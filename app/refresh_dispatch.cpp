#include "app/refresh_dispatch.h"

namespace mok {

void DispatchRefresh(RefreshTargets& targets, int paneBits, int kind) {
  const int flags = paneBits & ~kPanesAll;
  if ((paneBits & kRepaintWithoutRender) == 0) {
    for (int box : kRefreshOrder)
      if (paneBits & box) targets.RenderBox(box, kind, flags);
  }
  if (paneBits & kRenderWithoutRepaint) return;
  for (int box : kRefreshOrder)
    if (paneBits & box) targets.RedrawBox(box);
}

}  // namespace mok
