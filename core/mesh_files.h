#pragma once
// Loading and saving the Unreal raw mesh pair XXX_d.3d / XXX_a.3d together
// with the program's own XXX_k.3d (see info_file.h).
//
// Geometry file (little-endian): uint16 face count, uint16 vertex count, 44
// reserved bytes (written as zeros), then 16 bytes per face: 3 x uint16
// vertex index, type, colour, u0 v0 u1 v1 u2 v2 (bytes, 256 = whole skin),
// texture number, flags.
// Animation file: uint16 frame count, uint16 frame size in bytes, then the
// frame blocks. A frame size of exactly 8 x vertex count holds the Deus Ex
// layout (four int16 per vertex); any other holds packed 32-bit vertices, of
// which the first vertex-count words are used (see packed_vertex.h).
//
// A load checks every file completely before the document changes: a refused
// file leaves the document as it was. Data that is inconsistent but can be
// held (a last frame cut short, faces using vertices beyond the vertex count)
// loads, and the report says once what was wrong. Neither function redraws;
// callers end with a mesh change notice (changes.h).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/mesh_document.h"
#include "core/prompter.h"
#include "core/result.h"

namespace mok {

inline constexpr const char* kGeometryLoadError = "There was an error loading the Geometry data!";
inline constexpr const char* kAnimationLoadError = "There was an error loading the Animation data!";
inline constexpr const char* kGeometrySaveError = "There was an error saving the Geometry data!";
inline constexpr const char* kAnimationSaveError = "There was an error saving the Animation data!";
inline constexpr const char* kInfoSaveWarning = "Unable to save the XXX_k.3d file...not fatal, but not good :)";

inline constexpr const char* kGeometryShortMessage =
    "The Geometry data is shorter than its triangle count announces!";
inline constexpr const char* kTooManyTrianglesMessage =
    "The Geometry data has more than 4096 triangles, more than this program can hold!";
inline constexpr const char* kTooManyVerticesMessage =
    "The Geometry data has more than 4096 vertices, more than this program can hold!";
inline constexpr const char* kVertexIndexMessage =
    "The Geometry data uses a vertex index of 4096 or more!";
inline constexpr const char* kFrameSizeMessage =
    "The Animation data's frame size is smaller than 4 bytes per vertex!";
inline constexpr const char* kAnimationShortMessage =
    "The Animation data is shorter than its frame count announces!";
inline constexpr const char* kAnimationTooLargeMessage =
    "The Animation data has more frames than this program can hold in memory!";
inline constexpr const char* kNotRegularFileMessage = "This is not a regular file and cannot be read as a mesh!";
inline constexpr const char* kInfoNotRegularWarning = "XXX_k.3d is not a regular file and was not read.";
inline constexpr const char* kStaleInfoRemovedWarning =
    "The old XXX_k.3d was removed: its coordinates would no longer match the saved mesh.";
inline constexpr const char* kInterruptedSaveFinishedWarning =
    "The last save of this mesh was cut off between its files; it was completed before loading.";
inline constexpr const char* kStaleInfoStuckMessage =
    "The XXX_k.3d file can be neither written nor removed; nothing was saved.";

// The most frames the animation file's 16-bit count can announce.
inline constexpr std::size_t kMaxAnimationFrames = 65535;

// The most memory the positions of all frames of one mesh may take.
inline constexpr std::size_t kMaxAnimationBytes = std::size_t{256} << 20;

struct MeshFileReport {
  // What was wrong but could be held, or changed on saving; each said once.
  std::vector<std::string> warnings;
};

// The contents of a mesh's files; no info file when it is absent.
struct MeshFileBytes {
  std::span<const std::uint8_t> geometry;
  std::span<const std::uint8_t> animation;
  std::optional<std::span<const std::uint8_t>> info;
};

// Loads the mesh named by name (any of the accepted names), first completing
// a save of it that was killed between replacing its files (with a
// warning; see FinishInterruptedCommit). The prompter is
// asked only whether to keep the strings of an info file whose face count
// differs. On success meshLoaded is 1. A geometry or animation name that is
// not a regular file (a FIFO, a device) is refused before it is opened; such
// an info file is left out with a warning.
Result<MeshFileReport> LoadMesh(MeshDocument& doc, const std::string& name, Prompter& prompter);

// LoadMesh on file contents already in memory.
Result<MeshFileReport> LoadMeshFromBytes(MeshDocument& doc, const MeshFileBytes& files, Prompter& prompter);

// The bytes SaveMesh writes, with its warnings about clamped values.
struct MeshFileContents {
  std::vector<std::uint8_t> geometry;
  std::vector<std::uint8_t> animation;
  std::vector<std::uint8_t> info;
  std::vector<std::string> warnings;
};

// The three files of the document in memory; refused only when it has more
// frames than the animation file can count.
Result<MeshFileContents> BuildMeshFiles(const MeshDocument& doc);

// Writes the three files of the mesh named by name. They replace the old
// files only when the geometry and animation files were both written, under
// a commit journal, so a save killed between the renames is completed by
// the next LoadMesh. When
// the info file alone cannot be written, the save goes on without it (with a
// warning) and an old info file of that name is removed first, so it cannot
// override the new mapping on the next load; if it cannot be removed, nothing
// is saved. Texture coordinates beyond kMaxChannelUnits are written clamped
// (with a warning). writer puts the bytes into the files (tests inject
// failures through it).
Result<MeshFileReport> SaveMesh(const MeshDocument& doc, const std::string& name,
                                const FileWriter& writer = WriteAllBytes);

}  // namespace mok
