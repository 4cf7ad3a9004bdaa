#include "shell/triangle_flags_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {

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
  fullbright_ = AddCheck(*modifierLayout, "Fullbright - Do Not Light", state.fullbright);
  flat_ = AddCheck(*modifierLayout, "Flat Surface - Do Not Tesselate", state.flat);
  environment_ = AddCheck(*modifierLayout, "Environment Mapped", state.environmentMapped);
  noSmoothing_ = AddCheck(*modifierLayout, "No Smoothing - No Filtering", state.noSmoothing);
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
  state.fullbright = fullbright_->isChecked();
  state.flat = flat_->isChecked();
  state.environmentMapped = environment_->isChecked();
  state.noSmoothing = noSmoothing_->isChecked();
  return state;
}

TriangleFlagsOutcome TriangleFlagsWindow::OutcomeOf(int result) {
  if (result == kSelected) return TriangleFlagsOutcome::Select;
  return result == QDialog::Accepted ? TriangleFlagsOutcome::Ok : TriangleFlagsOutcome::Cancel;
}

}  // namespace mok::shell
