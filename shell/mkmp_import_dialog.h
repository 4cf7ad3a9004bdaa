#pragma once
// "Import MKMP": which parts of a mapping file to import.

#include <QDialog>

#include "core/dialog_state.h"

class QCheckBox;

namespace mok::shell {

class MkmpImportDialog final : public QDialog {
 public:
  MkmpImportDialog(const MkmpImportOptions& options, QWidget* parent = nullptr);
  MkmpImportOptions options() const;

 private:
  QCheckBox* uvs_;
  QCheckBox* typeFlags_;
  QCheckBox* channels_;
  QCheckBox* selectedOnly_;
};

}  // namespace mok::shell
