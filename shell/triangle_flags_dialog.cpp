#include "shell/triangle_flags_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {
namespace {

// A modifier box; one the selection mixes opens partly checked and keeps a
// third state the user can click back to.
QCheckBox* AddFlagBox(QBoxLayout& layout, const char* text, FlagBox state) {
  QCheckBox* box = AddCheck(layout, text, state == FlagBox::Checked);
  if (state == FlagBox::Mixed) box->setCheckState(Qt::PartiallyChecked);
  return box;
}

FlagBox StateOf(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked: return FlagBox::Checked;
    case Qt::PartiallyChecked: return FlagBox::Mixed;
    case Qt::Unchecked: break;
  }
  return FlagBox::Clear;
}

}  // namespace

TriangleFlagsWindow::TriangleFlagsWindow(const TriangleFlagsDialog& state, QWidget* parent) : QDialog(parent) {
  SetUpDialog(*this, "Triangle Flags");
  auto* layout = new QVBoxLayout(this);
  auto* baseGroup = new QGroupBox(QStringLiteral("Base Triangle Type"));
  auto* baseLayout = new QVBoxLayout(baseGroup);
  base_ = AddRadios(*this, *baseLayout,
                    {"No Change From Existing", "Normal - 1 Sided", "Normal - 2 Sided", "Translucent - 2 Sided",
                     "Masked - 2 Sided", "Modulate - 2 Sided", "Placeholder For Weapon"},
                    state.baseChoice);
  auto* modifierGroup = new QGroupBox(QStringLiteral("Triangle Modifiers"));
  auto* modifierLayout = new QVBoxLayout(modifierGroup);
  keepModifiers_ = AddCheck(*modifierLayout, "No Change From Existing", state.keepModifiers);
  fullbright_ = AddFlagBox(*modifierLayout, "Fullbright - Do Not Light", state.fullbright);
  flat_ = AddFlagBox(*modifierLayout, "Flat Surface - Do Not Tesselate", state.flat);
  environment_ = AddFlagBox(*modifierLayout, "Environment Mapped", state.environmentMapped);
  noSmoothing_ = AddFlagBox(*modifierLayout, "No Smoothing - No Filtering", state.noSmoothing);
  layout->addWidget(baseGroup);
  layout->addWidget(modifierGroup);
  auto* select = new QPushButton(QStringLiteral("Select"));
  connect(select, &QPushButton::clicked, this, [this] { done(kSelected); });
  AddOkCancel(*this, *layout, select);
}

TriangleFlagsDialog TriangleFlagsWindow::state() const {
  TriangleFlagsDialog state;
  state.baseChoice = base_->checkedId();
  state.keepModifiers = keepModifiers_->isChecked();
  state.fullbright = StateOf(*fullbright_);
  state.flat = StateOf(*flat_);
  state.environmentMapped = StateOf(*environment_);
  state.noSmoothing = StateOf(*noSmoothing_);
  return state;
}

TriangleFlagsOutcome TriangleFlagsWindow::OutcomeOf(int result) {
  if (result == kSelected) return TriangleFlagsOutcome::Select;
  return result == QDialog::Accepted ? TriangleFlagsOutcome::Ok : TriangleFlagsOutcome::Cancel;
}

}  // namespace mok::shell
