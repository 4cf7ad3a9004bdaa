#pragma once
// Files dropped on a window: a drag is taken when one of its local files can
// be opened (app/dropped_files.h); the drop opens it once the drag has
// ended, so the unsaved-data question never runs inside the drag.

#include <QObject>
#include <string>
#include <vector>

#include "core/application.h"

class QMimeData;
class QWidget;

namespace mok::shell {

// The local files of a drag, in their order; other URLs are left out.
std::vector<std::string> LocalFilesOf(const QMimeData& data);

// Watches the drag and drop events of target, which it turns drops on.
class FileDropFilter final : public QObject {
 public:
  FileDropFilter(Application& app, QWidget& target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Application& app_;
};

// The one call a window needs: it accepts file drops from then on.
void AcceptFileDrops(Application& app, QWidget& window);

}  // namespace mok::shell
