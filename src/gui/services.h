#pragma once
// What the windows of the desktop program work with: the application object and the ports, made once in
// main() and passed by reference.

namespace tallyform::app {
class Application;
}  // namespace tallyform::app
namespace tallyform::ports {
class SettingsStore;
class Shell;
class SystemInfo;
class TextMeasurer;
}  // namespace tallyform::ports

namespace tallyform::gui {

class WidgetPrompts;

struct Services {
  app::Application& application;
  WidgetPrompts& prompts;
  ports::SettingsStore& settings;
  ports::SystemInfo& system;
  ports::Shell& shell;
  /// Fitting's measurer, in the sheet face.
  const ports::TextMeasurer& measurer;
};

}  // namespace tallyform::gui
