#pragma once
// "Assign Texture Channel": one line per skin slot; the chosen line is the
// channel the selected faces move to.

#include <QDialog>

#include "core/dialog_state.h"

class QListWidget;

namespace mok::shell {

class ChannelWindow final : public QDialog {
 public:
  ChannelWindow(const ChannelDialog& state, QWidget* parent = nullptr);
  ChannelDialog state() const;

 private:
  std::vector<std::string> lines_;
  QListWidget* list_;
};

}  // namespace mok::shell
