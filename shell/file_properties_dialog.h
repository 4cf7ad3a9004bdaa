#pragma once
// "File Properties": the five strings of the info file, each held to its
// length limit while it is typed.

#include <QDialog>

#include "core/mesh_document.h"

class QLineEdit;
class QPlainTextEdit;

namespace mok::shell {

class FilePropertiesDialog final : public QDialog {
 public:
  FilePropertiesDialog(const FileInfo& fields, QWidget* parent = nullptr);
  // The fields as the controls hold them.
  FileInfo fields() const;

 private:
  QLineEdit* author_;
  QLineEdit* contact_;
  QLineEdit* date_;
  QPlainTextEdit* comments_;
  QPlainTextEdit* credits_;
};

}  // namespace mok::shell
