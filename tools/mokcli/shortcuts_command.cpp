// shortcuts: the key reference of the program as the README's Markdown table.
#include <cstdio>

#include "app/command_table.h"
#include "tools/mokcli/commands.h"

namespace mokcli {

int RunShortcuts(const Arguments& args) {
  if (!args.empty()) {
    std::fprintf(stderr, "usage: mokcli shortcuts\n");
    return 1;
  }
  std::fputs(mok::ShortcutMarkdown().c_str(), stdout);
  return 0;
}

}  // namespace mokcli
