#include "image/image_codecs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/file_io.h"
#include "core/mesh_names.h"
#include "image/image_formats.h"

namespace mok {
namespace {

// Large enough for the largest image we accept (32767 x 2048 texels of four
// bytes) plus headers and trailing data; anything bigger is not a skin.
constexpr std::uint64_t kMaxImageFileBytes = std::uint64_t(512) << 20;

std::string AbsolutePathOf(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

Result<SkinSlot> DecodeByContent(std::span<const std::uint8_t> file, const ImageRequest& request) {
  ByteReader reader(file);
  if (CanLoadPcx(reader)) return LoadPcx(reader, request);
  if (CanLoadBmp(reader)) return LoadBmp(reader, request);
  if (CanLoadTga(reader)) return LoadTga(reader, request);
  return Error{request.fileName + " is not a PCX, BMP or TGA image", request.fileName};
}

}  // namespace

Error UnsupportedImage(const ImageRequest& request, const std::string& what) {
  const char* supported = request.mode == ImageMode::Indexed
                              ? "phong maps must be 8-bit PCX or 8-bit BMP"
                              : "skins must be 8-bit or 24-bit PCX, 8/24/32-bit BMP or 16/24/32-bit TGA";
  return Error{request.fileName + " is " + what + "; " + supported, request.fileName};
}

std::string DepthKind(int bits, const std::string& format) {
  std::string number = std::to_string(bits);
  bool vowelSound = number[0] == '8' || bits == 11 || bits == 18;
  return (vowelSound ? "an " : "a ") + number + "-bit " + format;
}

Error TruncatedImage(const ImageRequest& request) {
  return Error{request.fileName + " is truncated: its image data end early", request.fileName};
}

Error DamagedImage(const ImageRequest& request, const std::string& why) {
  return Error{request.fileName + " is damaged: " + why, request.fileName};
}

Status CheckImageSize(const ImageRequest& request, std::int64_t width, std::int64_t height) {
  std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (width < 1 || height < 1) return DamagedImage(request, "its size is " + size);
  if (width > kMaxImageWidth || height > kMaxSkinRows) {
    return Error{request.fileName + " is " + size + " texels; images may be at most " +
                     std::to_string(kMaxImageWidth) + " texels wide and " +
                     std::to_string(kMaxSkinRows) + " rows high",
                 request.fileName};
  }
  return Status::Ok();
}

std::optional<std::size_t> MultiplySizes(std::size_t a, std::size_t b) {
  std::size_t product;
  if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}

SkinSlot NewImage(int width, int height, SkinFormat format) {
  SkinSlot image;
  AllocateSkin(image, width, height);
  image.format = format;
  return image;
}

void StoreIndexedRow(SkinSlot& image, int y, std::span<const std::uint8_t> indices,
                     const Palette& palette, ImageMode mode) {
  std::size_t width = static_cast<std::size_t>(image.width);
  std::size_t start = static_cast<std::size_t>(y) * width;
  if (mode == ImageMode::Indexed) {
    std::copy_n(indices.begin(), width, image.indexed() + start);
    return;
  }
  for (std::size_t x = 0; x < width; ++x) image.pixels[start + x] = palette[indices[x]];
}

Status WriteImageBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  FileErrorCause cause = WriteFileAtomically(path, bytes);
  if (cause == FileErrorCause::None) return Status::Ok();
  return Error{"Error Saving: " + std::to_string(static_cast<int>(cause)), path};
}

Status CheckWritableImage(const SkinSlot& image) {
  std::size_t texels = static_cast<std::size_t>(std::max<int>(image.width, 0)) *
                       static_cast<std::size_t>(std::max<int>(image.height, 0));
  if (texels == 0 || image.pixels.size() < texels) return Error{"No skin to save!", image.name};
  return Status::Ok();
}

Result<SkinSlot> DecodeImage(std::span<const std::uint8_t> file, const std::string& path,
                             ImageMode mode) {
  Result<SkinSlot> image = DecodeByContent(file, ImageRequest{FileNamePart(path), mode});
  if (!image) return image;
  image->name = path;
  image->filePath = AbsolutePathOf(path);
  image->hasFile = 1;
  image->isEmpty = 0;
  image->storedPixels = image->pixels;
  return image;
}

Result<SkinSlot> LoadImageFile(const std::string& path, ImageMode mode) {
  FileReadResult read = ReadWholeFile(path, kMaxImageFileBytes);
  if (!read.ok()) return Error{"Unable to open " + FileNamePart(path), path};
  return DecodeImage(read.bytes, path, mode);
}

Status ConvertImageFile(const std::string& in, const std::string& out) {
  // The input first: when it is no image, that is the reason to give.
  Result<SkinSlot> image = LoadImageFile(in, ImageMode::TrueColor);
  if (!image) return image.error();
  bool toBmp = EndsWithNoCase(out, ".bmp");
  if (!toBmp && !EndsWithNoCase(out, ".tga")) {
    return Error{"Cannot write " + FileNamePart(out) + ": the name must end in .bmp or .tga", out};
  }
  return toBmp ? WriteBmp(*image, out) : WriteTga(*image, out);
}

}  // namespace mok
