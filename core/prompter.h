#pragma once
// How commands talk to the user: messages, questions and file choices. The
// shell implements it with message boxes and file dialogs; tests script it.
//
// Filters use the "Description (*.x)|*.x|All Files (*.*)|*.*||" form; the
// shell turns them into its dialog's filter list.

#include <optional>
#include <string>

namespace mok {

struct FileInfo;
struct SnapshotDialog;  // render/picture_commands.h

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct FileDialogSpec {
  bool save = false;        // a save dialog (else open)
  std::string filter;       // "Unreal Raw Model (*.3d)|*.3d|All Files (*.*)|*.*||"
  std::string initialName;  // "*.3d", or a full name
  std::string initialDir;   // the folder the dialog opens in
  bool mustExist = false;   // an open dialog that only accepts existing files
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void Message(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;
  virtual Answer Ask(const std::string& text, Buttons buttons, MessageIcon icon = MessageIcon::Question) = 0;
  // The chosen full path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogSpec& spec) = 0;
  // The "File Properties" dialog: shows the five strings, lets the user edit
  // them in place and returns true on OK. Without a dialog: cancelled.
  virtual bool EditFileProperties(FileInfo& fields) {
    (void)fields;
    return false;
  }
  // The "Snapshots" dialog: shows the given size and rendering type, writes
  // the choices back and returns true for OK. Without a dialog: cancelled.
  virtual bool ChooseSnapshot(SnapshotDialog& dialog) {
    (void)dialog;
    return false;
  }
};

}  // namespace mok
