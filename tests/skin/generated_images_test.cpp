// Every variant the readers claim, written by Pillow (or built field by
// field where Pillow does not write it) and compared with Pillow's decoding.

#include <gtest/gtest.h>

#include <string>

#include "image/image_codecs.h"
#include "tests/skin/image_test_support.h"

namespace mok::test {
namespace {

struct GeneratedCase {
  const char* file;
  const char* reference;  // whose Pillow dump the texels must equal; nullptr: refused
  const char* refusal;    // the message after "<file> is " when refused
};

std::string Refusal(const std::string& file, const std::string& what, const char* list) {
  return file + " is " + what + "; " + list;
}

const GeneratedCase kTrueColorCases[] = {
    {"pcx8_odd.pcx", "pcx8_odd.pcx", nullptr},
    {"pcx8_even.pcx", "pcx8_even.pcx", nullptr},
    {"pcx8_1x1.pcx", "pcx8_1x1.pcx", nullptr},
    {"pcx8_runs.pcx", "pcx8_runs.pcx", nullptr},
    {"pcx24_odd.pcx", "pcx24_odd.pcx", nullptr},
    {"pcx1.pcx", nullptr, "a 1-bit PCX"},
    {"bmp8_256.bmp", "bmp8_256.bmp", nullptr},
    {"bmp8_16.bmp", "bmp8_16.bmp", nullptr},
    {"bmp8_topdown.bmp", "bmp8_topdown.bmp", nullptr},
    {"bmp8_rle8.bmp", "bmp8_rle8.bmp", nullptr},
    {"bmp24_padded.bmp", "bmp24_padded.bmp", nullptr},
    {"bmp24_unpadded.bmp", "bmp24_unpadded.bmp", nullptr},
    {"bmp24_topdown.bmp", "bmp24_topdown.bmp", nullptr},
    {"bmp24_v4.bmp", "bmp24_v4.bmp", nullptr},
    {"bmp24_v3.bmp", "bmp24_v4.bmp", nullptr},  // Pillow reads no 56-byte header; same rows
    {"bmp32_rgb.bmp", "bmp32_rgb.bmp", nullptr},
    {"bmp32_bitfields_40.bmp", "bmp32_bitfields_40.bmp", nullptr},
    {"bmp32_bitfields_v5.bmp", "bmp32_bitfields_v5.bmp", nullptr},
    {"bmp32_bitfields_565.bmp", nullptr, "a 32-bit BMP with unusual colour masks"},
    {"bmp1.bmp", nullptr, "a 1-bit BMP"},
    {"bmp16.bmp", nullptr, "a 16-bit BMP"},
    {"bmp_os2.bmp", nullptr, "an OS/2 BMP"},
    {"tga16_bl.tga", "tga16_bl.tga", nullptr},
    {"tga16_tl.tga", "tga16_tl.tga", nullptr},
    {"tga24_bl.tga", "tga24_bl.tga", nullptr},
    {"tga24_tl.tga", "tga24_bl.tga", nullptr},  // either origin: the same picture
    {"tga24_rle_bl.tga", "tga24_bl.tga", nullptr},
    {"tga24_rle_tl.tga", "tga24_bl.tga", nullptr},
    {"tga24_rle_runs.tga", "tga24_rle_runs.tga", nullptr},
    {"tga24_right_to_left.tga", "tga24_right_to_left.tga", nullptr},
    {"tga32_bl.tga", "tga32_bl.tga", nullptr},
    {"tga32_tl.tga", "tga32_bl.tga", nullptr},
    {"tga32_rle_bl.tga", "tga32_bl.tga", nullptr},
    {"tga32_rle_tl.tga", "tga32_bl.tga", nullptr},
    {"tga_colour_mapped.tga", nullptr, "a colour-mapped TGA"},
    {"tga_grey.tga", nullptr, "a greyscale TGA"},
};

class GeneratedImages : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GeneratedImagesFolder().empty()) GTEST_SKIP() << "no /usr/bin/python3 with Pillow";
  }
  static const std::string& GeneratedImagesFolder() { return test::GeneratedImages(); }
  static std::string PathOf(const char* file) { return GeneratedImagesFolder() + "/" + file; }
};

bool IsThirtyTwoBitTga(const SkinSlot& image) {
  std::vector<std::uint8_t> file = ReadBytes(image.filePath);
  return image.format == kFormatTga && file.size() > 16 && file[16] == 32;
}

TEST_F(GeneratedImages, EachTrueColorVariantEqualsPillowOrIsRefusedByName) {
  for (const GeneratedCase& c : kTrueColorCases) {
    SCOPED_TRACE(c.file);
    Result<SkinSlot> image = LoadImageFile(PathOf(c.file), ImageMode::TrueColor);
    if (!c.reference) {
      ASSERT_FALSE(image.ok());
      EXPECT_EQ(image.error().message, Refusal(c.file, c.refusal, kSkinList));
      continue;
    }
    ASSERT_TRUE(image.ok()) << image.error().message;
    std::optional<PillowDump> dump = ReadPillowDump(GeneratedImagesFolder(), c.reference);
    ASSERT_TRUE(dump.has_value());
    EXPECT_TRUE(TexelsMatch(*image, *dump, IsThirtyTwoBitTga(*image)));
    EXPECT_EQ(image->storedPixels, image->pixels);
  }
}

// Indexed mode keeps the file's palette indices of 8-bit PCX and BMP files.
TEST_F(GeneratedImages, IndexedModeKeepsTheIndicesOfEight_bitFiles) {
  for (const char* file : {"pcx8_odd.pcx", "pcx8_even.pcx", "pcx8_1x1.pcx", "pcx8_runs.pcx", "bmp8_256.bmp",
                           "bmp8_16.bmp", "bmp8_topdown.bmp", "bmp8_rle8.bmp"}) {
    SCOPED_TRACE(file);
    Result<SkinSlot> image = LoadImageFile(PathOf(file), ImageMode::Indexed);
    ASSERT_TRUE(image.ok()) << image.error().message;
    std::optional<PillowDump> dump = ReadPillowDump(GeneratedImagesFolder(), file);
    ASSERT_TRUE(dump.has_value());
    EXPECT_TRUE(IndicesMatch(*image, dump->indices));
    EXPECT_EQ(image->storedPixels, image->pixels);
  }
}

TEST_F(GeneratedImages, IndexedModeRefusesFilesWithoutIndices) {
  struct Refused {
    const char* file;
    std::string message;
  };
  const Refused refused[] = {
      {"bmp24_padded.bmp", "BMPs must be 8bit! - Aborting"},
      {"bmp32_rgb.bmp", "BMPs must be 8bit! - Aborting"},
      {"bmp1.bmp", "BMPs must be 8bit! - Aborting"},
      {"pcx24_odd.pcx", Refusal("pcx24_odd.pcx", "a 24-bit PCX", kPhongList)},
      {"tga24_bl.tga", Refusal("tga24_bl.tga", "a 24-bit TGA", kPhongList)},
      {"tga16_bl.tga", Refusal("tga16_bl.tga", "a 16-bit TGA", kPhongList)},
      {"tga_grey.tga", Refusal("tga_grey.tga", "a greyscale TGA", kPhongList)},
  };
  for (const Refused& r : refused) {
    Result<SkinSlot> image = LoadImageFile(PathOf(r.file), ImageMode::Indexed);
    ASSERT_FALSE(image.ok()) << r.file;
    EXPECT_EQ(image.error().message, r.message);
  }
}

TEST_F(GeneratedImages, SixteenBitTexelsShiftFiveBitsUpByThree) {
  // tga16_tl.tga starts with the words 0x7FFF, 0x8000, 0x001F, 0x03E0, 0x7C00.
  Result<SkinSlot> image = LoadImageFile(PathOf("tga16_tl.tga"), ImageMode::TrueColor);
  ASSERT_TRUE(image.ok());
  EXPECT_EQ(image->pixels[0], 0xF8F8F8u);
  EXPECT_EQ(image->pixels[1], 0x000000u);  // bit 15 is not alpha
  EXPECT_EQ(image->pixels[2], 0x0000F8u);
  EXPECT_EQ(image->pixels[3], 0x00F800u);
  EXPECT_EQ(image->pixels[4], 0xF80000u);
}

TEST_F(GeneratedImages, LoadedRecordIsCompleteAndTaggedWithItsFormat) {
  const std::pair<const char*, SkinFormat> files[] = {
      {"pcx8_odd.pcx", kFormatPcx}, {"bmp24_padded.bmp", kFormatBmp}, {"tga32_rle_bl.tga", kFormatTga}};
  for (const auto& [file, format] : files) {
    Result<SkinSlot> image = LoadImageFile(PathOf(file), ImageMode::TrueColor);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->format, format);
    EXPECT_EQ(image->name, PathOf(file));
    EXPECT_EQ(image->filePath, PathOf(file));  // the folder is already absolute
    EXPECT_EQ(image->hasFile, 1);
    EXPECT_EQ(image->isEmpty, 0);
    EXPECT_EQ(image->rowOffsets[1], image->width);
    EXPECT_EQ(image->rowOffsets[image->height - 1], (image->height - 1) * image->width);
  }
}

}  // namespace
}  // namespace mok::test
