#include "shell/recent_files_menu.h"

#include "app/command_table.h"
#include "app/recent_files.h"

namespace mok::shell {

RecentFilesMenu::RecentFilesMenu(Application& app, QWidget* parent)
    : QMenu(QString::fromUtf8(kRecentFilesMenu), parent), app_(app) {
  connect(this, &QMenu::aboutToShow, this, &RecentFilesMenu::refill);
  refill();
}

void RecentFilesMenu::refill() {
  clear();
  std::vector<std::string> names = ReadRecentFiles(app_.settings);
  for (int i = 0; i < static_cast<int>(names.size()); ++i) {
    QAction* entry = addAction(QString::fromStdString(RecentFileMenuText(i, names[static_cast<std::size_t>(i)])));
    connect(entry, &QAction::triggered, this, [this, i] { OpenRecentFile(app_, i); });
  }
  if (names.empty()) addAction(QString::fromUtf8(kNoRecentFilesText))->setEnabled(false);
}

}  // namespace mok::shell
