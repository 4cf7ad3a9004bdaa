#include "app/startup.h"

#include <filesystem>
#include <system_error>

#include "app/dropped_files.h"
#include "app/file_commands.h"
#include "app/load_dir.h"
#include "app/script_skins.h"
#include "app/resource_paths.h"
#include "core/mesh_files.h"
#include "image/image_codecs.h"

namespace mok {
namespace {

// Every start-up load takes the skins the package scripts name, as File >
// Open does; command-line skins then come behind the slots.
bool LoadMeshReporting(Application& app, const std::string& name) {
  return LoadReporting(app, LoaderForFile(app, name), name);
}

std::vector<std::string> Absolute(const std::vector<std::string>& files) {
  std::vector<std::string> absolute;
  for (const std::string& file : files) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(file, error);
    absolute.push_back(error ? file : path.string());
  }
  return absolute;
}

bool LoadFromCommandLine(Application& app, const std::vector<std::string>& files) {
  if (files.empty()) return false;
  if (!LoadMeshReporting(app, files[0])) {
    app.prompter.Message(kCommandLineMeshError, MessageIcon::Error);
    return false;
  }
  RememberCurrentFile(app, files[0]);
  for (std::size_t i = 1; i < files.size(); ++i) {
    if (!AppendSkinFromFile(app, files[i])) {
      app.prompter.Message(kCommandLineSkinError, MessageIcon::Error);
      break;
    }
    Notify(app, Change::Skins);
  }
  return true;
}

bool LoadLastFile(Application& app, bool ctrlHeld) {
  app.currentFile = Read(app.settings, setting::CurFile);
  if (ctrlHeld || app.currentFile == setting::CurFile.defaultValue) return false;
  return LoadMeshReporting(app, app.currentFile);
}

// The first start knows no last file: the bundled sample shows instead. It
// becomes `currentFile` but not "CurFile", so it is not taken for the user's.
bool LoadSample(Application& app, bool ctrlHeld) {
  std::string sample = SampleMeshPath(app.resourceDir);
  bool firstStart = Read(app.settings, setting::CurFile) == std::string(setting::CurFile.defaultValue);
  if (ctrlHeld || !firstStart || sample.empty() || !LoadMeshReporting(app, sample)) return false;
  app.currentFile = sample;
  return true;
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
  std::vector<std::string> files = Absolute(request.files);
  InitLoadDir(app);
  bool loaded = !request.ctrlHeld && LoadFromCommandLine(app, files);
  if (!loaded) loaded = LoadLastFile(app, request.ctrlHeld);
  if (!loaded) loaded = LoadSample(app, request.ctrlHeld);
  if (!loaded) loaded = LoadThroughOpenDialog(app);
  if (loaded) Notify(app, Change::Mesh);
  return loaded;
}

}  // namespace mok
