#pragma once
// The settings store of the program's folder: the text file "tallyform.ini", one per user. Values are
// kept in UTF-8, under "[group]" headings in the INI form Qt's settings also read and write (a key
// without a group lives under "[General]"); files written by earlier versions through Qt are read as they
// are. Every write rewrites the whole file through a temporary file, so the file is always either the old
// or the new one.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "ports/settings_store.h"

namespace tallyform::app {

/// The settings file's name inside the program's folder.
inline constexpr const char* kSettingsFileName = "tallyform.ini";

class SettingsFile : public ports::SettingsStore {
 public:
  /// The store kept in `file`, read now when it exists (a file that cannot be read counts as empty; it is
  /// replaced at the first write).
  explicit SettingsFile(std::filesystem::path file);
  /// The settings file of the program's folder.
  static std::filesystem::path In(const std::filesystem::path& folder) { return folder / kSettingsFileName; }

  std::optional<std::string> Read(const std::string& key) override;
  void Write(const std::string& key, const std::string& value) override;
  std::optional<std::filesystem::path> ReadPath(const std::string& key) override;
  void WritePath(const std::string& key, const std::filesystem::path& value) override;
  void Remove(const std::string& key) override;

  const std::filesystem::path& file() const { return file_; }

  /// The file's text for the values ("group/key" to UTF-8 text), and the values of a file's text: the
  /// parsing and writing of the INI form, apart from the file.
  static std::string Format(const std::map<std::string, std::string>& values);
  static std::map<std::string, std::string> Parse(std::string_view text);

 private:
  /// Writes the values with `key` set (or removed, without `value`); on failure nothing changes.
  void Store(const std::string& key, const std::optional<std::string>& value);

  std::filesystem::path file_;
  std::map<std::string, std::string> values_;  // UTF-8 (or, for paths, native bytes)
};

}  // namespace tallyform::app
