// Skins > Open, Save, Save As, Reload and the reload on activation.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "image/image_codecs.h"
#include "app/skin_commands.h"
#include "tests/skin/skin_test_support.h"

namespace mok {
namespace {

using test::NumberedImage;
using test::Texel;

constexpr const char* kOpenFilter =
    "Supported Formats (*.pcx;*.bmp;*.tga)|*.pcx;*.bmp;*.tga|ZSoft PCX (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|"
    "Targa (*.tga)|*.tga|All Files (*.*)|*.*||";

class SkinFiles : public test::SkinFixture {
 protected:
  void SetUp() override {
    AddFace(0, {4, 8}, {16, 8}, {31, 30});
    AddFace(1, {2, 2}, {6, 2}, {6, 6});
    LoadSlots();
  }
  // Opens path into the active slot through the dialog's first filter.
  void Open(const std::string& path, int filter = 1) {
    prompter.Choose(path, filter);
    SkinOpen(app);
  }
  // A skin of the size written by our BMP writer.
  std::string WriteNumberedBmp(const std::string& name, int width, int height) {
    SkinSlot image = NumberedImage(width, height);
    EXPECT_TRUE(WriteBmp(image, dir / name));
    return dir / name;
  }
  UvPair Corner(int face, int k) { return doc().triangles[static_cast<std::size_t>(face)].uv[k]; }
};

TEST_F(SkinFiles, OpenDialogOffersTheThreeFormatsInTheLoadFolder) {
  app.loadDir = dir.path().string();
  SkinOpen(app);  // cancelled
  ASSERT_EQ(prompter.dialogs.size(), 1u);
  const FileDialogSpec& spec = prompter.dialogs[0];
  EXPECT_FALSE(spec.save);
  EXPECT_FALSE(spec.mustExist);
  EXPECT_EQ(spec.filter, kOpenFilter);
  EXPECT_EQ(spec.initialName, "*.pcx;*.bmp;*.tga");
  EXPECT_EQ(spec.initialDir, dir.path().string());
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(SkinFiles, OpeningA256SkinOverThe32PlaceholderMultipliesByEightAndCloseDivides) {
  if (!test::MakeImagesWithPillow(dir.path().string(), {"body.pcx:256x256:P"})) GTEST_SKIP() << "no Pillow";
  Open(dir / "body.pcx");
  ASSERT_TRUE(prompter.messages.empty()) << prompter.messages[0];
  for (auto& e : std::filesystem::directory_iterator(dir.path())) std::cerr << e.path() << " " << e.file_size() << "\n";
  EXPECT_EQ(slot(0).width, 256);
  EXPECT_EQ(slot(0).isEmpty, 0);
  EXPECT_EQ(slot(0).format, kFormatPcx);
  EXPECT_EQ(slot(0).name, slot(0).filePath);
  EXPECT_EQ(slot(0).filePath, dir / "body.pcx");
  // Pillow's grey ramp: texel (x, y) has index and grey (x + 3y) % 256.
  EXPECT_EQ(Texel(slot(0), 5, 2), 0x0B0B0Bu);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 32);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 64);
  EXPECT_FLOAT_EQ(Corner(0, 2).u, 248);
  EXPECT_FLOAT_EQ(Corner(1, 1).u, 6);  // channel 1 is untouched
  EXPECT_EQ(app.loadDir, dir.path().string());
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
  SkinCloseDelete(app);
  EXPECT_EQ(slot(0).isEmpty, 1);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 4);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 8);
  EXPECT_FLOAT_EQ(Corner(0, 2).v, 30);
}

TEST_F(SkinFiles, OpeningTheReal512By256SkinScalesSixteenAcrossAndEightDown) {
  std::string galaxy = test::RealFile("images/pg_GalaxyTex1.bmp");
  if (galaxy.empty()) GTEST_SKIP() << "shared test data absent";
  Open(galaxy);
  ASSERT_EQ(slot(0).width, 512);
  ASSERT_EQ(slot(0).height, 256);
  EXPECT_FLOAT_EQ(Corner(0, 1).u, 256);
  EXPECT_FLOAT_EQ(Corner(0, 1).v, 64);
  EXPECT_FLOAT_EQ(Corner(1, 2).v, 6);
  SkinCloseDelete(app);
  EXPECT_FLOAT_EQ(Corner(0, 1).u, 16);
  EXPECT_FLOAT_EQ(Corner(0, 1).v, 8);
}

TEST_F(SkinFiles, OpenIntoAnotherChannelLeavesChannelZeroAlone) {
  std::string sydney = test::RealFile("md2/dq2_sydney/sydney.PCX");
  if (sydney.empty()) GTEST_SKIP() << "shared test data absent";
  doc().activeChannel = 1;
  doc().activeSkin = &slot(1);
  Open(sydney);
  ASSERT_EQ(slot(1).width, 308);
  EXPECT_FLOAT_EQ(Corner(1, 1).u, 6.0f * 308 / 32);
  EXPECT_FLOAT_EQ(Corner(1, 1).v, 2.0f * 193 / 32);
  EXPECT_FLOAT_EQ(Corner(0, 1).u, 16);
  EXPECT_EQ(slot(0).isEmpty, 1);
}

TEST_F(SkinFiles, ANameWithoutADotGetsTheExtensionOfTheFilter) {
  if (!test::MakeImagesWithPillow(dir.path().string(), {"a.pcx:8x8:P", "b.bmp:16x16:RGB", "c.tga:4x4:RGB"}))
    GTEST_SKIP() << "no Pillow";
  Open(dir / "a", 1);
  EXPECT_EQ(slot(0).width, 8);
  Open(dir / "a", 2);
  EXPECT_EQ(slot(0).width, 8);
  Open(dir / "b", 3);
  EXPECT_EQ(slot(0).width, 16);
  Open(dir / "c", 4);
  EXPECT_EQ(slot(0).width, 4);
  EXPECT_TRUE(prompter.messages.empty());
  // "All Files" opens the name as typed.
  std::filesystem::copy_file(dir / "b.bmp", dir / "plain");
  Open(dir / "plain", 5);
  EXPECT_EQ(slot(0).width, 16);
  EXPECT_EQ(slot(0).filePath, dir / "plain");
}

TEST_F(SkinFiles, AFileThatCannotBeReadChangesNothing) {
  Open(dir / "missing.pcx");
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Unable to open missing.pcx"});
  test::WriteBytes(dir / "junk.tga", {1, 2, 3});
  Open(dir / "junk.tga");
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(slot(0).isEmpty, 1);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 4);
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(SkinFiles, NothingToSaveOnAPlaceholder) {
  SkinSave(app);
  SkinSaveAs(app);
  EXPECT_EQ(prompter.messages, (std::vector<std::string>{"No skin to save!", "No skin to save!"}));
  EXPECT_TRUE(prompter.dialogs.empty());
}

TEST_F(SkinFiles, SaveWritesTheFileInItsFormatAndMovesTheRevertPoint) {
  Open(WriteNumberedBmp("body.bmp", 16, 8));
  slot(0).pixels[3] = 0xABCDEF;  // painted
  SkinSave(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(prompter.dialogs.size() == 1u);  // only Open's
  EXPECT_EQ(slot(0).storedPixels, slot(0).pixels);
  Result<SkinSlot> back = LoadImageFile(dir / "body.bmp", ImageMode::TrueColor);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->pixels, slot(0).pixels);
}

TEST_F(SkinFiles, SaveOfATargaSkinWritesA32BitTargaOverItsFile) {
  if (!test::MakeImagesWithPillow(dir.path().string(), {"sky.tga:8x4:RGB"})) GTEST_SKIP() << "no Pillow";
  Open(dir / "sky.tga");
  ASSERT_EQ(slot(0).format, kFormatTga);
  slot(0).pixels[0] = 0x7F123456;
  SkinSave(app);
  EXPECT_TRUE(prompter.messages.empty());
  std::vector<std::uint8_t> bytes = test::ReadBytes(dir / "sky.tga");
  ASSERT_EQ(bytes.size(), 18u + 8 * 4 * 4);
  EXPECT_EQ(bytes[16], 32);
  EXPECT_EQ(bytes[21], 0x7F);
}

TEST_F(SkinFiles, AFailedSaveKeepsTheRevertPointAndSaysSoTwice) {
  std::filesystem::create_directory(dir / "gone");
  Open(WriteNumberedBmp("gone/body.bmp", 16, 8));
  std::filesystem::remove_all(dir / "gone");
  slot(0).pixels[3] = 0xABCDEF;
  SkinSave(app);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].rfind("Error Saving: ", 0), 0u) << prompter.messages[0];
  EXPECT_EQ(prompter.messages[1], "An error occured while attempting to save!");
  EXPECT_EQ(slot(0).storedPixels[3], 0x0003u);
}

TEST_F(SkinFiles, SavingAPcxSkinAsBmpOffersTheNameEndingInBmp) {
  std::string grenade = test::RealFile("images/siege_sg_Jgrenade1.PCX");
  if (grenade.empty()) GTEST_SKIP() << "shared test data absent";
  Open(grenade);
  ASSERT_EQ(slot(0).format, kFormatPcx);
  prompter.answers = {Answer::Yes};
  SkinSave(app);  // the Save As dialog is cancelled
  EXPECT_EQ(prompter.questions, std::vector<std::string>{"PCX Save is not supported...save as BMP?"});
  ASSERT_EQ(prompter.dialogs.size(), 2u);
  std::string offered = prompter.dialogs[1].initialName;
  EXPECT_EQ(offered, grenade.substr(0, grenade.size() - 3) + "bmp");
  EXPECT_EQ(prompter.dialogs[1].filter.rfind("Bitmap (*.bmp)|*.bmp|Bitmap", 0), 0u);
  EXPECT_EQ(slot(0).format, kFormatBmp);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SkinFiles, DecliningBmpForAPcxSkinIsASaveFailure) {
  if (!test::MakeImagesWithPillow(dir.path().string(), {"a.pcx:8x8:P"})) GTEST_SKIP() << "no Pillow";
  Open(dir / "a.pcx");
  prompter.answers = {Answer::No};
  SkinSave(app);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"An error occured while attempting to save!"});
  EXPECT_EQ(slot(0).format, kFormatPcx);
  EXPECT_EQ(prompter.dialogs.size(), 1u);
}

TEST_F(SkinFiles, SaveAsFiltersStartWithTheSkinsOwnKind) {
  slot(0) = NumberedImage(8, 8);
  slot(0).name = "body.bmp";
  app.loadDir = dir.path().string();
  SkinSaveAs(app);
  slot(0).format = kFormatTga;
  SkinSaveAs(app);
  ASSERT_EQ(prompter.dialogs.size(), 2u);
  EXPECT_TRUE(prompter.dialogs[0].save);
  EXPECT_EQ(prompter.dialogs[0].initialName, "body.bmp");
  EXPECT_EQ(prompter.dialogs[0].initialDir, dir.path().string());
  EXPECT_EQ(prompter.dialogs[0].filter,
            "Bitmap (*.bmp)|*.bmp|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|All Files (*.*)|*.*||");
  EXPECT_EQ(prompter.dialogs[1].filter,
            "Targa (*.tga)|*.tga|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|All Files (*.*)|*.*||");
}

TEST_F(SkinFiles, SaveAsWithTheTargaFilterAndNoDotWritesATga) {
  slot(0) = NumberedImage(8, 4);
  slot(0).name = "newskin";
  slot(0).pixels[0] = 0x12345678;  // X byte kept by the TGA writer
  prompter.Choose(dir / "out", 3);
  SkinSaveAs(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(slot(0).name, dir / "out.tga");
  EXPECT_EQ(slot(0).filePath, dir / "out.tga");
  EXPECT_EQ(slot(0).hasFile, 1);
  EXPECT_EQ(slot(0).format, kFormatTga);
  EXPECT_EQ(refresh.refills, 1);
  std::vector<std::uint8_t> bytes = test::ReadBytes(dir / "out.tga");
  ASSERT_EQ(bytes.size(), 18u + 8 * 4 * 4);
  EXPECT_EQ(bytes[2], 2);
  EXPECT_EQ(bytes[16], 32);
  EXPECT_EQ(bytes[21], 0x12);
}

TEST_F(SkinFiles, SaveAsFormatFollowsTheChosenFilter) {
  slot(0) = NumberedImage(8, 4);
  slot(0).format = kFormatTga;
  prompter.Choose(dir / "first.tga", 1);
  SkinSaveAs(app);
  EXPECT_EQ(test::ReadBytes(dir / "first.tga").at(16), 32);  // TGA
  prompter.Choose(dir / "second.tga", 2);
  SkinSaveAs(app);
  EXPECT_EQ(test::ReadBytes(dir / "second.tga").at(0), 'B');  // BMP under a TGA name
  EXPECT_EQ(slot(0).format, kFormatBmp);
  // A name without a dot gets the first filter's ending: the skin's kind.
  prompter.Choose(dir / "plain", 1);
  SkinSaveAs(app);
  EXPECT_EQ(test::ReadBytes(dir / "plain.bmp").at(0), 'B');
  slot(0).format = kFormatTga;
  prompter.Choose(dir / "plain", 1);
  SkinSaveAs(app);
  EXPECT_EQ(test::ReadBytes(dir / "plain.tga").at(16), 32);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SkinFiles, SaveAsWithAllFilesWritesAPcxSkinAsBmp) {
  if (!test::MakeImagesWithPillow(dir.path().string(), {"a.pcx:8x8:P"})) GTEST_SKIP() << "no Pillow";
  Open(dir / "a.pcx");
  prompter.Choose(dir / "copy.pcx", 4);
  SkinSaveAs(app);
  EXPECT_EQ(test::ReadBytes(dir / "copy.pcx").at(0), 'B');
  EXPECT_EQ(slot(0).format, kFormatBmp);
  EXPECT_EQ(slot(0).filePath, dir / "copy.pcx");
}

TEST_F(SkinFiles, AFailedSaveAsKeepsTheSkinOnItsOldFile) {
  Open(WriteNumberedBmp("body.bmp", 16, 8));
  std::string before = slot(0).filePath;
  slot(0).pixels[3] = 0xABCDEF;
  refresh.refills = 0;
  prompter.Choose(dir / "no/such/folder/x.bmp", 2);
  SkinSaveAs(app);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].rfind("Error Saving: ", 0), 0u);
  EXPECT_EQ(slot(0).filePath, before);
  EXPECT_EQ(slot(0).name, before);
  EXPECT_EQ(slot(0).storedPixels[3], 0x0003u);
  EXPECT_EQ(refresh.refills, 0);
}

TEST_F(SkinFiles, ReloadTakesTheNewImageAndKeepsNameFileAndFormat) {
  std::string path = WriteNumberedBmp("body.bmp", 64, 64);
  Open(path);
  ASSERT_FLOAT_EQ(Corner(0, 0).u, 8);
  std::string name = slot(0).name;
  WriteNumberedBmp("body.bmp", 128, 32);
  slot(0).format = kFormatTga;  // as if saved elsewhere; Reload leaves it
  ClearRecords();
  SkinReload(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(slot(0).width, 128);
  EXPECT_EQ(slot(0).height, 32);
  EXPECT_EQ(slot(0).rowOffsets[31], 31 * 128);
  EXPECT_EQ(slot(0).name, name);
  EXPECT_EQ(slot(0).format, kFormatTga);
  EXPECT_EQ(slot(0).storedPixels, slot(0).pixels);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 16);
  EXPECT_FLOAT_EQ(Corner(0, 0).v, 8);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
}

TEST_F(SkinFiles, AFailedReloadKeepsTheOldImage) {
  std::string path = WriteNumberedBmp("body.bmp", 64, 64);
  Open(path);
  slot(0).pixels[1] = 0xFFFFFF;  // painted, not stored
  test::WriteBytes(path, {'B', 'M', 0});
  ClearRecords();
  SkinReload(app);
  EXPECT_EQ(prompter.messages, std::vector<std::string>{"Unable to reload the skin!"});
  EXPECT_EQ(slot(0).width, 64);
  EXPECT_EQ(slot(0).pixels[1], 0xFFFFFFu);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 8);
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(SkinFiles, ReloadIgnoresSkinsWithoutAFile) {
  SkinReload(app);  // a placeholder
  slot(0) = NumberedImage(8, 8);  // a new skin, no file
  SkinReload(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_TRUE(refresh.paneBits().empty());
}

TEST_F(SkinFiles, ActivationReloadsEverySkinWithAFileAndSkipsMissingAndGarbledOnes) {
  Open(WriteNumberedBmp("zero.bmp", 64, 64));
  doc().activeChannel = 1;
  doc().activeSkin = &slot(1);
  Open(WriteNumberedBmp("one.bmp", 64, 64));
  doc().activeChannel = 2;
  doc().activeSkin = &slot(2);
  Open(WriteNumberedBmp("two.bmp", 64, 64));
  WriteNumberedBmp("zero.bmp", 128, 128);
  std::filesystem::remove(dir / "one.bmp");
  std::ofstream(dir / "two.bmp", std::ios::binary | std::ios::trunc) << "BM not a bitmap at all";
  const std::uint32_t kept = slot(2).pixels[5];
  app.flags.autoReload = true;
  ClearRecords();
  AutoReloadOnActivation(app);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(slot(0).width, 128);
  EXPECT_EQ(slot(1).width, 64);
  EXPECT_EQ(slot(2).width, 64);  // garbage in the file: the old pixels stay
  EXPECT_EQ(slot(2).pixels[5], kept);
  EXPECT_FLOAT_EQ(Corner(0, 0).u, 16);
  EXPECT_FLOAT_EQ(Corner(1, 1).u, 12);
  EXPECT_EQ(refresh.paneBits(), std::vector<int>{15});
}

}  // namespace
}  // namespace mok
