#pragma once
// File > Recent Files: the last eight meshes opened or saved under a new
// name, newest first, kept in the settings section "Recent Files" as
// "File1".."File8" (unused keys hold an empty string). Every name that
// becomes `currentFile` goes to the top (RememberCurrentFile); the names of
// one mesh (XXX_d.3d, XXX_a.3d, XXX_k.3d, XXX.3d) count as one entry.

#include <optional>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/settings.h"

namespace mok {

inline constexpr int kMaxRecentFiles = 8;
inline constexpr const char* kRecentFilesSection = "Recent Files";
inline constexpr const char* kRecentFileMissingMessage =
    "This file no longer exists and has been removed from the Recent Files list:\n";

std::vector<std::string> ReadRecentFiles(const SettingsStore& settings);

// The list with name on top, its earlier entry (or one of the same mesh)
// removed, cut to eight.
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& name);

void AddRecentFile(SettingsStore& settings, const std::string& name);

// The menu line of entry index (0 = newest): "&1 name" .. "&8 name", with
// every '&' of the name doubled so that it shows as written.
std::string RecentFileMenuText(int index, const std::string& name);

// The file to open for a recent name: the name itself when it is a file,
// else for a mesh name (XXX.3d after Save As) its geometry file XXX_d.3d or
// XXX.3d; nothing when the file is gone.
std::optional<std::string> ExistingRecentFile(const std::string& name);

// Choosing entry index of the menu: a name whose file is gone is removed from
// the list with a message; any other is opened as File > Open opens a chosen
// file (an MD2 model, known by its magic, through the importer). An index
// outside the list does nothing.
void OpenRecentFile(Application& app, int index);

}  // namespace mok
