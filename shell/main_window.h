#pragma once
// The main window: shows the mesh and asks before quitting.

#include <QLabel>
#include <QMainWindow>

#include "core/application.h"

namespace mok::shell {

class MainWindow final : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(Application& app);

  // Refills what the window shows of the document.
  void refillLists();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Application& app_;
  QLabel* summary_;
  double splitFraction_;
};

}  // namespace mok::shell
