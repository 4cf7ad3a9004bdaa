#include <gtest/gtest.h>

#include "tests/render/mode_test_support.h"

namespace mok {
namespace {

using test::kSceneBackground;
using test::ModeScene;

// ---- The mode table ----

TEST(RenderModeTable, NamesInTableOrder) {
  const auto modes = MakeRenderModes();
  const char* names[] = {"Wireframe", "Wireframe, Solid", "Flat Shaded", "Gouraud Shaded", "Phong Shaded",
                         "Textured", "Environment Mapped", "Textured, F-Shade", "Textured, G-Shade",
                         "Textured, P-Shade"};
  for (int i = 0; i < kRenderModeCount; ++i) EXPECT_STREQ(modes[static_cast<std::size_t>(i)]->name(), names[i]);
}

TEST(RenderModeTable, EachModeReadsItsOwnFacts) {
  const auto modes = MakeRenderModes();
  for (int i = 0; i < kRenderModeCount; ++i) EXPECT_EQ(&modes[static_cast<std::size_t>(i)]->facts(), &FactsOf(i)) << i;
  for (int i = 0; i < kRenderModeCount; ++i) EXPECT_EQ(FactsOf(i).keepsShade, i >= 7) << i;
  EXPECT_EQ(&FactsOf(-1), &FactsOf(0));
  EXPECT_EQ(&FactsOf(kRenderModeCount), &FactsOf(0));
}

TEST(RenderModeTable, ProgramStartsTextured) {
  ModeScene scene;
  EXPECT_EQ(scene.state().currentMode, 5);
  EXPECT_STREQ(scene.state().current().name(), "Textured");
}

// ---- Availability and switching ----

TEST(ModeAvailability, MessagesNameWhatIsMissing) {
  const ModeResources none{};
  EXPECT_EQ(ModeUnavailableMessage(4, none), "Phong Shading is not available if there are no phong maps loaded.");
  EXPECT_EQ(ModeUnavailableMessage(5, none), "Textured Mode is not available if there are no skins loaded.");
  EXPECT_EQ(ModeUnavailableMessage(6, none), "Environment Mapping is not available if there are no env-maps loaded.");
  EXPECT_EQ(ModeUnavailableMessage(7, none), "Tex+F-Shaded is not available if there are no skins loaded.");
  EXPECT_EQ(ModeUnavailableMessage(8, none), "Tex+G-Shaded is not available if there are no skins loaded.");
  EXPECT_EQ(ModeUnavailableMessage(9, none), "Tex+P-Shaded is not available if there are no skins loaded.");
  for (int mode : {0, 1, 2, 3}) EXPECT_FALSE(ModeUnavailableMessage(mode, none)) << mode;
}

TEST(ModeAvailability, PShadeWithSkinsButNoPhongMapNamesThePhongMaps) {
  EXPECT_EQ(ModeUnavailableMessage(9, {true, false, true}),
            "Tex+P-Shaded is not available if there are no phong maps loaded.");
  EXPECT_FALSE(ModeUnavailableMessage(9, {true, true, false}));
}

TEST(ModeSwitch, FlatToGouraudShadeKeepsAShadeBuffer) {
  FrameBuffer view;
  ResizeFrameBuffer(view, 40, 30, true);
  int current = 7;
  EXPECT_FALSE(SwitchRenderMode(current, 8, {true, false, false}, &view));
  EXPECT_EQ(current, 8);
  EXPECT_TRUE(view.hasShade());
  EXPECT_EQ(view.shade.size(), 40u * 30u);
}

TEST(ModeSwitch, ShadeBufferComesAndGoesWithTheShadedTexturedModes) {
  FrameBuffer view;
  ResizeFrameBuffer(view, 40, 30, false);
  int current = 5;
  EXPECT_FALSE(SwitchRenderMode(current, 9, {true, true, false}, &view));
  EXPECT_TRUE(view.hasShade());
  EXPECT_FALSE(SwitchRenderMode(current, 2, {true, true, false}, &view));
  EXPECT_FALSE(view.hasShade());
  EXPECT_TRUE(view.shade.empty());
}

TEST(ModeSwitch, RefusedSwitchLeavesModeAndBuffersAlone) {
  FrameBuffer view;
  ResizeFrameBuffer(view, 40, 30, true);
  view.shade[7] = 0xABCDEF;
  int current = 7;
  EXPECT_EQ(SwitchRenderMode(current, 4, {true, false, false}, &view),
            "Phong Shading is not available if there are no phong maps loaded.");
  EXPECT_EQ(current, 7);
  ASSERT_TRUE(view.hasShade());
  EXPECT_EQ(view.shade[7], 0xABCDEFu);
}

TEST(ModeSwitch, ChoosingTheCurrentModeDoesNothing) {
  FrameBuffer view;
  ResizeFrameBuffer(view, 40, 30, true);
  view.shade[3] = 5;
  int current = 8;
  EXPECT_FALSE(SwitchRenderMode(current, 8, {}, &view));
  EXPECT_EQ(view.shade[3], 5u);  // not reallocated
}

TEST(SelectRenderMode, RefusalIsShownAndNothingIsRefreshed) {
  ModeScene scene;
  EXPECT_FALSE(SelectRenderMode(scene.app, &scene.view.frame, 6));
  ASSERT_EQ(scene.prompter.messages.size(), 1u);
  EXPECT_EQ(scene.prompter.messages[0], "Environment Mapping is not available if there are no env-maps loaded.");
  EXPECT_EQ(scene.state().currentMode, 5);
  EXPECT_TRUE(scene.refresh.requests.empty());
}

TEST(SelectRenderMode, SwitchRebuildsGammaAndRefreshesEveryView) {
  ModeScene scene;
  scene.state().shading.gamma = 2.0;  // changed without rebuilding the table
  EXPECT_TRUE(SelectRenderMode(scene.app, &scene.view.frame, 2));
  EXPECT_EQ(scene.state().currentMode, 2);
  EXPECT_EQ(scene.state().shading.gammaTable[128], 64);
  ASSERT_EQ(scene.refresh.requests.size(), 1u);
  EXPECT_EQ(scene.refresh.requests[0], (test::RefreshCall{15, 0}));
}

TEST(SelectRenderMode, MapCommandsRebuildTheRenderersGammaTable) {
  ModeScene scene;
  scene.state().shading.gamma = 2.0;
  NotifyWithTables(scene.app, Change::ActivePhongMap);
  EXPECT_EQ(scene.state().shading.gammaTable[128], 64);
}

TEST(SelectRenderMode, ActiveMapsOfTheListsMakeTheMapModesAvailable) {
  ModeScene scene;
  scene.AddMap(scene.app.phongMaps);
  scene.AddMap(scene.app.envMaps);
  EXPECT_TRUE(SelectRenderMode(scene.app, &scene.view.frame, 4));
  EXPECT_TRUE(SelectRenderMode(scene.app, &scene.view.frame, 6));
  EXPECT_TRUE(scene.prompter.messages.empty());
}

// ---- What each mode draws and writes to ids ----

TEST(WireframeMode, HiddenFacesShowNoEdgesButFacesTurnedAwayDo) {
  ModeScene scene;
  scene.AddFace(0, 1, 2);  // turned away: its edge along screen row 50 shows
  scene.UseMode(kModeWireframe);
  scene.Render(0);
  EXPECT_EQ(scene.Colour(40, 50), 0x80FF80u);
  scene.doc().triangles[0].state = kFaceHidden;
  scene.Render(0);
  EXPECT_EQ(scene.CountNotBackground(), 0);
}

TEST(WireframeMode, DrawsNoFillsAndWritesNoIds) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModeWireframe);
  scene.FillIds(9);
  scene.Render(0);
  EXPECT_EQ(scene.Colour(45, 55), kSceneBackground);  // inside the face
  EXPECT_EQ(scene.CountIds(-1), 100 * 100);
  scene.FillIds(9);
  scene.Render(1);  // the quick kind leaves ids alone
  EXPECT_EQ(scene.CountIds(9), 100 * 100);
}

TEST(WireframeSolidMode, FillsInTheSelectionColourWithBackgroundEdgesOnEveryKind) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.doc().triangles[0].state = kFaceSelected;
  scene.app.flags.editMode = EditMode::Mapping;
  scene.UseMode(kModeWireframeSolid);
  scene.Render(1);
  EXPECT_EQ(scene.Colour(45, 55), 0x8080FFu);  // "Color-2"
  EXPECT_EQ(scene.Id(45, 55), 0);
  EXPECT_EQ(scene.Colour(40, 50), kSceneBackground);  // the edge in "Color-7"
  scene.app.flags.editMode = EditMode::Paint;  // paint mode: always "Color-1"
  scene.Render(0);
  EXPECT_EQ(scene.Colour(45, 55), 0x80FF80u);
}

TEST(FlatShadedMode, PicksOnFullFramesAndKeepsIdsOnQuickOnes) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModeFlatShaded);
  scene.FillIds(9);
  scene.Render(0);
  EXPECT_EQ(scene.Id(45, 55), 0);
  EXPECT_EQ(scene.Id(80, 80), -1);
  scene.FillIds(9);
  scene.Render(1);
  EXPECT_EQ(scene.CountIds(9), 100 * 100);
  EXPECT_NE(scene.Colour(45, 55), kSceneBackground);
}

TEST(FlatShadedMode, FacesTurnedAwayAreCulled) {
  ModeScene scene;
  scene.AddFace(0, 1, 2);
  scene.UseMode(kModeFlatShaded);
  scene.Render(0);
  EXPECT_EQ(scene.CountNotBackground(), 0);
}

TEST(GouraudShadedMode, SelectedFacesUseTheSelectionRampInMappingMode) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModeGouraudShaded);
  scene.Render(0);
  const std::uint32_t unselected = scene.Colour(45, 55);
  scene.doc().triangles[0].state = kFaceSelected;
  scene.app.flags.editMode = EditMode::Mapping;
  scene.Render(0);
  EXPECT_NE(scene.Colour(45, 55), unselected);
  EXPECT_EQ(scene.Id(45, 55), 0);
}

TEST(PhongShadedMode, DrawsFromThePhongMapAndNothingWithoutOne) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModePhongShaded);
  scene.Render(0);  // the map was closed while the mode is current
  EXPECT_EQ(scene.CountNotBackground(), 0);
  SkinSlot& phong = scene.AddMap(scene.app.phongMaps);
  std::fill_n(phong.indexed(), 256 * 256, std::uint8_t{255});
  scene.Render(0);
  EXPECT_EQ(scene.Colour(45, 55), 0x7FFE7Fu);  // "Color-1" at full light: 0x80FF80 * 255 / 256
  EXPECT_EQ(scene.Id(45, 55), 0);
}

TEST(EnvironmentMappedMode, NeverWritesIdsSoAMappingClickSelectsNothing) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  SkinSlot& env = scene.AddMap(scene.app.envMaps);
  std::fill(env.pixels.begin(), env.pixels.end(), 0x00C0FFEEu);
  scene.app.flags.editMode = EditMode::Mapping;
  scene.UseMode(kModeEnvironmentMapped);
  for (int kind : {0, 1, 2}) {
    scene.FillIds(9);
    scene.Render(kind);
    EXPECT_EQ(scene.Colour(45, 55), 0xC0FFEEu) << kind;
    EXPECT_EQ(scene.CountIds(-1), 100 * 100) << kind;
  }
}

TEST(TexturedMode, PaintPathWritesTexelOffsetsForTheActiveChannelOnly) {
  ModeScene scene;
  scene.AddFace(0, 2, 1, 1);
  scene.LoadPlaceholderSkins(0);
  scene.UseMode(kModeTextured);
  scene.Render(0);
  EXPECT_EQ(scene.Id(45, 55), kIdOtherSkin);
  scene.doc().activeChannel = 1;
  scene.doc().activeSkin = scene.doc().slotFor(1);
  scene.Render(0);
  EXPECT_GE(scene.Id(45, 55), 0);
  EXPECT_LT(scene.Id(45, 55), 32 * 32);
  EXPECT_EQ(scene.CountIds(kIdOtherSkin), 0);
}

TEST(TexturedMode, MappingModePicksOnEveryKindAndOutlinesTheFaces) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  scene.app.flags.editMode = EditMode::Mapping;
  scene.UseMode(kModeTextured);
  scene.FillIds(9);
  scene.Render(1);  // even the quick kind takes the pick path in mapping mode
  EXPECT_EQ(scene.Id(45, 55), 0);
  EXPECT_EQ(scene.Id(80, 80), -1);
  EXPECT_EQ(scene.Colour(50, 60), 0x80FF80u);  // outline along the face's vertical edge
}

TEST(TexturedMode, QuickPaintFrameKeepsIds) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  scene.UseMode(kModeTextured);
  scene.FillIds(9);
  scene.Render(1);
  EXPECT_EQ(scene.CountIds(9), 100 * 100);
  EXPECT_NE(scene.Colour(45, 55), kSceneBackground);
}

TEST(TexturedMode, DrawsNothingWithoutAnActiveSkin) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.UseMode(kModeTextured);
  scene.Render(0);
  EXPECT_EQ(scene.CountNotBackground(), 0);
}

TEST(TexturedShadedModes, FullPaintFrameStoresTheLightInTheShadeBuffer) {
  for (int mode : {7, 8}) {
    SCOPED_TRACE(mode);
    ModeScene scene;
    scene.AddFace(0, 2, 1);
    scene.LoadPlaceholderSkins();
    scene.UseMode(mode);
    scene.Render(0);
    // Fully lit "Color-1" ramp entry 254 = 0x7FFD7F; outside the face nothing.
    EXPECT_EQ(scene.view.frame.shade[scene.At(45, 55)], 0x7FFD7Fu);
    EXPECT_EQ(scene.view.frame.shade[scene.At(80, 80)], 0u);
  }
}

TEST(TexturedShadedModes, PhongShadeComesFromTheMap) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  SkinSlot& phong = scene.AddMap(scene.app.phongMaps);
  std::fill_n(phong.indexed(), 256 * 256, std::uint8_t{100});
  scene.UseMode(kModeTexturedPhong);
  scene.Render(0);
  EXPECT_EQ(scene.view.frame.shade[scene.At(45, 55)], scene.view.frame.shade[scene.At(40, 52)]);
  EXPECT_EQ(scene.view.frame.shade[scene.At(45, 55)], 0x326332u);  // "Color-1" at ramp index 100
}

TEST(TexturedShadedModes, RepaintRecoloursOnlyMarkedTexels) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  scene.UseMode(kModeTexturedFlat);
  scene.Render(0);
  const std::vector<std::uint32_t> before = scene.view.frame.colour;
  const std::int32_t texel = scene.Id(45, 55);
  ASSERT_GE(texel, 0);
  SkinSlot& skin = *scene.doc().activeSkin;
  std::vector<std::uint8_t> marks(skin.pixels.size(), 0);
  marks[static_cast<std::size_t>(texel)] = 1;
  skin.pixels[static_cast<std::size_t>(texel)] = 0xFFFFFF;
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  job.strokeMarks = &marks;
  scene.state().current().render(job, 3, 3);
  EXPECT_EQ(scene.Colour(45, 55), modulate(0xFFFFFF, scene.view.frame.shade[scene.At(45, 55)]));
  int changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] == scene.view.frame.colour[i]) continue;
    ++changed;
    EXPECT_EQ(scene.view.frame.ids[i], texel);
  }
  EXPECT_GT(changed, 0);
}

TEST(TexturedShadedModes, OtherModesIgnoreTheRepaintKind) {
  ModeScene scene;
  scene.AddFace(0, 2, 1);
  scene.LoadPlaceholderSkins();
  scene.UseMode(kModeTextured);
  scene.view.frame.colour.assign(scene.view.frame.colour.size(), 0x010203);
  std::vector<std::uint8_t> marks(32 * 32, 1);
  RenderJob job = MakeRenderJob(scene.app, scene.view);
  job.strokeMarks = &marks;
  scene.state().current().render(job, 3, 3);
  EXPECT_EQ(scene.Colour(45, 55), 0x010203u);
}

// A resize that leaves the buffers to the next frame, over the leftovers of
// a larger paint-mode frame: every run of frames after it ends with the
// buffers a resize that writes everything leads to (shade as its readers
// see it).
TEST(ResizeLeftToTheFrame, FramesAfterItMatchFramesAfterAFullResize) {
  const std::vector<std::vector<int>> runs = {{0}, {1}, {3}, {1, 3}, {1, 0}, {0, 3}};
  for (int mode : {kModeTextured, kModeTexturedGouraud}) {
    for (EditMode edit : {EditMode::Mapping, EditMode::Paint}) {
      for (const std::vector<int>& kinds : runs) {
        SCOPED_TRACE(testing::Message() << "mode " << mode << " paint " << (edit == EditMode::Paint) << " kinds "
                                        << testing::PrintToString(kinds));
        ModeScene full, lazy;
        for (ModeScene* scene : {&full, &lazy}) {
          scene->AddFace(0, 2, 1);
          scene->LoadPlaceholderSkins();
          scene->UseMode(mode);
          scene->app.flags.editMode = EditMode::Paint;
        }
        lazy.Render(0);
        const bool shade = FactsOf(mode).keepsShade;
        ResizeFrameBuffer(full.view.frame, 90, 100, shade);
        ResizeFrameBuffer(lazy.view.frame, 90, 100, shade, ResizeFill::Nothing);
        for (ModeScene* scene : {&full, &lazy}) {
          scene->app.flags.editMode = edit;
          std::vector<std::uint8_t> marks(scene->doc().activeSkin->pixels.size(), 1);
          for (int kind : kinds) {
            RenderJob job = MakeRenderJob(scene->app, scene->view);
            job.strokeMarks = &marks;
            scene->state().current().render(job, kind, 3);
          }
        }
        const FrameBuffer& a = full.view.frame;
        FrameBuffer& b = lazy.view.frame;
        EXPECT_FALSE(b.stale);
        EXPECT_EQ(a.colour, b.colour);
        EXPECT_EQ(a.depth, b.depth);
        EXPECT_EQ(a.ids, b.ids);
        SettleShade(b);
        EXPECT_EQ(a.shade, b.shade);
      }
    }
  }
}

TEST(TexturedShadedModes, FacesWithoutASlotUseTheDefaultSkin) {
  ModeScene scene;
  scene.AddFace(0, 2, 1, 40);
  scene.LoadPlaceholderSkins();
  scene.UseMode(kModeTextured);
  scene.Render(0);
  const std::uint32_t texel = scene.doc().defaultSkin.pixels[static_cast<std::size_t>(1 * 32 + 1)];
  EXPECT_EQ(scene.Colour(49, 51), texel);  // next to the corner mapped to texel (1, 1)
}

// A face crossing the near plane (camera Z = 1) shows the part in front of
// it: exactly the two faces through the points where its edges meet the
// plane. Camera (X, Y, Z) is model (75 - Z, -X, Y) for the start camera, and
// with corners at Z = 3 and Z = -1 the crossings are the edge midpoints.
TEST(NearPlane, CrossingFaceDrawsThePartInFrontAsItsTwoClippedFaces) {
  auto draw = [](const std::vector<std::array<int, 3>>& faces) {
    auto scene = std::make_unique<ModeScene>();
    // A, B at Z = 3, C at Z = -1, P and Q the midpoints of AC and BC (Z = 1).
    scene->doc().frames[0]->positions = {{72, 0.5f, -0.5f}, {72, -0.5f, -0.5f}, {76, 0, 0.5f}, {74, 0.25f, 0}, {74, -0.25f, 0}};
    scene->doc().vertexCount = 5;
    for (const auto& f : faces) scene->AddFace(f[0], f[1], f[2], 0, kTypeNormalTwoSided);
    scene->UseMode(kModeFlatShaded);
    scene->Render(0);
    return scene;
  };
  const auto crossing = draw({{0, 1, 2}});
  const auto clipped = draw({{0, 1, 4}, {0, 4, 3}});
  int covered = 0;
  for (std::size_t i = 0; i < crossing->view.frame.ids.size(); ++i) {
    ASSERT_EQ(crossing->view.frame.ids[i] >= 0, clipped->view.frame.ids[i] >= 0) << i;
    ASSERT_EQ(crossing->view.frame.depth[i], clipped->view.frame.depth[i]) << i;
    covered += crossing->view.frame.ids[i] >= 0;
  }
  EXPECT_GT(covered, 1000);
  // Wholly behind the plane: nothing.
  EXPECT_EQ(draw({{2, 2, 2}})->CountNotBackground(), 0);
}

}  // namespace
}  // namespace mok
