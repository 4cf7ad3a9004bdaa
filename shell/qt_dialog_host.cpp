#include "shell/qt_dialog_host.h"

#include "shell/about_dialog.h"
#include "shell/channel_dialog.h"
#include "shell/file_properties_dialog.h"
#include "shell/map_from_view_dialog.h"
#include "shell/mkmp_import_dialog.h"
#include "shell/model_stats_dialog.h"
#include "shell/new_skin_dialog.h"
#include "shell/preferences_dialog.h"
#include "shell/skin_resize_dialog.h"
#include "shell/snapshot_dialog.h"
#include "shell/tiling_dialog.h"
#include "shell/triangle_flags_dialog.h"

namespace mok::shell {

bool QtDialogHost::EditFileProperties(FileInfo& fields) {
  FilePropertiesDialog dialog(fields, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  fields = dialog.fields();
  return true;
}

bool QtDialogHost::ChooseMkmpImportOptions(MkmpImportOptions& options) {
  MkmpImportDialog dialog(options, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  options = dialog.options();
  return true;
}

TriangleFlagsOutcome QtDialogHost::EditTriangleFlags(TriangleFlagsDialog& state) {
  TriangleFlagsWindow dialog(state, parent_);
  const TriangleFlagsOutcome outcome = TriangleFlagsWindow::OutcomeOf(dialog.exec());
  if (outcome != TriangleFlagsOutcome::Cancel) state = dialog.state();
  return outcome;
}

bool QtDialogHost::ChooseChannel(ChannelDialog& state) {
  ChannelWindow dialog(state, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  state = dialog.state();
  return true;
}

bool QtDialogHost::ChooseNewSkin(NewSkinDialog& state) {
  NewSkinWindow dialog(state, prompter_, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  state = dialog.state();
  return true;
}

bool QtDialogHost::ChooseSkinResize(ResizeSkinDialog& state) {
  SkinResizeWindow dialog(state, prompter_, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  state = dialog.state();
  return true;
}

bool QtDialogHost::EditTilingOptions(TilingOptions& options) {
  TilingWindow dialog(options, prompter_, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  options = dialog.options();
  return true;
}

bool QtDialogHost::ChooseMapFrom3DView(MapFrom3DViewOptions& options) {
  MapFromViewWindow dialog(options, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  options = dialog.options();
  return true;
}

bool QtDialogHost::ChooseSnapshot(SnapshotDialog& state) {
  SnapshotWindow dialog(state, prompter_, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  state = dialog.state();
  return true;
}

bool QtDialogHost::EditPreferences(PreferencesDialog& state, PreferencesBrowser& browser) {
  PreferencesWindow dialog(state, browser, prompter_, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  state = dialog.state();
  return true;
}

void QtDialogHost::ShowModelStats(const ModelStats& stats) {
  ModelStatsWindow dialog(stats, parent_);
  dialog.exec();
}

void QtDialogHost::ShowAbout() {
  AboutWindow dialog(parent_);
  dialog.exec();
}

}  // namespace mok::shell
