#pragma once
// File > Recent Files: filled from the settings each time it opens, so it
// always shows what the last open or save left there; choosing an entry runs
// OpenRecentFile (app/recent_files.h). Its title is the table's
// kRecentFilesMenu.

#include <QMenu>

#include "core/application.h"

namespace mok::shell {

inline constexpr const char* kNoRecentFilesText = "(none)";

class RecentFilesMenu final : public QMenu {
 public:
  RecentFilesMenu(Application& app, QWidget* parent);
  void refill();

 private:
  Application& app_;
};

}  // namespace mok::shell
