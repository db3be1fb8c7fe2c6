#pragma once
// The settings store over QSettings: an INI file inside the program's folder, one per user (there is no
// machine-wide store on Linux). Keys and values are code page 1251 in the core, Unicode in the file.

#include <QSettings>
#include <filesystem>
#include <optional>
#include <string>

#include "ports/settings_store.h"

namespace tallyform::adapters {

/// The settings file's name inside the program's folder.
inline constexpr const char* kSettingsFileName = "tallyform.ini";

class QtSettingsStore : public ports::SettingsStore {
 public:
  /// The store kept in `file` (created on the first write).
  explicit QtSettingsStore(const std::filesystem::path& file);
  /// The store of the program's folder.
  static std::filesystem::path FileIn(const std::filesystem::path& folder) {
    return folder / kSettingsFileName;
  }

  std::optional<std::string> Read(const std::string& key) override;
  /// Writes the value and flushes it to the file; false when the file cannot be written.
  bool Write(const std::string& key, const std::string& value) override;

 private:
  QSettings settings_;
};

}  // namespace tallyform::adapters
