#pragma once
// The desktop shell: opens a file with the application the desktop associates with it.

#include <filesystem>

#include "ports/shell.h"

namespace tallyform::adapters {

class QtShell : public ports::Shell {
 public:
  /// Asks the desktop to open the file; works without widgets. The result is not checked.
  void Open(const std::filesystem::path& file) override;
};

}  // namespace tallyform::adapters
