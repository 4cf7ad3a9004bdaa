#include "app/window_rules.h"

#include "core/settings.h"

namespace mok {

std::string WindowTitle(const std::string& currentFile, bool modified) {
  const std::size_t slash = currentFile.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? currentFile : currentFile.substr(slash + 1);
  if (name.empty()) return kProgramTitle;
  return std::string(kProgramTitle) + " - " + name + (modified ? "*" : "");
}

bool ConfirmClose(Application& app, double splitFraction) {
  WriteSplitterFraction(app.settings, splitFraction);
  for (int i = 0; i < 8; ++i) WriteCustomColor(app.settings, i, app.customColors[static_cast<std::size_t>(i)]);
  if (Read(app.settings, setting::QuickExit) == 1) return true;
  return app.prompter.Ask(kQuitQuestion, Buttons::YesNo, MessageIcon::Question) == Answer::Yes;
}

}  // namespace mok
