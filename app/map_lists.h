#pragma once
// The phong and environment map lists of the application: maps from single
// files or whole folders, closing the active one. Every map is exactly
// 256 x 256 texels; phong maps hold one 8-bit intensity per texel (indexed
// mode), environment maps true colour. A map's name is its file name without
// the folder. Maps keep no stored copy: nothing paints on them.
//
// Every change ends with its change notice; the phong map changes also
// rebuild the gamma table.

#include <string>

#include "core/application.h"

namespace mok {

enum class MapKind { Phong, Environment };

inline constexpr const char* kNoPhongMapsMessage = "There were no valid Phong Maps found at that location";
inline constexpr const char* kNoEnvMapsMessage = "There were no valid Environment Maps at that location";
inline constexpr const char* kFolderNotValidMessage = "That folder is not valid";
inline constexpr const char* kFolderBrowserTitle = "Select the folder you wish to browse...";
inline constexpr const char* kPhongSizeMessage =
    "Error loading Phong Map: Incorrect dimensions!\nPhong maps must be 256x256, and 8bit Greyscale";
inline constexpr const char* kEnvSizeMessage =
    "Error loading Environment Map: Incorrect dimensions!\nEnvironment maps must be 256x256, and 8bit";

inline constexpr const char* kPhongOpenFilter =
    "Supported Formats (*.bmp;*.pcx)|*.bmp;*.pcx|Greyscale Bitmap (*.bmp)|*.bmp|Greyscale PCX (*.pcx)|*.pcx|"
    "All Files (*.*)|*.*||";
inline constexpr const char* kPhongOpenPattern = "*.bmp;*.pcx";
inline constexpr const char* kEnvOpenFilter =
    "Supported Formats (*.bmp;*.tga)|*.bmp;*.tga|Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|All Files (*.*)|*.*||";
inline constexpr const char* kEnvOpenPattern = "*.bmp;*.tga";

MapList& MapsOf(Application& app, MapKind kind);

// Appends every 256 x 256 map of the folder's .PCX, then .BMP, then .TGA
// files (endings in any case, each group in the folder's order). Files of
// another size are skipped without a word, files that cannot be read
// silently; the reader's complaints about files it could read but not use
// are shown together in one message. A folder that cannot be read counts as
// one without maps. When nothing was added the user is told so. The active
// index does not move. Returns the number of maps added.
int ScanMapFolder(Application& app, const std::string& folder, MapKind kind);

// Options > Phong/Environment Maps > Scan Folder...: the folder browser,
// then ScanMapFolder.
void ScanMapFolderCommand(Application& app, MapKind kind);

// The folder a map setting stands for: "Phong Path" or "Env Path", or while
// that is unset ("Unknown") the bundled maps folder when there is one, else
// empty.
std::string MapFolderSetting(const Application& app, MapKind kind);

// What the Preferences dialog shows for a map folder: MapFolderSetting, or
// without one the dialog's own default text.
std::string DialogMapFolder(const Application& app, MapKind kind);

// The start-up scans of the two MapFolderSetting folders, each when there
// is one.
void ScanStartupMapFolders(Application& app);

// Options > Phong Maps > Open... and Environment Maps > Open...: one map
// from a file, which becomes the active one.
void OpenPhongMap(Application& app);
void OpenEnvMap(Application& app);

// Options > ... > Close: removes the active map; the one behind it (or the
// new last one) becomes active, and an emptied list has none (index -1).
void CloseMap(Application& app, MapKind kind);

// Picking a line of a side-bar map list: that map becomes active. An index
// outside the list is ignored.
void SelectMap(Application& app, MapKind kind, int index);

}  // namespace mok
