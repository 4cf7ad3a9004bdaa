#pragma once
// Helpers the row files share: rules and handlers over one interaction flag,
// written once as templates over the flag member. They read and write the
// flags through static_cast, so a flag that becomes an enum or a bool needs
// no change here.

#include <type_traits>
#include <vector>

#include "app/command_table.h"

namespace mok::command_rows {

// The scope of the rows that can change a skin's pixels, size or file.
inline constexpr ChangeScope kChangesSkins = ChangeScope::Everything();

template <auto Member>
int FlagValue(const CommandContext& c) {
  return static_cast<int>(c.app.flags.*Member);
}

template <auto Member>
void SetFlagValue(CommandContext& c, int value) {
  using Flag = std::remove_cvref_t<decltype(c.app.flags.*Member)>;
  c.app.flags.*Member = static_cast<Flag>(value);
}

// Checked while the flag holds Value.
template <auto Member, int Value>
bool FlagIs(const CommandContext& c) {
  return FlagValue<Member>(c) == Value;
}

// Sets the flag to Value.
template <auto Member, int Value>
void SetFlag(CommandContext& c) {
  SetFlagValue<Member>(c, Value);
}

// Flips a 0/1 flag.
template <auto Member>
void ToggleFlag(CommandContext& c) {
  SetFlagValue<Member>(c, FlagValue<Member>(c) != 0 ? 0 : 1);
}

template <auto Member>
bool FlagSet(const CommandContext& c) {
  return FlagValue<Member>(c) != 0;
}

// "Quick Render" of the 3D view's menu. It lives with the other picture
// commands: their header and the skin view's cannot meet in one file (each
// has its own CornerUv).
void QuickRender(CommandContext& c);

// The rows of each part of the menu bar and of the rest.
std::vector<CommandRow> FileAndOptionsRows();
std::vector<CommandRow> SkinAndMappingRows();
std::vector<CommandRow> SelectionMeshAndViewRows();
std::vector<CommandRow> PaneAndKeyRows();

}  // namespace mok::command_rows
