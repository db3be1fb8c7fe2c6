#include "adapters/qt_settings_store.h"

#include <QFile>

#include "adapters/qt_text.h"

namespace tallyform::adapters {

QtSettingsStore::QtSettingsStore(const std::filesystem::path& file)
    : settings_(QFile::decodeName(file.c_str()), QSettings::IniFormat) {}

std::optional<std::string> QtSettingsStore::Read(const std::string& key) {
  const QString name = ToQString(key);
  if (!settings_.contains(name)) return std::nullopt;
  return FromQString(settings_.value(name).toString());
}

bool QtSettingsStore::Write(const std::string& key, const std::string& value) {
  if (!settings_.isWritable()) return false;
  settings_.setValue(ToQString(key), ToQString(value));
  settings_.sync();
  return settings_.status() == QSettings::NoError;
}

}  // namespace tallyform::adapters
