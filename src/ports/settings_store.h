#pragma once
// Persistent settings of the program: the value "LastDocOwner", the recent-file list and the profile
// settings. Keys are ASCII; a key "Group/Name" names a value of a group.

#include <filesystem>
#include <optional>
#include <string>

namespace tallyform::ports {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  /// The stored text (code page 1251), or nullopt when the key has none.
  virtual std::optional<std::string> Read(const std::string& key) = 0;
  /// Stores the text (code page 1251) and keeps it at once. A store that cannot be written is
  /// tallyform::UnreadableFile naming its file; then nothing has changed.
  virtual void Write(const std::string& key, const std::string& value) = 0;
  /// A stored path, as native as it was written, or nullopt.
  virtual std::optional<std::filesystem::path> ReadPath(const std::string& key) = 0;
  /// Stores a path without converting it (its characters need not all exist in code page 1251). Errors as
  /// Write.
  virtual void WritePath(const std::string& key, const std::filesystem::path& value) = 0;
  /// Forgets the key's value (nothing when it has none). Errors as Write.
  virtual void Remove(const std::string& key) = 0;
};

}  // namespace tallyform::ports
