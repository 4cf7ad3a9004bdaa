#include "shell/command_menus.h"

#include <QMenuBar>

#include "shell/recent_files_menu.h"
#include "shell/shortcuts_window.h"
#include "shell/toolbar_pictures.h"

namespace mok::shell {

namespace {

constexpr std::string_view kNumPad = "NumPad ";

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool OnAnyToolbar(int id) {
  for (int set : {kToolbarPaint, kToolbarMapping, kToolbarCamera, kToolbarUnused})
    for (int button : ToolbarButtons(set))
      if (button == id) return true;
  return false;
}

}  // namespace

QKeySequence KeySequenceOf(std::string_view key) {
  if (key.starts_with(kNumPad) && key.size() == kNumPad.size() + 1) {
    const int digit = key.back() - '0';
    return QKeySequence(Qt::KeypadModifier | Qt::Key(Qt::Key_0 + digit));
  }
  return QKeySequence::fromString(ToQString(key), QKeySequence::PortableText);
}

CommandMenus::CommandMenus(QMainWindow& window, CommandTable& table, WindowHooks hooks, QToolBar* toolBar)
    : QObject(&window), window_(window), table_(table), hooks_(std::move(hooks)), toolBar_(toolBar) {
  for (const CommandRow& row : CommandRows()) actions_[row.id] = MakeAction(row);

  for (const Menu& menu : MenuBar()) {
    QMenu* bar = window_.menuBar()->addMenu(ToQString(menu.title));
    FillMenu(*bar, menu.entries);
  }
  skinBoxMenu_ = new QMenu("SkinBox", &window_);
  isoBoxMenu_ = new QMenu("IsoBox", &window_);
  FillContextMenu(*skinBoxMenu_, ContextMenu("SkinBox"));
  FillContextMenu(*isoBoxMenu_, ContextMenu("IsoBox"));

  // Keys of commands without a menu item work through the window itself.
  for (const CommandRow& row : CommandRows())
    if (!row.keys.empty() && actions_[row.id]->associatedObjects().isEmpty()) window_.addAction(actions_[row.id]);

  if (toolBar_ == nullptr) {
    toolBar_ = new QToolBar("Main Toolbar", &window_);
    toolBar_->setMovable(false);
    window_.addToolBar(Qt::TopToolBarArea, toolBar_);
  }
  toolBar_->setIconSize(QSize(kToolbarPictureWidth, kToolbarPictureHeight));
  UpdateItems();
}

QAction* CommandMenus::MakeAction(const CommandRow& row) {
  auto* action = new QAction(ToQString(MenuText(row, table_.context())), this);
  action->setData(row.id);
  QList<QKeySequence> keys;
  for (std::string_view key : row.keys) keys.append(KeySequenceOf(key));
  action->setShortcuts(keys);
  action->setShortcutContext(Qt::ApplicationShortcut);
  action->setStatusTip(QString::fromUtf8(row.prompt));
  action->setToolTip(QString::fromUtf8(*row.tooltip != '\0' ? row.tooltip : PlainText(row.text).c_str()));
  action->setCheckable(row.checked != nullptr);
  if (OnAnyToolbar(row.id)) {
    action->setIcon(ToolbarPicture(row.id));
    action->setIconVisibleInMenu(false);
  }
  const int id = row.id;
  connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
  return action;
}

void CommandMenus::FillMenu(QMenu& menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (entry.submenu != nullptr && std::string_view(entry.submenu) == kRecentFilesMenu) {
      menu.addMenu(new RecentFilesMenu(table_.context().app, &menu));
    } else if (entry.submenu != nullptr) {
      FillMenu(*menu.addMenu(ToQString(entry.submenu)), entry.entries);
    } else if (entry.id == 0) {
      menu.addSeparator();
    } else {
      menu.addAction(actions_.at(entry.id));
    }
  }
  connect(&menu, &QMenu::aboutToShow, this, &CommandMenus::UpdateItems);
}

void CommandMenus::FillContextMenu(QMenu& menu, const std::vector<int>& ids) {
  for (int id : ids) {
    if (id == 0) menu.addSeparator();
    else menu.addAction(actions_.at(id));
  }
  connect(&menu, &QMenu::aboutToShow, this, &CommandMenus::UpdateItems);
}

QAction* CommandMenus::action(int id) const {
  auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

QMenu* CommandMenus::contextMenu(std::string_view name) const {
  if (name == "SkinBox") return skinBoxMenu_;
  if (name == "IsoBox") return isoBoxMenu_;
  return nullptr;
}

bool CommandMenus::Available(const CommandRow& row) const {
  if (*row.pending != '\0') return false;
  return row.window != WindowAction::SwapDisplays || static_cast<bool>(hooks_.swapDisplays);
}

void CommandMenus::Trigger(int id) {
  const CommandRow* row = FindCommand(id);
  if (row == nullptr || !Available(*row)) return;
  if (row->window == WindowAction::Close) {
    window_.close();  // the window, and these menus with it, may be gone now
    return;
  }
  if (row->window == WindowAction::SwapDisplays) hooks_.swapDisplays();
  else if (row->window == WindowAction::ShowKeyboardShortcuts) ShowKeyboardShortcuts();
  else table_.Run(id);
  UpdateItems();
  emit commandDone(id);
}

void CommandMenus::UpdateItems() {
  for (const CommandRow& row : CommandRows()) {
    QAction* action = actions_.at(row.id);
    action->setEnabled(Available(row) && table_.Enabled(row.id));
    if (action->isCheckable()) action->setChecked(table_.Checked(row.id));
    if (row.label != nullptr) action->setText(ToQString(MenuText(row, table_.context())));
  }
  if (table_.toolbarSet() != shownSet_) ShowToolbarSet(table_.toolbarSet());
}

void CommandMenus::ShowToolbarSet(int set) {
  toolBar_->clear();
  for (int id : ToolbarButtons(set)) {
    if (id == 0) toolBar_->addSeparator();
    else toolBar_->addAction(actions_.at(id));
  }
  shownSet_ = set;
}

void CommandMenus::ShowKeyboardShortcuts() {
  auto* shortcuts = window_.findChild<ShortcutsWindow*>();
  if (shortcuts == nullptr) shortcuts = new ShortcutsWindow(&window_);
  shortcuts->show();
  shortcuts->raise();
}

CommandMenus& InstallCommandMenus(QMainWindow& window, CommandTable& table, WindowHooks hooks, QToolBar* toolBar) {
  return *new CommandMenus(window, table, std::move(hooks), toolBar);
}

}  // namespace mok::shell
