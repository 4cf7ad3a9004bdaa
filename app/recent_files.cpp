#include "app/recent_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/dropped_files.h"
#include "core/mesh_names.h"

namespace mok {
namespace {

std::string KeyOf(int index) { return "File" + std::to_string(index + 1); }

// What makes two names the same entry: the mesh base for a mesh name, else
// the name.
std::string IdentityOf(const std::string& name) { return MeshBaseName(name).value_or(name); }

void WriteRecentFiles(SettingsStore& settings, const std::vector<std::string>& list) {
  for (int i = 0; i < kMaxRecentFiles; ++i)
    settings.writeString(kRecentFilesSection, KeyOf(i), i < static_cast<int>(list.size()) ? list[i] : "");
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::vector<std::string> ReadRecentFiles(const SettingsStore& settings) {
  std::vector<std::string> list;
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    std::string name = settings.readString(kRecentFilesSection, KeyOf(i)).value_or("");
    if (!name.empty()) list.push_back(name);
  }
  return list;
}

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& name) {
  std::string identity = IdentityOf(name);
  std::erase_if(list, [&](const std::string& entry) { return IdentityOf(entry) == identity; });
  list.insert(list.begin(), name);
  if (list.size() > static_cast<std::size_t>(kMaxRecentFiles)) list.resize(kMaxRecentFiles);
  return list;
}

void AddRecentFile(SettingsStore& settings, const std::string& name) {
  if (name.empty()) return;
  WriteRecentFiles(settings, WithRecentFile(ReadRecentFiles(settings), name));
}

std::string RecentFileMenuText(int index, const std::string& name) {
  std::string text = "&" + std::to_string(index + 1) + " ";
  for (char c : name) text += c == '&' ? std::string("&&") : std::string(1, c);
  return text;
}

std::optional<std::string> ExistingRecentFile(const std::string& name) {
  if (IsFile(name)) return name;
  std::optional<MeshFileNames> mesh = IdentifyMeshName(name);
  if (!mesh) return std::nullopt;
  if (IsFile(mesh->geometry)) return mesh->geometry;
  if (IsFile(mesh->plainGeometry)) return mesh->plainGeometry;
  return std::nullopt;
}

void OpenRecentFile(Application& app, int index) {
  std::vector<std::string> list = ReadRecentFiles(app.settings);
  if (index < 0 || index >= static_cast<int>(list.size())) return;
  std::string name = list[static_cast<std::size_t>(index)];
  std::optional<std::string> existing = ExistingRecentFile(name);
  if (!existing) {
    list.erase(list.begin() + index);
    WriteRecentFiles(app.settings, list);
    app.prompter.Message(kRecentFileMissingMessage + name, MessageIcon::Warning);
    return;
  }
  OpenMeshFile(app, *existing);
}

}  // namespace mok
