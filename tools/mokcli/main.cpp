// mokcli: the headless tool on the same library as the program.
#include <cstdio>
#include <string>
#include <string_view>

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
               "  [--mode N] [--size WxH] [--skin CH=IMAGE]... [--phong IMAGE] [--env IMAGE] [--frame F]\n"
               "  [--view front|back|left|right|top|bottom] [--distance D] [--filtered] [--raytrace]",
     mokcli::RunRender},
    {"bench", "bench MESH [render options but --out]   time 100 quick frames of a mode", mokcli::RunBench},
    {"shortcuts", "shortcuts            every key of the program as a Markdown table", mokcli::RunShortcuts},
};

void PrintUsage() {
  std::fprintf(stderr, "usage: mokcli <command> [arguments]\ncommands:\n");
  for (const Command& command : kCommands)
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(command.usage.size()), command.usage.data());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 1;
  }
  std::string_view name = argv[1];
  mokcli::Arguments args(argv + 2, argv + argc);
  for (const Command& command : kCommands)
    if (command.name == name) return command.run(args);
  std::fprintf(stderr, "mokcli: unknown command '%s'\n", argv[1]);
  PrintUsage();
  return 1;
}
