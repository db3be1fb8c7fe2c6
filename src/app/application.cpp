#include "app/application.h"

#include <cstdlib>
#include <system_error>
#include <utility>

namespace tallyform::app {
namespace {

// An environment variable, or nullptr when it is unset or empty.
const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value != '\0') ? value : nullptr;
}

}  // namespace

std::filesystem::path ProgramFolder() {
  std::filesystem::path folder;
  if (const char* home = Env("TALLYFORM_HOME")) {
    folder = home;
  } else if (const char* data = Env("XDG_DATA_HOME");
             data != nullptr && std::filesystem::path(data).is_absolute()) {
    folder = std::filesystem::path(data) / "tallyform";
  } else if (const char* user_home = Env("HOME")) {
    folder = std::filesystem::path(user_home) / ".local" / "share" / "tallyform";
  } else {
    folder = std::filesystem::path(".tallyform");
  }
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

Application::Application(std::filesystem::path folder) : folder_(std::move(folder)) {
  StartUp();
}

Application::Application(std::filesystem::path folder, NotStarted) : folder_(std::move(folder)) {}

void Application::StartUp() {
  if (started()) return;
  if (std::optional<std::string> failure = kinds_.StartUp(ElementNamesPath())) {
    start_up_warnings_.push_back(std::move(*failure));
  }
  value_series_ = std::make_shared<const valuecheck::ValueSeries>();
}

}  // namespace tallyform::app
