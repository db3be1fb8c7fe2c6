#include "cli/qt_session.h"

#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "adapters/sheet_font.h"

namespace tallyform::cli {

void EnsureQtSession() {
  // Never destroyed: at exit Qt's own global objects may already be gone, and destroying the application
  // after them crashes. The process ends right after the subcommand anyway.
  static QGuiApplication* app = nullptr;
  if (app != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    // Qt warns without a runtime folder; a private one in the temporary folder keeps standard error clean.
    std::error_code ec;
    auto dir = std::filesystem::temp_directory_path(ec) / ("tallyform-runtime-" + std::to_string(getuid()));
    std::filesystem::create_directories(dir, ec);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
  }
  static int argc = 1;
  static char name[] = "tallyform-cli";
  static char* argv[] = {name, nullptr};
  app = new QGuiApplication(argc, argv);
  adapters::RegisterBundledFonts();
}

}  // namespace tallyform::cli
