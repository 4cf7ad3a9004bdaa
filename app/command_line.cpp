#include "app/command_line.h"

#ifndef MOK_VERSION
#error "MOK_VERSION is set by the build"
#endif

namespace mok {
namespace {

bool IsHelp(const std::string& argument) { return argument == "-h" || argument == "--help"; }

}  // namespace

ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments) {
  ProgramArguments result;
  bool onlyFiles = false;
  for (const std::string& argument : arguments) {
    if (onlyFiles) {
      result.files.push_back(argument);
    } else if (IsHelp(argument)) {
      return {ProgramAction::ShowHelp, {}, {}};
    } else if (argument == "--version") {
      return {ProgramAction::ShowVersion, {}, {}};
    } else if (argument == "--") {
      onlyFiles = true;
    } else if (argument == "-3d") {
      continue;
    } else if (argument.size() > 1 && argument[0] == '-') {
      if (result.error.empty()) result.error = "unrecognized option '" + argument + "'";
    } else {
      result.files.push_back(argument);
    }
  }
  if (!result.error.empty()) {
    result.action = ProgramAction::Refuse;
    result.files.clear();
  }
  return result;
}

std::string ProgramUsage() {
  return "Usage: mok [OPTION]... [MESH [SKIN]...]\n"
         "Texture and paint the vertex meshes of the Unreal engine.\n"
         "\n"
         "MESH is a mesh (NAME_d.3d, NAME_a.3d, NAME_k.3d or NAME.3d) or a Quake 2 MD2\n"
         "model; each SKIN is a PCX, BMP or TGA image, opened into a new texture\n"
         "channel behind the sixteen channel slots. Without MESH the last mesh opens\n"
         "again (the bundled sample on the first start); hold Ctrl while MOK starts\n"
         "to choose a mesh instead.\n"
         "\n"
         "Options:\n"
         "  -3d            accepted in front of MESH, as older launchers write it\n"
         "  -h, --help     display this help and exit\n"
         "      --version  output version information and exit\n"
         "  --             take every later argument as a file name\n"
         "Qt's own options (-platform, -style, ...) are understood as well.\n"
         "\n"
         "For files without a window, see mokcli --help.\n";
}

std::string VersionText(const std::string& program) { return program + " " + MOK_VERSION + "\n"; }

std::string RefusalText(const std::string& program, const std::string& error) {
  return program + ": " + error + "\nTry '" + program + " --help' for more information.\n";
}

}  // namespace mok
