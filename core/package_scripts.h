#pragma once
// The scripts of an Unreal package folder and what they say about a mesh.
//
// A package folder holds `Classes/*.uc`; their `#exec` lines import meshes
// and textures and give each texture a channel of a mesh:
//
//   #exec MESH IMPORT MESH=bottle ANIVFILE=MODELS\bottle_a.3d DATAFILE=MODELS\bottle_d.3d
//   #exec MESHMAP NEW MESHMAP=bottle MESH=bottle
//   #exec TEXTURE IMPORT NAME=Jbottle1 FILE=MODELS\bottle1.PCX GROUP=Skins
//   #exec MESHMAP SETTEXTURE MESHMAP=bottle NUM=1 TEXTURE=Jbottle1
//
// Keywords and parameter names are case-insensitive, values may be quoted,
// `//` lines and `/* */` blocks do not count. Paths are relative to the
// package folder with `\` separators; on disk they are found without regard
// to case. A path that is absolute or climbs out of the package is never
// followed.
//
// Scripts are hostile input: only the first kMaxScriptBytes of a file, the
// first kMaxScriptFiles files (by name) and kMaxPackageBytes in all are read,
// and at most kMaxExecLines lines per file are kept. A line that cannot be
// understood is skipped; nothing here fails.
//
// Conflicts are settled by order: scripts by file name (ignoring case), then
// line. The first MESH IMPORT of the mesh's files, the first TEXTURE IMPORT
// of a name and the first SETTEXTURE of a channel win.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mok {

namespace package_limits {
inline constexpr std::size_t kMaxScriptBytes = std::size_t{1} << 20;   // read of one .uc file
inline constexpr std::size_t kMaxScriptFiles = 512;                    // .uc files of a package
inline constexpr std::size_t kMaxPackageBytes = std::size_t{8} << 20;  // all .uc files together
inline constexpr std::size_t kMaxExecLines = 4096;                     // kept per file
inline constexpr std::size_t kMaxFolderEntries = 20000;                // looked at per folder
inline constexpr int kMaxPackageLevels = 4;  // the mesh's folder and three above it
inline constexpr int kMaxChannel = 255;      // a SETTEXTURE NUM beyond is ignored
}  // namespace package_limits

using ScriptParams = std::vector<std::pair<std::string, std::string>>;

// One `#exec` line of a kind this program uses: MESH IMPORT, MESH ORIGIN,
// MESHMAP NEW, MESHMAP SCALE, MESHMAP SETTEXTURE or TEXTURE IMPORT.
struct ExecLine {
  std::string command;  // the two words upper-cased, "MESH IMPORT"
  ScriptParams params;  // names upper-cased, values without their quotes, in order
  int line = 0;         // 1 for the first line of the file

  // The value of a parameter (name in upper case), or null.
  const std::string* Param(std::string_view name) const;
};

struct PackageScript {
  std::string path;  // the file; only its name orders the scripts
  std::vector<ExecLine> lines;
};

// The `#exec` lines of one script's text; reads at most kMaxScriptBytes.
std::vector<ExecLine> ReadExecLines(std::string_view text);

// A declared path as folder names below the package folder, or nothing when it
// is absolute or climbs out of the package. `.` parts are dropped and `..`
// parts taken back lexically.
std::optional<std::vector<std::string>> PackageRelativeParts(std::string_view declared);

// A file a script names, as found on disk.
struct LocatedFile {
  std::optional<std::string> path;  // the file on disk
  std::string problem;              // why there is none
};
using ScriptFileLocator = std::function<LocatedFile(const std::string& declared)>;

// The mesh whose scripts are wanted: its files below the package folder, '/'
// separated (any case).
struct ScriptMeshFiles {
  std::vector<std::string> dataFiles;       // e.g. "Models/bottle_d.3d", "Models/bottle.3d"
  std::vector<std::string> animationFiles;  // e.g. "Models/bottle_a.3d"
};

struct ScriptSkin {
  int num = 0;
  std::string texture;                      // as the SETTEXTURE line names it
  std::optional<std::string> file;          // the image on disk
  std::optional<std::string> declaredFile;  // FILE= of its TEXTURE IMPORT
  std::string problem;                      // why there is no file; empty when found
};

struct ScriptSkins {
  std::string package;   // the package folder
  std::string uc;        // the script holding the mesh's MESH IMPORT
  std::string meshName;
  std::vector<ScriptSkin> skins;   // by channel
  ScriptParams origin;             // MESH ORIGIN parameters but MESH=; empty without one
  ScriptParams scale;              // MESHMAP SCALE parameters but MESHMAP=; empty without one
  std::vector<std::string> notes;  // other MESH IMPORT lines of the same files

  // The texture names without a file, each once, in channel order.
  std::vector<std::string> Missing() const;
};

// What the scripts say about the mesh, or nothing when none imports it. The
// scripts must be in file-name order; packageName is the package folder's
// name (for `Package.Group.Name` textures).
std::optional<ScriptSkins> FindSkinsInScripts(const std::vector<PackageScript>& scripts,
                                              std::string_view packageName, const ScriptMeshFiles& mesh,
                                              const ScriptFileLocator& locate);

// The path made absolute (against the current folder) and normal; as given
// when the current folder is gone.
std::filesystem::path AbsolutePath(const std::string& path);

// The nearest folder holding a `Classes` folder (any case), starting at the
// file's own folder and going at most kMaxPackageLevels folders up.
std::optional<std::filesystem::path> FindPackageFolder(const std::filesystem::path& file);

// Reads the package's `Classes/*.uc` within the limits, in file-name order.
std::vector<PackageScript> ReadPackageScripts(const std::filesystem::path& package);

// Finds a file below a folder by its parts, each part without regard to case
// (an exact match first). The file must be a regular file that stays inside
// the folder once links are followed.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder,
                                                    const std::vector<std::string>& parts);

// The script locator on disk: a declared path below the package folder.
LocatedFile LocateInPackage(const std::filesystem::path& package, const std::string& declared);

// All of the above for a mesh file (any accepted mesh name): its package,
// scripts and skins, or nothing when it lies in no package or no script
// imports it.
std::optional<ScriptSkins> FindScriptSkins(const std::string& meshPath);

}  // namespace mok
