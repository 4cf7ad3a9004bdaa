#include "panes/user_colours.h"

#include "core/refresh.h"
#include "render/shading.h"

namespace mok {

int UserColourRefreshKind(int index) { return index == kColourBackground ? kRefreshBackground : kRefreshFinal; }

void AfterUserColourChange(Application& app, int index) {
  app.refresh.Refresh(kPaneSkinView | kPaneIsoView, UserColourRefreshKind(index));
}

}  // namespace mok
