#pragma once
// "Create New Skin": the size radios, the "Other" size fields and the three
// patterns. OK refuses a size out of range or not a power of two and stays
// open.

#include <QDialog>

#include "app/skin_dialogs.h"
#include "core/prompter.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace mok::shell {

class NewSkinWindow final : public QDialog {
 public:
  NewSkinWindow(const NewSkinDialog& state, Prompter& prompter, QWidget* parent = nullptr);
  // The choices as accepted; valid after OK.
  const NewSkinDialog& state() const { return state_; }
  void accept() override;

 private:
  NewSkinDialog state_;
  Prompter& prompter_;
  QButtonGroup* size_;
  QLineEdit* width_;
  QLineEdit* height_;
  QCheckBox* checkerboard_;
  QCheckBox* gridded_;
  QCheckBox* meshLines_;
};

}  // namespace mok::shell
