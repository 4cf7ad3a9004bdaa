#include "app/preferences.h"

#include <algorithm>
#include <filesystem>

#include "app/map_lists.h"
#include "app/skin_commands.h"

namespace mok {

PreferencesDialog ReadPreferences(const SettingsStore& settings) {
  PreferencesDialog dialog;
  dialog.introNumber = std::clamp(Read(settings, setting::IntroNumber), 0, kIntroCustomNumber);
  dialog.skipIntro = Read(settings, setting::SkipIntro) != 0;
  dialog.introWav = Read(settings, setting::IntroWav);
  dialog.skinWidth = DialogDefaultSkinSize(settings, setting::DefSknResX);
  dialog.skinHeight = DialogDefaultSkinSize(settings, setting::DefSknResY);
  dialog.grid = DialogDefaultSkinGrid(settings);
  dialog.phongPath = settings.readString(setting::PhongPath.section, setting::PhongPath.key).value_or(setting::kDialogPhongPath);
  dialog.envPath = settings.readString(setting::EnvPath.section, setting::EnvPath.key).value_or(setting::kDialogEnvPath);
  dialog.quickExit = Read(settings, setting::QuickExit) != 0;
  dialog.palOnTop = Read(settings, setting::PalOnTop) != 0;
  dialog.customCursors = Read(settings, setting::CustomCursors) != 0;
  dialog.loadScriptSkins = Read(settings, setting::LoadScriptSkins) != 0;
  return dialog;
}

std::optional<std::string> PreferencesBrowser::BrowseMapFolder(MapFolderKind kind) {
  Application& app = app_;
  const bool phong = kind == MapFolderKind::Phong;
  std::optional<std::string> folder = app.prompter.ChooseFolder(phong ? kPhongFolderTitle : kEnvFolderTitle);
  std::error_code error;
  if (!folder || !std::filesystem::is_directory(*folder, error)) {
    app.prompter.Message(kFolderNotValidMessage, MessageIcon::Error);
    return std::nullopt;
  }
  app.prompter.Message(kNextRunMessage, MessageIcon::Information);
  Write(app.settings, phong ? setting::PhongPath : setting::EnvPath, *folder);
  return folder;
}

std::optional<std::string> PreferencesBrowser::BrowseIntroWav() {
  FileDialogSpec spec;
  spec.filter = kWavFilter;
  spec.initialName = "*.wav";
  spec.initialDir = Read(app_.settings, setting::LoadDir);
  std::optional<std::string> chosen = app_.prompter.ChooseFile(spec);
  if (chosen && chosen->find('.') == std::string::npos) *chosen += ".wav";
  return chosen;
}

void ApplyPreferences(Application& app, const PreferencesDialog& chosen) {
  app.customCursors = chosen.customCursors ? 1 : 0;
  const PlaceholderSpec spec{chosen.skinWidth, chosen.skinHeight, chosen.grid};
  const PlaceholderSpec& inForce = app.doc().placeholderSpec;
  if (spec.width != inForce.width || spec.height != inForce.height || spec.grid != inForce.grid)
    RebuildPlaceholders(app, spec);
  SettingsStore& settings = app.settings;
  Write(settings, setting::DefSknResX, chosen.skinWidth);
  Write(settings, setting::DefSknResY, chosen.skinHeight);
  Write(settings, setting::DefSknGrid, chosen.grid);
  Write(settings, setting::CustomCursors, chosen.customCursors ? 1 : 0);
  Write(settings, setting::SkipIntro, chosen.skipIntro ? 1 : 0);
  Write(settings, setting::QuickExit, chosen.quickExit ? 1 : 0);
  Write(settings, setting::PalOnTop, chosen.palOnTop ? 1 : 0);
  Write(settings, setting::IntroNumber, chosen.introNumber);
  Write(settings, setting::IntroWav, chosen.introWav);
  Write(settings, setting::LoadScriptSkins, chosen.loadScriptSkins ? 1 : 0);
}

bool ShowPreferences(Application& app) {
  PreferencesDialog dialog = ReadPreferences(app.settings);
  PreferencesBrowser browser(app);
  if (!app.dialogs.EditPreferences(dialog, browser)) return false;
  ApplyPreferences(app, dialog);
  return true;
}

}  // namespace mok
