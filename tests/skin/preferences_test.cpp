// File > Preferences...: what the dialog opens with, its browse buttons and
// what OK applies.
#include "app/preferences.h"

#include <gtest/gtest.h>

#include "app/map_lists.h"
#include "tests/skin/skin_test_support.h"

namespace mok::test {
namespace {

class Preferences : public SkinFixture {
 protected:
  Preferences() {
    AddFace(0, {4, 8}, {16, 8}, {31, 30});
    LoadSlots();
    ClearRecords();
  }
  PreferencesBrowser browser{app};
};

TEST_F(Preferences, OpensWithTheDialogDefaultsAndClampedValues) {
  PreferencesDialog shown = ReadPreferences(settings);
  EXPECT_EQ(shown.introNumber, 1);
  EXPECT_EQ(shown.skinWidth, 64);
  EXPECT_EQ(shown.skinHeight, 64);
  EXPECT_EQ(shown.grid, 2);
  EXPECT_EQ(shown.phongPath, "C:\\Program Files\\MOK\\phongs");
  EXPECT_EQ(shown.envPath, "C:\\Program Files\\MOK\\enviros");
  EXPECT_TRUE(shown.customCursors);
  EXPECT_FALSE(shown.palOnTop);
  EXPECT_TRUE(shown.loadScriptSkins);
  Write(settings, setting::DefSknResX, 2048);
  Write(settings, setting::DefSknGrid, -3);
  Write(settings, setting::IntroNumber, 12);
  shown = ReadPreferences(settings);
  EXPECT_EQ(shown.skinWidth, 512);
  EXPECT_EQ(shown.grid, 0);
  EXPECT_EQ(shown.introNumber, kIntroCustomNumber);
}

TEST_F(Preferences, OkWritesEverythingButTheFoldersAndRebuildsPlaceholdersOnlyOnAChange) {
  PreferencesDialog chosen = ReadPreferences(settings);
  chosen.skinWidth = 32;
  chosen.skinHeight = 32;  // the size in force: nothing to rebuild
  chosen.customCursors = false;
  chosen.palOnTop = true;
  chosen.introNumber = kIntroCustomNumber;
  chosen.introWav = "/sounds/hello.wav";
  chosen.phongPath = "/typed/but/not/browsed";
  chosen.loadScriptSkins = false;
  ApplyPreferences(app, chosen);
  EXPECT_EQ(refresh.refills, 0);
  EXPECT_EQ(app.customCursors, 0);
  EXPECT_EQ(Read(settings, setting::PalOnTop), 1);
  EXPECT_EQ(Read(settings, setting::IntroNumber), kIntroCustomNumber);
  EXPECT_EQ(Read(settings, setting::IntroWav), "/sounds/hello.wav");
  EXPECT_EQ(Read(settings, setting::DefSknResX), 32);
  EXPECT_EQ(Read(settings, setting::LoadScriptSkins), 0);
  EXPECT_FALSE(settings.contains("Preferences", "Phong Path"));

  const UvPair before = doc().triangles[0].uv[2];
  chosen.grid = 1;
  chosen.skinWidth = 64;
  ApplyPreferences(app, chosen);
  EXPECT_EQ(slot(0).width, 64);
  EXPECT_EQ(doc().defaultSkin.width, 64);
  EXPECT_EQ(doc().placeholderSpec.grid, 1);
  EXPECT_FLOAT_EQ(doc().triangles[0].uv[2].u, before.u * 2);  // the mapping keeps its place on the skin
  EXPECT_EQ(refresh.refills, 1);
}

TEST_F(Preferences, AFolderIsWrittenTheMomentItIsBrowsedAndAnUnusableOneIsRefused) {
  prompter.folders = {std::nullopt, dir / "missing", dir.path().string()};
  EXPECT_FALSE(browser.BrowseMapFolder(MapFolderKind::Phong));
  EXPECT_FALSE(browser.BrowseMapFolder(MapFolderKind::Phong));
  EXPECT_EQ(browser.BrowseMapFolder(MapFolderKind::Environment), dir.path().string());
  EXPECT_EQ(prompter.folderTitles, (std::vector<std::string>{kPhongFolderTitle, kPhongFolderTitle, kEnvFolderTitle}));
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"That folder is not valid", "That folder is not valid",
                                                          "This setting will take affect the next time you run MOK."}));
  EXPECT_FALSE(settings.contains("Preferences", "Phong Path"));
  EXPECT_EQ(Read(settings, setting::EnvPath), dir.path().string());
  // Cancel keeps the browsed folder; nothing else is written.
  EXPECT_FALSE(ShowPreferences(app));
  EXPECT_EQ(Read(settings, setting::EnvPath), dir.path().string());
  EXPECT_FALSE(settings.contains("Preferences", "DefSkn ResX"));
}

TEST_F(Preferences, TheWavBrowserOpensInTheLoadFolderAndAddsItsEnding) {
  Write(settings, setting::LoadDir, "/meshes");
  prompter.files = {"/sounds/intro", "/sounds/intro.WAV", std::nullopt};
  EXPECT_EQ(browser.BrowseIntroWav(), "/sounds/intro.wav");
  EXPECT_EQ(browser.BrowseIntroWav(), "/sounds/intro.WAV");
  EXPECT_FALSE(browser.BrowseIntroWav());
  ASSERT_EQ(prompter.dialogs.size(), 3u);
  EXPECT_EQ(prompter.dialogs[0].initialDir, "/meshes");
  EXPECT_EQ(prompter.dialogs[0].initialName, "*.wav");
  EXPECT_EQ(prompter.dialogs[0].filter, "WAV Audio (*.wav)|*.wav|All Files (*.*)|*.*||");
}

TEST_F(Preferences, ShowPreferencesAppliesWhatOkHandsBack) {
  PreferencesDialog answer = ReadPreferences(settings);
  answer.quickExit = true;
  prompter.preferences.answer = answer;
  EXPECT_TRUE(ShowPreferences(app));
  EXPECT_EQ(prompter.preferences.shown.at(0).skinWidth, 64);
  EXPECT_EQ(Read(settings, setting::QuickExit), 1);
  EXPECT_EQ(slot(0).width, 64);  // the dialog's 64 differs from the 32 in force
}

}  // namespace
}  // namespace mok::test
