#pragma once
// File > Export > "UnrealScript Import Lines...": the `#exec` lines that
// import the mesh and the skins of its channels into an Unreal package, the
// reverse of core/package_scripts.h:
//
//   #exec MESH IMPORT MESH=bottle ANIVFILE=Models\bottle_a.3d DATAFILE=Models\bottle_d.3d X=0 Y=0 Z=0
//   #exec MESH ORIGIN MESH=bottle X=0 Y=0 Z=0
//   #exec MESHMAP NEW MESHMAP=bottle MESH=bottle
//   #exec MESHMAP SCALE MESHMAP=bottle X=0.1 Y=0.1 Z=0.2
//   #exec TEXTURE IMPORT NAME=Jbottle1 FILE=Models\bottle1.pcx GROUP=Skins
//   #exec MESHMAP SETTEXTURE MESHMAP=bottle NUM=1 TEXTURE=Jbottle1
//
// Paths are relative to the package folder with `\`. The mesh name, origin,
// scale and texture names come from the scripts the mesh was found in when
// there are any; otherwise the mesh is named after its files, the origin is
// 0, the scale 0.1/0.1/0.2 and each texture is named after its file.
// Reading the lines back with FindScriptSkins gives the same channels and
// files.

#include <string>
#include <vector>

#include "core/mesh_document.h"
#include "core/package_scripts.h"
#include "core/result.h"

namespace mok {

inline constexpr const char* kScriptExportFilter = "UnrealScript (*.uc)|*.uc|All Files (*.*)|*.*||";
inline constexpr const char* kNoPackageMessage =
    "The mesh lies in no package folder: save the .uc file into the Classes folder of the package.";
inline constexpr const char* kMeshOutsidePackageMessage = "The mesh does not lie inside the package folder!";
inline constexpr const char* kScriptWriteFailedMessage = "An error occured while attempting to save!";

struct ImportLines {
  std::string meshName;
  std::vector<std::string> lines;     // without line ends
  std::vector<std::string> warnings;  // channels left out, and why
};

// The lines for the mesh file meshPath (any accepted mesh name) inside the
// package folder, for every channel whose skin has a file. source is what the
// mesh's own scripts said, or null.
Result<ImportLines> BuildImportLines(const MeshDocument& doc, const std::string& meshPath,
                                     const std::filesystem::path& package, const ScriptSkins* source);

// Writes the lines to out. A file that does not exist becomes a whole class
// named after it; into an existing one the lines are put right after its
// class declaration (so they come before any older lines of the same mesh),
// the rest of it kept. The package is the folder above out's Classes folder,
// else the mesh's own package. Returns the warnings; the file is replaced
// only when it was written completely.
Result<std::vector<std::string>> ExportImportLines(const MeshDocument& doc, const std::string& meshPath,
                                                   const std::string& out);

}  // namespace mok
