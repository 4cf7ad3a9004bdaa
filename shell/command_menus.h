#pragma once
// The menu bar, the two corner-button menus, the keys and the main toolbar,
// all built from the command table. Every command goes through
// CommandTable::Run; afterwards, and whenever a menu opens, the items are
// enabled, checked and relabelled by the table's rules and the toolbar shows
// the set the table names.
//
// The keys are application-wide, so they work whichever pane has the focus;
// a modal dialog still blocks them.

#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <functional>
#include <map>
#include <string_view>

#include "app/command_table.h"

namespace mok::shell {

// Commands the window itself carries out. A command without its hook is
// shown disabled.
struct WindowHooks {
  std::function<void()> swapDisplays;  // Options > Swap Displays
};

// A key of the table ("Ctrl+O", "`", "Shift+1", "NumPad 9") as Qt knows it.
QKeySequence KeySequenceOf(std::string_view key);

class CommandMenus final : public QObject {
  Q_OBJECT
 public:
  // Fills `toolBar` (the window's own, e.g. in its rebar), or makes one in
  // the window's top tool bar area when it is null.
  CommandMenus(QMainWindow& window, CommandTable& table, WindowHooks hooks, QToolBar* toolBar);

  // The one action of a command (shared by menus, toolbar and keys).
  QAction* action(int id) const;
  // "SkinBox" or "IsoBox"; null for another name.
  QMenu* contextMenu(std::string_view name) const;
  QToolBar* toolBar() const { return toolBar_; }
  int shownToolbarSet() const { return shownSet_; }

  // Runs a command as its menu item would.
  void Trigger(int id);
  // Enables, checks and relabels every item and follows the toolbar set.
  void UpdateItems();

 signals:
  // After every command, for the window's own follow-up.
  void commandDone(int id);

 private:
  QAction* MakeAction(const CommandRow& row);
  void FillMenu(QMenu& menu, const std::vector<MenuEntry>& entries);
  void FillContextMenu(QMenu& menu, const std::vector<int>& ids);
  void ShowToolbarSet(int set);
  void ShowKeyboardShortcuts();
  bool Available(const CommandRow& row) const;

  QMainWindow& window_;
  CommandTable& table_;
  WindowHooks hooks_;
  std::map<int, QAction*> actions_;
  QMenu* skinBoxMenu_;
  QMenu* isoBoxMenu_;
  QToolBar* toolBar_;
  int shownSet_ = 0;
};

// Builds everything on the window: the menu bar, the keys (on the window
// itself for the commands without a menu item), the context menus and the
// toolbar buttons (set 175 at first) in `toolBar`, or in a "Main Toolbar" of
// its own when that is null.
CommandMenus& InstallCommandMenus(QMainWindow& window, CommandTable& table, WindowHooks hooks = {},
                                  QToolBar* toolBar = nullptr);

}  // namespace mok::shell
