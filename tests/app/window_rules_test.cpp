// The main window's side lists, close question, title and refresh order on
// the sample mesh, without a window.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/refresh_dispatch.h"
#include "app/side_lists.h"
#include "app/window_rules.h"
#include "core/mesh_files.h"
#include "render/render_state.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

class WindowRules : public test::ApplicationFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadMesh(app.doc(), std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d", prompter).ok());
  }
};

TEST_F(WindowRules, SideListsShowFramesSlotsAndTheCurrentEntries) {
  SkinSlot& slot = *app.doc().skinSlots[2];
  slot.isEmpty = 0;
  slot.name = "skins\\ring.tga";
  slot.filePath = "/tmp/skins/ring.tga";
  app.doc().SetCurrentFrame(3);
  app.doc().activeChannel = -1;

  SideListContents lists = SideListsOf(app);
  ASSERT_EQ(lists.frames.size(), 24u);
  EXPECT_EQ(lists.frame, 3);
  ASSERT_EQ(lists.textures.size(), 16u);
  EXPECT_EQ(lists.textures[3].text, "Empty Slot 3");
  EXPECT_EQ(lists.textures[3].icon, kEmptySlotIcon);
  EXPECT_EQ(lists.textures[2].text, "skins/ring.tga");
  EXPECT_EQ(lists.textures[2].icon, kLoadedSkinIcon);
  EXPECT_EQ(lists.texture, 0);  // no active channel shows the first line
  EXPECT_TRUE(lists.phongMaps.empty());
  EXPECT_EQ(lists.phongMap, -1);
  EXPECT_EQ(lists.mode, kModeTextured);
  // The stored name and path stay as they were: a path keeps working.
  EXPECT_EQ(slot.name, "skins\\ring.tga");
  EXPECT_EQ(slot.filePath, "/tmp/skins/ring.tga");
}

TEST_F(WindowRules, ModesListKeepsTheSameModeRefusesUnavailableOnesAndSwitchesOthers) {
  EXPECT_EQ(ChooseRenderMode(app, nullptr, kModeTextured), ModeChoice::Unchanged);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ChooseRenderMode(app, nullptr, kModePhongShaded), ModeChoice::Refused);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Phong Shading is not available if there are no phong maps loaded."});
  EXPECT_EQ(ChooseRenderMode(app, nullptr, 10), ModeChoice::Refused);
  EXPECT_EQ(RenderStateOf(app).currentMode, kModeTextured);
  EXPECT_TRUE(CurrentModeNeeds(app).skins);
  EXPECT_FALSE(CurrentModeNeeds(app).phong);

  EXPECT_EQ(ChooseRenderMode(app, nullptr, kModeFlatShaded), ModeChoice::Switched);
  EXPECT_EQ(RenderStateOf(app).currentMode, kModeFlatShaded);
  const TextureListNeeds flat = CurrentModeNeeds(app);
  EXPECT_FALSE(flat.skins || flat.phong || flat.env);
}

TEST_F(WindowRules, CloseWritesSplitterAndColoursBeforeAskingAndNoKeepsRunning) {
  app.customColors[5] = 0x123456;
  prompter.answers = {Answer::No};
  EXPECT_FALSE(ConfirmClose(app, 0.33339));
  EXPECT_EQ(prompter.questions, std::vector<std::string>{"All Unsaved data will be lost...\nAre you sure you want to quit?"});
  EXPECT_EQ(settings.readInt("Preferences", "Splitter"), 3333);
  EXPECT_EQ(settings.readInt("Colors32", "Color-5"), 0x123456);

  prompter.answers = {Answer::Yes};
  EXPECT_TRUE(ConfirmClose(app, 1.0));
  EXPECT_EQ(settings.readInt("Preferences", "Splitter"), 10000);

  settings.writeInt("Preferences", "Quick Exit", 1);
  EXPECT_TRUE(ConfirmClose(app, 0.5));
  EXPECT_EQ(prompter.questions.size(), 2u);  // no question with Quick Exit
}

TEST(WindowTitle, NamesTheProgramAndTheMeshFile) {
  EXPECT_EQ(WindowTitle("/home/me/meshes/Sampler_d.3d"), "MOK v0.9b3 - Sampler_d.3d");
  EXPECT_EQ(WindowTitle("C:\\meshes\\ship_d.3d"), "MOK v0.9b3 - ship_d.3d");
  EXPECT_EQ(WindowTitle(""), "MOK v0.9b3");
}

class RecordingTargets final : public RefreshTargets {
 public:
  std::vector<std::pair<char, int>> calls;  // 'r' render / 'd' redraw, pane bit
  std::vector<std::pair<int, int>> renderArguments;
  void RenderBox(Pane box, int kind, int flags) override {
    calls.push_back({'r', PaneSet(box).bits()});
    renderArguments.push_back({kind, flags});
  }
  void RedrawBox(Pane box) override { calls.push_back({'d', PaneSet(box).bits()}); }
};

TEST(RefreshDispatch, RendersSkinGradientIsoPaletteThenRedrawsUnlessTold) {
  RecordingTargets all;
  DispatchRefresh(all, {PaneSet::All(), kRefreshQuick});
  using Call = std::pair<char, int>;
  EXPECT_EQ(all.calls, (std::vector<Call>{{'r', 1}, {'r', 4}, {'r', 2}, {'r', 8}, {'d', 1}, {'d', 4}, {'d', 2}, {'d', 8}}));
  EXPECT_EQ(all.renderArguments[0], (std::pair<int, int>(kRefreshQuick, 0)));

  RecordingTargets renderOnly;
  DispatchRefresh(renderOnly, {Pane::Skin | Pane::Iso, kRefreshPaint, Redraw::RenderOnly});
  EXPECT_EQ(renderOnly.calls, (std::vector<Call>{{'r', 1}, {'r', 2}}));
  EXPECT_EQ(renderOnly.renderArguments[1], (std::pair<int, int>(kRefreshPaint, 0x10)));

  RecordingTargets redrawOnly;
  DispatchRefresh(redrawOnly, {Pane::Skin | Pane::Iso, kRefreshFinal, Redraw::RepaintOnly});
  EXPECT_EQ(redrawOnly.calls, (std::vector<Call>{{'d', 1}, {'d', 2}}));
}

}  // namespace
}  // namespace mok
