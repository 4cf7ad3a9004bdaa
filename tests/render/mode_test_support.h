#pragma once
// A small scene for render-mode tests: an application with its render state,
// a 100 x 100 view and a document with a few hand-placed faces.
//
// The default camera looks at the model from +x: a model point (0, y, z)
// lands at camera (-y, z, 75) and on screen near (50 + 2.25 y, 50 + 2.25 z).
// The face (0, 2, 1) faces the eye and covers the screen triangle
// (50, 50), (27, 50), (50, 72); (0, 1, 2) is the same face turned away.

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/settings.h"
#include "render/picture_commands.h"
#include "render/render_state.h"
#include "tests/support/refresh_recorder.h"
#include "tests/support/scripted_prompter.h"

namespace mok::test {

inline constexpr std::uint32_t kSceneBackground = 0x123456;

struct ModeScene {
  MemorySettings settings;
  ScriptedPrompter prompter;
  test::RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
  ViewRecord view;

  ModeScene() {
    MeshDocument& doc = app.doc();
    auto frame = std::make_unique<AnimFrame>();
    frame->positions = {{0, 0, 0}, {0, 0, 10}, {0, -10, 0}, {-20, 0, 0}, {-20, 0, 10}, {-20, -10, 0}};
    doc.frames.push_back(std::move(frame));
    doc.currentVertices = doc.frames[0]->positions.data();
    doc.vertexCount = 6;
    app.customColors = {0xFFFFFF, 0x80FF80, 0x8080FF, 0xFF8080, 0xFFFFFF, 0xAAAAAA, 0x555555, kSceneBackground};
    ResizeFrameBuffer(view.frame, 100, 100, false);
    view.camera.filtered = 0;
  }

  MeshDocument& doc() { return app.doc(); }
  RenderState& state() { return RenderStateOf(app); }

  // A face whose corners map to UV vertices 0, 1, 2 (texels (1, 1), (6, 1), (1, 6)).
  int AddFace(int a, int b, int c, int channel = 0, std::uint8_t type = kTypeNormalOneSided) {
    MeshDocument& d = doc();
    MeshTriangle& face = d.triangles[static_cast<std::size_t>(d.triangleCount)];
    face.vertex[0] = static_cast<std::int16_t>(a);
    face.vertex[1] = static_cast<std::int16_t>(b);
    face.vertex[2] = static_cast<std::int16_t>(c);
    face.type = type;
    face.textureNum = static_cast<std::uint8_t>(channel);
    for (int k = 0; k < 3; ++k) face.uvIndex[k] = static_cast<std::int16_t>(k);
    d.uvVertices[0] = {1, 1};
    d.uvVertices[1] = {6, 1};
    d.uvVertices[2] = {1, 6};
    d.uvVertexCount = std::max<std::int16_t>(d.uvVertexCount, 3);
    return d.triangleCount++;
  }

  // Skin slots for every channel (placeholders) with the active one `channel`.
  void LoadPlaceholderSkins(int channel = 0) {
    doc().ResetSkinSlots();
    doc().activeChannel = static_cast<std::int16_t>(channel);
    doc().activeSkin = doc().slotFor(channel);
  }

  // A 256 x 256 map appended to a list and made active.
  SkinSlot& AddMap(MapList& list) {
    list.maps.push_back(std::make_unique<SkinSlot>());
    AllocateSkin(*list.maps.back(), 256, 256);
    list.index = static_cast<std::int16_t>(list.count() - 1);
    return *list.maps.back();
  }

  // Makes `mode` current directly (its shade buffer as a switch would leave it).
  void UseMode(int mode) {
    state().currentMode = mode;
    SetShadeBuffer(view.frame, FactsOf(mode).keepsShade);
  }

  void Render(int kind) {
    RenderJob job = MakeRenderJob(app, view);
    state().current().render(job, kind, 15);
  }

  std::size_t At(int x, int y) const { return static_cast<std::size_t>(y * view.frame.width + x); }
  std::uint32_t Colour(int x, int y) const { return view.frame.colour[At(x, y)]; }
  std::int32_t Id(int x, int y) const { return view.frame.ids[At(x, y)]; }
  void FillIds(std::int32_t id) { view.frame.ids.assign(view.frame.ids.size(), id); }
  int CountIds(std::int32_t id) const {
    int n = 0;
    for (std::int32_t v : view.frame.ids) n += v == id;
    return n;
  }
  int CountNotBackground() const {
    int n = 0;
    for (std::uint32_t c : view.frame.colour) n += c != kSceneBackground;
    return n;
  }
};

}  // namespace mok::test
