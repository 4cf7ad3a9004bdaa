#pragma once
// The program's modal dialogs. Each one shows the plain state struct its
// command fills in and writes the user's choices back into it; the answer
// tells OK from Cancel. Every method is pure: a shell that leaves a dialog
// out does not compile. Messages, questions and the system's file, folder
// and colour choosers are the Prompter's (core/prompter.h).

#include "core/dialog_state.h"

namespace mok {

struct FileInfo;              // core/mesh_document.h
struct ModelStats;            // core/model_stats.h
struct PreferencesDialog;     // app/preferences.h
class PreferencesBrowser;     // app/preferences.h
struct NewSkinDialog;         // app/skin_dialogs.h
struct ResizeSkinDialog;      // app/skin_dialogs.h
struct TilingOptions;         // panes/pane_dialogs.h
struct MapFrom3DViewOptions;  // panes/pane_dialogs.h
struct SnapshotDialog;        // render/render_dialogs.h

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  // "File Properties": the five strings, edited in place.
  virtual bool EditFileProperties(FileInfo& fields) = 0;
  // "Import MKMP": the four import check boxes.
  virtual bool ChooseMkmpImportOptions(MkmpImportOptions& options) = 0;
  // "Triangle Flags": OK, Select or Cancel.
  virtual TriangleFlagsOutcome EditTriangleFlags(TriangleFlagsDialog& dialog) = 0;
  // "Assign Texture Channel".
  virtual bool ChooseChannel(ChannelDialog& dialog) = 0;
  // "Create New Skin".
  virtual bool ChooseNewSkin(NewSkinDialog& dialog) = 0;
  // "Resize Skin / UV Mapping".
  virtual bool ChooseSkinResize(ResizeSkinDialog& dialog) = 0;
  // "Tiling Options".
  virtual bool EditTilingOptions(TilingOptions& options) = 0;
  // "Map from 3D View".
  virtual bool ChooseMapFrom3DView(MapFrom3DViewOptions& options) = 0;
  // "Snapshots".
  virtual bool ChooseSnapshot(SnapshotDialog& dialog) = 0;
  // "Preferences": its browse buttons act through `browser` while it is open.
  virtual bool EditPreferences(PreferencesDialog& dialog, PreferencesBrowser& browser) = 0;
  // "Model Stats": the size of the loaded model; nothing comes back.
  virtual void ShowModelStats(const ModelStats& stats) = 0;
  // The about box: the program's name and version.
  virtual void ShowAbout() = 0;
};

}  // namespace mok
