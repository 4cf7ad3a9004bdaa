#pragma once
// The mapping exchange file (".mkmp"): a mesh's texture coordinates in
// channel units (4096 = the whole skin), flags, type, colour and texture
// channel of every face, so a mapping can be moved onto another mesh with the
// same face order.
//
// Layout, little-endian:
//   0  4  magic "UMAP"
//   4  2  face count (int16)
//   6  28 per face: u0 v0 u1 v1 u2 v2 (float32), flags, type, color, textureNum
//
// The "Error Saving: " and "Error Loading: " messages carry the number of the
// file error's cause as file_io.h numbers them (2 file not found, 3 bad path,
// 4 too many open files, 5 access denied, 6 invalid file, 11 sharing
// violation, 13 disk full, ...).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/dialog_state.h"
#include "core/mesh_document.h"
#include "core/prompter.h"
#include "core/result.h"

namespace mok {

namespace mapping_layout {
inline constexpr char kMagic[4] = {'U', 'M', 'A', 'P'};
inline constexpr std::size_t kHeaderSize = 6;
inline constexpr std::size_t kFaceRecordSize = 28;
}  // namespace mapping_layout

namespace mapping_text {
inline constexpr const char* kFilter = "MOKX Mapping (*.mkmp)|*.mkmp|All Files (*.*)|*.*||";
inline constexpr const char* kInitialName = "*.mkmp";
inline constexpr const char* kExtension = ".mkmp";
inline constexpr const char* kSaveError = "Error Saving: ";
inline constexpr const char* kLoadError = "Error Loading: ";
inline constexpr const char* kBadMagic = "This isn't a valid UMAP file!";
inline constexpr const char* kCountMismatch =
    "This file doesn't have the same triangle count at the current geometry!";
inline constexpr const char* kTruncated = "This UMAP file is shorter than its triangle count needs!";
inline constexpr const char* kBadCoordinate = "This UMAP file holds a texture coordinate that is not a number or lies far outside any skin!";
}  // namespace mapping_text

// The file's bytes for the current mapping. The coordinates pass through
// channel units and back, so the UV table is rebuilt on the way; they are
// written held to kMaxChannelUnits, so an import takes them back.
std::vector<std::uint8_t> BuildMappingFile(MeshDocument& doc);

// Reads a mapping into the document with the chosen options. The whole file is
// checked before anything changes; a refused file leaves the document,
// including its stored mapping, as it was. On success the previous mapping is
// the stored one (Mapping Revert undoes the coordinates). No redraw.
Status ApplyMappingFile(MeshDocument& doc, std::span<const std::uint8_t> bytes, const MkmpImportOptions& options);

// Writes the mapping file; the message on failure carries the cause number.
Status ExportMappingTo(MeshDocument& doc, const std::string& path);
// Reads and applies a mapping file.
Status ImportMappingFrom(MeshDocument& doc, const std::string& path, const MkmpImportOptions& options);

}  // namespace mok
