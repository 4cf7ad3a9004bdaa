#pragma once
// Skin, phong-map and environment-map images: PCX, BMP and TGA in; 24-bit
// BMP and 32-bit TGA out.
//
//   Result<SkinSlot> skin = LoadImageFile("skins/body.pcx", ImageMode::TrueColor);
//   if (!skin) prompter.Message(skin.error().message);
//   Status saved = WriteTga(*skin, "skins/body.tga");
//
// Output contract of every reader (the SkinSlot it returns):
// - true colour: one 32-bit texel per pixel, 0x00RRGGBB (bytes blue, green,
//   red, X in memory). X is 0, except for 32-bit TGA files, where it holds
//   the file's alpha byte. Palettes are resolved.
// - indexed mode (phong maps): the first width*height bytes of `pixels` hold
//   the raw 8-bit palette index of each texel; the palette is thrown away.
//   Only 8-bit PCX and 8-bit BMP files have indices; other files are refused.
// - rows top row first, no padding, whatever the file's row order; TGA rows
//   stored right to left are mirrored.
// - 1..kMaxImageWidth texels wide and 1..kMaxSkinRows rows high; larger or
//   empty images are refused, never cut.
// - both buffers hold width*height 32-bit words and are equal; rowOffsets is
//   filled; format is kFormatPcx, kFormatBmp or kFormatTga; name is the path
//   as given, filePath the absolute path, hasFile 1, isEmpty 0.
// - the format is found from the file's first bytes, never from its name.
// - a file that is truncated, damaged or of a kind not supported yields an
//   Error whose message names the file and says why; no half-built image is
//   ever returned.
//
// Supported: PCX of one 8-bit plane (palette = the last 768 bytes, with or
// without the 0x0C marker before it; grey levels when the run-length data
// fill the file to its end) and of three 8-bit planes (24-bit);
// BMP of 8 bits (uncompressed or RLE8, short palettes), 24 and 32 bits
// (BI_RGB, or BI_BITFIELDS with the usual masks), bottom-up or top-down,
// with 40/52/56/108/124-byte info headers; TGA of image type 2 or 10 with
// 15/16, 24 or 32 bits, either origin.
//
// Writers go through a temporary file, so a failed write leaves whatever was
// at the target untouched. A failure is "Error Saving: " and the numeric
// cause of file_io.h.

#include <cstdint>
#include <span>
#include <string>

#include "core/result.h"
#include "core/skin_slot.h"

namespace mok {

inline constexpr int kMaxImageWidth = 32767;  // width is a signed 16-bit field

enum class ImageMode {
  TrueColor,  // skins and environment maps
  Indexed,    // phong maps: raw 8-bit values
};

// Reads and decodes an image file. An unreadable file gives an Error
// "Unable to open <file>"; callers that report such failures in their own
// words (Reload) or stay silent (folder scans) may ignore the text.
Result<SkinSlot> LoadImageFile(const std::string& path, ImageMode mode);

// Decodes file bytes already in memory; path is only used for names.
Result<SkinSlot> DecodeImage(std::span<const std::uint8_t> file, const std::string& path,
                             ImageMode mode);

// 24-bit bottom-up BMP, 100 pixels per metre, no palette; sets format BMP.
Status WriteBmp(SkinSlot& image, const std::string& path);

// 32-bit uncompressed top-left TGA with X as alpha; sets format TGA.
Status WriteTga(SkinSlot& image, const std::string& path);

// Reads any supported image and writes it as 24-bit BMP or 32-bit TGA,
// chosen by the ending of out (".bmp" or ".tga", any case).
Status ConvertImageFile(const std::string& in, const std::string& out);

}  // namespace mok
