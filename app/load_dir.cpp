#include "app/load_dir.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace mok {
namespace {

constexpr std::size_t kMaxCurrentDirectory = 512;

std::string FolderPart(const std::string& path) {
  std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return {};
  bool keepSeparator = separator == 0 || path[separator - 1] == ':';
  return path.substr(0, keepSeparator ? separator + 1 : separator);
}

// A folder named relative to the load folder, as the dialogs that open there
// see it.
std::string InLoadDir(const Application& app, const std::string& folder) {
  if (folder.empty() || app.loadDir.empty() || std::filesystem::path(folder).is_absolute()) return folder;
  return (std::filesystem::path(app.loadDir) / folder).string();
}

// A folder that exists and may be entered.
bool IsFolder(const std::string& folder) {
  std::error_code error;
  return !folder.empty() && std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), X_OK) == 0;
}

std::string CurrentDirectory() {
  char buffer[kMaxCurrentDirectory + 1];
  if (!::getcwd(buffer, sizeof buffer)) return {};
  return buffer;
}

// The stored folder, or the process's current directory when there is none
// usable.
std::string StoredOrCurrentFolder(const Application& app) {
  std::string folder = Read(app.settings, setting::LoadDir);
  if (folder == setting::LoadDir.defaultValue || !IsFolder(folder)) folder = CurrentDirectory();
  return folder;
}

void Remember(Application& app, const std::string& folder) {
  app.loadDir = folder;
  Write(app.settings, setting::LoadDir, folder);
}

}  // namespace

void UpdateLoadDir(Application& app, const std::string& chosenPath) {
  std::string folder = InLoadDir(app, FolderPart(chosenPath));
  if (!IsFolder(folder)) folder = StoredOrCurrentFolder(app);
  Remember(app, folder);
}

void InitLoadDir(Application& app) { Remember(app, StoredOrCurrentFolder(app)); }

}  // namespace mok
