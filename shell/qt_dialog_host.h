#pragma once
// The program's own dialogs as Qt dialogs, each modal on the main window;
// their validation messages go through the prompter.

#include <QWidget>

#include "core/dialog_host.h"
#include "core/prompter.h"

namespace mok::shell {

class QtDialogHost final : public DialogHost {
 public:
  explicit QtDialogHost(Prompter& prompter, QWidget* parent = nullptr) : prompter_(prompter), parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  bool EditFileProperties(FileInfo& fields) override;
  bool ChooseMkmpImportOptions(MkmpImportOptions& options) override;
  TriangleFlagsOutcome EditTriangleFlags(TriangleFlagsDialog& dialog) override;
  bool ChooseChannel(ChannelDialog& dialog) override;
  bool ChooseNewSkin(NewSkinDialog& dialog) override;
  bool ChooseSkinResize(ResizeSkinDialog& dialog) override;
  bool EditTilingOptions(TilingOptions& options) override;
  bool ChooseMapFrom3DView(MapFrom3DViewOptions& options) override;
  bool ChooseSnapshot(SnapshotDialog& dialog) override;
  bool EditPreferences(PreferencesDialog& dialog, PreferencesBrowser& browser) override;
  void ShowModelStats(const ModelStats& stats) override;
  void ShowAbout() override;

 private:
  Prompter& prompter_;
  QWidget* parent_;
};

}  // namespace mok::shell
