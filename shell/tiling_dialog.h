#pragma once
// "Tiling Options": tiled skin view on or off and the repeat count.

#include <QDialog>

#include "core/prompter.h"
#include "panes/pane_dialogs.h"

class QCheckBox;
class QLineEdit;

namespace mok::shell {

class TilingWindow final : public QDialog {
 public:
  TilingWindow(const TilingOptions& options, Prompter& prompter, QWidget* parent = nullptr);
  // The choices as accepted; valid after OK.
  const TilingOptions& options() const { return options_; }
  void accept() override;

 private:
  TilingOptions options_;
  Prompter& prompter_;
  QCheckBox* tiled_;
  QLineEdit* repeat_;
};

}  // namespace mok::shell
