#pragma once
// "Keyboard Shortcuts": every key of the program and the command it runs,
// listed from the command table (About/Stats menu).

#include <QDialog>

namespace mok::shell {

class ShortcutsWindow final : public QDialog {
  Q_OBJECT
 public:
  explicit ShortcutsWindow(QWidget* parent = nullptr);
};

}  // namespace mok::shell
