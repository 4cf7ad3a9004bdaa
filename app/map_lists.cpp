#include "app/map_lists.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "app/file_commands.h"
#include "core/file_io.h"
#include "app/load_dir.h"
#include "app/resource_paths.h"
#include "core/mesh_names.h"
#include "image/image_codecs.h"
#include "render/render_state.h"

namespace mok {
namespace {

// What differs between the two kinds of map.
struct MapKindTraits {
  ImageMode mode;
  const char* noMapsMessage;
  const char* sizeMessage;
  const char* openFilter;
  const char* openPattern;
  const char* thirdFilterExtension;  // appended for the third filter, ".bmp" for the others
  Change listChanged;
  Change activeChanged;
};

const MapKindTraits& TraitsOf(MapKind kind) {
  static const MapKindTraits kPhong{ImageMode::Indexed, kNoPhongMapsMessage, kPhongSizeMessage, kPhongOpenFilter,
                                    kPhongOpenPattern,  ".pcx",              Change::PhongMaps,
                                    Change::ActivePhongMap};
  static const MapKindTraits kEnv{ImageMode::TrueColor, kNoEnvMapsMessage, kEnvSizeMessage, kEnvOpenFilter,
                                  kEnvOpenPattern,      ".tga",            Change::EnvMaps,
                                  Change::ActiveEnvMap};
  return kind == MapKind::Phong ? kPhong : kEnv;
}

// The scan's file groups, in this order.
constexpr const char* kScanEndings[] = {".pcx", ".bmp", ".tga"};

bool IsMapSized(const SkinSlot& map) { return map.width == kMapSize && map.height == kMapSize; }

void AppendMap(MapList& list, SkinSlot map) {
  map.name = FileNamePart(map.name);
  map.storedPixels.clear();
  map.storedPixels.shrink_to_fit();
  list.maps.push_back(std::make_unique<SkinSlot>(std::move(map)));
}

// The regular files of a folder in the order the file system lists them;
// nothing when the folder cannot be read.
std::vector<std::filesystem::path> FilesOf(const std::string& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code typeError;
    if (it->is_regular_file(typeError)) files.push_back(it->path());
  }
  return files;
}

// One file of a scan: appended when it is a map of the right size.
bool ScanFile(MapList& list, const std::string& path, ImageMode mode, std::vector<std::string>& complaints) {
  if (!CanOpenForReading(path)) return false;
  Result<SkinSlot> map = LoadImageFile(path, mode);
  if (!map) {
    complaints.push_back(map.error().message);
    return false;
  }
  if (!IsMapSized(*map)) return false;
  AppendMap(list, std::move(*map));
  return true;
}

void OpenMap(Application& app, MapKind kind) {
  const MapKindTraits& traits = TraitsOf(kind);
  FileDialogSpec dialog;
  dialog.filter = traits.openFilter;
  dialog.initialName = traits.openPattern;
  dialog.initialDir = app.loadDir;
  std::optional<FileChoice> chosen = app.prompter.ChooseFileAndFilter(dialog);
  if (!chosen) return;
  UpdateLoadDir(app, chosen->path);
  std::string path = WithDefaultExtension(chosen->path, chosen->filterIndex == 3 ? traits.thirdFilterExtension : ".bmp");
  Result<SkinSlot> map = LoadImageFile(path, traits.mode);
  if (!map) {
    app.prompter.Message(map.error().message, MessageIcon::Error);
    return;
  }
  if (!IsMapSized(*map)) {
    app.prompter.Message(traits.sizeMessage, MessageIcon::Error);
    return;
  }
  MapList& list = MapsOf(app, kind);
  AppendMap(list, std::move(*map));
  list.index = static_cast<std::int16_t>(list.count() - 1);
  NotifyWithTables(app, traits.listChanged);
}

}  // namespace

MapList& MapsOf(Application& app, MapKind kind) { return kind == MapKind::Phong ? app.phongMaps : app.envMaps; }

int ScanMapFolder(Application& app, const std::string& folder, MapKind kind) {
  const MapKindTraits& traits = TraitsOf(kind);
  MapList& list = MapsOf(app, kind);
  std::vector<std::filesystem::path> files = FilesOf(folder);
  std::vector<std::string> complaints;
  int added = 0;
  for (const char* ending : kScanEndings) {
    bool matched = false;
    for (const std::filesystem::path& file : files) {
      if (!EndsWithNoCase(file.filename().string(), ending)) continue;
      matched = true;
      if (ScanFile(list, file.string(), traits.mode, complaints)) ++added;
    }
    if (matched) NotifyWithTables(app, traits.listChanged);
  }
  ShowWarnings(app.prompter, complaints);
  if (added == 0) app.prompter.Message(traits.noMapsMessage, MessageIcon::Warning);
  return added;
}

void ScanMapFolderCommand(Application& app, MapKind kind) {
  std::optional<std::string> folder = app.prompter.ChooseFolder(kFolderBrowserTitle);
  std::error_code error;
  if (!folder || !std::filesystem::is_directory(*folder, error)) {
    app.prompter.Message(kFolderNotValidMessage, MessageIcon::Error);
    return;
  }
  ScanMapFolder(app, *folder, kind);
}

std::string MapFolderSetting(const Application& app, MapKind kind) {
  const StringSetting& key = kind == MapKind::Phong ? setting::PhongPath : setting::EnvPath;
  std::string folder = Read(app.settings, key);
  if (folder != key.defaultValue) return folder;
  std::string bundled = kind == MapKind::Phong ? PhongMapFolder(app.resourceDir) : EnvMapFolder(app.resourceDir);
  std::error_code error;
  return !bundled.empty() && std::filesystem::is_directory(bundled, error) ? bundled : std::string();
}

std::string DialogMapFolder(const Application& app, MapKind kind) {
  std::string folder = MapFolderSetting(app, kind);
  if (!folder.empty()) return folder;
  return kind == MapKind::Phong ? setting::kDialogPhongPath : setting::kDialogEnvPath;
}

void ScanStartupMapFolders(Application& app) {
  for (MapKind kind : {MapKind::Phong, MapKind::Environment}) {
    std::string folder = MapFolderSetting(app, kind);
    if (!folder.empty()) ScanMapFolder(app, folder, kind);
  }
}

void OpenPhongMap(Application& app) { OpenMap(app, MapKind::Phong); }

void OpenEnvMap(Application& app) { OpenMap(app, MapKind::Environment); }

void CloseMap(Application& app, MapKind kind) {
  MapList& list = MapsOf(app, kind);
  if (!list.active()) return;
  list.maps.erase(list.maps.begin() + list.index);
  if (list.maps.empty()) {
    list.index = -1;
  } else if (list.index == list.count()) {
    --list.index;
  }
  NotifyWithTables(app, TraitsOf(kind).listChanged);
}

void SelectMap(Application& app, MapKind kind, int index) {
  MapList& list = MapsOf(app, kind);
  if (index < 0 || index >= list.count()) return;
  list.index = static_cast<std::int16_t>(index);
  NotifyWithTables(app, TraitsOf(kind).activeChanged);
}

}  // namespace mok
