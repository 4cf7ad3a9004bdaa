#pragma once
// The about box and the program's name and version, which "Model Stats"
// shows too.

#include <QDialog>

namespace mok::shell {

inline constexpr const char* kProgramName = "MOK";
inline constexpr const char* kProgramVersion = "0.1";

// "MOK Version 0.1".
QString ProgramTitle();

class AboutWindow final : public QDialog {
 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace mok::shell
