#pragma once
// "Set Triangle Type Flags...": sets the base type (low nibble of `type`) and
// the modifier bits (high nibble) of every face whose selected bit is set,
// hidden faces included, or selects the faces that match a type.

#include <cstdint>

#include "core/dialog_state.h"
#include "core/application.h"
#include "core/dialog_host.h"

namespace mok {

// What the dialog's controls ask for, once read.
struct TypeFlagsChoice {
  bool keepBase = true;
  std::uint8_t base = 0;        // the low nibble, unless keepBase
  bool keepModifiers = true;
  std::uint8_t modifiers = 0;   // the high nibble, unless keepModifiers
  std::uint8_t keptModifiers = 0;  // bits of boxes left partly checked: each face keeps its own
};

// The dialog as it opens for the current selection: a common base type shows
// its radio (none for a type without one), a mixed base shows "No Change From
// Existing"; common modifiers show their boxes, mixed ones check the
// modifiers' "No Change From Existing" box, and each modifier box is checked
// when every selected face has its bit, partly checked when only some have.
TriangleFlagsDialog InitialTypeFlagsDialog(const MeshDocument& doc);

// Reads the controls; with no radio chosen the base is the first selected
// face's own. A partly checked box neither sets nor clears its bit.
TypeFlagsChoice ReadTypeFlagsDialog(const TriangleFlagsDialog& dialog, const MeshDocument& doc);

// OK: writes the choice into every face with the selected bit set.
void ApplyTypeFlags(MeshDocument& doc, const TypeFlagsChoice& choice);
// Select: every face (hidden included) is selected exactly when it matches.
void SelectByTypeFlags(MeshDocument& doc, const TypeFlagsChoice& choice);

// The whole command; does nothing while no face has its selected bit set.
void SetTypeFlags(Application& app);

}  // namespace mok
