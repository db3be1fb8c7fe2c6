// tallyform-cli: the headless front end. Reads designs and documents, fills, saves and renders them.

#include <CLI/CLI.hpp>
#include <iostream>

#include "app/application.h"
#include "cli/commands.h"
#include "model/errors.h"
#include "text/cp1251.h"

namespace tallyform::cli {

void PrintError(const std::string& cp1251_message) {
  std::cerr << text::ToUtf8(cp1251_message) << '\n';
}

void PrintWarning(const std::string& cp1251_message) {
  std::cerr << "warning: " << text::ToUtf8(cp1251_message) << '\n';
}

void PrintStartUpWarnings(const app::Application& application) {
  for (const std::string& warning : application.start_up_warnings()) PrintWarning(warning);
}

std::pair<std::string, std::string> SplitNameValue(const std::string& command, const std::string& option,
                                                   const std::string& value) {
  const std::size_t at = value.find('=');
  if (at == std::string::npos || at == 0) {
    throw BadUsage(command + ": " + option + " expects NAME=TEXT, got \"" + text::Cp1251FromUnknown(value) +
                   "\"");
  }
  return {value.substr(0, at), value.substr(at + 1)};
}

}  // namespace tallyform::cli

int main(int argc, char** argv) {
  using namespace tallyform::cli;
  CLI::App app{"tallyform-cli: design documents from P-CAD designs, without a display"};
  app.set_version_flag("--version", std::string("tallyform-cli ") + TALLYFORM_VERSION);
  app.require_subcommand(1);
  Outcome outcome;
  AddReadCommands(app, outcome);
  AddDumpCommand(app, outcome);
  AddRenderCommand(app, outcome);
  AddFillCommand(app, outcome);
  AddSetCommand(app, outcome);
  AddAssemblyCommand(app, outcome);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kBadUsage;
  } catch (const tallyform::BadUsage& e) {
    PrintError(e.message());
    return kBadUsage;
  } catch (const tallyform::Error& e) {
    PrintError(e.message());
    return kBadInput;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return kBadInput;
  }
  return outcome.status;
}
