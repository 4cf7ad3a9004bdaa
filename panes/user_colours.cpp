#include "panes/user_colours.h"

#include "core/refresh.h"
#include "render/shading.h"

namespace mok {

Change UserColourChange(int index) { return index == kColourBackground ? Change::BackgroundColour : Change::UserColour; }

void AfterUserColourChange(Application& app, int index) { Notify(app, UserColourChange(index)); }

}  // namespace mok
