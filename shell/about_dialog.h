#pragma once
// The about box and the program's name and version, which "Model Stats"
// shows too.

#include <QDialog>

#include "app/command_table.h"

namespace mok::shell {

// "MOK Version 0.1".
QString ProgramTitle();

class AboutWindow final : public QDialog {
 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace mok::shell
