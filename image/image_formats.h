#pragma once
// The per-format readers behind DecodeImage and the pieces they share:
// refusal messages, size limits, checked size arithmetic and palette
// lookup. Only the image codecs and their tests include this.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/byte_reader.h"
#include "core/result.h"
#include "core/skin_slot.h"
#include "image/image_codecs.h"

namespace mok {

// What a reader needs besides the bytes: the file name (no folder) for its
// messages and the decoding mode.
struct ImageRequest {
  std::string fileName;
  ImageMode mode = ImageMode::TrueColor;
};

// "<file> is <what>; skins must be ..." (or the phong-map list in indexed
// mode). what carries its article: "a 4-bit PCX", "an OS/2 BMP".
Error UnsupportedImage(const ImageRequest& request, const std::string& what);
// "a 4-bit PCX", "an 8-bit BMP": the kind of file named by its bit depth.
std::string DepthKind(int bits, const std::string& format);
// "<file> is truncated: its image data end early"
Error TruncatedImage(const ImageRequest& request);
// "<file> is damaged: <why>"
Error DamagedImage(const ImageRequest& request, const std::string& why);

// Refuses sizes outside 1..kMaxImageWidth by 1..kMaxSkinRows.
Status CheckImageSize(const ImageRequest& request, std::int64_t width, std::int64_t height);

// a * b, or nothing when the product does not fit.
std::optional<std::size_t> MultiplySizes(std::size_t a, std::size_t b);

constexpr std::uint32_t Texel(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                              std::uint8_t x = 0) {
  return std::uint32_t(x) << 24 | std::uint32_t(red) << 16 | std::uint32_t(green) << 8 | blue;
}

// Texel colours of palette indices; entries a file does not supply are black.
using Palette = std::array<std::uint32_t, 256>;

// A fresh image of the given (already checked) size, both buffers zeroed
// and its row table built.
SkinSlot NewImage(int width, int height, SkinFormat format);

// Stores one row of palette indices: the raw bytes in indexed mode, their
// palette colours otherwise. indices holds at least width bytes.
void StoreIndexedRow(SkinSlot& image, int y, std::span<const std::uint8_t> indices,
                     const Palette& palette, ImageMode mode);

bool CanLoadPcx(const ByteReader& file);
Result<SkinSlot> LoadPcx(const ByteReader& file, const ImageRequest& request);

bool CanLoadBmp(const ByteReader& file);
Result<SkinSlot> LoadBmp(const ByteReader& file, const ImageRequest& request);

bool CanLoadTga(const ByteReader& file);
Result<SkinSlot> LoadTga(const ByteReader& file, const ImageRequest& request);

// Writes encoded bytes through a temporary file; "Error Saving: <cause>".
Status WriteImageBytes(const std::string& path, std::span<const std::uint8_t> bytes);

// Refuses to write an image whose buffer does not match its size.
Status CheckWritableImage(const SkinSlot& image);

}  // namespace mok
