#pragma once
// The Mapping menu's "&Export..." and "I&mport..." commands: file dialogs,
// the import options dialog and the messages around the mapping file.

#include "core/application.h"

namespace mok {

// Writes the current mapping to a chosen ".mkmp" file; no redraw. The dialog
// opens in loadDir, which is not changed afterwards.
void ExportMappingCommand(Application& app);

// Reads a chosen ".mkmp" file into the current mesh with the options of the
// "Import MKMP" dialog, remembering the file's folder; ends with a mapping
// change notice. Mapping Revert undoes the coordinates it changed.
void ImportMappingCommand(Application& app);

}  // namespace mok
