// Damaged, truncated, oversized and mislabelled images: each is refused with
// a message naming the file, or decoded within its bounds; none crashes.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/byte_writer.h"
#include "image/image_codecs.h"
#include "tests/skin/image_test_support.h"

namespace mok::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A PCX header; the caller appends the run-length stream and the palette.
ByteWriter PcxHeader(int width, int height, int bytesPerLine, int bits = 8, int planes = 1, int encoding = 1) {
  ByteWriter out;
  out.u8(10); out.u8(5); out.u8(static_cast<std::uint8_t>(encoding)); out.u8(static_cast<std::uint8_t>(bits));
  out.i16(0); out.i16(0); out.i16(static_cast<std::int16_t>(width - 1)); out.i16(static_cast<std::int16_t>(height - 1));
  out.zeros(65 - out.size());
  out.u8(static_cast<std::uint8_t>(planes)); out.u16(static_cast<std::uint16_t>(bytesPerLine));
  out.zeros(128 - out.size());
  return out;
}

// Palette entry i is (i, 255 - i, i / 2).
void AppendPcxPalette(ByteWriter& out, bool marker) {
  if (marker) out.u8(0x0C);
  for (int i = 0; i < 256; ++i) {
    out.u8(static_cast<std::uint8_t>(i)); out.u8(static_cast<std::uint8_t>(255 - i)); out.u8(static_cast<std::uint8_t>(i / 2));
  }
}

std::uint32_t PcxColour(int index) { return std::uint32_t(index) << 16 | std::uint32_t(255 - index) << 8 | std::uint32_t(index / 2); }

ByteWriter BmpHeaders(int width, int height, int bits, std::uint32_t compression, std::uint32_t colours,
                      std::uint32_t dataOffset, std::uint32_t infoSize = 40) {
  ByteWriter out;
  out.u8('B'); out.u8('M'); out.u32(0); out.u32(0); out.u32(dataOffset);
  out.u32(infoSize); out.i32(width); out.i32(height); out.u16(1); out.u16(static_cast<std::uint16_t>(bits));
  out.u32(compression); out.u32(0); out.u32(2835); out.u32(2835); out.u32(colours); out.u32(0);
  out.zeros(14 + infoSize - out.size());
  return out;
}

// An 8-bit BMP with a 4-entry palette: entry i is grey 10 * (i + 1).
ByteWriter Bmp8Headers(int width, int height, std::uint32_t compression = 0) {
  ByteWriter out = BmpHeaders(width, height, 8, compression, 4, 54 + 16);
  for (int i = 0; i < 4; ++i) {
    std::uint8_t grey = static_cast<std::uint8_t>(10 * (i + 1));
    out.u8(grey); out.u8(grey); out.u8(grey); out.u8(0);
  }
  return out;
}

std::uint32_t Grey(int index) { return index < 4 ? 0x010101u * std::uint32_t(10 * (index + 1)) : 0; }

ByteWriter TgaHeader(int type, int width, int height, int depth, int descriptor, int idLength = 0) {
  ByteWriter out;
  out.u8(static_cast<std::uint8_t>(idLength)); out.u8(0); out.u8(static_cast<std::uint8_t>(type)); out.zeros(5);
  out.u16(0); out.u16(0); out.u16(static_cast<std::uint16_t>(width)); out.u16(static_cast<std::uint16_t>(height));
  out.u8(static_cast<std::uint8_t>(depth)); out.u8(static_cast<std::uint8_t>(descriptor));
  return out;
}

Result<SkinSlot> Decode(const Bytes& file, const std::string& name, ImageMode mode = ImageMode::TrueColor) {
  return DecodeImage(file, "some/folder/" + name, mode);
}

void ExpectRefused(const Bytes& file, const std::string& name, const std::string& message) {
  Result<SkinSlot> image = Decode(file, name);
  ASSERT_FALSE(image.ok()) << name;
  EXPECT_EQ(image.error().message, message);
}

std::string TooLarge(const std::string& name, const std::string& size) {
  return name + " is " + size + " texels; images may be at most 32767 texels wide and 2048 rows high";
}

// --- PCX ---

TEST(HostilePcx, RunsCrossLineEndsAndTheLastRunIsCutAtTheImageEnd) {
  ByteWriter pcx = PcxHeader(3, 2, 4);  // odd width: each line has one pad byte
  pcx.u8(0xC0 + 5); pcx.u8(7);           // 7 7 7 | pad, then 7 on the next line
  pcx.u8(0xC0); pcx.u8(99);              // count 0: consumes its value, writes nothing
  pcx.u8(0xC0 + 63); pcx.u8(9);          // far past the last line
  AppendPcxPalette(pcx, false);
  Result<SkinSlot> image = Decode(pcx.bytes(), "runs.pcx");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{PcxColour(7), PcxColour(7), PcxColour(7), PcxColour(7),
                                                      PcxColour(9), PcxColour(9)}));
  Result<SkinSlot> indexed = Decode(pcx.bytes(), "runs.pcx", ImageMode::Indexed);
  ASSERT_TRUE(indexed.ok());
  EXPECT_EQ(Bytes(indexed->indexed(), indexed->indexed() + 6), (Bytes{7, 7, 7, 7, 9, 9}));
}

TEST(HostilePcx, SizesOutsideTheLimitsAreRefused) {
  ByteWriter empty = PcxHeader(0, 5, 2);
  AppendPcxPalette(empty, true);
  ExpectRefused(empty.bytes(), "empty.pcx", "empty.pcx is damaged: its size is 0 x 5");
  ByteWriter tall = PcxHeader(4, 2049, 4);
  AppendPcxPalette(tall, true);
  ExpectRefused(tall.bytes(), "tall.pcx", TooLarge("tall.pcx", "4 x 2049"));
  ByteWriter narrowLines = PcxHeader(9, 2, 8);
  AppendPcxPalette(narrowLines, true);
  ExpectRefused(narrowLines.bytes(), "lines.pcx", "lines.pcx is damaged: its lines are shorter than its width");
}

TEST(HostilePcx, MoreTexelsThanTheFileCouldHoldIsTruncated) {
  ByteWriter huge = PcxHeader(32767, 2048, 32768);
  for (int i = 0; i < 100; ++i) { huge.u8(0xFF); huge.u8(1); }
  AppendPcxPalette(huge, true);
  ExpectRefused(huge.bytes(), "huge.pcx", "huge.pcx is truncated: its image data end early");
}

TEST(HostilePcx, StreamEndingBeforeTheLastLineIsTruncated) {
  ByteWriter shortStream = PcxHeader(4, 4, 4);
  shortStream.u8(0xC0 + 14); shortStream.u8(1);  // two texels short (a marker byte could be one)
  AppendPcxPalette(shortStream, true);
  ExpectRefused(shortStream.bytes(), "short.pcx", "short.pcx is truncated: its image data end early");
  ByteWriter cutPalette = PcxHeader(40, 40, 40);
  for (int i = 0; i < 800; ++i) { cutPalette.u8(0xC2); cutPalette.u8(static_cast<std::uint8_t>(i)); }
  AppendPcxPalette(cutPalette, true);
  Bytes cut = cutPalette.bytes();
  cut.resize(cut.size() - 100);  // the lost tail is not guessed from what remains
  ExpectRefused(cut, "cut.pcx", "cut.pcx is truncated: its image data end early");
}

TEST(HostilePcx, RunLengthDataReachingTheFileEndAreGreyLevels) {
  ByteWriter noPalette = PcxHeader(3, 2, 4);
  noPalette.u8(0xC4); noPalette.u8(3);
  noPalette.u8(0xC4); noPalette.u8(200);
  Result<SkinSlot> image = Decode(noPalette.bytes(), "bare.pcx");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x030303, 0x030303, 0x030303, 0xC8C8C8, 0xC8C8C8, 0xC8C8C8}));
  noPalette.u8(0);  // one byte too many for a file without palette
  ExpectRefused(noPalette.bytes(), "bare.pcx", "bare.pcx is truncated: its image data end early");
}

TEST(HostilePcx, OtherDepthsAndEncodingsAreRefusedNotGuessed) {
  const std::string list = std::string("; ") + kSkinList;
  ByteWriter fourBit = PcxHeader(8, 2, 4, 4, 1);
  fourBit.zeros(900);
  ExpectRefused(fourBit.bytes(), "four.pcx", "four.pcx is a 4-bit PCX" + list);
  ByteWriter planar = PcxHeader(8, 2, 1, 1, 4);
  planar.zeros(900);
  ExpectRefused(planar.bytes(), "ega.pcx", "ega.pcx is a 4-bit PCX" + list);
  ByteWriter rgba = PcxHeader(8, 2, 8, 8, 4);
  rgba.zeros(900);
  ExpectRefused(rgba.bytes(), "rgba.pcx", "rgba.pcx is a 32-bit PCX" + list);
  ByteWriter raw = PcxHeader(8, 2, 8, 8, 1, 0);
  raw.zeros(900);
  ExpectRefused(raw.bytes(), "raw.pcx", "raw.pcx is an uncompressed PCX" + list);
  ByteWriter strange = PcxHeader(8, 2, 8, 8, 1, 7);
  strange.zeros(900);
  ExpectRefused(strange.bytes(), "odd.pcx", "odd.pcx is damaged: its PCX encoding 7 is unknown");
}

// --- BMP ---

TEST(HostileBmp, Rle8MovesAndOverlongRunsStayInsideTheImage) {
  ByteWriter bmp = Bmp8Headers(4, 3, 1);
  bmp.u8(6); bmp.u8(1);                 // bottom row: run of 6 cut at the row end
  bmp.u8(0); bmp.u8(0);                 // end of line
  bmp.u8(0); bmp.u8(2); bmp.u8(1); bmp.u8(1);  // move right 1 and up 1: middle row untouched
  bmp.u8(0); bmp.u8(3); bmp.u8(2); bmp.u8(3); bmp.u8(2); bmp.u8(0);  // 3 literals + pad byte
  bmp.u8(0); bmp.u8(1);                 // end of image
  Result<SkinSlot> image = Decode(bmp.bytes(), "moves.bmp");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{Grey(0), Grey(2), Grey(3), Grey(2),  // top row
                                                      Grey(0), Grey(0), Grey(0), Grey(0),
                                                      Grey(1), Grey(1), Grey(1), Grey(1)}));
}

TEST(HostileBmp, Rle8EndingEarlyIsTruncatedButAMissingEndMarkIsNot) {
  ByteWriter complete = Bmp8Headers(2, 2, 1);
  complete.u8(2); complete.u8(1); complete.u8(0); complete.u8(0);
  complete.u8(2); complete.u8(3); complete.u8(0); complete.u8(0);
  EXPECT_TRUE(Decode(complete.bytes(), "noend.bmp").ok());
  ByteWriter cut = Bmp8Headers(2, 2, 1);
  cut.u8(2); cut.u8(1); cut.u8(0); cut.u8(0);
  cut.u8(0); cut.u8(5); cut.u8(1);
  ExpectRefused(cut.bytes(), "cut.bmp", "cut.bmp is truncated: its image data end early");
}

TEST(HostileBmp, Rle8EndingAtOnceIsBlankForSmallImagesAndTruncatedForHugeOnes) {
  ByteWriter small = Bmp8Headers(64, 64, 1);
  small.u8(0); small.u8(1);
  Result<SkinSlot> blank = Decode(small.bytes(), "blank.bmp");
  ASSERT_TRUE(blank.ok()) << blank.error().message;
  EXPECT_EQ(blank->pixels, std::vector<std::uint32_t>(64 * 64, Grey(0)));
  ByteWriter huge = Bmp8Headers(32767, 2048, 1);
  huge.u8(0); huge.u8(1);
  ExpectRefused(huge.bytes(), "huge.bmp", "huge.bmp is truncated: its image data end early");
}

TEST(HostileBmp, IndicesBeyondAShortPaletteAreBlackAndRowsTurnTopFirst) {
  ByteWriter bmp = Bmp8Headers(2, 2);
  bmp.u8(3); bmp.u8(200); bmp.zeros(2);  // bottom row
  bmp.u8(0); bmp.u8(1);                  // top row; its padding is missing
  Result<SkinSlot> image = Decode(bmp.bytes(), "short_palette.bmp");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{Grey(0), Grey(1), Grey(3), 0}));
}

TEST(HostileBmp, SizesOutsideTheLimitsAreRefused) {
  ByteWriter zero = BmpHeaders(0, 4, 24, 0, 0, 54);
  ExpectRefused(zero.bytes(), "zero.bmp", "zero.bmp is damaged: its size is 0 x 4");
  ByteWriter tall = BmpHeaders(2, -3000, 24, 0, 0, 54);
  ExpectRefused(tall.bytes(), "tall.bmp", TooLarge("tall.bmp", "2 x 3000"));
  ByteWriter wide = BmpHeaders(100000, 1, 24, 0, 0, 54);
  ExpectRefused(wide.bytes(), "wide.bmp", TooLarge("wide.bmp", "100000 x 1"));
  ByteWriter negative = BmpHeaders(-5, 1, 24, 0, 0, 54);
  ExpectRefused(negative.bytes(), "negative.bmp", "negative.bmp is damaged: its size is -5 x 1");
}

TEST(HostileBmp, MissingPixelsPaletteOrHeaderIsTruncated) {
  const std::string truncated = " is truncated: its image data end early";
  ByteWriter pixels = BmpHeaders(32767, 2048, 24, 0, 0, 54);
  pixels.zeros(1000);
  ExpectRefused(pixels.bytes(), "pixels.bmp", "pixels.bmp" + truncated);
  ByteWriter offset = BmpHeaders(1, 1, 24, 0, 0, 0x7FFFFFF0);
  offset.zeros(4);
  ExpectRefused(offset.bytes(), "offset.bmp", "offset.bmp" + truncated);
  ByteWriter palette = BmpHeaders(1, 1, 8, 0, 0, 54);
  palette.zeros(100);
  ExpectRefused(palette.bytes(), "palette.bmp", "palette.bmp" + truncated);
  Bytes header = BmpHeaders(1, 1, 24, 0, 0, 54).bytes();
  header.resize(40);
  ExpectRefused(header, "header.bmp", "header.bmp" + truncated);
}

TEST(HostileBmp, UnsupportedKindsAreRefusedNotReadAsTga) {
  const std::string list = std::string("; ") + kSkinList;
  ByteWriter rle4 = BmpHeaders(4, 4, 4, 2, 0, 118);
  rle4.zeros(200);
  ExpectRefused(rle4.bytes(), "rle4.bmp", "rle4.bmp is a 4-bit BMP" + list);
  ByteWriter eightRle4 = Bmp8Headers(4, 4, 2);
  eightRle4.zeros(100);
  ExpectRefused(eightRle4.bytes(), "odd.bmp", "odd.bmp is an 8-bit BMP with compression 2" + list);
  ByteWriter jpeg = BmpHeaders(4, 4, 24, 4, 0, 54);
  jpeg.zeros(100);
  ExpectRefused(jpeg.bytes(), "jpeg.bmp", "jpeg.bmp is a 24-bit BMP with compression 4" + list);
  ByteWriter rleTopDown = Bmp8Headers(4, -4, 1);
  rleTopDown.zeros(100);
  ExpectRefused(rleTopDown.bytes(), "td.bmp", "td.bmp is damaged: it is run-length encoded but stored top row first");
  ByteWriter unknown = BmpHeaders(4, 4, 24, 0, 0, 54);
  unknown.bytes()[14] = 20;
  unknown.zeros(100);
  ExpectRefused(unknown.bytes(), "hdr.bmp", "hdr.bmp is damaged: its BMP header size 20 is unknown");
  ByteWriter os2v2 = BmpHeaders(4, 4, 24, 0, 0, 78, 64);
  os2v2.zeros(100);
  ExpectRefused(os2v2.bytes(), "os2.bmp", "os2.bmp is an OS/2 BMP" + list);
}

TEST(HostileBmp, IndexedModeRefusesOtherDepthsWithTheFixedMessage) {
  ByteWriter rgb = BmpHeaders(1, 1, 24, 0, 0, 54);
  rgb.zeros(4);
  Result<SkinSlot> image = Decode(rgb.bytes(), "rgb.bmp", ImageMode::Indexed);
  ASSERT_FALSE(image.ok());
  EXPECT_EQ(image.error().message, "BMPs must be 8bit! - Aborting");
  EXPECT_TRUE(Decode(rgb.bytes(), "rgb.bmp").ok());
}

// --- TGA ---

TEST(HostileTga, OverlongPacketIsCutAtTheImageEnd) {
  ByteWriter tga = TgaHeader(10, 3, 2, 24, 0x20);
  tga.u8(0x80 + 1); tga.u8(1); tga.u8(2); tga.u8(3);  // run of 2
  tga.u8(0xFF); tga.u8(4); tga.u8(5); tga.u8(6);      // run of 128: only 4 texels left
  Result<SkinSlot> image = Decode(tga.bytes(), "long.tga");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0x030201, 0x030201, 0x060504, 0x060504, 0x060504, 0x060504}));
}

TEST(HostileTga, StreamsEndingEarlyAreTruncated) {
  const std::string truncated = " is truncated: its image data end early";
  ByteWriter rle = TgaHeader(10, 4, 4, 32, 0);
  rle.u8(0x80 + 9); rle.u32(0x11223344);
  rle.u8(3); rle.u32(1); rle.u32(2);  // a literal packet of 4 with 2 texels
  ExpectRefused(rle.bytes(), "rle.tga", "rle.tga" + truncated);
  ByteWriter raw = TgaHeader(2, 4, 4, 24, 0);
  raw.zeros(47);
  ExpectRefused(raw.bytes(), "raw.tga", "raw.tga" + truncated);
  ByteWriter id = TgaHeader(2, 1, 1, 24, 0, 200);
  id.zeros(10);
  ExpectRefused(id.bytes(), "id.tga", "id.tga" + truncated);
  ByteWriter absurd = TgaHeader(10, 32767, 2048, 32, 0);
  absurd.zeros(64);
  ExpectRefused(absurd.bytes(), "absurd.tga", "absurd.tga" + truncated);
}

TEST(HostileTga, ImageIdAndColourMapOfATrueColourFileAreSkipped) {
  ByteWriter tga = TgaHeader(2, 1, 1, 24, 0, 3);
  tga.bytes()[1] = 1;                    // a colour map is present
  tga.bytes()[5] = 2;                    // of two entries
  tga.bytes()[7] = 15;                   // of 15 bits: two bytes each
  tga.u8('i'); tga.u8('d'); tga.u8('!');
  tga.u32(0xFFFFFFFF);
  tga.u8(9); tga.u8(8); tga.u8(7);
  Result<SkinSlot> image = Decode(tga.bytes(), "mapped.tga");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels[0], 0x070809u);
}

TEST(HostileTga, SizesAndDepthsOutsideTheLimitsAreRefused) {
  ByteWriter zero = TgaHeader(2, 0, 4, 24, 0);
  ExpectRefused(zero.bytes(), "zero.tga", "zero.tga is damaged: its size is 0 x 4");
  ByteWriter tall = TgaHeader(2, 1, 2049, 24, 0);
  tall.zeros(2049 * 3);
  ExpectRefused(tall.bytes(), "tall.tga", TooLarge("tall.tga", "1 x 2049"));
  ByteWriter wide = TgaHeader(2, 40000, 1, 24, 0);
  ExpectRefused(wide.bytes(), "wide.tga", TooLarge("wide.tga", "40000 x 1"));
  ByteWriter eight = TgaHeader(2, 2, 2, 8, 0);
  eight.zeros(4);
  ExpectRefused(eight.bytes(), "eight.tga", std::string("eight.tga is an 8-bit TGA; ") + kSkinList);
}

TEST(TgaDepths, FifteenBitTexelsReadLikeSixteenBitOnes) {
  ByteWriter tga = TgaHeader(2, 2, 1, 15, 0x20);
  tga.u16(0x7FFF); tga.u16(0x8421);
  Result<SkinSlot> image = Decode(tga.bytes(), "fifteen.tga");
  ASSERT_TRUE(image.ok()) << image.error().message;
  EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{0xF8F8F8, 0x080808}));
}

// --- Format detection ---

TEST(ImageDetection, FilesOfNoKnownFormatAreNamedAsSuch) {
  const Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1};
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ByteWriter interleaved = TgaHeader(2, 1, 1, 24, 0x40);
  interleaved.zeros(3);
  ByteWriter noImage = TgaHeader(0, 1, 1, 24, 0);
  for (const Bytes& file : {png, gif, Bytes{}, Bytes{'B'}, Bytes{10, 5}, interleaved.bytes(), noImage.bytes()}) {
    ExpectRefused(file, "thing.img", "thing.img is not a PCX, BMP or TGA image");
  }
}

TEST(ImageDetection, ContentDecidesNotTheName) {
  ByteWriter tga = TgaHeader(2, 1, 1, 24, 0);
  tga.u8(1); tga.u8(2); tga.u8(3);
  Result<SkinSlot> image = Decode(tga.bytes(), "looks_like.pcx");
  ASSERT_TRUE(image.ok());
  EXPECT_EQ(image->format, kFormatTga);
}

TEST(ImageDetection, UnreadableFileGivesNoImage) {
  Result<SkinSlot> image = LoadImageFile(ScratchFolder() + "/nothing here.pcx", ImageMode::TrueColor);
  ASSERT_FALSE(image.ok());
  EXPECT_EQ(image.error().message, "Unable to open nothing here.pcx");
  Result<SkinSlot> folder = LoadImageFile(ScratchFolder(), ImageMode::TrueColor);
  EXPECT_FALSE(folder.ok());
}

// --- Every prefix and bit flips of small valid files ---

std::vector<std::pair<std::string, Bytes>> SmallValidFiles() {
  std::vector<std::pair<std::string, Bytes>> files;
  ByteWriter pcx = PcxHeader(5, 3, 6);
  for (int i = 0; i < 6; ++i) { pcx.u8(0xC3); pcx.u8(static_cast<std::uint8_t>(i * 40)); }
  AppendPcxPalette(pcx, true);
  files.emplace_back("a.pcx", pcx.bytes());
  ByteWriter pcx24 = PcxHeader(3, 2, 4, 8, 3);
  for (int i = 0; i < 24; ++i) pcx24.u8(static_cast<std::uint8_t>(i));
  files.emplace_back("b.pcx", pcx24.bytes());
  ByteWriter rle8 = Bmp8Headers(5, 3, 1);
  for (std::uint8_t b : {3, 1, 0, 3, 2, 3, 0, 0, 0, 2, 1, 1, 9, 2, 0, 0, 2, 0, 0, 1}) rle8.u8(b);
  files.emplace_back("c.bmp", rle8.bytes());
  ByteWriter bmp24 = BmpHeaders(3, 3, 24, 0, 0, 54);
  for (int i = 0; i < 36; ++i) bmp24.u8(static_cast<std::uint8_t>(i * 7));
  files.emplace_back("d.bmp", bmp24.bytes());
  ByteWriter tga = TgaHeader(10, 4, 3, 32, 0x30);
  tga.u8(0x82); tga.u32(0x80402010);
  tga.u8(1); tga.u32(1); tga.u32(2);
  tga.u8(0x86); tga.u32(3);
  files.emplace_back("e.tga", tga.bytes());
  ByteWriter tga16 = TgaHeader(2, 3, 2, 16, 0);
  for (int i = 0; i < 6; ++i) tga16.u16(static_cast<std::uint16_t>(i * 5000));
  files.emplace_back("f.tga", tga16.bytes());
  return files;
}

// A decoded image must be whole; a refusal must say which file.
void ExpectSound(const Bytes& file, const std::string& name, ImageMode mode) {
  Result<SkinSlot> image = Decode(file, name, mode);
  if (!image.ok()) {
    const std::string& message = image.error().message;
    EXPECT_TRUE(message.rfind(name + " ", 0) == 0 || message == "BMPs must be 8bit! - Aborting") << message;
    return;
  }
  ASSERT_GE(image->width, 1);
  ASSERT_GE(image->height, 1);
  ASSERT_LE(image->height, kMaxSkinRows);
  std::size_t texels = std::size_t(image->width) * std::size_t(image->height);
  EXPECT_EQ(image->pixels.size(), texels);
  EXPECT_EQ(image->storedPixels, image->pixels);
}

TEST(TruncatedAndFlippedImages, EveryPrefixIsRefusedOrWhole) {
  for (const auto& [name, file] : SmallValidFiles()) {
    ASSERT_TRUE(Decode(file, name).ok()) << name << ": " << Decode(file, name).error().message;
    for (std::size_t length = 0; length < file.size(); ++length) {
      Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
      ExpectSound(prefix, name, ImageMode::TrueColor);
      ExpectSound(prefix, name, ImageMode::Indexed);
    }
  }
}

TEST(TruncatedAndFlippedImages, PrefixesCutInsideThePixelsAreTruncated) {
  for (const auto& [name, file] : SmallValidFiles()) {
    if (name == "a.pcx") continue;  // its palette sits at the end: a prefix shifts it
    Bytes prefix(file.begin(), file.end() - 4);  // more than a BMP row's padding
    Result<SkinSlot> image = Decode(prefix, name);
    ASSERT_FALSE(image.ok()) << name;
    EXPECT_EQ(image.error().message, name + " is truncated: its image data end early");
  }
}

TEST(TruncatedAndFlippedImages, EverySingleBitFlipIsRefusedOrWhole) {
  for (const auto& [name, file] : SmallValidFiles()) {
    std::size_t limit = std::min<std::size_t>(file.size(), 200);  // headers and pixel data
    for (std::size_t at = 0; at < limit; ++at) {
      for (int bit = 0; bit < 8; ++bit) {
        Bytes flipped = file;
        flipped[at] ^= static_cast<std::uint8_t>(1 << bit);
        ExpectSound(flipped, name, bit % 2 ? ImageMode::Indexed : ImageMode::TrueColor);
      }
    }
  }
}

TEST(TruncatedAndFlippedImages, RandomBytesBehindValidHeadersAreRefusedOrWhole) {
  std::mt19937 random(12345);
  for (const auto& [name, file] : SmallValidFiles()) {
    std::size_t headerSize = name.ends_with(".pcx") ? 128 : name.ends_with(".bmp") ? 54 : 18;
    for (int round = 0; round < 200; ++round) {
      Bytes noisy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(headerSize));
      std::size_t extra = random() % 1200;
      for (std::size_t i = 0; i < extra; ++i) noisy.push_back(static_cast<std::uint8_t>(random()));
      ExpectSound(noisy, name, round % 2 ? ImageMode::Indexed : ImageMode::TrueColor);
    }
  }
}

}  // namespace
}  // namespace mok::test
