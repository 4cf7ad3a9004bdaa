// mokcli: the headless tool on the same library as the program.
#include <cstdio>
#include <string>

namespace {
void PrintUsage() {
  std::fprintf(stderr, "usage: mokcli <command> [arguments]\n");
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 1;
  }
  std::string command = argv[1];
  PrintUsage();
  return 1;
}
