#pragma once
// The three files of a mesh and how a chosen name is turned into them.
//
// A name ending "_d.3d", "_a.3d" or "_k.3d" (any case) names the base before
// those five characters; otherwise a name ending ".3d" names the base before
// those three. Any other name is not a mesh name.

#include <optional>
#include <string>

namespace mok {

inline constexpr const char* kIdentifyMessage =
    "Unable to identify file! (XXX_a.3d, XXX_d.3d, XXX_k.3d, or XXX.3d is needed!)";

struct MeshFileNames {
  std::string geometry;          // base + "_d.3d"
  std::string plainGeometry;     // base + ".3d", used when the first does not open
  std::string animation;         // base + "_a.3d"
  std::string info;              // base + "_k.3d"
};

// The base of a mesh name, or nothing when the name is not one.
std::optional<std::string> MeshBaseName(const std::string& name);

// The names of the three files, or nothing when the name is not a mesh name.
std::optional<MeshFileNames> IdentifyMeshName(const std::string& name);

// The file-name part of a path: everything after the last '/' or '\'.
std::string FileNamePart(const std::string& path);

// True when the file-name part of a path holds a '.'.
bool FileNameHasDot(const std::string& path);

// The path with the extension (e.g. ".3d") appended when its file-name part
// has no '.'.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// True when name ends with suffix, compared without regard to ASCII case.
bool EndsWithNoCase(const std::string& name, const std::string& suffix);

}  // namespace mok
