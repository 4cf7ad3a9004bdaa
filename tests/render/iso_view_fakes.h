#pragma once
// Recording stand-ins for everything the 3D view talks to, and a fixture
// that builds a sized view over a document of a few triangles.

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/application.h"
#include "core/settings.h"
#include "panes/iso_view.h"
#include "tests/skin/paint_test_support.h"

namespace mok::test {

class FakeRenderer final : public IsoRenderer {
 public:
  bool usesSkins = true;
  bool usesShade = false;
  std::vector<std::pair<int, int>> renders;  // kind, flags
  std::vector<int> filteredSeen;
  std::vector<bool> cornerDraws;

  void RenderMode(ViewRecord& view, int kind, int flags) override {
    renders.emplace_back(kind, flags);
    filteredSeen.push_back(view.camera.filtered);
  }
  bool ModeUsesSkins() const override { return usesSkins; }
  bool ModeUsesShade() const override { return usesShade; }
  void DrawCornerButton(FrameBuffer&, bool pressed) override { cornerDraws.push_back(pressed); }
};

// Shows and hides by counting, as the system does.
class FakeHost final : public PaneHost {
 public:
  int displayCount = 0;
  int captures = 0;
  int releases = 0;
  std::vector<std::pair<int, int>> warps;
  std::vector<std::pair<int, int>> menus;

  int HideCursor() override { return --displayCount; }
  int ShowCursor() override { return ++displayCount; }
  void WarpCursor(int x, int y) override { warps.emplace_back(x, y); }
  void CaptureMouse() override { ++captures; }
  void ReleaseMouse() override { ++releases; }
  void OpenContextMenu(int x, int y) override { menus.emplace_back(x, y); }
};

class FakeLink final : public CameraLink {
 public:
  std::vector<CameraState> sent;
  void SendCameraToWatcher(const CameraState& state) override { sent.push_back(state); }
};

// A 101 x 80 client (buffers 104 wide) over a document of 8 triangles, with
// the real painting engine.
class IsoViewTest : public ::testing::Test {
 protected:
  static constexpr int kClientWidth = 101;
  static constexpr int kClientHeight = 80;

  IsoViewTest() {
    app.doc().triangleCount = 8;
    view = std::make_unique<IsoView>(IsoViewLinks{app, light, renderer, host, painter, link});
    view->Resize(kClientWidth, kClientHeight);
    refresh.requests.clear();
    renderer.renders.clear();
  }

  void Send(PaneEventType type, PaneButton button, int x, int y, unsigned held, unsigned modifiers = 0) {
    view->HandleEvent(MouseEvent(type, button, x, y, held, modifiers));
  }
  // `held` lists the buttons down once the event has happened.
  void Press(PaneButton b, int x, int y, unsigned held, unsigned modifiers = 0) {
    Send(PaneEventType::Press, b, x, y, held, modifiers);
  }
  void Move(int x, int y, unsigned held) { Send(PaneEventType::Move, PaneButton::None, x, y, held); }
  void Release(PaneButton b, int x, int y, unsigned held) { Send(PaneEventType::Release, b, x, y, held); }
  void LoseCapture() { Send(PaneEventType::CaptureLost, PaneButton::None, 0, 0, 0); }
  void Wheel(int delta) {
    PaneEvent e;
    e.type = PaneEventType::Wheel;
    e.wheelDelta = delta;
    view->HandleEvent(e);
  }

  // Writes an id into a bottom-up buffer row (row 0 is the window's last line).
  void SetIdAtRow(int column, int rowFromBottom, std::int32_t id) {
    FrameBuffer& f = view->frame();
    f.ids[static_cast<std::size_t>(rowFromBottom) * static_cast<std::size_t>(f.width) + static_cast<std::size_t>(column)] = id;
  }

  PaintApp fixture;
  MemorySettings& settings = fixture.settings;
  RefreshRecorder& refresh = fixture.refresh;
  Application& app = fixture.app;
  Painter painter{fixture.app};
  LightFrame light;
  FakeRenderer renderer;
  FakeHost host;
  FakeLink link;
  std::unique_ptr<IsoView> view;
};

}  // namespace mok::test
