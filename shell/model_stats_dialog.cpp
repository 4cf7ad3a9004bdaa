#include "shell/model_stats_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/about_dialog.h"

namespace mok::shell {

ModelStatsWindow::ModelStatsWindow(const ModelStats& stats, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Model Stats"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(ProgramTitle());
  title->setAlignment(Qt::AlignCenter);
  layout->addWidget(title);
  auto* list = new QTreeWidget;
  list->setRootIsDecorated(false);
  list->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Current")});
  list->headerItem()->setTextAlignment(1, Qt::AlignRight);
  list->setColumnWidth(0, 160);
  list->setColumnWidth(1, 120);
  for (const ModelStatsRow& row : ModelStatsRows(stats)) {
    auto* item = new QTreeWidgetItem(list, {QString::fromLatin1(row.name), QString::number(row.value)});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  list->setMinimumWidth(300);
  layout->addWidget(list);
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignCenter);
}

}  // namespace mok::shell
