#include "app/window_rules.h"

#include "core/settings.h"

namespace mok {

std::string WindowTitle(const std::string& currentFile) {
  const std::size_t slash = currentFile.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? currentFile : currentFile.substr(slash + 1);
  return name.empty() ? kProgramTitle : std::string(kProgramTitle) + " - " + name;
}

bool ConfirmClose(Application& app, double splitFraction) {
  WriteSplitterFraction(app.settings, splitFraction);
  for (int i = 0; i < 8; ++i) WriteCustomColor(app.settings, i, app.customColors[static_cast<std::size_t>(i)]);
  if (Read(app.settings, setting::QuickExit) == 1) return true;
  return app.prompter.Ask(kQuitQuestion, Buttons::YesNo, MessageIcon::Question) == Answer::Yes;
}

}  // namespace mok
