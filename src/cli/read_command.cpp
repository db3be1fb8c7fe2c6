// tallyform-cli read / check.

#include "cli/commands.h"

namespace tallyform::cli {

void AddReadCommands(CLI::App& app, Outcome& outcome) {
  (void)app;
  (void)outcome;
}

}  // namespace tallyform::cli
