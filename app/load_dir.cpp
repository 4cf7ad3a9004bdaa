#include "app/load_dir.h"

#include <unistd.h>

namespace mok {
namespace {

constexpr std::size_t kMaxCurrentDirectory = 512;

std::string FolderPart(const std::string& path) {
  std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return {};
  bool keepSeparator = separator == 0 || path[separator - 1] == ':';
  return path.substr(0, keepSeparator ? separator + 1 : separator);
}

bool MakeCurrent(const std::string& folder) { return !folder.empty() && ::chdir(folder.c_str()) == 0; }

std::string CurrentDirectory() {
  char buffer[kMaxCurrentDirectory + 1];
  if (!::getcwd(buffer, sizeof buffer)) return {};
  return buffer;
}

// The stored folder, or the current directory when there is none usable.
std::string StoredOrCurrentFolder(const Application& app) {
  std::string folder = Read(app.settings, setting::LoadDir);
  if (folder == setting::LoadDir.defaultValue || !MakeCurrent(folder)) folder = CurrentDirectory();
  return folder;
}

void Remember(Application& app, const std::string& folder) {
  app.loadDir = folder;
  Write(app.settings, setting::LoadDir, folder);
}

}  // namespace

void UpdateLoadDir(Application& app, const std::string& chosenPath) {
  std::string folder = FolderPart(chosenPath);
  if (!MakeCurrent(folder)) folder = StoredOrCurrentFolder(app);
  Remember(app, folder);
}

void InitLoadDir(Application& app) { Remember(app, StoredOrCurrentFolder(app)); }

}  // namespace mok
