#pragma once
// A hidden test hook: with MOK_TEST_SCRIPT=stdin in the environment the
// program takes one command per line from its standard input and writes
// what it is asked for, every message box text ("message: ...") and a
// "done <command>" line after each command to its standard output. Message
// boxes are not shown then, so a test can drive two copies at once without
// a display. Commands:
//   watch | transfer | sync          K-Link's Begin/End Watch, V and B
//   select F...                      exactly these faces selected
//   drag DX DY                       a camera-mode right drag (pan) in the 3D view
//   camera?  uv? F  title?  flags?   print the 3D camera's 13 floats, a face's
//                                    corner UVs, the window title, watching/sync
//   save NAME                        save the mesh under NAME
//   quit

#include <QObject>
#include <QSocketNotifier>

#include <string>

#include "app/klink.h"
#include "core/application.h"
#include "core/prompter.h"

class QWidget;

namespace mok::shell {

class IsoViewWidget;

// Whether the test hook is on.
bool ScriptRequested();

// Message boxes as lines on standard output; questions are answered Yes/OK.
class LinePrompter final : public Prompter {
 public:
  void Message(const std::string& text, MessageIcon) override;
  Answer Ask(const std::string& text, Buttons buttons, MessageIcon) override;
  std::optional<std::string> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  bool ChooseColor(std::uint32_t&, std::array<std::uint32_t, 16>&) override { return false; }
};

class ScriptDriver final : public QObject {
  Q_OBJECT
 public:
  ScriptDriver(Application& app, KLink& link, QWidget& window, IsoViewWidget& isoView);

 private:
  void ReadInput();
  void Run(const std::string& line);
  void Drag(int dx, int dy);

  Application& app_;
  KLink& link_;
  QWidget& window_;
  IsoViewWidget& isoView_;
  QSocketNotifier notifier_;
  std::string pending_;
};

}  // namespace mok::shell
