#include "shell/mkmp_import_dialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {

MkmpImportDialog::MkmpImportDialog(const MkmpImportOptions& options, QWidget* parent) : QDialog(parent) {
  SetUpDialog(*this, "Import MKMP");
  auto* layout = new QVBoxLayout(this);
  uvs_ = AddCheck(*layout, "Import UVs", options.importUvs);
  typeFlags_ = AddCheck(*layout, "Import Type Flags", options.importTypeFlags);
  channels_ = AddCheck(*layout, "Import Texture Channels", options.importChannels);
  selectedOnly_ = AddCheck(*layout, "Import to Selected Only", options.selectedOnly);
  AddOkCancel(*this, *layout);
}

MkmpImportOptions MkmpImportDialog::options() const {
  return {uvs_->isChecked(), typeFlags_->isChecked(), channels_->isChecked(), selectedOnly_->isChecked()};
}

}  // namespace mok::shell
