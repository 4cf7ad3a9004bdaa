#include "skin/user_colours.h"

#include "core/refresh.h"

namespace mok {

int RebuildForUserColour(const Application& app, ShadingTables& shading, int index) {
  if (index == kColourBackground) return kRefreshBackground;
  shading.Rebuild(app.customColors);
  return kRefreshFinal;
}

void AfterUserColourChange(Application& app, ShadingTables& shading, int index) {
  const int kind = RebuildForUserColour(app, shading, index);
  app.refresh.Refresh(kPaneSkinView | kPaneIsoView, kind);
}

}  // namespace mok
