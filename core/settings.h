#pragma once
// The persistent settings table. Values live in three sections ("Project",
// "Preferences", "Colors32"); a missing value, or one of the wrong kind, reads
// as its default. The application uses a QSettings-backed store, tests the
// in-memory one.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace mok {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<std::int32_t> readInt(const std::string& section, const std::string& key) const = 0;
  virtual std::optional<std::string> readString(const std::string& section, const std::string& key) const = 0;
  virtual void writeInt(const std::string& section, const std::string& key, std::int32_t value) = 0;
  virtual void writeString(const std::string& section, const std::string& key, const std::string& value) = 0;
};

class MemorySettings final : public SettingsStore {
 public:
  std::optional<std::int32_t> readInt(const std::string& section, const std::string& key) const override;
  std::optional<std::string> readString(const std::string& section, const std::string& key) const override;
  void writeInt(const std::string& section, const std::string& key, std::int32_t value) override;
  void writeString(const std::string& section, const std::string& key, const std::string& value) override;

  bool contains(const std::string& section, const std::string& key) const;
  std::size_t writeCount() const { return writes_; }

 private:
  std::map<std::pair<std::string, std::string>, std::variant<std::int32_t, std::string>> values_;
  std::size_t writes_ = 0;
};

struct IntSetting {
  const char* section;
  const char* key;
  std::int32_t defaultValue;
};

struct StringSetting {
  const char* section;
  const char* key;
  const char* defaultValue;
};

namespace setting {
inline constexpr StringSetting LoadDir{"Project", "LoadDir", "Unknown"};
inline constexpr StringSetting CurFile{"Project", "CurFile", "Unknown"};
inline constexpr IntSetting IsoFilter{"Project", "IsoFilter", 1};
inline constexpr IntSetting SknFilter{"Project", "SknFilter", 0};
inline constexpr IntSetting PickerType{"Project", "PickerType", 1};
inline constexpr IntSetting CustomCursors{"Preferences", "CustomCursors", 1};
// Start-up reads the default skin size with 32; the Preferences dialog fills
// its fields with 64 (see DialogDefaultSkinSize).
inline constexpr IntSetting DefSknResX{"Preferences", "DefSkn ResX", 32};
inline constexpr IntSetting DefSknResY{"Preferences", "DefSkn ResY", 32};
inline constexpr IntSetting DefSknGrid{"Preferences", "DefSkn Grid", 2};
inline constexpr IntSetting SkipIntro{"Preferences", "Skip Intro", 0};
inline constexpr IntSetting QuickExit{"Preferences", "Quick Exit", 0};
inline constexpr IntSetting PalOnTop{"Preferences", "Pal On Top", 0};
inline constexpr IntSetting IntroNumber{"Preferences", "Intro Number", 1};
inline constexpr StringSetting IntroWav{"Preferences", "Intro WAV", ""};
inline constexpr StringSetting PhongPath{"Preferences", "Phong Path", "Unknown"};
inline constexpr StringSetting EnvPath{"Preferences", "Env Path", "Unknown"};
inline constexpr IntSetting Splitter{"Preferences", "Splitter", 6500};
// "Load skins named by the package scripts": 1 = opening a mesh also loads
// the skins its package's scripts assign to its channels.
inline constexpr IntSetting LoadScriptSkins{"Preferences", "Script Skins", 1};
// How much memory, in MiB, the undo history may hold before it drops its
// oldest steps; read at start-up, clamped to 0..kMaxHistoryMb (0 keeps no
// steps).
inline constexpr IntSetting HistoryMb{"Preferences", "History MB", 256};
inline constexpr std::int32_t kMaxHistoryMb = 65536;
inline constexpr const char* kColorsSection = "Colors32";
inline constexpr std::int32_t kCustomColorDefaults[8] = {0xFFFFFF, 0x80FF80, 0x8080FF, 0xFF8080,
                                                         0xFFFFFF, 0xAAAAAA, 0x555555, 0x000000};
// What the Preferences dialog shows for an unset map folder.
inline constexpr const char* kDialogPhongPath = "C:\\Program Files\\MOK\\phongs";
inline constexpr const char* kDialogEnvPath = "C:\\Program Files\\MOK\\enviros";
}  // namespace setting

std::int32_t Read(const SettingsStore& store, const IntSetting& s);
std::string Read(const SettingsStore& store, const StringSetting& s);
void Write(SettingsStore& store, const IntSetting& s, std::int32_t value);
void Write(SettingsStore& store, const StringSetting& s, const std::string& value);

// "Color-0" .. "Color-7".
std::uint32_t ReadCustomColor(const SettingsStore& store, int index);
void WriteCustomColor(SettingsStore& store, int index, std::uint32_t color);

// The splitter fraction: the stored value times 0.0001, clamped to 0..1.
double ReadSplitterFraction(const SettingsStore& store);
// Stores the fraction times 10000, truncated.
void WriteSplitterFraction(SettingsStore& store, double fraction);

// The default skin width or height as the Preferences dialog fills its field:
// 64 when unset, clamped to 4..512.
std::int32_t DialogDefaultSkinSize(const SettingsStore& store, const IntSetting& s);
// The grid as the dialog shows it: clamped to 0..2.
std::int32_t DialogDefaultSkinGrid(const SettingsStore& store);

}  // namespace mok
