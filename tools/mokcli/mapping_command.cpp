// mokcli mapping export MESH OUT.mkmp
// mokcli mapping import MESH IN.mkmp OUTMESH [--no-uvs] [--no-types] [--no-channels]
#include <cstdio>
#include <memory>

#include "core/mapping_file.h"
#include "tools/mokcli/cli_support.h"
#include "tools/mokcli/commands.h"

namespace mokcli {
namespace {

constexpr const char* kUsage =
    "usage: mokcli mapping export MESH OUT.mkmp\n"
    "       mokcli mapping import MESH IN.mkmp OUTMESH [--no-uvs] [--no-types] [--no-channels]\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 1;
}

bool Reported(const mok::Status& status, const std::string& name) {
  if (!status) std::fprintf(stderr, "%s: %s\n", name.c_str(), status.error().message.c_str());
  return status.ok();
}

int ExportMapping(const std::string& mesh, const std::string& out) {
  auto doc = std::make_unique<mok::MeshDocument>();
  if (!LoadMeshForCli(*doc, mesh)) return 1;
  return Reported(mok::ExportMappingTo(*doc, out), out) ? 0 : 1;
}

// The options after the three names; false on an unknown one.
bool ParseImportOptions(const Arguments& args, std::size_t first, mok::MkmpImportOptions& options) {
  for (std::size_t i = first; i < args.size(); ++i) {
    if (args[i] == "--no-uvs") {
      options.importUvs = false;
    } else if (args[i] == "--no-types") {
      options.importTypeFlags = false;
    } else if (args[i] == "--no-channels") {
      options.importChannels = false;
    } else {
      std::fprintf(stderr, "mokcli mapping import: unknown option '%s'\n", args[i].c_str());
      return false;
    }
  }
  return true;
}

int ImportMapping(const std::string& mesh, const std::string& mapping, const std::string& out,
                  const mok::MkmpImportOptions& options) {
  auto doc = std::make_unique<mok::MeshDocument>();
  if (!LoadMeshForCli(*doc, mesh)) return 1;
  if (!Reported(mok::ImportMappingFrom(*doc, mapping, options), mapping)) return 1;
  return SaveMeshForCli(*doc, out) ? 0 : 1;
}

}  // namespace

int RunMapping(const Arguments& args) {
  if (args.size() == 3 && args[0] == "export") return ExportMapping(args[1], args[2]);
  if (args.size() >= 4 && args[0] == "import") {
    mok::MkmpImportOptions options;  // every face: the selection is not part of a mesh file
    if (!ParseImportOptions(args, 4, options)) return Usage();
    return ImportMapping(args[1], args[2], args[3], options);
  }
  return Usage();
}

}  // namespace mokcli
