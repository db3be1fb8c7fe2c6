#pragma once
// The desktop program from start to end: the command line, the splash screen, the application object,
// the main window, and the event loop.

#include <QStringList>
#include <filesystem>
#include <memory>

#include "adapters/qt_shell.h"
#include "adapters/qt_system_info.h"
#include "adapters/qt_text_measurer.h"
#include "app/application.h"
#include "app/settings_file.h"
#include "gui/services.h"
#include "gui/widget_prompts.h"

class QCoreApplication;

namespace tallyform::gui {

class MainWindow;

/// Makes the program's icons and pictures available (they live in a static library).
void InitResources();

/// The command line without a last "--open" that has no file after it: the desktop entry's "--open %f"
/// becomes a bare "--open" when the program is started from the menu, which is a plain start.
QStringList WithoutEmptyOpen(QStringList arguments);

/// Speaks Russian in Qt's own dialogs and buttons (print, file, message boxes), whatever the desktop's
/// language: loads Qt's Russian translation into the application. False when it is not installed; the
/// dialogs then speak the language Qt was built with.
bool UseRussianForQt(QCoreApplication& application);

/// What the program is made of between main() and its event loop, made in the order it starts in: the
/// settings with the recent files and the main window first, then the splash screen, the element kinds and
/// the series, and last the main window shown.
class Desktop {
 public:
  /// The settings and the main window (not shown yet) on the program's folder; the application object is
  /// not started.
  explicit Desktop(const std::filesystem::path& folder);
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;
  ~Desktop();

  /// The rest of the start-up: the splash screen unless `splash` is false, the element kinds and the
  /// series, then the main window shown maximised.
  void StartUp(bool splash);

  MainWindow& window() { return *window_; }
  app::Application& application() { return application_; }

 private:
  app::Application application_;
  app::SettingsFile settings_;
  adapters::QtSystemInfo system_;
  adapters::QtShell shell_;
  adapters::QtTextMeasurer measurer_;
  WidgetPrompts prompts_;
  Services services_;
  std::unique_ptr<MainWindow> window_;
};

/// Runs the desktop program; the process's exit status.
int RunDesktop(int argc, char** argv);

}  // namespace tallyform::gui
