#include "core/changes.h"

#include "core/application.h"

namespace mok {
namespace {

constexpr PaneSet kViews = Pane::Skin | Pane::Iso;
constexpr PaneSet kSkinViewsAndPalette = kViews | Pane::Palette;

ChangeEffects ModelChanged() {
  return {true, false, {PaneSet::All(), kRefreshFinal, Redraw::RenderAndRepaint, Delivery::Post}};
}

ChangeEffects Sent(PaneSet panes, RefreshKind kind, Redraw redraw = Redraw::RenderAndRepaint) {
  return {false, false, {panes, kind, redraw, Delivery::Send}};
}

ChangeEffects WithGamma(ChangeEffects effects) {
  effects.rebuildsGamma = true;
  return effects;
}

ChangeEffects WithLists(ChangeEffects effects) {
  effects.refillLists = true;
  return effects;
}

}  // namespace

ChangeEffects EffectsOf(Change change, RefreshKind kind) {
  switch (change) {
    case Change::Mesh:
    case Change::Selection:
    case Change::Mapping:
    case Change::Skins:
    case Change::Display:
    case Change::EnvMaps:
      return ModelChanged();
    case Change::PhongMaps:
      return WithGamma(ModelChanged());
    case Change::Frame:
      return Sent(Pane::Iso, kRefreshFinal);
    case Change::ActiveSkin:
      return WithLists(Sent(kSkinViewsAndPalette, kRefreshFinal));
    case Change::SkinPixels:
    case Change::ActiveEnvMap:
      return Sent(kSkinViewsAndPalette, kRefreshFinal);
    case Change::ActivePhongMap:
      return WithGamma(Sent(kSkinViewsAndPalette, kRefreshFinal));
    case Change::RenderMode:
      return WithGamma(Sent(PaneSet::All(), kRefreshFinal));
    case Change::SkinNames:
      return WithLists({});
    case Change::UserColour:
      return Sent(kViews, kRefreshFinal);
    case Change::BackgroundColour:
      return Sent(kViews, kRefreshBackground);
    case Change::Palette:
      return Sent(Pane::Palette, kRefreshFinal);
    case Change::Gradient:
      return Sent(Pane::Gradient, kind);
    case Change::Shading:
    case Change::IsoView:
      return Sent(Pane::Iso, kind);
    case Change::SkinView:
      return Sent(Pane::Skin, kind);
    case Change::ViewsEdited:
      return Sent(kViews, kind);
    case Change::Painted:
      return Sent(kViews, kRefreshPaint);
    case Change::PaintRestored:
      return Sent(kViews, kRefreshPaint, Redraw::RenderOnly);
    case Change::TraceProgress:
      return Sent(Pane::Iso, kRefreshFinal, Redraw::RepaintOnly);
  }
  return {};
}

void Notify(Application& app, Change change, RefreshKind kind) {
  const ChangeEffects effects = EffectsOf(change, kind);
  if (effects.refillLists) app.refresh.RefillLists();
  if (!effects.refresh.panes.empty()) app.refresh.Refresh(effects.refresh);
}

}  // namespace mok
