#include "app/startup.h"

#include "app/command_line.h"
#include "app/file_commands.h"
#include "app/load_dir.h"
#include "core/mesh_files.h"
#include "image/image_codecs.h"

namespace mok {
namespace {

bool LoadMeshReporting(Application& app, const std::string& name) { return LoadReporting(app, LoadMesh, name); }

bool LoadFromCommandLine(Application& app, const std::string& commandLine) {
  MeshCommandLine parsed = ParseMeshCommandLine(commandLine);
  if (parsed.files.empty()) return false;
  if (!LoadMeshReporting(app, parsed.files[0])) {
    app.prompter.Message(kCommandLineMeshError, MessageIcon::Error);
    return false;
  }
  RememberCurrentFile(app, parsed.files[0]);
  for (std::size_t i = 1; i < parsed.files.size(); ++i) {
    if (!AppendSkinFromFile(app, parsed.files[i])) {
      app.prompter.Message(kCommandLineSkinError, MessageIcon::Error);
      break;
    }
    app.doc().NotifyMeshChanged();
  }
  return true;
}

bool LoadLastFile(Application& app, bool ctrlHeld) {
  app.currentFile = Read(app.settings, setting::CurFile);
  if (ctrlHeld || app.currentFile == setting::CurFile.defaultValue) return false;
  return LoadMeshReporting(app, app.currentFile);
}

bool LoadThroughOpenDialog(Application& app) {
  std::optional<std::string> chosen = ChooseFileToOpen(app, MeshOpenOptions());
  if (!chosen || !LoadMeshReporting(app, *chosen)) return false;
  RememberCurrentFile(app, *chosen);
  return true;
}

}  // namespace

bool AppendSkinFromFile(Application& app, const std::string& path) {
  Result<SkinSlot> image = LoadImageFile(path, ImageMode::TrueColor);
  if (!image) {
    app.prompter.Message(image.error().message, MessageIcon::Error);
    return false;
  }
  MeshDocument& doc = app.doc();
  doc.skinSlots.push_back(std::make_unique<SkinSlot>(std::move(*image)));
  doc.activeChannel = static_cast<std::int16_t>(doc.slotCount() - 1);
  doc.activeSkin = doc.skinSlots.back().get();
  return true;
}

bool LoadFirstMesh(Application& app, const StartupRequest& request) {
  InitLoadDir(app);
  bool loaded = !request.ctrlHeld && LoadFromCommandLine(app, request.commandLine);
  if (!loaded) loaded = LoadLastFile(app, request.ctrlHeld);
  if (!loaded) loaded = LoadThroughOpenDialog(app);
  if (loaded) app.doc().NotifyMeshChanged();
  return loaded;
}

}  // namespace mok
