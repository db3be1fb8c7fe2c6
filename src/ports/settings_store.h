#pragma once
// Persistent settings of the program: the value "LastDocOwner" and the profile settings.

#include <optional>
#include <string>

namespace tallyform::ports {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  /// The stored value (code page 1251), or nullopt when the key has none.
  virtual std::optional<std::string> Read(const std::string& key) = 0;
  /// Stores the value; false when the store cannot be written.
  virtual bool Write(const std::string& key, const std::string& value) = 0;
};

}  // namespace tallyform::ports
