#include "app/refresh_dispatch.h"

namespace mok {

void DispatchRefresh(RefreshTargets& targets, const RefreshRequest& request) {
  const int flags = static_cast<int>(request.redraw);
  if (request.redraw != Redraw::RepaintOnly) {
    for (Pane box : kRefreshOrder)
      if (request.panes.contains(box)) targets.RenderBox(box, request.kind, flags);
  }
  if (request.redraw == Redraw::RenderOnly) return;
  for (Pane box : kRefreshOrder)
    if (request.panes.contains(box)) targets.RedrawBox(box);
}

}  // namespace mok
