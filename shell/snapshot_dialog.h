#pragma once
// "Snapshots": the picture's size and how it is rendered.

#include <QDialog>

#include "core/prompter.h"
#include "render/render_dialogs.h"

class QButtonGroup;
class QLineEdit;

namespace mok::shell {

class SnapshotWindow final : public QDialog {
 public:
  SnapshotWindow(const SnapshotDialog& state, Prompter& prompter, QWidget* parent = nullptr);
  // The choices as accepted; valid after OK.
  const SnapshotDialog& state() const { return state_; }
  void accept() override;

 private:
  SnapshotDialog state_;
  Prompter& prompter_;
  QLineEdit* width_;
  QLineEdit* height_;
  QButtonGroup* rendering_;
};

}  // namespace mok::shell
