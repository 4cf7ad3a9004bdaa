// Truevision TGA: true colour of 15/16, 24 or 32 bits, uncompressed (type 2)
// or run-length encoded (type 10), in; 32-bit uncompressed top-left out.

#include <algorithm>

#include "core/byte_writer.h"
#include "image/image_formats.h"

namespace mok {
namespace TgaLayout {
// id length, colour-map type, image type, colour-map first index (u16), length (u16), entry bits,
// x origin (u16), y origin (u16), width (u16), height (u16), pixel depth, descriptor.
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kColorMapLengthAt = 5;
constexpr std::size_t kWidthAt = 12;
constexpr std::uint8_t kColorMapped = 1, kTrueColor = 2, kGrey = 3;
constexpr std::uint8_t kRunLength = 8;  // added to the image type
constexpr std::uint8_t kRightToLeft = 0x10, kTopFirst = 0x20, kInterleave = 0xC0;  // descriptor bits
constexpr std::uint8_t kRunPacket = 0x80;  // packet header: run of (header - 127) copies, else header + 1 literals
constexpr std::size_t kMaxPacketTexels = 128;
}  // namespace TgaLayout

namespace {

struct TgaHeader {
  std::size_t idLength = 0;
  std::uint8_t colorMapType = 0;
  std::uint8_t imageType = 0;
  std::size_t colorMapLength = 0;
  std::size_t colorMapEntryBits = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  int depth = 0;
  std::uint8_t descriptor = 0;
};

TgaHeader ReadHeader(ByteReader file) {
  TgaHeader header;
  header.idLength = file.u8();
  header.colorMapType = file.u8();
  header.imageType = file.u8();
  file.seek(TgaLayout::kColorMapLengthAt);
  header.colorMapLength = file.u16();
  header.colorMapEntryBits = file.u8();
  file.seek(TgaLayout::kWidthAt);
  header.width = file.u16();
  header.height = file.u16();
  header.depth = file.u8();
  header.descriptor = file.u8();
  return header;
}

Status CheckHeader(const TgaHeader& header, const ImageRequest& request) {
  std::uint8_t baseType = header.imageType & ~TgaLayout::kRunLength;
  if (baseType == TgaLayout::kColorMapped) return UnsupportedImage(request, "a colour-mapped TGA");
  if (baseType == TgaLayout::kGrey) return UnsupportedImage(request, "a greyscale TGA");
  bool knownDepth = header.depth == 15 || header.depth == 16 || header.depth == 24 || header.depth == 32;
  if (!knownDepth || request.mode == ImageMode::Indexed) {
    return UnsupportedImage(request, DepthKind(header.depth, "TGA"));
  }
  return CheckImageSize(request, header.width, header.height);
}

std::size_t BytesPerTexel(int depth) { return static_cast<std::size_t>(depth + 7) / 8; }

// One texel in the file's layout: 15/16-bit words hold 5 bits each of blue
// (bits 0-4), green and red, shifted up by 3; bit 15 is not alpha for us.
// 32-bit texels keep their alpha byte as X.
std::uint32_t ReadTexel(ByteReader& data, std::size_t bytesPerTexel) {
  if (bytesPerTexel == 2) {
    std::uint16_t word = data.u16();
    auto channel = [word](int shift) { return static_cast<std::uint8_t>(((word >> shift) & 31) << 3); };
    return Texel(channel(10), channel(5), channel(0));
  }
  std::uint8_t blue = data.u8(), green = data.u8(), red = data.u8();
  std::uint8_t alpha = bytesPerTexel == 4 ? data.u8() : 0;
  return Texel(red, green, blue, alpha);
}

// Refuses, before anything is allocated, an image with more texels than
// the rest of the file could hold.
Status CheckDataSize(const TgaHeader& header, const ByteReader& data, const ImageRequest& request) {
  std::size_t texels = static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height);
  std::size_t bytesPerTexel = BytesPerTexel(header.depth);
  bool runLength = (header.imageType & TgaLayout::kRunLength) != 0;
  std::size_t packets = data.remaining() / (1 + bytesPerTexel) + 1;
  auto mostTexels = runLength ? MultiplySizes(packets, TgaLayout::kMaxPacketTexels)
                              : std::optional<std::size_t>(data.remaining() / bytesPerTexel);
  if (!mostTexels || texels > *mostTexels) return TruncatedImage(request);
  return Status::Ok();
}

void DecodeUncompressed(ByteReader& data, std::size_t bytesPerTexel, std::span<std::uint32_t> texels) {
  for (std::uint32_t& texel : texels) texel = ReadTexel(data, bytesPerTexel);
}

// Packets run over row ends. A packet reaching past the last texel is cut
// there; a stream that ends before the last texel is refused.
Status DecodeRunLength(ByteReader& data, std::size_t bytesPerTexel, const ImageRequest& request,
                       std::span<std::uint32_t> texels) {
  std::size_t done = 0;
  while (done < texels.size()) {
    if (!data.has(1)) return TruncatedImage(request);
    std::uint8_t packet = data.u8();
    bool run = (packet & TgaLayout::kRunPacket) != 0;
    std::size_t count = std::min<std::size_t>((packet & 0x7F) + 1, texels.size() - done);
    std::size_t literalCount = run ? 1 : (packet & 0x7F) + 1;
    if (!data.has(literalCount * bytesPerTexel)) return TruncatedImage(request);
    if (run) {
      std::fill_n(texels.begin() + static_cast<std::ptrdiff_t>(done), count, ReadTexel(data, bytesPerTexel));
    } else {
      for (std::size_t i = 0; i < count; ++i) texels[done + i] = ReadTexel(data, bytesPerTexel);
    }
    done += count;
  }
  return Status::Ok();
}

// Texels were stored in file order; turn them top row first, left to right.
void Orient(SkinSlot& image, std::uint8_t descriptor) {
  std::size_t width = static_cast<std::size_t>(image.width);
  auto row = [&](std::size_t y) { return image.pixels.begin() + static_cast<std::ptrdiff_t>(y * width); };
  if (!(descriptor & TgaLayout::kTopFirst)) {
    for (std::size_t top = 0, bottom = static_cast<std::size_t>(image.height) - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(row(top), row(top) + static_cast<std::ptrdiff_t>(width), row(bottom));
    }
  }
  if (descriptor & TgaLayout::kRightToLeft) {
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
      std::reverse(row(y), row(y) + static_cast<std::ptrdiff_t>(width));
    }
  }
}

}  // namespace

bool CanLoadTga(const ByteReader& file) {
  // TGA has no magic: accept only headers whose fixed fields make sense.
  if (!file.has(TgaLayout::kHeaderSize)) return false;
  TgaHeader header = ReadHeader(file);
  std::uint8_t baseType = header.imageType & ~TgaLayout::kRunLength;
  bool knownType = baseType >= TgaLayout::kColorMapped && baseType <= TgaLayout::kGrey && header.imageType <= 11;
  return header.colorMapType <= 1 && knownType && (header.descriptor & TgaLayout::kInterleave) == 0;
}

Result<SkinSlot> LoadTga(const ByteReader& file, const ImageRequest& request) {
  TgaHeader header = ReadHeader(file);
  if (Status valid = CheckHeader(header, request); !valid) return valid.error();
  ByteReader data = file;
  data.seek(TgaLayout::kHeaderSize);
  data.skip(header.idLength);
  if (header.colorMapType != 0) data.skip(header.colorMapLength * ((header.colorMapEntryBits + 7) / 8));
  if (data.failed()) return TruncatedImage(request);
  if (Status enough = CheckDataSize(header, data, request); !enough) return enough.error();

  SkinSlot image = NewImage(static_cast<int>(header.width), static_cast<int>(header.height), kFormatTga);
  std::size_t bytesPerTexel = BytesPerTexel(header.depth);
  if (header.imageType & TgaLayout::kRunLength) {
    if (Status decoded = DecodeRunLength(data, bytesPerTexel, request, image.pixels); !decoded) return decoded.error();
  } else {
    DecodeUncompressed(data, bytesPerTexel, image.pixels);
  }
  Orient(image, header.descriptor);
  return image;
}

Status WriteTga(SkinSlot& image, const std::string& path) {
  if (Status writable = CheckWritableImage(image); !writable) return writable;
  std::size_t texels = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
  ByteWriter out;
  out.bytes().reserve(TgaLayout::kHeaderSize + texels * 4);
  // No id, no colour map, type 2, five zero colour-map bytes, origin 0,0, size, 32 bits, top-left.
  out.u8(0); out.u8(0); out.u8(TgaLayout::kTrueColor); out.zeros(5); out.u16(0); out.u16(0);
  out.u16(static_cast<std::uint16_t>(image.width)); out.u16(static_cast<std::uint16_t>(image.height));
  out.u8(32); out.u8(TgaLayout::kTopFirst);
  for (std::size_t i = 0; i < texels; ++i) out.u32(image.pixels[i]);
  if (Status written = WriteImageBytes(path, out.bytes()); !written) return written;
  image.format = kFormatTga;
  return Status::Ok();
}

}  // namespace mok
