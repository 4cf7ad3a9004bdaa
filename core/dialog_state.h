#pragma once
// The state of the small modal dialogs of the selection and mapping commands,
// as plain values: a command fills one in, the dialog host shows it and writes
// the user's choices back.

#include <string>
#include <vector>

namespace mok {

// A modifier check box: clear, checked, or partly checked while the selected
// faces disagree on its bit (each face then keeps its own).
enum class FlagBox { Clear, Checked, Mixed };

// "Triangle Flags": base type radios and modifier check boxes.
struct TriangleFlagsDialog {
  // 0 "No Change From Existing", 1..6 the base types in dialog order
  // (normal one-sided, normal two-sided, translucent, masked, modulate,
  // weapon placeholder), -1 when no radio is chosen.
  int baseChoice = 0;
  bool keepModifiers = true;  // the modifiers' "No Change From Existing" box
  FlagBox fullbright = FlagBox::Clear;
  FlagBox flat = FlagBox::Clear;
  FlagBox environmentMapped = FlagBox::Clear;
  FlagBox noSmoothing = FlagBox::Clear;
};

enum class TriangleFlagsOutcome { Cancel, Ok, Select };

// "Assign Texture Channel": one line per skin slot and the chosen line.
struct ChannelDialog {
  std::vector<std::string> lines;
  int chosen = -1;  // -1 when no line is chosen
};

// "Import MKMP" check boxes, with their initial states.
struct MkmpImportOptions {
  bool importUvs = true;
  bool importTypeFlags = true;
  bool importChannels = true;
  bool selectedOnly = false;
};

}  // namespace mok
