#pragma once
// "Model Stats": the program's title over a two-column list of the model's
// size, filled once when the dialog opens.

#include <QDialog>

#include "core/model_stats.h"

namespace mok::shell {

class ModelStatsWindow final : public QDialog {
 public:
  explicit ModelStatsWindow(const ModelStats& stats, QWidget* parent = nullptr);
};

}  // namespace mok::shell
