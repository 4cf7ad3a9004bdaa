#include "app/recent_files.h"

#include <gtest/gtest.h>

#include "app/file_commands.h"
#include "core/packed_vertex.h"
#include "tests/core/application_fixture.h"

namespace mok {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFileList, NewestFirstWithoutRepeatsOfOneMeshAndAtMostEight) {
  Names list;
  for (const char* name : {"/m/a_d.3d", "/m/b.md2", "/m/c.3d"}) list = WithRecentFile(list, name);
  EXPECT_EQ(list, (Names{"/m/c.3d", "/m/b.md2", "/m/a_d.3d"}));
  // Another name of mesh a, and b again, move to the top.
  list = WithRecentFile(WithRecentFile(list, "/m/a_a.3d"), "/m/b.md2");
  EXPECT_EQ(list, (Names{"/m/b.md2", "/m/a_a.3d", "/m/c.3d"}));
  for (int i = 0; i < 9; ++i) list = WithRecentFile(list, "/n/" + std::to_string(i) + ".3d");
  ASSERT_EQ(list.size(), 8u);
  EXPECT_EQ(list.front(), "/n/8.3d");
  EXPECT_EQ(list.back(), "/n/1.3d");
}

TEST(RecentFileList, KeptInTheSettingsAndShownWithAmpersandsDoubled) {
  MemorySettings settings;
  AddRecentFile(settings, "/m/one_d.3d");
  AddRecentFile(settings, "/m/R&D.3d");
  EXPECT_EQ(ReadRecentFiles(settings), (Names{"/m/R&D.3d", "/m/one_d.3d"}));
  EXPECT_EQ(settings.readString("Recent Files", "File2"), "/m/one_d.3d");
  EXPECT_EQ(settings.readString("Recent Files", "File8"), "");
  EXPECT_EQ(RecentFileMenuText(0, "/m/R&D.3d"), "&1 /m/R&&D.3d");
  EXPECT_EQ(RecentFileMenuText(7, "x"), "&8 x");
}

class RecentFiles : public test::ApplicationFixture {
 protected:
  void SetUp() override {
    for (const char* base : {"ship", "boat"}) {
      test::WriteBytes(dir / (std::string(base) + "_d.3d"), test::GeometryFile(1, 3, {test::TestFace{}}));
      test::WriteBytes(dir / (std::string(base) + "_a.3d"),
                       test::AnimationFile(1, 12, {PackVertex({0, 0, 0}), PackVertex({1, 0, 0}), PackVertex({0, 1, 0})}));
    }
  }
};

TEST_F(RecentFiles, OpeningAndSavingUnderANewNamePutTheMeshOnTop) {
  prompter.files = {dir / "ship_d.3d", dir / "boat_a.3d"};
  FileOpen(app);
  prompter.answers = {Answer::No};
  FileOpen(app);
  prompter.files = {dir / "copy"};
  FileSaveAs(app);
  EXPECT_EQ(ReadRecentFiles(settings), (Names{dir / "copy.3d", dir / "boat_a.3d", dir / "ship_d.3d"}));
}

TEST_F(RecentFiles, ChoosingAnEntryOpensItAfterTheSaveQuestion) {
  AddRecentFile(settings, dir / "ship.3d");  // a name Save As gives: ship_d.3d is there
  AddRecentFile(settings, dir / "boat_d.3d");
  OpenRecentFile(app, 1);
  EXPECT_TRUE(prompter.questions.empty());
  ASSERT_EQ(app.doc().meshLoaded, 1);
  EXPECT_EQ(app.currentFile, dir / "ship_d.3d");
  prompter.answers = {Answer::Cancel};
  OpenRecentFile(app, 1);
  EXPECT_EQ(prompter.questions, Names{kSaveChangesQuestion});
  EXPECT_EQ(app.currentFile, dir / "ship_d.3d");
  OpenRecentFile(app, 8);  // no such entry
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(ReadRecentFiles(settings), (Names{dir / "ship_d.3d", dir / "boat_d.3d"}));
}

TEST_F(RecentFiles, AMissingFileIsRemovedWithAMessageAndNothingElseChanges) {
  AddRecentFile(settings, dir / "gone_d.3d");
  AddRecentFile(settings, dir / "ship_d.3d");
  OpenRecentFile(app, 1);
  EXPECT_EQ(prompter.messages, Names{kRecentFileMissingMessage + dir / "gone_d.3d"});
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_EQ(app.doc().meshLoaded, 0);
  EXPECT_EQ(ReadRecentFiles(settings), Names{dir / "ship_d.3d"});
}

}  // namespace
}  // namespace mok
