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

#include <string>
#include <vector>

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

// The most memory the positions of all frames of one mesh may take.
inline constexpr std::size_t kMaxAnimationBytes = std::size_t{256} << 20;

struct MeshFileReport {
  // What was wrong but could be held, or changed on saving; each said once.
  std::vector<std::string> warnings;
};

// Loads the mesh named by name (any of the accepted names). The prompter is
// asked only whether to keep the strings of an info file whose face count
// differs. On success meshLoaded is 1.
Result<MeshFileReport> LoadMesh(MeshDocument& doc, const std::string& name, Prompter& prompter);

// Writes the three files of the mesh named by name. They replace the old
// files only when the geometry and animation files were both written; the
// info file is left out (with a warning) when it alone cannot be written.
Result<MeshFileReport> SaveMesh(const MeshDocument& doc, const std::string& name);

}  // namespace mok
