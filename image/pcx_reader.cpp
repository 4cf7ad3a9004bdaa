// ZSoft PCX reader: one 8-bit plane with a 256-colour palette, or three
// 8-bit planes (red, green, blue) of true colour. PCX is never written.

#include <optional>
#include <vector>

#include "image/image_formats.h"

namespace mok {
namespace PcxLayout {
constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kManufacturer = 10;
constexpr std::uint8_t kPaletteVersion = 5;  // 3.0: may carry a 256-colour palette
constexpr std::uint8_t kRunLengthEncoding = 1;
constexpr std::size_t kEncodingAt = 2;
constexpr std::size_t kBitsPerPixelAt = 3;
constexpr std::size_t kWindowAt = 4;  // Xmin, Ymin, Xmax, Ymax: signed 16-bit
constexpr std::size_t kPlanesAt = 65;
constexpr std::size_t kBytesPerLineAt = 66;
constexpr std::size_t kPaletteBytes = 768;  // the last bytes of the file; the
                                            // 0x0C marker before it is optional
constexpr std::uint8_t kRunFlag = 0xC0;     // byte >= 192: run of (byte - 192)
constexpr std::size_t kMaxRunLength = 63;
}  // namespace PcxLayout

namespace {

struct PcxHeader {
  int encoding = 0;
  int bitsPerPixel = 0;
  int planes = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::size_t bytesPerLine = 0;
};

PcxHeader ReadHeader(ByteReader file) {
  PcxHeader header;
  file.seek(PcxLayout::kEncodingAt);
  header.encoding = file.u8();
  header.bitsPerPixel = file.u8();
  file.seek(PcxLayout::kWindowAt);
  std::int64_t xMin = file.i16(), yMin = file.i16(), xMax = file.i16(), yMax = file.i16();
  header.width = xMax - xMin + 1;
  header.height = yMax - yMin + 1;
  file.seek(PcxLayout::kPlanesAt);
  header.planes = file.u8();
  file.seek(PcxLayout::kBytesPerLineAt);
  header.bytesPerLine = file.u16();
  return header;
}

Status CheckHeader(const PcxHeader& header, const ImageRequest& request) {
  if (header.encoding == 0) return UnsupportedImage(request, "an uncompressed PCX");
  if (header.encoding != PcxLayout::kRunLengthEncoding) {
    return DamagedImage(request, "its PCX encoding " + std::to_string(header.encoding) + " is unknown");
  }
  int bits = header.bitsPerPixel * header.planes;
  bool paletted = header.bitsPerPixel == 8 && header.planes == 1;
  bool trueColor = header.bitsPerPixel == 8 && header.planes == 3;
  if (!trueColor && !paletted) return UnsupportedImage(request, DepthKind(bits, "PCX"));
  if (trueColor && request.mode == ImageMode::Indexed) return UnsupportedImage(request, DepthKind(bits, "PCX"));
  if (Status size = CheckImageSize(request, header.width, header.height); !size) return size;
  if (header.bytesPerLine < static_cast<std::size_t>(header.width)) {
    return DamagedImage(request, "its lines are shorter than its width");
  }
  return Status::Ok();
}

Palette ReadPalette(ByteReader file) {
  Palette palette{};
  file.seek(file.size() - PcxLayout::kPaletteBytes);
  for (std::uint32_t& entry : palette) {
    std::uint8_t red = file.u8(), green = file.u8(), blue = file.u8();
    entry = Texel(red, green, blue);
  }
  return palette;
}

// Hands out the decoded bytes of the run-length stream one at a time. Runs
// may cross line ends; a run that reaches past the last line is simply not
// asked for any further.
class RunLengthStream {
 public:
  explicit RunLengthStream(ByteReader stream) : stream_(stream) {}

  // False when the stream ends before the byte is complete.
  bool next(std::uint8_t& out) {
    while (runLeft_ == 0) {
      if (!stream_.has(1)) return false;
      std::uint8_t code = stream_.u8();
      if (code < PcxLayout::kRunFlag) {
        out = code;
        return true;
      }
      if (!stream_.has(1)) return false;
      runLeft_ = code - PcxLayout::kRunFlag;  // a count of 0 writes nothing
      runValue_ = stream_.u8();
    }
    --runLeft_;
    out = runValue_;
    return true;
  }

  bool exhausted() const { return stream_.remaining() == 0; }

  bool fill(std::span<std::uint8_t> line) {
    for (std::uint8_t& byte : line) {
      if (!next(byte)) return false;
    }
    return true;
  }

 private:
  ByteReader stream_;
  std::size_t runLeft_ = 0;
  std::uint8_t runValue_ = 0;
};

Palette GreyLevels() {
  Palette palette{};
  for (std::size_t i = 0; i < palette.size(); ++i) {
    std::uint8_t level = static_cast<std::uint8_t>(i);
    palette[i] = Texel(level, level, level);
  }
  return palette;
}

void StoreTrueColorRow(SkinSlot& image, int y, std::span<const std::uint8_t> line,
                       std::size_t bytesPerLine) {
  std::size_t width = static_cast<std::size_t>(image.width);
  std::uint32_t* row = image.pixels.data() + static_cast<std::size_t>(y) * width;
  for (std::size_t x = 0; x < width; ++x) {
    row[x] = Texel(line[x], line[bytesPerLine + x], line[2 * bytesPerLine + x]);
  }
}

enum class DataUse { Prefix, ToTheEnd };

// The image from its run-length data, or nothing when the data end before
// the last line or could not possibly fill it (checked before allocating:
// two stream bytes decode to at most one full run). With ToTheEnd, data
// left over behind the last line also give nothing.
std::optional<SkinSlot> DecodeLines(const PcxHeader& header, const ByteReader& data, const Palette& palette,
                                    ImageMode mode, DataUse use = DataUse::Prefix) {
  std::size_t lineBytes = header.bytesPerLine * static_cast<std::size_t>(header.planes);
  auto decodedBytes = MultiplySizes(lineBytes, static_cast<std::size_t>(header.height));
  std::size_t mostDecodable = data.size() / 2 * PcxLayout::kMaxRunLength + data.size() % 2;
  if (!decodedBytes || *decodedBytes > mostDecodable) return std::nullopt;

  int width = static_cast<int>(header.width), height = static_cast<int>(header.height);
  SkinSlot image = NewImage(width, height, kFormatPcx);
  RunLengthStream stream(data);
  std::vector<std::uint8_t> line(lineBytes);
  for (int y = 0; y < height; ++y) {
    if (!stream.fill(line)) return std::nullopt;
    if (header.planes == 1) {
      StoreIndexedRow(image, y, line, palette, mode);
    } else {
      StoreTrueColorRow(image, y, line, header.bytesPerLine);
    }
  }
  if (use == DataUse::ToTheEnd && !stream.exhausted()) return std::nullopt;
  return image;
}

}  // namespace

bool CanLoadPcx(const ByteReader& file) {
  // Versions 2 to 4 only count with the run-length encoding byte, since a TGA
  // may also start with 10 and a small number.
  ByteReader head = file;
  std::uint8_t manufacturer = head.u8(), version = head.u8(), encoding = head.u8();
  if (head.failed() || manufacturer != PcxLayout::kManufacturer) return false;
  if (version == PcxLayout::kPaletteVersion) return true;
  return version >= 2 && version <= 4 && encoding == PcxLayout::kRunLengthEncoding;
}

Result<SkinSlot> LoadPcx(const ByteReader& file, const ImageRequest& request) {
  if (!file.has(PcxLayout::kHeaderSize)) return TruncatedImage(request);
  PcxHeader header = ReadHeader(file);
  if (Status valid = CheckHeader(header, request); !valid) return valid.error();
  std::size_t dataBytes = file.size() - PcxLayout::kHeaderSize;
  ByteReader wholeData = *file.sub(PcxLayout::kHeaderSize, dataBytes);
  if (header.planes == 3) {
    if (auto image = DecodeLines(header, wholeData, Palette{}, request.mode)) return std::move(*image);
    return TruncatedImage(request);
  }
  if (dataBytes >= PcxLayout::kPaletteBytes) {
    ByteReader data = *file.sub(PcxLayout::kHeaderSize, dataBytes - PcxLayout::kPaletteBytes);
    if (auto image = DecodeLines(header, data, ReadPalette(file), request.mode)) return std::move(*image);
  }
  // Run-length data that fill the file up to its very end leave no room for
  // a palette: such a file is grey levels, as other readers show it.
  if (auto grey = DecodeLines(header, wholeData, GreyLevels(), request.mode, DataUse::ToTheEnd)) {
    return std::move(*grey);
  }
  return TruncatedImage(request);
}

}  // namespace mok
