#include "shell/channel_dialog.h"

#include <QGroupBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {

ChannelWindow::ChannelWindow(const ChannelDialog& state, QWidget* parent) : QDialog(parent), lines_(state.lines) {
  SetUpDialog(*this, "Assign Texture Channel");
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Assign Selected To..."));
  auto* groupLayout = new QVBoxLayout(group);
  list_ = new QListWidget;
  for (const std::string& line : lines_) list_->addItem(QString::fromStdString(line));
  list_->setCurrentRow(state.chosen);
  groupLayout->addWidget(list_);
  layout->addWidget(group);
  AddOkCancel(*this, *layout);
}

ChannelDialog ChannelWindow::state() const {
  QListWidgetItem* current = list_->currentItem();
  return {lines_, current && current->isSelected() ? list_->currentRow() : -1};
}

}  // namespace mok::shell
