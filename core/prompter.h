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

#include "core/dialog_state.h"

namespace mok {

struct FileInfo;
struct NewSkinDialog;
struct ResizeSkinDialog;
struct MapFrom3DViewOptions;
struct TilingOptions;
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
  // The system colour dialog, opened full on `colour` (0x00RRGGBB; the
  // dialog's own byte order is the shell's business) with sixteen custom
  // slots it may change. True on OK with the choice in `colour`. Without a
  // dialog: cancelled.
  virtual bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) {
    (void)colour;
    (void)customSlots;
    return false;
  }
  // A file dialog whose caller needs the filter in use. Without filter
  // support the answer counts as the first filter's.
  virtual std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec& spec) {
    std::optional<std::string> path = ChooseFile(spec);
    if (!path) return std::nullopt;
    return FileChoice{*path, 1};
  }
  // The folder browser: a folder, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFolder(const std::string&) { return std::nullopt; }
  // "Create New Skin" and "Resize Skin / UV Mapping" (skin/skin_dialogs.h):
  // the dialog shows the state it is given and writes the choices back;
  // true for OK. Without the dialog: cancelled.
  virtual bool ChooseNewSkin(NewSkinDialog&) { return false; }
  virtual bool ChooseSkinResize(ResizeSkinDialog&) { return false; }
  // The "File Properties" dialog: shows the five strings, lets the user edit
  // them in place and returns true on OK. Without a dialog: cancelled.
  virtual bool EditFileProperties(FileInfo& fields) {
    (void)fields;
    return false;
  }

  // Modal dialogs: each shows the state it is given and writes the user's
  // choices back into it. A prompter without the dialog answers cancel.
  virtual TriangleFlagsOutcome EditTriangleFlags(TriangleFlagsDialog&) { return TriangleFlagsOutcome::Cancel; }
  // True for OK.
  virtual bool ChooseChannel(ChannelDialog&) { return false; }
  // True for OK.
  virtual bool ChooseMkmpImportOptions(MkmpImportOptions&) { return false; }
  // "Map from 3D View". True for OK.
  virtual bool ChooseMapFrom3DView(MapFrom3DViewOptions&) { return false; }
  // "Tiling Options". True for OK.
  virtual bool EditTilingOptions(TilingOptions&) { return false; }
  // The "Snapshots" dialog: shows the given size and rendering type, writes
  // the choices back and returns true for OK. Without a dialog: cancelled.
  virtual bool ChooseSnapshot(SnapshotDialog&) { return false; }
};

}  // namespace mok
