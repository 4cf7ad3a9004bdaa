// mokcli: the headless tool on the same library as the program.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "tools/mokcli/commands.h"

namespace {

struct Command {
  std::string_view name;
  std::string_view usage;
  int (*run)(const mokcli::Arguments& args);
};

constexpr Command kCommands[] = {
    {"info", "info MESH            model statistics as JSON", mokcli::RunInfo},
    {"convert", "convert IN OUT       read IN, write it under OUT", mokcli::RunConvert},
    {"mapping", "mapping export MESH OUT.mkmp\n"
                "  mapping import MESH IN.mkmp OUTMESH [--no-uvs] [--no-types] [--no-channels]",
     mokcli::RunMapping},
    {"render", "render MESH --out FILE.bmp   snapshot of the mesh as a 24-bit BMP\n"
               "      [--mode N] [--size WxH] [--skin CH=IMAGE]... [--phong IMAGE] [--env IMAGE] [--frame F]\n"
               "      [--view front|back|left|right|top|bottom] [--distance D] [--filtered] [--raytrace]",
     mokcli::RunRender},
    {"bench", "bench MESH [render options but --out]   time 100 quick frames of a mode", mokcli::RunBench},
    {"shortcuts", "shortcuts            every key of the program as a Markdown table", mokcli::RunShortcuts},
    {"skins", "skins MESH           the skins the package scripts name, as JSON", mokcli::RunSkins},
    {"script", "script MESH OUT.uc   write the UnrealScript import lines of the mesh and its skins",
     mokcli::RunScript},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "Usage: mokcli COMMAND [ARGUMENT]...\n"
                    "       mokcli --help | --version\n"
                    "Mesh, mapping and image files of MOK without a window.\n\n"
                    "Commands:\n");
  for (const Command& command : kCommands)
    std::fprintf(out, "  %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
  std::fprintf(out, "\nErrors go to standard error; the exit status is 1 on failure, 0 on success.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 1;
  }
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h") {
    PrintUsage(stdout);
    return 0;
  }
  if (name == "--version") {
    std::fputs(mok::VersionText("mokcli").c_str(), stdout);
    return 0;
  }
  mokcli::Arguments args(argv + 2, argv + argc);
  for (const Command& command : kCommands)
    if (command.name == name) return command.run(args);
  std::fprintf(stderr, "mokcli: unknown command '%s'\nTry 'mokcli --help' for more information.\n", argv[1]);
  return 1;
}
