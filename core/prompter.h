#pragma once
// How commands talk to the user: messages, questions and the system's file,
// folder and colour choosers. The shell implements it with message boxes and
// the system dialogs; tests script it. The program's own dialogs are the
// DialogHost's (core/dialog_host.h).
//
// Filters use the "Description (*.x)|*.x|All Files (*.*)|*.*||" form; the
// shell turns them into its dialog's filter list.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace mok {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct FileDialogSpec {
  bool save = false;        // a save dialog (else open)
  std::string filter;       // "Unreal Raw Model (*.3d)|*.3d|All Files (*.*)|*.*||"
  std::string initialName;  // "*.3d", or a full name
  std::string initialDir;   // the folder the dialog opens in
  bool mustExist = false;   // an open dialog that only accepts existing files
  bool confirmOverwrite = true;  // a save dialog asks before it replaces a file
};

// A file dialog's answer with the filter that was in use when the user chose.
struct FileChoice {
  std::string path;
  int filterIndex = 1;  // 1 for the first entry of the filter list
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void Message(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;
  virtual Answer Ask(const std::string& text, Buttons buttons, MessageIcon icon = MessageIcon::Question) = 0;
  // The chosen full path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogSpec& spec) = 0;
  // A file dialog whose caller needs the filter in use.
  virtual std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec& spec) = 0;
  // The folder browser with its title: a folder, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string& title) = 0;
  // The system colour dialog, opened full on `colour` (0x00RRGGBB; the
  // dialog's own byte order is the shell's business) with sixteen custom
  // slots it may change. True on OK with the choice in `colour`.
  virtual bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) = 0;
};

}  // namespace mok
