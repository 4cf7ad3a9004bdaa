#include "shell/new_skin_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {

NewSkinWindow::NewSkinWindow(const NewSkinDialog& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
  SetUpDialog(*this, "Create New Skin");
  auto* layout = new QVBoxLayout(this);
  size_ = AddRadios(*this, *layout, {"64x64", "128x128", "256x256", "512x512", "Other"}, static_cast<int>(state.size));
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  width_ = AddField(*grid, QStringLiteral("Width"), "width", QString::number(state.otherWidth));
  height_ = AddField(*grid, QStringLiteral("Height"), "height", QString::number(state.otherHeight));
  checkerboard_ = AddCheck(*layout, "Checkerboard", state.checkerboard);
  gridded_ = AddCheck(*layout, "Gridded", state.gridded);
  meshLines_ = AddCheck(*layout, "Mesh Lines", state.meshLines);
  AddOkCancel(*this, *layout);
}

void NewSkinWindow::accept() {
  FieldCheck check(prompter_);
  const std::optional<int> width = check.Integer(*width_, kNewSkinMinSize, kNewSkinMaxSize);
  const std::optional<int> height = check.Integer(*height_, kNewSkinMinSize, kNewSkinMaxSize);
  if (!check.ok()) return;
  NewSkinDialog chosen;
  chosen.size = static_cast<NewSkinSizeChoice>(size_->checkedId());
  chosen.otherWidth = *width;
  chosen.otherHeight = *height;
  chosen.checkerboard = checkerboard_->isChecked();
  chosen.gridded = gridded_->isChecked();
  chosen.meshLines = meshLines_->isChecked();
  if (std::optional<std::string> problem = NewSkinDialogProblem(chosen)) {
    prompter_.Message(*problem, MessageIcon::Warning);
    return;
  }
  state_ = chosen;
  QDialog::accept();
}

}  // namespace mok::shell
