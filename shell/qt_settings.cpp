#include "shell/qt_settings.h"

namespace mok::shell {
namespace {
QString KeyOf(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + "/" + QString::fromStdString(key);
}
}  // namespace

QtSettingsStore::QtSettingsStore() : settings_("Korvane", "MOK") {}

std::optional<std::int32_t> QtSettingsStore::readInt(const std::string& section, const std::string& key) const {
  QVariant value = settings_.value(KeyOf(section, key));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  // Colours are stored as unsigned DWORDs; read the full 32 bits.
  qlonglong number = value.toLongLong(&ok);
  if (!ok || number < INT32_MIN || number > UINT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::optional<std::string> QtSettingsStore::readString(const std::string& section, const std::string& key) const {
  QVariant value = settings_.value(KeyOf(section, key));
  if (!value.isValid() || !value.canConvert<QString>()) return std::nullopt;
  return value.toString().toStdString();
}

void QtSettingsStore::writeInt(const std::string& section, const std::string& key, std::int32_t value) {
  settings_.setValue(KeyOf(section, key), value);
}

void QtSettingsStore::writeString(const std::string& section, const std::string& key, const std::string& value) {
  settings_.setValue(KeyOf(section, key), QString::fromStdString(value));
}

}  // namespace mok::shell
