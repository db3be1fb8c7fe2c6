#include "app/recent_files.h"

#include <algorithm>
#include <string>
#include <system_error>

#include "ports/settings_store.h"

namespace tallyform::app {
namespace {

std::string Key(std::size_t index) {
  return "Recent File List/File" + std::to_string(index + 1);
}

std::filesystem::path Absolute(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return (error ? path : absolute).lexically_normal();
}

}  // namespace

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  return Absolute(a) == Absolute(b);
}

RecentFiles::RecentFiles(const std::vector<std::filesystem::path>& stored) {
  // Oldest first, so that each newer one goes in front of it.
  for (auto it = stored.rbegin(); it != stored.rend(); ++it) {
    if (!it->empty()) Add(*it);
  }
}

RecentFiles RecentFiles::Load(ports::SettingsStore& store) {
  std::vector<std::filesystem::path> stored;
  for (std::size_t i = 0; i < kCapacity; ++i) stored.push_back(store.ReadPath(Key(i)).value_or(""));
  return RecentFiles(stored);
}

void RecentFiles::Store(ports::SettingsStore& store) const {
  for (std::size_t i = 0; i < kCapacity; ++i) {
    if (i < files_.size()) {
      store.WritePath(Key(i), files_[i]);
    } else {
      store.Remove(Key(i));
    }
  }
}

void RecentFiles::Add(const std::filesystem::path& file) {
  const std::filesystem::path absolute = Absolute(file);
  std::erase_if(files_, [&](const std::filesystem::path& known) { return SameFile(known, absolute); });
  files_.insert(files_.begin(), absolute);
  if (files_.size() > kCapacity) files_.resize(kCapacity);
}

void RecentFiles::Remove(std::size_t index) {
  if (index < files_.size()) files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace tallyform::app
