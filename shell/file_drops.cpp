#include "shell/file_drops.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "app/dropped_files.h"

namespace mok::shell {

std::vector<std::string> LocalFilesOf(const QMimeData& data) {
  std::vector<std::string> files;
  for (const QUrl& url : data.urls())
    if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  return files;
}

FileDropFilter::FileDropFilter(Application& app, QWidget& target) : QObject(&target), app_(app) {
  target.setAcceptDrops(true);
  target.installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (drag->mimeData() && AcceptsDroppedFiles(LocalFilesOf(*drag->mimeData()))) drag->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()) return true;
    std::vector<std::string> files = LocalFilesOf(*drop->mimeData());
    if (!AcceptsDroppedFiles(files)) return true;
    drop->acceptProposedAction();
    QTimer::singleShot(0, this, [this, files] { OpenDroppedFiles(app_, files); });
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void AcceptFileDrops(Application& app, QWidget& window) { new FileDropFilter(app, window); }

}  // namespace mok::shell
