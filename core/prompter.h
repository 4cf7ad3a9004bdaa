#pragma once
// How commands talk to the user: messages, questions and file choices. The
// shell implements it with message boxes and file dialogs; tests script it.
//
// Filters use the "Description (*.x)|*.x|All Files (*.*)|*.*||" form; the
// shell turns them into its dialog's filter list.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace mok {

struct FileInfo;
struct MapFrom3DViewOptions;
struct TilingOptions;

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
  // The system colour dialog, opened full on `colour` (0x00RRGGBB; the
  // dialog's own byte order is the shell's business) with sixteen custom
  // slots it may change. True on OK with the choice in `colour`. Without a
  // dialog: cancelled.
  virtual bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) {
    (void)colour;
    (void)customSlots;
    return false;
  }
  // The "File Properties" dialog: shows the five strings, lets the user edit
  // them in place and returns true on OK. Without a dialog: cancelled.
  virtual bool EditFileProperties(FileInfo& fields) {
    (void)fields;
    return false;
  }
  // The "Map from 3D View" dialog: edits the options in place and returns
  // true on OK. Without a dialog: cancelled.
  virtual bool ChooseMapFrom3DView(MapFrom3DViewOptions& options) {
    (void)options;
    return false;
  }
  // The "Tiling Options" dialog, likewise.
  virtual bool EditTilingOptions(TilingOptions& options) {
    (void)options;
    return false;
  }
};

}  // namespace mok
