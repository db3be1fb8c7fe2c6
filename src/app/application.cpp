#include "app/application.h"

#include <system_error>
#include <utility>

#include "model/platform.h"

namespace tallyform::app {

std::filesystem::path ProgramFolder() {
  std::filesystem::path folder =
      model::EnvironmentPath("TALLYFORM_HOME").value_or(model::DefaultProgramFolder());
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

Application::Application(std::filesystem::path folder) : folder_(std::move(folder)) {
  StartUp();
}

Application::Application(std::filesystem::path folder, std::unique_ptr<ports::Dbx> design_link)
    : folder_(std::move(folder)), design_link_(std::move(design_link)) {
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
