#include "core/mesh_names.h"

#include <cctype>

namespace mok {

bool EndsWithNoCase(const std::string& name, const std::string& suffix) {
  if (name.size() < suffix.size()) return false;
  std::size_t start = name.size() - suffix.size();
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    auto a = static_cast<unsigned char>(name[start + i]);
    auto b = static_cast<unsigned char>(suffix[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

std::optional<std::string> MeshBaseName(const std::string& name) {
  for (const char* suffix : {"_d.3d", "_a.3d", "_k.3d"})
    if (EndsWithNoCase(name, suffix)) return name.substr(0, name.size() - 5);
  if (EndsWithNoCase(name, ".3d")) return name.substr(0, name.size() - 3);
  return std::nullopt;
}

std::optional<MeshFileNames> IdentifyMeshName(const std::string& name) {
  std::optional<std::string> base = MeshBaseName(name);
  if (!base) return std::nullopt;
  return MeshFileNames{*base + "_d.3d", *base + ".3d", *base + "_a.3d", *base + "_k.3d"};
}

std::string FileNamePart(const std::string& path) {
  std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool FileNameHasDot(const std::string& path) { return FileNamePart(path).find('.') != std::string::npos; }

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  return FileNameHasDot(path) ? path : path + extension;
}

}  // namespace mok
