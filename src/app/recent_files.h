#pragma once
// The files used last, as the file menu lists them: newest first, at most four, each file once however its
// path was spelt when it was opened. The list is kept in the settings store as "Recent File List/File1"
// to "File4".

#include <cstddef>
#include <filesystem>
#include <vector>

namespace tallyform::ports {
class SettingsStore;
}  // namespace tallyform::ports

namespace tallyform::app {

/// True when both paths name one file: the same file on disk (through links too), or, for files that do
/// not exist, the same absolute path once "." and ".." are resolved.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

class RecentFiles {
 public:
  static constexpr std::size_t kCapacity = 4;

  RecentFiles() = default;
  /// The list as it was stored, newest first; empty entries, repeats and entries past the capacity go.
  explicit RecentFiles(const std::vector<std::filesystem::path>& stored);
  /// The list the store keeps.
  static RecentFiles Load(ports::SettingsStore& store);
  /// Keeps the list in the store, replacing what it held. A store that cannot be written is
  /// tallyform::UnreadableFile.
  void Store(ports::SettingsStore& store) const;

  /// A file just opened or saved: it goes to the front, as an absolute path, and leaves its older place;
  /// the oldest file falls off a full list.
  void Add(const std::filesystem::path& file);
  /// Drops an entry (a file that is no longer there); an index past the end changes nothing.
  void Remove(std::size_t index);

  const std::vector<std::filesystem::path>& files() const { return files_; }

 private:
  std::vector<std::filesystem::path> files_;
};

}  // namespace tallyform::app
