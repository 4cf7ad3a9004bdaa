#pragma once
// The command table: every user command (menu item, accelerator key, toolbar
// button, context-menu item) as one row with its id, texts, keys, handler and
// the rules that enable, check or relabel it; plus the menu bar, the two
// corner-button menus and the toolbar button sets as lists of ids. The shell
// builds its menus, shortcuts and toolbar from this data and calls back into
// CommandTable::Run; nothing here knows a toolkit.
//
// Ids are the resource ids of the original program, so a separator in a
// list of ids is 0.

#include <string>
#include <string_view>
#include <vector>

#include "core/application.h"

namespace mok {

class IsoView;
class KLink;
class SkinView;

// What a command reaches besides the application: the two views, once the
// window has made them (null before, and in headless use), and the toolbar
// set the window shows.
struct CommandContext {
  Application& app;
  IsoView* isoView = nullptr;
  SkinView* skinView = nullptr;
  int toolbarSet = 0;
  KLink* klink = nullptr;  // the session link, once the shell made one
};

// Commands only the window itself can carry out; the shell acts on them.
enum class WindowAction {
  None,
  Close,                  // the window's close request (asks before quitting)
  SwapDisplays,           // swaps the skin and 3D boxes and lays them out again
  ShowKeyboardShortcuts,  // the "Keyboard Shortcuts" window
};

using CommandHandler = void (*)(CommandContext&);
using CommandRule = bool (*)(const CommandContext&);
using CommandLabel = std::string (*)(const CommandContext&);

struct CommandRow {
  int id = 0;
  // The menu text with its mnemonic ("&Open..."), without the key. Rows
  // without a menu item carry the name the shortcut list shows.
  const char* text = "";
  // Accelerators in the portable form "Ctrl+O", "Shift+1", "Space", "`",
  // "NumPad 9"; the first one is shown in the menu.
  std::vector<std::string_view> keys = {};
  const char* prompt = "";   // the status prompt
  const char* tooltip = "";  // the toolbar tooltip
  CommandHandler run = nullptr;
  CommandRule enabled = nullptr;  // null: always enabled
  CommandRule checked = nullptr;  // null: never checked
  CommandLabel label = nullptr;   // null: `text`
  WindowAction window = WindowAction::None;
  // Why the row has no handler yet and what brings it; empty when it has one.
  const char* pending = "";
  // The key is taken and nothing happens, by design.
  bool inert = false;
  // What the command can change besides the selection: the undo step
  // recorded after it compares only that with the history's baseline. Most
  // rows change at most the mesh and its mapping; rows that can change a
  // skin say so with kChangesSkins.
  ChangeScope changes = ChangeScope::MeshOnly();
};

// A menu entry: a command id, a separator (id 0, no title) or a submenu.
struct MenuEntry {
  int id = 0;
  const char* submenu = nullptr;  // the submenu's title
  std::vector<MenuEntry> entries = {};  // the submenu's entries
};

// The title of File's submenu of recent meshes: in the table without
// entries, filled from the settings whenever it opens (app/recent_files.h).
inline constexpr const char* kRecentFilesMenu = "Recent &Files";

struct Menu {
  const char* title;
  std::vector<MenuEntry> entries;
};

// The toolbar button sets; 183 exists but is never shown.
inline constexpr int kToolbarPaint = 130;
inline constexpr int kToolbarMapping = 173;
inline constexpr int kToolbarCamera = 175;
inline constexpr int kToolbarUnused = 183;

// File > Preferences...; after OK the window lays out the palette strip anew.
inline constexpr int kCommandPreferences = 32829;
// Our own command, under About/Stats: the list of every key.
inline constexpr int kCommandKeyboardShortcuts = 32970;
// Our own Edit menu: undo and redo of the document's changes.
inline constexpr int kCommandUndo = 32971;
inline constexpr int kCommandRedo = 32972;
// Our own: the skins the package scripts name, and the import lines written
// back for the mesh and its skins.
inline constexpr int kCommandLoadScriptSkins = 32973;
inline constexpr int kCommandExportScriptLines = 32974;

inline constexpr const char* kProgramName = "MOK";
inline constexpr const char* kProgramVersion = "0.1";

// Every row, in menu order, then the toolbar-only and accelerator-only rows.
const std::vector<CommandRow>& CommandRows();
const CommandRow* FindCommand(int id);

const std::vector<Menu>& MenuBar();
// "SkinBox" and "IsoBox"; empty for any other name.
const std::vector<int>& ContextMenu(std::string_view name);
// The buttons of a set in order; empty for an unknown set.
const std::vector<int>& ToolbarButtons(int set);

// The set that fits the interaction state: the camera set while the camera
// is on, else the paint or mapping set of the edit mode. The window shows the
// camera set from creation until the first mode command that changes
// something (CommandTable keeps it).
int ToolbarSetFor(const InteractionFlags& flags);

// The menu text with the first key after a tab: "&Open...\tCtrl+O".
std::string MenuText(const CommandRow& row, const CommandContext& context);
// The text without mnemonic marks and key: "Open...".
std::string PlainText(const char* text);

// The interaction state the rows work on, and the one entry that runs them.
class CommandTable {
 public:
  explicit CommandTable(Application& app);

  void AttachViews(IsoView* isoView, SkinView* skinView);
  CommandContext& context() { return context_; }
  const CommandContext& context() const { return context_; }

  // Runs the row's handler when it has one and is enabled; returns whether
  // a handler ran. Window actions, pending and inert rows return false.
  bool Run(int id);
  bool Enabled(int id) const;
  bool Checked(int id) const;
  int toolbarSet() const { return context_.toolbarSet; }

 private:
  CommandContext context_;
};

// The key reference: one line per row with keys, in row order.
struct ShortcutLine {
  std::vector<std::string_view> keys = {};
  std::string command;  // the menu path "File > Open...", or the row's name
};
std::vector<ShortcutLine> ShortcutLines();
// "` or Shift+C": the keys, each as `show` writes it.
std::string JoinKeys(const std::vector<std::string_view>& keys, std::string (*show)(std::string_view));
// The reference as a Markdown table (the README's copy).
std::string ShortcutMarkdown();

}  // namespace mok
