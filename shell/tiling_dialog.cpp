#include "shell/tiling_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {
namespace {

constexpr double kMinRepeat = 1;
constexpr double kMaxRepeat = 99;

}  // namespace

TilingWindow::TilingWindow(const TilingOptions& options, Prompter& prompter, QWidget* parent)
    : QDialog(parent), options_(options), prompter_(prompter) {
  SetUpDialog(*this, "Tiling Options");
  auto* layout = new QVBoxLayout(this);
  tiled_ = AddCheck(*layout, "Render Skin Tiled", options.tiled);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  repeat_ = AddField(*grid, QStringLiteral("Tile repeat"), "tileRepeat", NumberText(options.tileRepeat));
  AddOkCancel(*this, *layout);
}

void TilingWindow::accept() {
  FieldCheck check(prompter_);
  const std::optional<double> repeat = check.Number(*repeat_, kMinRepeat, kMaxRepeat);
  if (!check.ok()) return;
  options_.tiled = tiled_->isChecked();
  options_.tileRepeat = static_cast<float>(*repeat);
  QDialog::accept();
}

}  // namespace mok::shell
