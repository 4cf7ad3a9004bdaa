#pragma once
// The File menu's mesh commands: Open, Save, Save As and File Properties.
// They talk to the user through the application's prompter, remember the
// folder and file in the settings and end with a mesh change notice where
// the document changed.

#include <functional>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/mesh_files.h"

namespace mok {

inline constexpr const char* kMeshOpenFilter = "Unreal Raw Model (*.3d)|*.3d|All Files (*.*)|*.*||";
inline constexpr const char* kMeshSaveFilter = "Unreal Raw Mesh (*.3d)|*.3d|All Files (*.*)|*.*||";
inline constexpr const char* kSaveChangesQuestion = "Save changes to the current Mesh?";
inline constexpr const char* kSaveFailedMessage = "An error occured while trying to save =[";
inline constexpr const char* kSaveAsFailedMessage = "An error occured while attempting to save!";
inline constexpr const char* kOpenFailedMessage = "There was an error loading the specified file!";

// Loads a file into the document; the prompter is for questions during the load.
using MeshLoader = std::function<Result<MeshFileReport>(MeshDocument&, const std::string&, Prompter&)>;

// What distinguishes one opening command from another.
struct OpenCommandOptions {
  std::string filter;            // the dialog's filter list
  std::string initialName;       // e.g. "*.3d"
  std::string defaultExtension;  // appended to a chosen name without a '.'
  MeshLoader load;
};

// The options of "&Open...": the mesh filter, "*.3d", ".3d" and LoadMesh.
OpenCommandOptions MeshOpenOptions();

// The open dialog in `loadDir`; after OK the folder is remembered and the
// default extension appended to a name without a '.'. Nothing on Cancel.
std::optional<std::string> ChooseFileToOpen(Application& app, const OpenCommandOptions& options);

// Loads name, telling the user why it failed or what was odd about it; true
// on success.
bool LoadReporting(Application& app, const MeshLoader& load, const std::string& name);

// Makes name `currentFile`, writes it to "CurFile" and puts it at the top of
// File > Recent Files.
void RememberCurrentFile(Application& app, const std::string& name);

// The opening flow: choose a file in `loadDir`, remember its folder, offer to
// save the current mesh, load the file, and on success make it `currentFile`
// and "CurFile".
void RunOpenCommand(Application& app, const OpenCommandOptions& options);

// The opening flow after the dialog, for a name that comes from elsewhere
// (a dropped file, a recent file): the question about the mesh on screen,
// then load; on success name becomes `currentFile` and "CurFile".
void OpenNamedFile(Application& app, const MeshLoader& load, const std::string& name);

// "&Open...": RunOpenCommand with the mesh filter, "*.3d", ".3d" and LoadMesh
// followed by the skins the package scripts name ("Script Skins").
void FileOpen(Application& app);
void FileSave(Application& app);
void FileSaveAs(Application& app);
// "File Properties...": edits the five strings of the document's file info.
void FileProperties(Application& app);

// Shows a load's or save's warnings to the user in one message.
void ShowWarnings(Prompter& prompter, const std::vector<std::string>& warnings);

// The strings cut to the lengths the info file and the dialog allow.
FileInfo LimitedFileInfo(const FileInfo& info);

}  // namespace mok
