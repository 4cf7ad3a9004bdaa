#pragma once
// "Resize Skin / UV Mapping": the skin image half and the UV mapping half,
// each from a size to a size, and ">> Syncronize Settings" that copies the
// image half into the mapping half.

#include <QDialog>

#include "app/skin_dialogs.h"
#include "core/prompter.h"

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace mok::shell {

class SkinResizeWindow final : public QDialog {
 public:
  SkinResizeWindow(const ResizeSkinDialog& state, Prompter& prompter, QWidget* parent = nullptr);
  // The choices as accepted; valid after OK.
  const ResizeSkinDialog& state() const { return state_; }
  void accept() override;

 private:
  struct Half {
    QCheckBox* enabled;
    QLineEdit* fromWidth;
    QLineEdit* fromHeight;
    QButtonGroup* choice;
    QLineEdit* toWidth;
    QLineEdit* toHeight;
  };
  Half AddHalf(QBoxLayout& layout, const char* title, const char* check, const char* prefix);
  void SynchronizeSettings();

  ResizeSkinDialog state_;
  Prompter& prompter_;
  Half skin_;
  Half uv_;
};

}  // namespace mok::shell
