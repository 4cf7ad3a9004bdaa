#pragma once
// What a command or a pane changed, and the one rule that turns a change into
// the lists to refill and the panes to redraw. Callers name the change; only
// EffectsOf knows which panes it touches.

#include "core/refresh.h"

namespace mok {

class Application;

enum class Change {
  // The model or what the side lists show: the lists are refilled and every
  // pane redraws once the command is done (posted).
  Mesh,       // geometry, faces, their flags or a new mesh
  Selection,  // selected or hidden faces
  Mapping,    // texture coordinates or texture channels
  Skins,      // skin slots opened, closed, resized or reloaded
  Display,    // how the model is shown: UV lines, tiling, interaction mode
  PhongMaps,  // the phong map list
  EnvMaps,    // the environment map list
  // Sent: the panes are drawn before the caller goes on.
  Frame,           // the animation frame: the 3D view
  ActiveSkin,      // the channel shown: lists, skin view, 3D view and palette
  SkinPixels,      // the active skin's pixels as a whole (revert)
  ActivePhongMap,  // the phong map in use
  ActiveEnvMap,    // the environment map in use
  RenderMode,      // the 3D view's render mode: every pane
  SkinNames,       // the names of the skins: the lists only
  UserColour,      // a display colour other than the background
  BackgroundColour,
  Palette,         // the palette strip's own picture
  Gradient,        // the gradient strip's own picture
  Shading,         // gamma or strength as the shaded modes show them: the 3D view
  IsoView,         // the 3D view's camera, light, filter or button
  SkinView,        // the skin view's position, zoom, filter or mapping frame
  ViewsEdited,     // an edit both views show (UV drags, selection in the 3D view)
  Painted,         // texels painted: both views recolour them
  PaintRestored,   // a line stroke put back: both views render it, the repaint follows
  TraceProgress,   // rows of a ray trace: the 3D view repaints what is done
};

struct ChangeEffects {
  bool refillLists = false;
  bool rebuildsGamma = false;  // the render layer's gamma table follows the change
  RefreshRequest refresh;      // no panes: nothing to redraw
};

// The lists, tables and panes a change touches. `kind` is the refresh kind
// of the changes that are redrawn during drags (the views, the gradient
// strip, shading); every other change has its own.
ChangeEffects EffectsOf(Change change, RefreshKind kind = kRefreshFinal);

// Refills the lists and sends or posts the refresh EffectsOf names, through
// the application's refresh sink. The gamma table is the render layer's
// (NotifyWithTables).
void Notify(Application& app, Change change, RefreshKind kind = kRefreshFinal);

}  // namespace mok
