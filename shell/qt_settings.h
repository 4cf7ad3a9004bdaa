#pragma once
// The settings store of the program: QSettings under organisation "Korvane"
// and application "MOK" (the registry on Windows), one group per section.

#include <QSettings>

#include "core/settings.h"

namespace mok::shell {

class QtSettingsStore final : public SettingsStore {
 public:
  QtSettingsStore();
  std::optional<std::int32_t> readInt(const std::string& section, const std::string& key) const override;
  std::optional<std::string> readString(const std::string& section, const std::string& key) const override;
  void writeInt(const std::string& section, const std::string& key, std::int32_t value) override;
  void writeString(const std::string& section, const std::string& key, const std::string& value) override;

 private:
  mutable QSettings settings_;
};

}  // namespace mok::shell
