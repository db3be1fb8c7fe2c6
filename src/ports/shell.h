#pragma once

#include <filesystem>

namespace tallyform::ports {

/// The desktop shell.
class Shell {
 public:
  virtual ~Shell() = default;
  /// Opens the file with its default application (the "open" verb); the result is not checked.
  virtual void Open(const std::filesystem::path& file) = 0;
};

}  // namespace tallyform::ports
