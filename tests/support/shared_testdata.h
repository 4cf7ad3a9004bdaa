#pragma once
// The shared real files: MOK_SHARED_TESTDATA of the environment when set (a
// checkout whose neighbouring folder lacks them), else the build's folder.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace mok::test {

inline std::string SharedTestdata() {
  const char* folder = std::getenv("MOK_SHARED_TESTDATA");
  return folder ? folder : MOK_SHARED_TESTDATA;
}

// The sample mesh first, then every mesh pair and MD2 model of the shared
// real files in name order (none when they are absent).
inline std::vector<std::filesystem::path> SampleAndRealMeshFiles() {
  namespace fs = std::filesystem;
  std::vector<fs::path> found = {fs::path(MOK_SOURCE_DIR) / "resources" / "samples" / "Sampler" / "Models" / "Sampler_d.3d"};
  fs::path real = fs::path(SharedTestdata()) / "real";
  if (!fs::is_directory(real)) return found;
  for (const auto& entry : fs::recursive_directory_iterator(real)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with("_d.3d") || name.ends_with(".md2")) found.push_back(entry.path());
  }
  std::sort(found.begin() + 1, found.end());
  return found;
}

}  // namespace mok::test
