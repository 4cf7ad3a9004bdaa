#pragma once
// The folder file dialogs open in, remembered from the last file chosen.

#include <string>

#include "core/application.h"

namespace mok {

// After a file dialog returned chosenPath: its folder (everything before the
// last '/' or '\'; a separator right after a drive colon, or a leading '/',
// is kept; a relative folder lies inside `loadDir`) becomes `loadDir`. When
// that folder does not exist the stored "LoadDir" is tried, and when that is
// "Unknown" or no folder either, the process's current directory is used.
// The result is written to "LoadDir". The process's current directory never
// changes.
void UpdateLoadDir(Application& app, const std::string& chosenPath);

// At start-up: `loadDir` = "LoadDir", or the process's current directory
// when that is "Unknown" or no folder; the result is written back.
void InitLoadDir(Application& app);

}  // namespace mok
