#pragma once
// A skin view on a scripted application: recorded refreshes, a fake window
// (capture, cursor count, warps, menus), a recording painter, and helpers to
// build faces and feed mouse events.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/application.h"
#include "panes/paint_handoff.h"
#include "panes/painting.h"
#include "panes/skin_view.h"
#include "panes/uv_edits.h"
#include "tests/support/refresh_recorder.h"
#include "tests/support/scripted_prompter.h"

namespace mok::viewtest {

using test::RefreshCall;
using test::RefreshRecorder;

// The system's cursor display count, capture and menus, recorded.
class FakeHost final : public PaneHost {
 public:
  int displayCount = 0;
  bool countStuck = false;  // a count that never moves
  int hideCalls = 0;
  int showCalls = 0;
  int captures = 0;
  int releases = 0;
  std::vector<std::pair<int, int>> warps;
  std::vector<std::pair<int, int>> menus;

  int HideCursor() override {
    ++hideCalls;
    if (!countStuck) --displayCount;
    return displayCount;
  }
  int ShowCursor() override {
    ++showCalls;
    if (!countStuck) ++displayCount;
    return displayCount;
  }
  void WarpCursor(int x, int y) override { warps.emplace_back(x, y); }
  void CaptureMouse() override { ++captures; }
  void ReleaseMouse() override { ++releases; }
  void OpenContextMenu(int x, int y) override { menus.emplace_back(x, y); }
};

class RecordingPainter final : public SkinPainter {
 public:
  std::vector<std::string> calls;
  std::vector<std::uint8_t> mask;

  void BeginStroke(const TexelIdView&, WindowPoint p) override { calls.push_back(Call("begin", p)); }
  void ContinueStroke(const TexelIdView&, WindowPoint p) override { calls.push_back(Call("continue", p)); }
  void EndStroke() override { calls.push_back("end"); }
  void PickColour(const TexelIdView&, WindowPoint p) override { calls.push_back(Call("pick", p)); }
  std::span<const std::uint8_t> StrokeMask() const override { return mask; }

 private:
  static std::string Call(const char* name, WindowPoint p) {
    return std::string(name) + " " + std::to_string(p.x) + "," + std::to_string(p.y);
  }
};

inline constexpr PaneButton kLeft = PaneButton::Left;
inline constexpr PaneButton kRight = PaneButton::Right;

inline PaneEvent Press(PaneButton button, int x, int y, unsigned modifiers = 0, unsigned held = 0) {
  PaneEvent e;
  e.type = PaneEventType::Press;
  e.button = button;
  e.x = x;
  e.y = y;
  e.modifiers = modifiers;
  e.buttonsHeld = held | (button == PaneButton::Left ? kHeldLeft : kHeldRight);
  return e;
}

inline PaneEvent MoveTo(int x, int y, unsigned held) {
  PaneEvent e;
  e.type = PaneEventType::Move;
  e.x = x;
  e.y = y;
  e.buttonsHeld = held;
  return e;
}

inline PaneEvent Release(PaneButton button, int x, int y, unsigned held = 0) {
  PaneEvent e;
  e.type = PaneEventType::Release;
  e.button = button;
  e.x = x;
  e.y = y;
  e.buttonsHeld = held;
  return e;
}

inline void Send(SkinView& view, const PaneEvent& event) { view.HandleEvent(event); }

inline PaneEvent CaptureLoss() {
  PaneEvent e;
  e.type = PaneEventType::CaptureLost;
  return e;
}

// A 200 x 100 view at zoom 1.5 centred on (16, 16) over 32 x 32 placeholder
// skins, with distinct user colours.
class SkinViewFixture : public ::testing::Test {
 protected:
  SkinViewFixture() {
    app.customColors = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777};
    doc().ResetSkinSlots();
    view.SetPainter(&painter);
    view.Resize(200, 100);
    refresh.Clear();
  }

  MeshDocument& doc() { return app.doc(); }

  // Appends a face on its own three mesh vertices and rebuilds the UV table.
  int AddFace(UvPair a, UvPair b, UvPair c, std::uint32_t state = 0, std::uint8_t channel = 0) {
    const int index = doc().triangleCount++;
    MeshTriangle& face = doc().triangles[index];
    face = MeshTriangle{};
    face.state = state;
    face.textureNum = channel;
    face.uv[0] = a;
    face.uv[1] = b;
    face.uv[2] = c;
    for (int k = 0; k < 3; ++k) face.vertex[k] = static_cast<std::int16_t>(3 * index + k);
    doc().RebuildUvVertices(false);
    return index;
  }

  UvPair CornerOf(int face, int corner) {
    return doc().uvVertices[static_cast<std::size_t>(doc().triangles[face].uvIndex[corner])];
  }

  // Fills the active skin with one colour.
  void PaintSkin(std::uint32_t colour) {
    std::fill(doc().activeSkin->pixels.begin(), doc().activeSkin->pixels.end(), colour);
  }

  // The colour at buffer column x, row counted from the bottom.
  std::uint32_t PixelAt(int x, int row) const {
    return view.colours()[static_cast<std::size_t>(row) * static_cast<std::size_t>(view.pitch()) + static_cast<std::size_t>(x)];
  }
  std::int32_t IdAt(int x, int row) const {
    return view.texelIds()[static_cast<std::size_t>(row) * static_cast<std::size_t>(view.pitch()) + static_cast<std::size_t>(x)];
  }

  void Send(const PaneEvent& event) { view.HandleEvent(event); }

  MemorySettings settings;
  test::ScriptedPrompter prompter;
  RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
  std::unique_ptr<RasterContext> raster = std::make_unique<RasterContext>();
  FakeHost host;
  RecordingPainter painter;
  SkinView view{app, *raster, host};
};

inline constexpr RefreshCall kQuickEdit{kPaneSkinView | kPaneIsoView, kRefreshQuick};
inline constexpr RefreshCall kFinalEdit{kPaneSkinView | kPaneIsoView, kRefreshFinal};
inline constexpr RefreshCall kQuickSkin{kPaneSkinView, kRefreshQuick};
inline constexpr RefreshCall kFinalSkin{kPaneSkinView, kRefreshFinal};

}  // namespace mok::viewtest
