// The 24-bit BMP and 32-bit TGA writers: exact bytes, round trips through
// our reader and through Pillow, and failures that leave files alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "image/image_codecs.h"
#include "tests/skin/image_test_support.h"

namespace mok::test {
namespace {

SkinSlot RandomImage(int width, int height, unsigned seed) {
  SkinSlot image;
  AllocateSkin(image, width, height);
  std::mt19937 random(seed);
  for (std::uint32_t& texel : image.pixels) texel = static_cast<std::uint32_t>(random());
  image.storedPixels = image.pixels;
  image.format = kFormatPcx;
  return image;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
}

class ImageWriters : public ::testing::Test {
 protected:
  std::string folder = ScratchFolder();
  std::string PathOf(const std::string& name) const { return folder + "/" + name; }
};

TEST_F(ImageWriters, BmpOfThreeByTwoIs78BytesWithTheFixedHeader) {
  SkinSlot image = RandomImage(3, 2, 1);
  ASSERT_TRUE(WriteBmp(image, PathOf("small.bmp")).ok());
  std::vector<std::uint8_t> file = ReadBytes(PathOf("small.bmp"));
  ASSERT_EQ(file.size(), 78u);
  const std::vector<std::uint8_t> header = {
      'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,             // file header
      40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,  // size, width, height, planes, bits, BI_RGB
      0, 0, 0, 0, 100, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 54), header);
  // Bottom row first, blue green red per texel, three zero bytes of padding.
  for (int fileRow = 0; fileRow < 2; ++fileRow) {
    std::size_t at = 54 + std::size_t(fileRow) * 12;
    for (int x = 0; x < 3; ++x) {
      std::uint32_t texel = image.pixels[std::size_t(1 - fileRow) * 3 + std::size_t(x)];
      EXPECT_EQ(file[at + 3 * x], texel & 0xFF);
      EXPECT_EQ(file[at + 3 * x + 1], (texel >> 8) & 0xFF);
      EXPECT_EQ(file[at + 3 * x + 2], (texel >> 16) & 0xFF);
    }
    EXPECT_EQ(file[at + 9] | file[at + 10] | file[at + 11], 0);
  }
  EXPECT_EQ(image.format, kFormatBmp);
}

TEST_F(ImageWriters, TgaOf64By64Is18Plus16384BytesTopLeftWithAlpha) {
  SkinSlot image = RandomImage(64, 64, 2);
  ASSERT_TRUE(WriteTga(image, PathOf("square.tga")).ok());
  std::vector<std::uint8_t> file = ReadBytes(PathOf("square.tga"));
  ASSERT_EQ(file.size(), 18u + 16384u);
  const std::vector<std::uint8_t> header = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 32, 32};
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 18), header);
  EXPECT_EQ(Le32(file, 18), image.pixels[0]);
  EXPECT_EQ(Le32(file, 18 + 4 * 4095), image.pixels[4095]);
  EXPECT_EQ(image.format, kFormatTga);
}

TEST_F(ImageWriters, TgaReadsBackWithAlphaBytesIncluded) {
  SkinSlot image = RandomImage(64, 64, 3);
  ASSERT_TRUE(WriteTga(image, PathOf("back.tga")).ok());
  Result<SkinSlot> read = LoadImageFile(PathOf("back.tga"), ImageMode::TrueColor);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read->pixels, image.pixels);
}

TEST_F(ImageWriters, BmpReadsBackWithXCleared) {
  for (int width : {1, 2, 3, 4, 5, 33}) {
    SkinSlot image = RandomImage(width, 7, 4);
    ASSERT_TRUE(WriteBmp(image, PathOf("back.bmp")).ok());
    Result<SkinSlot> read = LoadImageFile(PathOf("back.bmp"), ImageMode::TrueColor);
    ASSERT_TRUE(read.ok());
    for (std::uint32_t& texel : image.pixels) texel &= 0xFFFFFF;
    EXPECT_EQ(read->pixels, image.pixels) << "width " << width;
  }
}

TEST_F(ImageWriters, PillowReadsTheSamePixelsFromBothWriters) {
  SkinSlot image = RandomImage(13, 5, 5);
  ASSERT_TRUE(WriteBmp(image, PathOf("ours.bmp")).ok());
  ASSERT_TRUE(WriteTga(image, PathOf("ours.tga")).ok());
  std::string dumps = ScratchFolder();
  if (!DumpWithPillow(dumps, {PathOf("ours.bmp"), PathOf("ours.tga")})) GTEST_SKIP() << "no Pillow";
  std::optional<PillowDump> bmp = ReadPillowDump(dumps, DumpNameOf(PathOf("ours.bmp")));
  std::optional<PillowDump> tga = ReadPillowDump(dumps, DumpNameOf(PathOf("ours.tga")));
  ASSERT_TRUE(bmp && tga);
  EXPECT_TRUE(TexelsMatch(image, *tga, true));
  for (std::uint32_t& texel : image.pixels) texel &= 0xFFFFFF;
  EXPECT_TRUE(TexelsMatch(image, *bmp, false));
}

TEST_F(ImageWriters, MissingFolderGivesErrorSavingWithCauseAndKeepsTheImage) {
  SkinSlot image = RandomImage(4, 4, 6);
  SkinSlot before = image;
  Status bmp = WriteBmp(image, PathOf("no such folder/a.bmp"));
  Status tga = WriteTga(image, PathOf("no such folder/a.tga"));
  ASSERT_FALSE(bmp.ok());
  ASSERT_FALSE(tga.ok());
  EXPECT_EQ(bmp.error().message, "Error Saving: 2");  // file not found
  EXPECT_EQ(tga.error().message, "Error Saving: 2");
  EXPECT_EQ(image.pixels, before.pixels);
  EXPECT_EQ(image.format, kFormatPcx);
}

TEST_F(ImageWriters, ImageWithoutTexelsIsNotWrittenAndTheOldFileStays) {
  WriteBytes(PathOf("keep.tga"), {1, 2, 3});
  SkinSlot empty;
  Status written = WriteTga(empty, PathOf("keep.tga"));
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().message, "No skin to save!");
  SkinSlot shortBuffer = RandomImage(4, 4, 7);
  shortBuffer.pixels.resize(3);
  EXPECT_FALSE(WriteBmp(shortBuffer, PathOf("keep.tga")).ok());
  EXPECT_EQ(ReadBytes(PathOf("keep.tga")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(ImageWriters, ReplacingAFileLeavesNoTemporaryFilesBehind) {
  SkinSlot image = RandomImage(8, 8, 8);
  ASSERT_TRUE(WriteTga(image, PathOf("again.tga")).ok());
  ASSERT_TRUE(WriteTga(image, PathOf("again.tga")).ok());
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(ImageWriters, ConvertPicksTheWriterByEnding) {
  SkinSlot image = RandomImage(5, 3, 9);
  ASSERT_TRUE(WriteTga(image, PathOf("source.tga")).ok());
  ASSERT_TRUE(ConvertImageFile(PathOf("source.tga"), PathOf("copy.BMP")).ok());
  ASSERT_TRUE(ConvertImageFile(PathOf("copy.BMP"), PathOf("copy.tga")).ok());
  EXPECT_EQ(ReadBytes(PathOf("copy.BMP")).size(), 54u + 3 * 16);
  Result<SkinSlot> copy = LoadImageFile(PathOf("copy.tga"), ImageMode::TrueColor);
  ASSERT_TRUE(copy.ok());
  for (std::uint32_t& texel : image.pixels) texel &= 0xFFFFFF;  // the BMP step drops alpha
  EXPECT_EQ(copy->pixels, image.pixels);
}

TEST_F(ImageWriters, ConvertRefusesOtherEndingsAndMissingInput) {
  SkinSlot image = RandomImage(2, 2, 5);
  ASSERT_TRUE(WriteTga(image, PathOf("source.tga")).ok());
  Status ending = ConvertImageFile(PathOf("source.tga"), PathOf("out.png"));
  ASSERT_FALSE(ending.ok());
  EXPECT_EQ(ending.error().message, "Cannot write out.png: the name must end in .bmp or .tga");
  Status missing = ConvertImageFile(PathOf("absent.pcx"), PathOf("out.bmp"));
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error().message, "Unable to open absent.pcx");
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.bmp")));
}

}  // namespace
}  // namespace mok::test
