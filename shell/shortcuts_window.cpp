#include "shell/shortcuts_window.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/command_table.h"

namespace mok::shell {

ShortcutsWindow::ShortcutsWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Keyboard Shortcuts");
  const std::vector<ShortcutLine> lines = ShortcutLines();
  auto* table = new QTableWidget(static_cast<int>(lines.size()), 2, this);
  table->setHorizontalHeaderLabels({"Key", "Command"});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  for (int i = 0; i < table->rowCount(); ++i) {
    const ShortcutLine& line = lines[static_cast<std::size_t>(i)];
    const std::string keys = JoinKeys(line.keys, [](std::string_view key) { return std::string(key); });
    table->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(keys)));
    table->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(line.command)));
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table);
  resize(460, 520);
}

}  // namespace mok::shell
