#include "app/dropped_files.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "app/md2_command.h"
#include "app/script_skins.h"
#include "app/skin_commands.h"
#include "core/md2_import.h"
#include "core/mesh_names.h"

namespace mok {
namespace {

bool StartsWithMd2Magic(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::array<char, sizeof md2_layout::kMagic> start{};
  if (!file.read(start.data(), start.size())) return false;
  return std::equal(start.begin(), start.end(), md2_layout::kMagic);
}

bool HasImageEnding(const std::string& path) {
  return EndsWithNoCase(path, ".pcx") || EndsWithNoCase(path, ".bmp") || EndsWithNoCase(path, ".tga");
}

bool IsMeshKind(DroppedFileKind kind) { return kind == DroppedFileKind::Mesh || kind == DroppedFileKind::Md2; }

}  // namespace

DroppedFileKind ClassifyDroppedFile(const std::string& path) {
  if (StartsWithMd2Magic(path)) return DroppedFileKind::Md2;
  if (MeshBaseName(path)) return DroppedFileKind::Mesh;
  if (HasImageEnding(path)) return DroppedFileKind::Image;
  return DroppedFileKind::Other;
}

bool AcceptsDroppedFiles(const std::vector<std::string>& paths) {
  return std::any_of(paths.begin(), paths.end(),
                     [](const std::string& path) { return ClassifyDroppedFile(path) != DroppedFileKind::Other; });
}

MeshLoader LoaderForFile(const Application& app, const std::string& path) {
  return StartsWithMd2Magic(path) ? Md2OpenOptions().load : MeshLoaderWithScriptSkins(app.settings);
}

void OpenMeshFile(Application& app, const std::string& path) { OpenNamedFile(app, LoaderForFile(app, path), path); }

void OpenDroppedFiles(Application& app, const std::vector<std::string>& paths) {
  std::vector<DroppedFileKind> kinds;
  for (const std::string& path : paths) kinds.push_back(ClassifyDroppedFile(path));
  auto mesh = std::find_if(kinds.begin(), kinds.end(), IsMeshKind);
  if (mesh != kinds.end()) {
    OpenMeshFile(app, paths[static_cast<std::size_t>(mesh - kinds.begin())]);
    return;
  }
  auto image = std::find(kinds.begin(), kinds.end(), DroppedFileKind::Image);
  if (image == kinds.end()) return;
  OpenSkinFile(app, paths[static_cast<std::size_t>(image - kinds.begin())]);
  app.history.Commit(app.doc(), kOpenDroppedSkinStep);
}

}  // namespace mok
