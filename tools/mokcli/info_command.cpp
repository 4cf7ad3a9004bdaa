// mokcli info MESH
#include <cstdio>
#include <memory>
#include <string>

#include "core/model_stats.h"
#include "tools/mokcli/cli_support.h"
#include "tools/mokcli/commands.h"

namespace mokcli {
namespace {

std::string StatsJson(const mok::ModelStats& stats) {
  std::string json = "{\"vertices\": " + std::to_string(stats.vertices) +
                     ", \"uvVertices\": " + std::to_string(stats.uvVertices) +
                     ", \"triangles\": " + std::to_string(stats.triangles) +
                     ", \"frames\": " + std::to_string(stats.frames) +
                     ", \"skinArea\": " + std::to_string(stats.skinArea) + ", \"channels\": [";
  const char* separator = "";
  for (int channel : stats.channels) {
    json += separator + std::to_string(channel);
    separator = ", ";
  }
  json += "], \"types\": {";
  separator = "";
  for (const auto& [type, count] : stats.types) {
    json += separator + ("\"" + std::to_string(type) + "\": ") + std::to_string(count);
    separator = ", ";
  }
  return json + "}}";
}

}  // namespace

int RunInfo(const Arguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: mokcli info MESH\n");
    return 1;
  }
  auto doc = std::make_unique<mok::MeshDocument>();
  if (!LoadMeshForCli(*doc, args[0])) return 1;
  std::printf("%s\n", StatsJson(mok::ComputeModelStats(*doc)).c_str());
  return 0;
}

}  // namespace mokcli
