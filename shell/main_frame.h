#pragma once
// The program's one top-level window: the menu bar, the rebar (a tool bar
// area holding the main tool bar and the bands "Textures", "Frames" and
// "Modes" with the side lists) and the ShellWindow with the four boxes. No
// status bar: prompts show as tool tips.

#include <QComboBox>
#include <QMainWindow>
#include <QToolBar>

#include <memory>

#include "app/command_table.h"
#include "core/application.h"
#include "shell/command_menus.h"
#include "shell/shell_window.h"
#include "shell/texture_list_manager.h"

namespace mok::shell {

class MainFrame final : public QMainWindow {
  Q_OBJECT
 public:
  // Reads "Splitter" and builds the window around the application.
  explicit MainFrame(Application& app);

  // Rebuilds the five side lists from the document and selects the current
  // entries; the title follows the mesh on screen.
  void FillSideLists();
  // "MOK-Refresh" sent to the frame: the shell renders and redraws.
  void HandleRefresh(const RefreshRequest& request);

  ShellWindow& shell() { return *shell_; }
  CommandMenus& commands() { return *commandMenus_; }
  CommandTable& commandTable() { return *commandTable_; }
  QToolBar& mainToolBar() { return *toolBar_; }
  QComboBox& framesList() { return *framesList_; }
  QComboBox& modesList() { return *modesList_; }
  TextureListManager& textureListManager() { return *textureListManager_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildRebar();
  void ConnectSideLists();
  void ChooseMode(int index);
  // The program, the mesh on screen and an asterisk while it has changes.
  void UpdateTitle();
  // The menu bar, keys, tool bar sets and corner-button menus from the
  // command table.
  void InstallCommands();

  Application& app_;
  ShellWindow* shell_;
  QToolBar* toolBar_ = nullptr;
  TextureListManager* textureListManager_ = nullptr;
  QComboBox* framesList_ = nullptr;
  QComboBox* modesList_ = nullptr;
  std::unique_ptr<CommandTable> commandTable_;
  CommandMenus* commandMenus_ = nullptr;
};

}  // namespace mok::shell
