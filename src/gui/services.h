#pragma once
// What the windows of the desktop program work with: the application object and the ports, made once in
// main() and passed by reference.

namespace tallyform::app {
class Application;
}  // namespace tallyform::app
namespace tallyform::ports {
class Prompts;
class SettingsStore;
class Shell;
class SystemInfo;
class TextMeasurer;
}  // namespace tallyform::ports

namespace tallyform::gui {

struct Services {
  app::Application& application;
  /// The questions of the core's workflows, and the error messages of the error boundary.
  ports::Prompts& prompts;
  ports::SettingsStore& settings;
  ports::SystemInfo& system;
  ports::Shell& shell;
  /// Fitting's measurer, in the sheet face.
  const ports::TextMeasurer& measurer;
};

}  // namespace tallyform::gui
