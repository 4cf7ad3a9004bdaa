#include "app/file_commands.h"

#include "core/file_io.h"
#include "app/load_dir.h"
#include "app/script_skins.h"
#include "app/recent_files.h"
#include "core/mesh_names.h"

namespace mok {
namespace {

// Saves to name, telling the user about errors and warnings; true on success.
bool SaveReporting(Application& app, const std::string& name) {
  Result<MeshFileReport> saved = SaveMesh(app.doc(), name);
  if (!saved) {
    app.prompter.Message(saved.error().message, MessageIcon::Error);
    return false;
  }
  ShowWarnings(app.prompter, saved->warnings);
  app.history.MarkSaved();
  return true;
}

// The question before another mesh replaces the one on screen; false when
// the user cancelled.
bool OfferToSaveCurrentMesh(Application& app) {
  Answer answer = app.prompter.Ask(kSaveChangesQuestion, Buttons::YesNoCancel, MessageIcon::Question);
  if (answer == Answer::Cancel) return false;
  if (answer == Answer::Yes && !SaveReporting(app, app.currentFile))
    app.prompter.Message(kSaveFailedMessage, MessageIcon::Error);
  return true;
}

void LoadChosenFile(Application& app, const MeshLoader& load, const std::string& name) {
  if (!CanOpenForReading(name)) {
    app.prompter.Message(kOpenFailedMessage, MessageIcon::Error);
    return;
  }
  if (LoadReporting(app, load, name)) RememberCurrentFile(app, name);
}

std::string Limited(const std::string& text, std::size_t maxChars) { return text.substr(0, maxChars); }

}  // namespace

void ShowWarnings(Prompter& prompter, const std::vector<std::string>& warnings) {
  if (warnings.empty()) return;
  std::string text;
  for (const std::string& warning : warnings) text += (text.empty() ? "" : "\n") + warning;
  prompter.Message(text, MessageIcon::Warning);
}

void RememberCurrentFile(Application& app, const std::string& name) {
  app.currentFile = name;
  Write(app.settings, setting::CurFile, name);
  AddRecentFile(app.settings, name);
}

bool LoadReporting(Application& app, const MeshLoader& load, const std::string& name) {
  Result<MeshFileReport> loaded = load(app.doc(), name, app.prompter);
  if (!loaded) {
    app.prompter.Message(loaded.error().message, MessageIcon::Error);
    return false;
  }
  ShowWarnings(app.prompter, loaded->warnings);
  app.history.Reset(app.doc());
  return true;
}

std::optional<std::string> ChooseFileToOpen(Application& app, const OpenCommandOptions& options) {
  FileDialogSpec dialog;
  dialog.filter = options.filter;
  dialog.initialName = options.initialName;
  dialog.initialDir = app.loadDir;
  dialog.mustExist = true;
  std::optional<std::string> chosen = app.prompter.ChooseFile(dialog);
  if (!chosen) return std::nullopt;
  UpdateLoadDir(app, *chosen);
  return WithDefaultExtension(*chosen, options.defaultExtension);
}

OpenCommandOptions MeshOpenOptions() { return {kMeshOpenFilter, "*.3d", ".3d", LoadMesh}; }

void RunOpenCommand(Application& app, const OpenCommandOptions& options) {
  std::optional<std::string> chosen = ChooseFileToOpen(app, options);
  if (chosen) OpenNamedFile(app, options.load, *chosen);
}

void OpenNamedFile(Application& app, const MeshLoader& load, const std::string& name) {
  if (app.doc().meshLoaded && !OfferToSaveCurrentMesh(app)) {
    Notify(app, Change::Mesh);
    return;
  }
  LoadChosenFile(app, load, name);
  Notify(app, Change::Mesh);
}

void FileOpen(Application& app) {
  OpenCommandOptions options = MeshOpenOptions();
  options.load = MeshLoaderWithScriptSkins(app.settings);
  RunOpenCommand(app, options);
}

void FileSave(Application& app) {
  if (!EndsWithNoCase(app.currentFile, ".3d")) {
    FileSaveAs(app);
    return;
  }
  if (!SaveReporting(app, app.currentFile)) app.prompter.Message(kSaveFailedMessage, MessageIcon::Error);
}

void FileSaveAs(Application& app) {
  FileDialogSpec dialog;
  dialog.save = true;
  dialog.filter = kMeshSaveFilter;
  dialog.initialName = app.currentFile;
  dialog.initialDir = app.loadDir;
  std::optional<std::string> chosen = app.prompter.ChooseFile(dialog);
  if (!chosen) return;
  std::string name = WithDefaultExtension(*chosen, ".3d");
  if (!SaveReporting(app, name)) app.prompter.Message(kSaveAsFailedMessage, MessageIcon::Error);
  RememberCurrentFile(app, name);
}

FileInfo LimitedFileInfo(const FileInfo& info) {
  return {Limited(info.authorName, FileInfo::kAuthorMax), Limited(info.contact, FileInfo::kContactMax),
          Limited(info.date, FileInfo::kDateMax), Limited(info.comments, FileInfo::kCommentsMax),
          Limited(info.credits, FileInfo::kCreditsMax)};
}

void FileProperties(Application& app) {
  FileInfo fields = app.doc().fileInfo;
  if (!app.dialogs.EditFileProperties(fields)) return;
  app.doc().fileInfo = LimitedFileInfo(fields);
}

}  // namespace mok
