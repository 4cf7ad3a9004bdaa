#include "app/resource_paths.h"

#include <filesystem>
#include <system_error>

#ifndef MOK_DATA_FROM_BIN
#error "MOK_DATA_FROM_BIN (the data folder relative to the program folder) is set by the build"
#endif

namespace mok {
namespace {

namespace fs = std::filesystem;

std::string Inside(const std::string& resourceDir, const char* relative) {
  if (resourceDir.empty()) return {};
  return (fs::path(resourceDir) / relative).string();
}

}  // namespace

std::string FindResourceDir(const std::string& executable) {
  if (!fs::path(executable).is_absolute()) return {};
  std::error_code error;
  fs::path program = fs::weakly_canonical(fs::path(executable), error);
  if (error) return {};
  fs::path dir = fs::weakly_canonical(program.parent_path() / MOK_DATA_FROM_BIN, error);
  if (error || !fs::is_directory(dir, error)) return {};
  return dir.string();
}

std::string SampleMeshPath(const std::string& resourceDir) { return Inside(resourceDir, "samples/Sampler/Models/Sampler_d.3d"); }

std::string PhongMapFolder(const std::string& resourceDir) { return Inside(resourceDir, "maps/phongs"); }

std::string EnvMapFolder(const std::string& resourceDir) { return Inside(resourceDir, "maps/enviros"); }

std::string SoundFolder(const std::string& resourceDir) { return Inside(resourceDir, "sounds"); }

}  // namespace mok
