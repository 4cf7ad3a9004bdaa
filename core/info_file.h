#pragma once
// The companion info file XXX_k.3d: five descriptive strings and the texture
// coordinates of every face as floats in channel units (4096 = whole skin),
// so a mapping survives a save with full precision.
//
// Layout (little-endian): "K3DF", author 550, contact 550, date 300,
// comments 4100, credits 2100 (characters, then zero bytes to the field's
// end), int16 face count, then per face u0 v0 u1 v1 u2 v2 as 32-bit floats.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/mesh_document.h"
#include "core/prompter.h"
#include "core/result.h"

namespace mok {

inline constexpr const char* kInfoInvalidMessage = "XXX_k.3d does not appear to be valid!";
inline constexpr const char* kInfoCountQuestion =
    "The triangle count of this XXX_k.3d file does not match the XXX_d.3d files...keep file info?";

using FaceCoordinates = std::array<UvPair, 3>;

struct InfoFileData {
  FileInfo info;
  std::int16_t faceCount = 0;
  std::vector<FaceCoordinates> coordinates;  // faceCount entries, channel units
};

struct ParsedInfoFile {
  bool hasMagic = false;  // false: not an info file, nothing in it is used
  InfoFileData data;
};

// Reads an info file. A file without the magic (also one too short to hold
// it) parses with hasMagic false; a file that has the magic but ends early,
// announces a negative face count or holds a coordinate that is not finite
// or beyond kMaxChannelUnits is refused.
Result<ParsedInfoFile> ParseInfoFile(std::span<const std::uint8_t> bytes);

// What a load takes from an info file.
struct InfoFileUse {
  bool strings = false;
  bool coordinates = false;
};

// Decides what a mesh of triangleCount faces takes from a parsed info file:
// with equal counts everything; otherwise the user is asked whether to keep
// the strings.
InfoFileUse DecideInfoFileUse(const ParsedInfoFile& parsed, int triangleCount, Prompter& prompter);

// Applies the chosen parts to a loaded document whose coordinates are in
// texels: the strings become fileInfo, the coordinates replace every face's uv.
void ApplyInfoFile(MeshDocument& doc, const InfoFileData& data, const InfoFileUse& use);

// The bytes of an info file for the strings and per-face coordinates given in
// channel units.
std::vector<std::uint8_t> WriteInfoFile(const FileInfo& info, std::span<const FaceCoordinates> coordinates);

}  // namespace mok
