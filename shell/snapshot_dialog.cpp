#include "shell/snapshot_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {

SnapshotWindow::SnapshotWindow(const SnapshotDialog& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
  SetUpDialog(*this, "Snapshots");
  auto* layout = new QVBoxLayout(this);
  auto* dimensions = new QGroupBox(QStringLiteral("Output Dimensions"));
  auto* grid = new QGridLayout(dimensions);
  width_ = AddField(*grid, QStringLiteral("Width"), "width", QString::number(state.width));
  height_ = AddField(*grid, QStringLiteral("Height"), "height", QString::number(state.height));
  auto* type = new QGroupBox(QStringLiteral("Rendering Type"));
  auto* typeLayout = new QVBoxLayout(type);
  rendering_ = AddRadios(*this, *typeLayout, {"Normal", "Filtered", "Raytraced"}, static_cast<int>(state.rendering));
  layout->addWidget(dimensions);
  layout->addWidget(type);
  AddOkCancel(*this, *layout);
}

void SnapshotWindow::accept() {
  FieldCheck check(prompter_);
  const std::optional<int> width = check.Integer(*width_, kSnapshotMinSide, kSnapshotMaxSide);
  const std::optional<int> height = check.Integer(*height_, kSnapshotMinSide, kSnapshotMaxSide);
  if (!check.ok()) return;
  state_ = {*width, *height, static_cast<SnapshotRendering>(rendering_->checkedId())};
  QDialog::accept();
}

}  // namespace mok::shell
