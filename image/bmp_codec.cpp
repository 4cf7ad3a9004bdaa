// Windows BMP: 8-bit (uncompressed or RLE8), 24-bit and 32-bit in; 24-bit
// bottom-up out.

#include <vector>

#include "core/byte_writer.h"
#include "image/image_formats.h"

namespace mok {
namespace BmpLayout {
constexpr std::size_t kFileHeaderSize = 14;  // "BM", u32 file size, 2 x u16 reserved, u32 data offset
constexpr std::size_t kDataOffsetAt = 10;
constexpr std::size_t kInfoSizeAt = 14;
constexpr std::size_t kWidthAt = 18;        // i32
constexpr std::size_t kHeightAt = 22;       // i32, negative: top row first
constexpr std::size_t kBitCountAt = 28;     // u16
constexpr std::size_t kCompressionAt = 30;  // u32
constexpr std::size_t kColorsUsedAt = 46;   // u32
constexpr std::size_t kMasksAt = 54;        // red, green, blue masks of BI_BITFIELDS
constexpr std::uint32_t kCoreHeader = 12;   // OS/2 1.x
constexpr std::uint32_t kOs2Header = 64;    // OS/2 2.x
constexpr std::uint32_t kInfoHeader = 40;
constexpr std::uint32_t kKnownHeaders[] = {40, 52, 56, 108, 124};  // INFO, V2, V3, V4, V5
constexpr std::uint32_t kRgb = 0, kRle8 = 1, kBitfields = 3;
constexpr std::size_t kPaletteEntry = 4;  // blue, green, red, reserved
constexpr std::uint32_t kResolution = 100;
}  // namespace BmpLayout

namespace {

struct BmpHeader {
  std::size_t dataOffset = 0;
  std::uint32_t infoSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
};

BmpHeader ReadHeader(ByteReader file) {
  BmpHeader header;
  file.seek(BmpLayout::kDataOffsetAt);
  header.dataOffset = file.u32();
  header.infoSize = file.u32();
  header.width = file.i32();
  std::int64_t height = file.i32();
  header.topDown = height < 0;
  header.height = height < 0 ? -height : height;
  file.seek(BmpLayout::kBitCountAt);
  header.bitCount = file.u16();
  header.compression = file.u32();
  file.seek(BmpLayout::kColorsUsedAt);
  header.colorsUsed = file.u32();
  return header;
}

bool IsKnownInfoHeader(std::uint32_t size) {
  for (std::uint32_t known : BmpLayout::kKnownHeaders) {
    if (size == known) return true;
  }
  return false;
}

// Red, green and blue each in one whole byte, as BI_RGB stores them.
bool HasUsualMasks(ByteReader file) {
  file.seek(BmpLayout::kMasksAt);
  std::uint32_t red = file.u32(), green = file.u32(), blue = file.u32();
  return red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF;
}

// Compressions we decode apart from 32-bit BI_BITFIELDS. An 8-bit file that
// claims BI_BITFIELDS (some editors write that) is read as plain indices:
// masks mean nothing for palette images and its data has the plain size.
bool IsDecodableCompression(const BmpHeader& header) {
  std::uint32_t compression = header.compression;
  if (header.bitCount == 8) {
    return compression == BmpLayout::kRgb || compression == BmpLayout::kRle8 || compression == BmpLayout::kBitfields;
  }
  return compression == BmpLayout::kRgb;
}

// The kind of image, checked against what we decode.
Status CheckKind(const BmpHeader& header, const ByteReader& file, const ImageRequest& request) {
  if (header.infoSize == BmpLayout::kCoreHeader || header.infoSize == BmpLayout::kOs2Header) {
    return UnsupportedImage(request, "an OS/2 BMP");
  }
  if (!IsKnownInfoHeader(header.infoSize)) {
    return DamagedImage(request, "its BMP header size " + std::to_string(header.infoSize) + " is unknown");
  }
  if (!file.has(BmpLayout::kFileHeaderSize + header.infoSize)) return TruncatedImage(request);
  if (request.mode == ImageMode::Indexed && header.bitCount != 8) {
    return Error{"BMPs must be 8bit! - Aborting", request.fileName};
  }
  std::string depth = DepthKind(header.bitCount, "BMP");
  if (header.bitCount != 8 && header.bitCount != 24 && header.bitCount != 32) {
    return UnsupportedImage(request, depth);
  }
  if (header.bitCount == 32 && header.compression == BmpLayout::kBitfields) {
    if (!file.has(BmpLayout::kMasksAt + 12)) return TruncatedImage(request);
    if (!HasUsualMasks(file)) return UnsupportedImage(request, "a 32-bit BMP with unusual colour masks");
  } else if (!IsDecodableCompression(header)) {
    return UnsupportedImage(request, depth + " with compression " + std::to_string(header.compression));
  }
  if (header.compression == BmpLayout::kRle8 && header.topDown) {
    return DamagedImage(request, "it is run-length encoded but stored top row first");
  }
  return CheckImageSize(request, header.width, header.height);
}

Result<Palette> ReadPalette(const BmpHeader& header, const ByteReader& file, const ImageRequest& request) {
  std::size_t count = header.colorsUsed == 0 || header.colorsUsed > 256 ? 256 : header.colorsUsed;
  std::size_t start = BmpLayout::kFileHeaderSize + header.infoSize;
  if (header.infoSize == BmpLayout::kInfoHeader && header.compression == BmpLayout::kBitfields) start += 12;
  std::optional<ByteReader> entries = file.sub(start, count * BmpLayout::kPaletteEntry);
  if (!entries) return TruncatedImage(request);
  Palette palette{};
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t blue = entries->u8(), green = entries->u8(), red = entries->u8();
    entries->skip(1);
    palette[i] = Texel(red, green, blue);
  }
  return palette;
}

// The rows of an uncompressed image, each padded to four bytes. The last
// row's padding may be missing: some writers leave it out.
std::optional<ByteReader> RowData(const BmpHeader& header, const ByteReader& file, std::size_t* stride) {
  auto rowBytes = MultiplySizes(static_cast<std::size_t>(header.width), static_cast<std::size_t>(header.bitCount / 8));
  if (!rowBytes) return std::nullopt;
  *stride = (*rowBytes + 3) / 4 * 4;
  auto allButLast = MultiplySizes(*stride, static_cast<std::size_t>(header.height - 1));
  if (!allButLast) return std::nullopt;
  return file.sub(header.dataOffset, *allButLast + *rowBytes);
}

int ImageRowOf(const BmpHeader& header, std::size_t fileRow) {
  int row = static_cast<int>(fileRow);
  return header.topDown ? row : static_cast<int>(header.height) - 1 - row;
}

void DecodeUncompressed(const BmpHeader& header, const ByteReader& data, std::size_t stride,
                        const Palette& palette, ImageMode mode, SkinSlot& image) {
  std::size_t width = static_cast<std::size_t>(header.width);
  std::size_t bytesPerTexel = static_cast<std::size_t>(header.bitCount / 8);
  for (std::size_t fileRow = 0; fileRow < static_cast<std::size_t>(header.height); ++fileRow) {
    ByteReader row = *data.sub(fileRow * stride, width * bytesPerTexel);
    int y = ImageRowOf(header, fileRow);
    if (header.bitCount == 8) {
      StoreIndexedRow(image, y, row.take(width), palette, mode);
      continue;
    }
    std::uint32_t* out = image.pixels.data() + static_cast<std::size_t>(y) * width;
    for (std::size_t x = 0; x < width; ++x) {
      std::uint8_t blue = row.u8(), green = row.u8(), red = row.u8();
      if (bytesPerTexel == 4) row.skip(1);  // alpha or padding: a BMP texel's X is 0
      out[x] = Texel(red, green, blue);
    }
  }
}

// Every two bytes of RLE8 give at most 255 texels, and writers end every
// row with its own code, so a stream much shorter than its image is cut
// short; small images are let through whatever their stream, since moves
// and an early end may leave most of them blank.
bool Rle8CouldHold(const BmpHeader& header, std::size_t streamBytes) {
  constexpr std::size_t kAlwaysAllowed = std::size_t(1) << 20, kMostTexelsPerByte = 128;
  std::size_t texels = static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height);
  auto most = MultiplySizes(streamBytes, kMostTexelsPerByte);
  return texels <= kAlwaysAllowed || (most && texels <= *most);
}

// RLE8 into bottom-up rows of indices. Escapes: 0 end of line, 1 end of
// image, 2 move right and up, 3..255 that many literal bytes padded to an
// even count. Runs and moves that leave the image are cut at its edge;
// pixels never written keep index 0.
Result<std::vector<std::uint8_t>> DecodeRle8(const BmpHeader& header, const ByteReader& file,
                                             const ImageRequest& request) {
  std::size_t width = static_cast<std::size_t>(header.width);
  std::size_t height = static_cast<std::size_t>(header.height);
  if (header.dataOffset > file.size()) return TruncatedImage(request);
  ByteReader stream = *file.sub(header.dataOffset, file.size() - header.dataOffset);
  if (!Rle8CouldHold(header, stream.size())) return TruncatedImage(request);
  std::vector<std::uint8_t> rows(width * height, 0);
  std::size_t x = 0, y = 0;
  auto put = [&](std::uint8_t index) {
    if (x < width && y < height) rows[y * width + x] = index;
    ++x;
  };
  while (y < height) {
    if (!stream.has(2)) return TruncatedImage(request);
    std::uint8_t count = stream.u8(), value = stream.u8();
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (!stream.has(2)) return TruncatedImage(request);
      x += stream.u8();
      y += stream.u8();
    } else {
      if (!stream.has(value + std::size_t(value & 1))) return TruncatedImage(request);
      for (int i = 0; i < value; ++i) put(stream.u8());
      stream.skip(value & 1);
    }
  }
  return rows;
}

void StoreRunLengthRows(const BmpHeader& header, const std::vector<std::uint8_t>& rows, const Palette& palette,
                       ImageMode mode, SkinSlot& image) {
  std::size_t width = static_cast<std::size_t>(header.width);
  for (std::size_t fileRow = 0; fileRow < static_cast<std::size_t>(header.height); ++fileRow) {
    std::span<const std::uint8_t> indices(rows.data() + fileRow * width, width);
    StoreIndexedRow(image, ImageRowOf(header, fileRow), indices, palette, mode);
  }
}

}  // namespace

bool CanLoadBmp(const ByteReader& file) {
  ByteReader magic = file;
  return magic.u8() == 'B' && magic.u8() == 'M' && !magic.failed();
}

Result<SkinSlot> LoadBmp(const ByteReader& file, const ImageRequest& request) {
  if (!file.has(BmpLayout::kFileHeaderSize + 4)) return TruncatedImage(request);
  BmpHeader header = ReadHeader(file);
  if (Status kind = CheckKind(header, file, request); !kind) return kind.error();
  Palette palette{};
  if (header.bitCount == 8) {
    Result<Palette> read = ReadPalette(header, file, request);
    if (!read) return read.error();
    palette = *read;
  }
  int width = static_cast<int>(header.width), height = static_cast<int>(header.height);
  if (header.compression == BmpLayout::kRle8) {
    Result<std::vector<std::uint8_t>> rows = DecodeRle8(header, file, request);
    if (!rows) return rows.error();
    SkinSlot image = NewImage(width, height, kFormatBmp);
    StoreRunLengthRows(header, *rows, palette, request.mode, image);
    return image;
  }
  std::size_t stride = 0;
  std::optional<ByteReader> data = RowData(header, file, &stride);
  if (!data) return TruncatedImage(request);
  SkinSlot image = NewImage(width, height, kFormatBmp);
  DecodeUncompressed(header, *data, stride, palette, request.mode, image);
  return image;
}

Status WriteBmp(SkinSlot& image, const std::string& path) {
  if (Status writable = CheckWritableImage(image); !writable) return writable;
  std::size_t width = static_cast<std::size_t>(image.width);
  std::size_t height = static_cast<std::size_t>(image.height);
  std::size_t stride = (width * 3 + 3) / 4 * 4;
  std::uint32_t dataOffset = BmpLayout::kFileHeaderSize + BmpLayout::kInfoHeader;
  std::uint32_t fileSize = static_cast<std::uint32_t>(dataOffset + stride * height);

  ByteWriter out;
  out.bytes().reserve(fileSize);
  // File header: magic, file size, reserved, data offset.
  out.text("BM"); out.u32(fileSize); out.u32(0); out.u32(dataOffset);
  // Info header: size, width, height (positive: bottom row first), planes, bits, compression,
  // image size, x and y resolution, colours used, colours important.
  out.u32(BmpLayout::kInfoHeader); out.i32(image.width); out.i32(image.height); out.u16(1); out.u16(24);
  out.u32(BmpLayout::kRgb); out.u32(0); out.u32(BmpLayout::kResolution); out.u32(BmpLayout::kResolution);
  out.u32(0); out.u32(0);
  for (std::size_t y = height; y-- > 0;) {
    for (std::size_t x = 0; x < width; ++x) {
      std::uint32_t texel = image.pixels[y * width + x];
      out.u8(static_cast<std::uint8_t>(texel)); out.u8(static_cast<std::uint8_t>(texel >> 8));
      out.u8(static_cast<std::uint8_t>(texel >> 16));
    }
    out.zeros(stride - width * 3);
  }
  if (Status written = WriteImageBytes(path, out.bytes()); !written) return written;
  image.format = kFormatBmp;
  return Status::Ok();
}

}  // namespace mok
