// Phong and environment map lists: folder scans, single opens, closing and
// picking the active map.

#include "app/map_lists.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/skin/skin_test_support.h"

namespace mok {
namespace {

class MapLists : public test::SkinFixture {
 protected:
  std::string Folder(const std::string& name, const std::vector<std::string>& images) {
    std::string folder = dir / name;
    std::filesystem::create_directory(folder);
    if (!test::MakeImagesWithPillow(folder, images)) return {};
    return folder;
  }
  std::vector<std::string> Names(const MapList& list) {
    std::vector<std::string> names;
    for (const auto& map : list.maps) names.push_back(map->name);
    return names;
  }
  // A list of named 256 x 256 maps, the second active.
  void FillEnvMaps(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      auto map = std::make_unique<SkinSlot>();
      AllocateSkin(*map, kMapSize, kMapSize);
      map->name = name;
      app.envMaps.maps.push_back(std::move(map));
    }
  }
};

TEST_F(MapLists, AScanAddsEveryMapOfTheRightSizeAndSkipsTheOthersQuietly) {
  std::string folder = Folder("maps", {"shiny.pcx:256x256:P", "small.bmp:128x128:P"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  EXPECT_EQ(ScanMapFolder(app, folder, MapKind::Phong), 1);
  EXPECT_TRUE(prompter.messages.empty());
  ASSERT_EQ(Names(app.phongMaps), std::vector<std::string>{"shiny.pcx"});
  const SkinSlot& map = *app.phongMaps.maps[0];
  // Indexed: one byte per texel, (x + 3y) % 256 as Pillow wrote it.
  EXPECT_EQ(map.indexed()[0], 0);
  EXPECT_EQ(map.indexed()[2 * 256 + 5], 11);
  EXPECT_TRUE(map.storedPixels.empty());
  EXPECT_EQ(app.phongMaps.index, 0);
  EXPECT_EQ(app.phongMaps.active(), &map);
  // One refresh for the group of PCX files and one for the BMP files.
  EXPECT_EQ(refresh.paneBits(), (std::vector<int>{15, 15}));
}

TEST_F(MapLists, ScanOrderIsPcxThenBmpThenTgaWithEndingsInAnyCase) {
  std::string folder =
      Folder("maps", {"c.tga:256x256:RGB", "b.BMP:256x256:RGB", "a.Pcx:256x256:P", "d.png:256x256:RGB"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  EXPECT_EQ(ScanMapFolder(app, folder, MapKind::Environment), 3);
  EXPECT_EQ(Names(app.envMaps), (std::vector<std::string>{"a.Pcx", "b.BMP", "c.tga"}));
  // Environment maps are true colour: x in red, y in green, x + y in blue.
  const SkinSlot& tga = *app.envMaps.maps[2];
  EXPECT_EQ(tga.pixels[3 * 256 + 5], 0x050308u);
}

TEST_F(MapLists, APhongScanRefusesTrueColourFilesWithTheReadersWordsThenSaysNoneWereFound) {
  std::string folder = Folder("maps", {"wide.bmp:256x256:RGB"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  EXPECT_EQ(ScanMapFolder(app, folder, MapKind::Phong), 0);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0], "BMPs must be 8bit! - Aborting");
  EXPECT_EQ(prompter.messages[1], "There were no valid Phong Maps found at that location");
  EXPECT_TRUE(app.phongMaps.maps.empty());
  ClearRecords();
  EXPECT_EQ(ScanMapFolder(app, folder, MapKind::Environment), 1);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MapLists, UnreadableEntriesAreSkippedSilently) {
  std::string folder = Folder("maps", {"good.pcx:256x256:P"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  std::filesystem::create_symlink(dir / "nowhere.pcx", folder + "/dangling.pcx");
  std::filesystem::create_directory(folder + "/folder.pcx");
  EXPECT_EQ(ScanMapFolder(app, folder, MapKind::Phong), 1);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MapLists, ScanningTwiceDoublesTheListAndLeavesTheIndex) {
  std::string folder = Folder("maps", {"a.pcx:256x256:P", "b.pcx:256x256:P"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  ScanMapFolder(app, folder, MapKind::Phong);
  app.phongMaps.index = 1;
  ScanMapFolder(app, folder, MapKind::Phong);
  EXPECT_EQ(app.phongMaps.count(), 4);
  EXPECT_EQ(app.phongMaps.index, 1);
}

TEST_F(MapLists, AFolderWithoutMapsSaysSo) {
  std::filesystem::create_directory(dir / "empty");
  EXPECT_EQ(ScanMapFolder(app, dir / "empty", MapKind::Environment), 0);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"There were no valid Environment Maps at that location"});
  EXPECT_TRUE(refresh.paneBits().empty());
  ClearRecords();
  ScanMapFolder(app, dir / "not-there", MapKind::Phong);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"There were no valid Phong Maps found at that location"});
}

TEST_F(MapLists, ARealFolderOfSmallSkinsHasNoMaps) {
  std::string folder = test::RealFile("md2/dq2_bpool");
  if (folder.empty()) GTEST_SKIP() << "shared test data absent";
  EXPECT_EQ(ScanMapFolder(app, folder, MapKind::Phong), 0);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"There were no valid Phong Maps found at that location"});
}

TEST_F(MapLists, RealImagesGiveTheMapsOfTheirKind) {
  std::string images = test::RealFile("images");
  if (images.empty()) GTEST_SKIP() << "shared test data absent";
  ScanMapFolder(app, images, MapKind::Phong);
  ScanMapFolder(app, images, MapKind::Environment);
  auto has = [&](const MapList& list, const std::string& name) {
    std::vector<std::string> names = Names(list);
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  EXPECT_TRUE(has(app.phongMaps, "siege_JGLauncherSkin.pcx"));
  EXPECT_TRUE(has(app.phongMaps, "gmdx_WeaponHandsTex0.bmp"));
  EXPECT_FALSE(has(app.phongMaps, "dq2_hkbk.tga"));  // true colour only
  EXPECT_TRUE(has(app.envMaps, "dq2_hkbk.tga"));
  EXPECT_FALSE(has(app.envMaps, "pg_GalaxyTex1.bmp"));  // 512 x 256
  for (const auto& map : app.envMaps.maps) {
    EXPECT_EQ(map->width, 256);
    EXPECT_EQ(map->height, 256);
  }
}

TEST_F(MapLists, ScanFolderCommandAsksForAFolderAndRefusesACancel) {
  ScanMapFolderCommand(app, MapKind::Phong);
  EXPECT_EQ(prompter.folderTitles, std::vector<std::string>{"Select the folder you wish to browse..."});
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"That folder is not valid"});
  prompter.folders.push_back(dir / "not-there");
  ScanMapFolderCommand(app, MapKind::Phong);
  EXPECT_EQ(prompter.messages.back(), "That folder is not valid");
  std::string folder = Folder("maps", {"a.pcx:256x256:P"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  prompter.folders.push_back(folder);
  ScanMapFolderCommand(app, MapKind::Phong);
  EXPECT_EQ(app.phongMaps.count(), 1);
  EXPECT_EQ(Read(settings, setting::PhongPath), "Unknown");
}

TEST_F(MapLists, StartUpScansTheStoredFoldersUnlessUnknown) {
  ScanStartupMapFolders(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(app.phongMaps.maps.empty());
  std::string folder = Folder("maps", {"a.pcx:256x256:P", "b.tga:256x256:RGB"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  Write(settings, setting::EnvPath, folder);
  ScanStartupMapFolders(app);
  EXPECT_TRUE(app.phongMaps.maps.empty());
  EXPECT_EQ(Names(app.envMaps), (std::vector<std::string>{"a.pcx", "b.tga"}));
  EXPECT_EQ(app.envMaps.active(), app.envMaps.maps[0].get());
}

TEST_F(MapLists, UnsetFoldersStandForTheBundledMapsOtherwiseTheDialogShowsItsDefault) {
  EXPECT_EQ(MapFolderSetting(app, MapKind::Phong), "");
  EXPECT_EQ(DialogMapFolder(app, MapKind::Phong), "C:\\Program Files\\MOK\\phongs");
  EXPECT_EQ(DialogMapFolder(app, MapKind::Environment), "C:\\Program Files\\MOK\\enviros");
  app.resourceDir = std::string(MOK_SOURCE_DIR) + "/resources";
  EXPECT_EQ(DialogMapFolder(app, MapKind::Phong), app.resourceDir + "/maps/phongs");
  ScanStartupMapFolders(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(Names(app.phongMaps), std::vector<std::string>{"Sampler_phong.bmp"});
  EXPECT_EQ(Names(app.envMaps), std::vector<std::string>{"Sampler_sky.bmp"});
  Write(settings, setting::EnvPath, dir.path().string());
  EXPECT_EQ(DialogMapFolder(app, MapKind::Environment), dir.path().string());
}

TEST_F(MapLists, OpenPhongMapOffersItsFiltersAndTakesTheMapAsActive) {
  std::string folder = Folder("maps", {"a.pcx:256x256:P", "b.bmp:256x256:P"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  app.loadDir = folder;
  prompter.Choose(folder + "/a", 3);  // the PCX filter adds ".pcx"
  OpenPhongMap(app);
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  EXPECT_EQ(prompter.dialogs[0].filter,
            "Supported Formats (*.bmp;*.pcx)|*.bmp;*.pcx|Greyscale Bitmap (*.bmp)|*.bmp|Greyscale PCX (*.pcx)|*.pcx|"
            "All Files (*.*)|*.*||");
  EXPECT_EQ(prompter.dialogs[0].initialName, "*.bmp;*.pcx");
  EXPECT_EQ(prompter.dialogs[0].initialDir, folder);
  EXPECT_FALSE(prompter.dialogs[0].mustExist);
  prompter.Choose(folder + "/b", 1);  // ".bmp" otherwise
  OpenPhongMap(app);
  EXPECT_EQ(Names(app.phongMaps), (std::vector<std::string>{"a.pcx", "b.bmp"}));
  EXPECT_EQ(app.phongMaps.index, 1);
  EXPECT_EQ(refresh.paneBits(), (std::vector<int>{15, 15}));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MapLists, OpeningAMapOfTheWrongSizeSaysWhatMapsMustBe) {
  std::string folder = Folder("maps", {"small.pcx:128x128:P", "small.tga:64x256:RGB"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  prompter.Choose(folder + "/small.pcx");
  OpenPhongMap(app);
  prompter.Choose(folder + "/small.tga");
  OpenEnvMap(app);
  EXPECT_EQ(prompter.messages,
            (std::vector<std::string>{
                "Error loading Phong Map: Incorrect dimensions!\nPhong maps must be 256x256, and 8bit Greyscale",
                "Error loading Environment Map: Incorrect dimensions!\nEnvironment maps must be 256x256, and 8bit"}));
  EXPECT_TRUE(app.phongMaps.maps.empty());
  EXPECT_TRUE(app.envMaps.maps.empty());
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(MapLists, OpenEnvMapUsesItsOwnFiltersAndKeepsNoStoredCopy) {
  std::string folder = Folder("maps", {"sky.tga:256x256:RGB"});
  if (folder.empty()) GTEST_SKIP() << "no Pillow";
  prompter.Choose(folder + "/sky", 3);
  OpenEnvMap(app);
  EXPECT_EQ(prompter.dialogs[0].filter,
            "Supported Formats (*.bmp;*.tga)|*.bmp;*.tga|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|All Files (*.*)|*.*||");
  EXPECT_EQ(prompter.dialogs[0].initialName, "*.bmp;*.tga");
  ASSERT_EQ(Names(app.envMaps), std::vector<std::string>{"sky.tga"});
  EXPECT_TRUE(app.envMaps.maps[0]->storedPixels.empty());
  EXPECT_EQ(app.loadDir, folder);
}

TEST_F(MapLists, ClosingTheLastOfThreeMakesTheNewLastActive) {
  FillEnvMaps({"a", "b", "c"});
  app.envMaps.index = 2;
  CloseMap(app, MapKind::Environment);
  EXPECT_EQ(Names(app.envMaps), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(app.envMaps.index, 1);
  EXPECT_EQ(app.envMaps.active()->name, "b");
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
}

TEST_F(MapLists, ClosingAMiddleEntryMakesTheOneBehindItActive) {
  FillEnvMaps({"a", "b", "c"});
  app.envMaps.index = 1;
  CloseMap(app, MapKind::Environment);
  EXPECT_EQ(app.envMaps.index, 1);
  EXPECT_EQ(app.envMaps.active()->name, "c");
}

TEST_F(MapLists, ClosingTheOnlyEntryLeavesNoneActiveAndAnotherCloseDoesNothing) {
  FillEnvMaps({"a"});
  CloseMap(app, MapKind::Environment);
  EXPECT_TRUE(app.envMaps.maps.empty());
  EXPECT_EQ(app.envMaps.index, -1);
  EXPECT_EQ(app.envMaps.active(), nullptr);
  CloseMap(app, MapKind::Environment);
  EXPECT_EQ(app.envMaps.index, -1);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
  CloseMap(app, MapKind::Phong);  // an empty list from the start
  EXPECT_EQ(app.phongMaps.index, 0);
  EXPECT_EQ(refresh.paneBits().size(), 1u);
}

TEST_F(MapLists, ClosingAPhongMapRebuildsTheGammaTable) {
  auto map = std::make_unique<SkinSlot>();
  app.phongMaps.maps.push_back(std::move(map));
  CloseMap(app, MapKind::Phong);
}

TEST_F(MapLists, PickingAnEntryMakesItActiveAndIgnoresLinesOutsideTheList) {
  FillEnvMaps({"a", "b"});
  SelectMap(app, MapKind::Environment, 1);
  EXPECT_EQ(app.envMaps.active()->name, "b");
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{11});
  SelectMap(app, MapKind::Environment, 2);
  SelectMap(app, MapKind::Environment, -1);
  EXPECT_EQ(app.envMaps.index, 1);
  EXPECT_EQ(refresh.paneBits().size(), 1u);
}

}  // namespace
}  // namespace mok
