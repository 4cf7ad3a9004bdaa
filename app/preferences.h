#pragma once
// File > Preferences...: the "Preferences" settings as the dialog shows them,
// its browse buttons (the map folders are written the moment they are
// chosen) and what OK applies. The dialog itself is the dialog host's.

#include <optional>
#include <string>

#include "app/intro_sound.h"
#include "core/application.h"

namespace mok {

inline constexpr int kPreferencesSkinMin = 4;
inline constexpr int kPreferencesSkinMax = 512;

inline constexpr const char* kPhongFolderTitle = "Select the folder to be scanned for Phong Maps";
inline constexpr const char* kEnvFolderTitle = "Select the folder to be scanned for Environment Maps";
inline constexpr const char* kNextRunMessage = "This setting will take affect the next time you run MOK.";
inline constexpr const char* kWavFilter = "WAV Audio (*.wav)|*.wav|All Files (*.*)|*.*||";

// The dialog's values. The folders are shown only: OK does not write them.
struct PreferencesDialog {
  int introNumber = 1;  // 0..8, the intro list's index (app/intro_sound.h)
  bool skipIntro = false;
  std::string introWav;
  int skinWidth = 64;  // 4..512
  int skinHeight = 64;
  int grid = 2;  // 0 "2x2", 1 "4x4", 2 "8x8"
  std::string phongPath;
  std::string envPath;
  bool quickExit = false;
  bool palOnTop = false;
  bool customCursors = true;
  bool loadScriptSkins = true;  // "Script Skins": open meshes with the skins their package scripts name
};

// The values as the dialog opens: the settings with the dialog's defaults,
// sizes clamped to 4..512, the grid to 0..2 and the intro index to 0..8.
PreferencesDialog ReadPreferences(const SettingsStore& settings);

enum class MapFolderKind { Phong, Environment };

// The dialog's browse buttons, acting while it is open.
class PreferencesBrowser {
 public:
  explicit PreferencesBrowser(Application& app) : app_(app) {}
  // The folder picker with its title; a cancelled or unusable folder says
  // kFolderNotValidMessage and gives nothing, a usable one says
  // kNextRunMessage, is written to "Phong Path" or "Env Path" at once, and
  // is returned for the dialog to show.
  std::optional<std::string> BrowseMapFolder(MapFolderKind kind);
  // The intro WAV's "...": an open dialog in the "LoadDir" folder; the
  // chosen path, with ".wav" appended when it has no dot.
  std::optional<std::string> BrowseIntroWav();

 private:
  Application& app_;
};

// OK: the cursor switch at once, the default skin size and grid (rebuilding
// the placeholders when they differ from those in force), and every value
// but the folders written to the settings. The shell moves the palette strip.
void ApplyPreferences(Application& app, const PreferencesDialog& chosen);

// The whole command; true when OK applied new values (the shell then lays
// out the palette strip by "Pal On Top").
bool ShowPreferences(Application& app);

}  // namespace mok
