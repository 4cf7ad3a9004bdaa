#pragma once
// "Triangle Flags": the base type radios, the modifier boxes (partly checked
// where the selected faces mix a bit), and the Select button that closes the
// dialog to select faces by the chosen flags.

#include <QDialog>

#include "core/dialog_state.h"

class QButtonGroup;
class QCheckBox;

namespace mok::shell {

class TriangleFlagsWindow final : public QDialog {
 public:
  // exec() answers Accepted for OK, Rejected for Cancel and this for Select.
  static constexpr int kSelected = 3;

  TriangleFlagsWindow(const TriangleFlagsDialog& state, QWidget* parent = nullptr);
  TriangleFlagsDialog state() const;
  static TriangleFlagsOutcome OutcomeOf(int result);

 private:
  QButtonGroup* base_;
  QCheckBox* keepModifiers_;
  QCheckBox* fullbright_;
  QCheckBox* flat_;
  QCheckBox* environment_;
  QCheckBox* noSmoothing_;
};

}  // namespace mok::shell
