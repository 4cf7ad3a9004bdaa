#pragma once
// The package-script commands: skins named by the package scripts
// (core/package_scripts.h), loaded into their channels as Skins > Open puts a
// file there, and the export of the import lines (core/script_export.h).
//
// Opening a mesh (File > Open, the command line, the last file at start-up)
// loads them when "Script Skins" is on; Skins > "Load Skins From Scripts"
// does it on demand. The textures that could not be loaded, and why, reach
// the user in one message; nothing is said when all were loaded.

#include <string>
#include <vector>

#include "core/application.h"
#include "app/file_commands.h"
#include "core/package_scripts.h"
#include "core/script_export.h"

namespace mok {

inline constexpr const char* kScriptSkinsHeading = "Some skins named by the package scripts were not loaded:";
inline constexpr const char* kNoImportingScriptMessage = "No package script imports this mesh.";

// Reads every found image, then puts them into their channels in one size
// change (as Skins > Open does for one). Returns the message lines: a heading
// and one line per texture that was not loaded, then the finder's notes;
// empty when everything was loaded.
std::vector<std::string> LoadFoundSkins(MeshDocument& doc, const ScriptSkins& found);

// LoadMesh, then, when scriptSkins is set, the skins of the mesh's package
// scripts; their message lines join the load's warnings.
Result<MeshFileReport> LoadMeshWithScriptSkins(MeshDocument& doc, const std::string& name, Prompter& prompter,
                                               bool scriptSkins);

// The mesh loader of the open flows: LoadMeshWithScriptSkins as the setting
// "Script Skins" says at the time of the load.
MeshLoader MeshLoaderWithScriptSkins(const SettingsStore& settings);

// Skins > "Load Skins From Scripts": the skins of the mesh on screen
// (currentFile), whatever the setting; tells the user when no script imports
// the mesh.
void LoadSkinsFromScripts(Application& app);

// File > Export > "UnrealScript Import Lines...": a save dialog in
// `loadDir` (".uc" added to a name without a '.'), then ExportImportLines
// for the mesh on screen; failures and left-out channels are shown.
void ExportUnrealScriptLines(Application& app);

}  // namespace mok
