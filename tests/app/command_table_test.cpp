// The command table as data (ids, keys, menus, toolbar sets) and its rules
// and mode commands on the sample mesh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "app/command_table.h"
#include "core/mesh_files.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

std::string Canonical(std::string_view key) {
  std::string text(key);
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

void CollectIds(const std::vector<MenuEntry>& entries, std::vector<int>& ids) {
  for (const MenuEntry& entry : entries) {
    if (entry.submenu != nullptr) CollectIds(entry.entries, ids);
    else ids.push_back(entry.id);
  }
}

std::vector<int> EveryListedId() {
  std::vector<int> ids;
  for (const Menu& menu : MenuBar()) CollectIds(menu.entries, ids);
  for (const char* name : {"SkinBox", "IsoBox"}) ids.insert(ids.end(), ContextMenu(name).begin(), ContextMenu(name).end());
  for (int set : {kToolbarPaint, kToolbarMapping, kToolbarCamera, kToolbarUnused})
    ids.insert(ids.end(), ToolbarButtons(set).begin(), ToolbarButtons(set).end());
  return ids;
}

TEST(CommandTableData, IdsAndKeysAreUniqueAndEveryListedIdHasARow) {
  std::set<int> ids;
  std::set<std::string> keys;
  for (const CommandRow& row : CommandRows()) {
    EXPECT_TRUE(ids.insert(row.id).second) << row.id;
    for (std::string_view key : row.keys) EXPECT_TRUE(keys.insert(Canonical(key)).second) << key;
  }
  for (int id : EveryListedId()) EXPECT_TRUE(id == 0 || FindCommand(id) != nullptr) << id;
  EXPECT_EQ(ToolbarButtons(kToolbarCamera).size(), 17u);
  EXPECT_TRUE(ContextMenu("Elsewhere").empty());
  EXPECT_TRUE(ToolbarButtons(999).empty());
}

TEST(CommandTableData, EveryRowHasTextAndExactlyOneWayOfActing) {
  const std::set<int> window{57665, 32775, kCommandKeyboardShortcuts};
  const std::set<int> pending{};
  const std::set<int> inert{32778, 32936, 32842, 32811, 32789, 32788, 32793, 32794};
  for (const CommandRow& row : CommandRows()) {
    SCOPED_TRACE(row.id);
    EXPECT_STRNE(row.text, "");
    EXPECT_EQ(row.window != WindowAction::None, window.contains(row.id));
    EXPECT_EQ(*row.pending != '\0', pending.contains(row.id));
    EXPECT_EQ(row.inert, inert.contains(row.id));
    EXPECT_EQ(row.run != nullptr, !window.contains(row.id) && !pending.contains(row.id) && !inert.contains(row.id));
  }
}

TEST(CommandTableData, ToolbarSetFollowsCameraThenEditMode) {
  InteractionFlags flags;
  EXPECT_EQ(ToolbarSetFor(flags), kToolbarPaint);
  flags.editMode = EditMode::Mapping;
  EXPECT_EQ(ToolbarSetFor(flags), kToolbarMapping);
  flags.cameraActive = true;
  EXPECT_EQ(ToolbarSetFor(flags), kToolbarCamera);
}

class CommandTableTest : public test::ApplicationFixture {
 protected:
  CommandTableTest() {
    EXPECT_TRUE(LoadMesh(app.doc(), std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d", prompter).ok());
  }

  // Runs a command and says whether it refreshed anything.
  bool RunRefreshing(int id) {
    const int before = refresh.refreshes();
    EXPECT_TRUE(table.Run(id)) << id;
    return refresh.refreshes() != before;
  }

  CommandTable table{app};
};

TEST_F(CommandTableTest, TextsKeysAndPromptsAreTheProgramsOwn) {
  auto text = [&](int id) { return MenuText(*FindCommand(id), table.context()); };
  EXPECT_EQ(text(32772), "&Open...\tCtrl+O");
  EXPECT_EQ(text(32786), "&Revert\tCtrl+Z");
  EXPECT_EQ(text(32795), "R&eload\tF5");
  EXPECT_EQ(text(32802), "Point Brush\t-");
  EXPECT_EQ(text(32886), "90° Rotate Selected\tR");
  EXPECT_EQ(text(32796), "&Select All\t`");
  EXPECT_EQ(text(32895), "&Zoom 2D Extents\tNumPad 9");
  EXPECT_EQ(text(32840), "S&tore");
  EXPECT_EQ(FindCommand(32796)->keys.back(), "Shift+C");
  EXPECT_EQ(FindCommand(32954)->keys.front(), "0");
  EXPECT_EQ(FindCommand(32965)->keys.front(), "Shift+0");
  EXPECT_STREQ(FindCommand(32779)->prompt, "Sets Camera Interaction Mode");
  EXPECT_STREQ(FindCommand(32779)->tooltip, "Camera Active Toggle");
  EXPECT_STREQ(FindCommand(32914)->tooltip, "Lock Light To Camera");
  EXPECT_STREQ(FindCommand(32780)->tooltip, "");
  EXPECT_EQ(PlainText("Save &As...\tCtrl+A"), "Save As...");
  EXPECT_EQ(PlainText("Fish && &Chips"), "Fish & Chips");
}

TEST_F(CommandTableTest, ModeCommandsSwitchTheToolbarSetOnlyWhenSomethingChanges) {
  EXPECT_EQ(table.toolbarSet(), kToolbarCamera);  // the camera set from creation
  EXPECT_FALSE(RunRefreshing(32780));              // Paint Mode while painting: nothing
  EXPECT_EQ(table.toolbarSet(), kToolbarCamera);
  EXPECT_TRUE(RunRefreshing(32781));
  EXPECT_EQ(table.toolbarSet(), kToolbarMapping);
  EXPECT_TRUE(RunRefreshing(32779));
  EXPECT_EQ(table.toolbarSet(), kToolbarCamera);
  EXPECT_TRUE(RunRefreshing(32780));  // camera on: the edit mode changes, the set stays
  EXPECT_EQ(table.toolbarSet(), kToolbarCamera);
  EXPECT_TRUE(RunRefreshing(32779));  // off again: back to the kept mode's set
  EXPECT_EQ(table.toolbarSet(), kToolbarPaint);
  EXPECT_TRUE(table.Checked(32780));
  EXPECT_FALSE(table.Checked(32781));
  EXPECT_FALSE(table.Checked(32779));
}

TEST_F(CommandTableTest, ChoiceGroupsCheckOneMemberAndTogglesFlip) {
  const std::vector<std::vector<int>> groups{{32802, 32800, 32801},
                                             {32923, 32924, 32925},
                                             {32917, 32918, 32920, 32919, 32921, 32922},
                                             {32868, 32869}};
  for (const std::vector<int>& group : groups) {
    for (int chosen : group) {
      ASSERT_TRUE(table.Run(chosen));
      for (int id : group) EXPECT_EQ(table.Checked(id), id == chosen) << chosen << " " << id;
    }
  }
  EXPECT_EQ(app.flags.cameraTool, CameraTool::RotateLight);
  for (int id : {32881, 32882, 32883, 32907, 32914, 32955, 32850, 32836}) {
    EXPECT_FALSE(table.Checked(id)) << id;
    table.Run(id);
    EXPECT_TRUE(table.Checked(id)) << id;
    table.Run(id);
    EXPECT_FALSE(table.Checked(id)) << id;
  }
}

TEST_F(CommandTableTest, WatchLabelAndSelectionRules) {
  const CommandRow& watch = *FindCommand(32875);
  EXPECT_EQ(MenuText(watch, table.context()), "Begin Watch");
  app.flags.watching = true;
  EXPECT_EQ(MenuText(watch, table.context()), "End Watch");

  table.Run(32797);  // Select None
  EXPECT_FALSE(table.Enabled(32937));
  EXPECT_FALSE(table.Enabled(32938));
  EXPECT_FALSE(table.Run(32937));  // disabled items do not run
  app.doc().triangles[3].state = kFaceSelected | kFaceHidden;
  EXPECT_TRUE(table.Enabled(32937));
  EXPECT_TRUE(table.Enabled(32938));
  EXPECT_TRUE(table.Enabled(32772));
}

TEST_F(CommandTableTest, HandlersReachTheDocument) {
  table.Run(32796);  // Select All
  EXPECT_TRUE(std::all_of(app.doc().triangles.begin(), app.doc().triangles.begin() + app.doc().triangleCount,
                          [](const MeshTriangle& t) { return t.selected(); }));
  table.Run(32830);  // Hide Selected Faces
  EXPECT_TRUE(app.doc().triangles[0].hidden());
  table.Run(32831);  // Unhide All
  EXPECT_FALSE(app.doc().triangles[0].hidden());

  ASSERT_TRUE(table.Run(32946));  // key 2: channel 1
  EXPECT_EQ(app.doc().activeChannel, 1);
  app.doc().skinSlots.resize(5);
  const int dialogs = static_cast<int>(prompter.dialogs.size());
  ASSERT_TRUE(table.Run(32964));  // Shift+9 with no slot 8: nothing, no Open dialog
  EXPECT_EQ(app.doc().activeChannel, 1);
  EXPECT_EQ(static_cast<int>(prompter.dialogs.size()), dialogs);

  table.Run(32909);  // the about box
  EXPECT_EQ(prompter.aboutShown, 1);
  table.Run(57664);  // Model Stats
  ASSERT_EQ(prompter.statsShown.size(), 1u);
  EXPECT_EQ(prompter.statsShown[0].triangles, app.doc().triangleCount);
  EXPECT_FALSE(table.Run(32811));  // H: taken, nothing happens
  EXPECT_FALSE(table.Run(57665));  // the window's own
}

TEST(ShortcutReference, ListsEveryKeyAndTheReadmeCopyMatches) {
  const std::vector<ShortcutLine> lines = ShortcutLines();
  EXPECT_EQ(lines.front().command, "File > Open...");
  auto selectAll = std::find_if(lines.begin(), lines.end(), [](const ShortcutLine& l) { return l.keys.size() == 2; });
  ASSERT_NE(selectAll, lines.end());
  EXPECT_EQ(selectAll->command, "Selection > Select All");
  EXPECT_EQ(JoinKeys(selectAll->keys, [](std::string_view k) { return std::string(k); }), "` or Shift+C");

  std::ifstream readme(std::string(MOK_SOURCE_DIR) + "/README.md");
  std::stringstream text;
  text << readme.rdbuf();
  EXPECT_NE(text.str().find(ShortcutMarkdown()), std::string::npos)
      << "README.md's key table is stale: run `mokcli shortcuts` and paste its output";
}

}  // namespace
}  // namespace mok
