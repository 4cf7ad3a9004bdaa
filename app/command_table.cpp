#include "app/command_table.h"

#include <map>

#include "app/command_rows.h"

namespace mok {

namespace {

std::vector<CommandRow> AllRows() {
  std::vector<CommandRow> rows;
  for (auto part : {command_rows::FileAndOptionsRows, command_rows::SkinAndMappingRows,
                    command_rows::SelectionMeshAndViewRows, command_rows::PaneAndKeyRows}) {
    std::vector<CommandRow> more = part();
    rows.insert(rows.end(), more.begin(), more.end());
  }
  return rows;
}

MenuEntry Sub(const char* title, std::vector<MenuEntry> entries) { return {0, title, std::move(entries)}; }

// The command path of every id in the menu bar ("File > Import > Quake2 MD2").
void CollectPaths(const std::vector<MenuEntry>& entries, const std::string& prefix, std::map<int, std::string>& paths) {
  for (const MenuEntry& entry : entries) {
    if (entry.submenu != nullptr) {
      CollectPaths(entry.entries, prefix + PlainText(entry.submenu) + " > ", paths);
    } else if (entry.id != 0 && !paths.contains(entry.id)) {
      paths[entry.id] = prefix + PlainText(FindCommand(entry.id)->text);
    }
  }
}

// A key as a Markdown code span; a backtick needs a wider fence.
std::string CodeSpan(std::string_view key) {
  if (key.find('`') != std::string_view::npos) return "`` " + std::string(key) + " ``";
  return "`" + std::string(key) + "`";
}

}  // namespace

const std::vector<CommandRow>& CommandRows() {
  static const std::vector<CommandRow> rows = AllRows();
  return rows;
}

const CommandRow* FindCommand(int id) {
  static const std::map<int, const CommandRow*> byId = [] {
    std::map<int, const CommandRow*> index;
    for (const CommandRow& row : CommandRows()) index.emplace(row.id, &row);
    return index;
  }();
  auto found = byId.find(id);
  return found == byId.end() ? nullptr : found->second;
}

const std::vector<Menu>& MenuBar() {
  static const std::vector<Menu> menus{
      {"&File",
       {{32772}, {32773}, {32774}, {0}, {32944}, Sub("&Import", {{32967}}), Sub("&Export", {{kCommandExportScriptLines}}), Sub(kRecentFilesMenu, {}), {0}, {32829},
        {0}, {57665}}},
      {"&Edit", {{kCommandUndo}, {kCommandRedo}}},
      {"&Options",
       {{32779}, {32780}, {32781}, {0}, {32802}, {32800}, {32801}, {0}, {32881}, {32882}, {32883}, {32914}, {0},
        {32775}, {32865}, {32857}, {0}, Sub("P&hong Maps", {{32858}, {32859}, {32862}}),
        Sub("&Environment Maps", {{32860}, {32861}, {32863}})}},
      {"&Skins", {{32785}, {32777}, {32782}, {32783}, {32784}, {0}, {32787}, {32786}, {32795}, {0}, {32799}, {32955}, {kCommandLoadScriptSkins}}},
      {"&Mapping",
       {{32867}, {0}, {32884}, {32885}, {32886}, {0}, {32816}, {32815}, {0}, {32907}, {32913}, {0}, {32840},
        {32841}, {32891}, {0}, {32799}, {0}, Sub("&K-Link", {{32875}, {32876}, {32915}})}},
      {"Se&lection", {{32796}, {32797}, {32798}, {0}, {32837}, {32838}, {32839}, {0}, {32937}, {32938}}},
      {"M&esh", {{32830}, {32831}, {0}, {32878}, {32879}, {32880}}},
      {"&Views", {{32895}, {0}, {32897}, {32898}, {0}, {32899}, {32900}, {32903}, {32904}, {32901}, {32902}}},
      {"&About/Stats", {{57664}, {kCommandKeyboardShortcuts}, {0}, {32909}}},
  };
  return menus;
}

const std::vector<int>& ContextMenu(std::string_view name) {
  static const std::vector<int> skinBox{32850, 32942, 0, 32939, 32940};
  static const std::vector<int> isoBox{32850, 32943, 32941};
  static const std::vector<int> none;
  if (name == "SkinBox") return skinBox;
  if (name == "IsoBox") return isoBox;
  return none;
}

const std::vector<int>& ToolbarButtons(int set) {
  static const std::map<int, std::vector<int>> sets{
      {kToolbarPaint,
       {32779, 0, 32780, 32781, 0, 32802, 32800, 32801, 0, 32923, 32924, 32925, 0, 32868, 32869, 0, 32850}},
      {kToolbarMapping, {32779, 0, 32780, 32781, 0, 32866, 32867, 0, 32881, 32882, 32883, 0, 32836, 0, 32907, 32913}},
      {kToolbarCamera,
       {32779, 0, 32917, 32918, 32920, 32919, 32921, 32922, 0, 32934, 32914, 0, 32857, 0, 57664, 0, 32909}},
      {kToolbarUnused, {32936}},
  };
  static const std::vector<int> none;
  auto found = sets.find(set);
  return found == sets.end() ? none : found->second;
}

int ToolbarSetFor(const InteractionFlags& flags) {
  if (flags.cameraActive) return kToolbarCamera;
  return flags.editMode == EditMode::Mapping ? kToolbarMapping : kToolbarPaint;
}

std::string MenuText(const CommandRow& row, const CommandContext& context) {
  std::string text = row.label != nullptr ? row.label(context) : row.text;
  if (!row.keys.empty()) text += "\t" + std::string(row.keys.front());
  return text;
}

std::string PlainText(const char* text) {
  std::string plain;
  for (const char* c = text; *c != '\0' && *c != '\t'; ++c) {
    if (*c == '&' && c[1] != '\0') ++c;  // "&&" stays one '&'
    plain += *c;
  }
  return plain;
}

CommandTable::CommandTable(Application& app) : context_{app, nullptr, nullptr, kToolbarCamera} {}

void CommandTable::AttachViews(IsoView* isoView, SkinView* skinView) {
  context_.isoView = isoView;
  context_.skinView = skinView;
}

namespace {

// "Delete Selected Faces", "File Properties": the menu text without its
// marks and dots.
std::string StepName(const CommandRow& row) {
  std::string name = PlainText(row.text);
  while (!name.empty() && name.back() == '.') name.pop_back();
  return name;
}

}  // namespace

bool CommandTable::Run(int id) {
  const CommandRow* row = FindCommand(id);
  if (row == nullptr || row->run == nullptr || !Enabled(id)) return false;
  row->run(context_);
  // Whatever the command changed becomes one undo step named after it.
  if (id != kCommandUndo && id != kCommandRedo)
    context_.app.history.Commit(context_.app.doc(), StepName(*row), row->changes);
  return true;
}

bool CommandTable::Enabled(int id) const {
  const CommandRow* row = FindCommand(id);
  return row != nullptr && (row->enabled == nullptr || row->enabled(context_));
}

bool CommandTable::Checked(int id) const {
  const CommandRow* row = FindCommand(id);
  return row != nullptr && row->checked != nullptr && row->checked(context_);
}

std::vector<ShortcutLine> ShortcutLines() {
  std::map<int, std::string> paths;
  for (const Menu& menu : MenuBar()) CollectPaths(menu.entries, PlainText(menu.title) + " > ", paths);
  std::vector<ShortcutLine> lines;
  for (const CommandRow& row : CommandRows()) {
    if (row.keys.empty()) continue;
    auto path = paths.find(row.id);
    lines.push_back({row.keys, path != paths.end() ? path->second : PlainText(row.text)});
  }
  return lines;
}

std::string JoinKeys(const std::vector<std::string_view>& keys, std::string (*show)(std::string_view)) {
  std::string text;
  for (std::string_view key : keys) text += (text.empty() ? "" : " or ") + show(key);
  return text;
}

std::string ShortcutMarkdown() {
  std::string text = "| Key | Command |\n|---|---|\n";
  for (const ShortcutLine& line : ShortcutLines())
    text += "| " + JoinKeys(line.keys, CodeSpan) + " | " + line.command + " |\n";
  return text;
}

}  // namespace mok
