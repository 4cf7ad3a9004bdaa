#pragma once
// The Mapping menu's "&Export..." and "I&mport..." commands: file dialogs,
// the import options dialog and the messages around the mapping file.

#include "core/application.h"

namespace mok {

// Writes the current mapping to a chosen ".mkmp" file; no redraw. The dialog
// opens in loadDir, which is not changed afterwards.
void ExportMappingCommand(Application& app);

}  // namespace mok
