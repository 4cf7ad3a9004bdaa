#pragma once
// A user acting at random, for the random undo sequences and the soak:
// answers to the editing commands' dialogs and strokes through the painter.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/application.h"
#include "panes/painting.h"
#include "tests/support/scripted_prompter.h"

namespace mok::test {

inline int PickBelow(std::mt19937& random, int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

// Questions are answered Yes; the type flags, channel, properties, new skin
// and resize dialogs take random choices and OK. `random` must outlive the
// answers' use.
inline void AnswerDialogsAtRandom(ScriptedPrompter& p, std::mt19937& random) {
  auto pick = [&random](int n) { return PickBelow(random, n); };
  p.unscriptedAnswer = Answer::Yes;
  p.triangleFlags.edit = [pick](TriangleFlagsDialog& d) {
    d.baseChoice = pick(7);
    d.keepModifiers = pick(2) == 0;
    d.flat = pick(2) == 0 ? FlagBox::Checked : FlagBox::Clear;
    d.noSmoothing = pick(2) == 0 ? FlagBox::Checked : FlagBox::Clear;
    return TriangleFlagsOutcome::Ok;
  };
  p.channel.edit = [pick](ChannelDialog& d) { return !d.lines.empty() && (d.chosen = pick(2)) >= 0; };
  p.properties.edit = [pick](FileInfo& info) {
    info.comments = "note " + std::to_string(pick(1000));
    return true;
  };
  p.newSkin.edit = [pick](NewSkinDialog& d) {
    d.size = pick(2) ? NewSkinSizeChoice::Size64 : NewSkinSizeChoice::Size128;
    d.gridded = pick(2) == 0;
    return true;
  };
  p.resize.edit = [pick](ResizeSkinDialog& d) {
    d.affectSkinImage = true;
    d.toWidth = std::clamp(pick(2) ? d.fromWidth * 2 : d.fromWidth / 2, 4, 512);
    d.toHeight = std::clamp(pick(2) ? d.fromHeight * 2 : d.fromHeight / 2, 4, 512);
    d.SynchronizeSettings();
    return true;
  };
}

// A window that shows the skin 1:1, as the skin view hands the painter its
// texel ids (rows bottom-up); `ids` holds them.
inline TexelIdView SkinWindow(const SkinSlot& skin, std::vector<std::int32_t>& ids) {
  const int w = skin.width, h = skin.height;
  ids.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), -1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ids[static_cast<std::size_t>((h - 1 - y) * w + x)] = y * w + x;
  return {ids.data(), w, h, w};
}

// A stroke of a random brush and colour over the active skin shown 1:1,
// from one random point over two more; returns whether the painter took it
// (it refuses without an active skin).
inline bool StrokeAtRandom(Application& app, Painter& painter, std::mt19937& random) {
  const SkinSlot* skin = app.doc().activeSkin;
  if (skin == nullptr || skin->width < 1 || skin->height < 1) return false;
  auto pick = [&random](int n) { return PickBelow(random, n); };
  app.flags.brushKind = static_cast<BrushKind>(pick(3));
  app.flags.brushRadius = pick(3);
  app.customColors[0] = static_cast<std::uint32_t>(random()) & 0xFFFFFFu;
  std::vector<std::int32_t> ids;
  const TexelIdView view = SkinWindow(*skin, ids);
  const int w = skin->width, h = skin->height;
  if (!painter.BeginStroke(view, {pick(w), pick(h)})) return false;
  for (int n = 0; n < 2; ++n) painter.MoveStroke(view, {pick(w), pick(h)});
  painter.EndStroke();
  return true;
}

}  // namespace mok::test
