#include "core/settings.h"

#include <algorithm>

namespace mok {

std::optional<std::int32_t> MemorySettings::readInt(const std::string& section, const std::string& key) const {
  auto it = values_.find({section, key});
  if (it == values_.end() || !std::holds_alternative<std::int32_t>(it->second)) return std::nullopt;
  return std::get<std::int32_t>(it->second);
}

std::optional<std::string> MemorySettings::readString(const std::string& section, const std::string& key) const {
  auto it = values_.find({section, key});
  if (it == values_.end() || !std::holds_alternative<std::string>(it->second)) return std::nullopt;
  return std::get<std::string>(it->second);
}

void MemorySettings::writeInt(const std::string& section, const std::string& key, std::int32_t value) {
  values_[{section, key}] = value;
  ++writes_;
}

void MemorySettings::writeString(const std::string& section, const std::string& key, const std::string& value) {
  values_[{section, key}] = value;
  ++writes_;
}

bool MemorySettings::contains(const std::string& section, const std::string& key) const {
  return values_.count({section, key}) != 0;
}

std::int32_t Read(const SettingsStore& store, const IntSetting& s) {
  return store.readInt(s.section, s.key).value_or(s.defaultValue);
}

std::string Read(const SettingsStore& store, const StringSetting& s) {
  return store.readString(s.section, s.key).value_or(s.defaultValue);
}

void Write(SettingsStore& store, const IntSetting& s, std::int32_t value) { store.writeInt(s.section, s.key, value); }

void Write(SettingsStore& store, const StringSetting& s, const std::string& value) {
  store.writeString(s.section, s.key, value);
}

namespace {
std::string ColorKey(int index) { return "Color-" + std::to_string(index); }
}  // namespace

std::uint32_t ReadCustomColor(const SettingsStore& store, int index) {
  auto value = store.readInt(setting::kColorsSection, ColorKey(index));
  return static_cast<std::uint32_t>(value.value_or(setting::kCustomColorDefaults[index]));
}

void WriteCustomColor(SettingsStore& store, int index, std::uint32_t color) {
  store.writeInt(setting::kColorsSection, ColorKey(index), static_cast<std::int32_t>(color));
}

double ReadSplitterFraction(const SettingsStore& store) {
  double fraction = Read(store, setting::Splitter) * 0.0001;
  return std::clamp(fraction, 0.0, 1.0);
}

void WriteSplitterFraction(SettingsStore& store, double fraction) {
  Write(store, setting::Splitter, static_cast<std::int32_t>(fraction * 10000.0));
}

std::int32_t DialogDefaultSkinSize(const SettingsStore& store, const IntSetting& s) {
  return std::clamp(store.readInt(s.section, s.key).value_or(64), 4, 512);
}

std::int32_t DialogDefaultSkinGrid(const SettingsStore& store) {
  return std::clamp(Read(store, setting::DefSknGrid), 0, 2);
}

}  // namespace mok
