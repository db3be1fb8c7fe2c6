#include "cli/qt_session.h"

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "adapters/own_folders.h"
#include "adapters/sheet_font.h"

namespace tallyform::cli {

void EnsureQtSession() {
  // Never destroyed: at exit Qt's own global objects may already be gone, and destroying the application
  // after them crashes. The process ends right after the subcommand anyway.
  static QGuiApplication* app = nullptr;
  if (app != nullptr) return;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  adapters::EnsureRuntimeFolder();
  static int argc = 1;
  static char name[] = "tallyform-cli";
  static char* argv[] = {name, nullptr};
  app = new QGuiApplication(argc, argv);
  adapters::RegisterBundledFonts();
}

}  // namespace tallyform::cli
