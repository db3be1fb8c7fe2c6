#pragma once
// The subcommands of tallyform-cli. Each Add* function adds its subcommands to the application; the
// callback it installs stores the exit status in `Outcome`.

#include <CLI/CLI.hpp>
#include <string>
#include <utility>
#include <vector>

#include "valuecheck/value_check.h"

namespace tallyform::app {
class Application;
}  // namespace tallyform::app
namespace tallyform::document {
class Document;
}  // namespace tallyform::document

namespace tallyform::cli {

/// Exit statuses of the command-line contract.
enum ExitStatus { kOk = 0, kBadInput = 1, kBadUsage = 2, kMismatch = 3 };

struct Outcome {
  int status = kOk;
};

/// Writes a code page 1251 message to standard error as UTF-8, with a line end.
void PrintError(const std::string& cp1251_message);
/// Writes a code page 1251 warning to standard error as UTF-8, with a line end.
void PrintWarning(const std::string& cp1251_message);
/// Warns of what the application's start-up could not do (a kinds file it could not write).
void PrintStartUpWarnings(const app::Application& application);

/// An option's NAME=TEXT split at the first "=" (the text may hold any character, "=" included); without a
/// name tallyform::BadUsage "COMMAND: OPTION expects NAME=TEXT".
std::pair<std::string, std::string> SplitNameValue(const std::string& command, const std::string& option,
                                                   const std::string& value);

void AddReadCommands(CLI::App& app, Outcome& outcome);     // read, check
void AddDumpCommand(CLI::App& app, Outcome& outcome);      // dump
void AddRenderCommand(CLI::App& app, Outcome& outcome);    // render
void AddFillCommand(CLI::App& app, Outcome& outcome);      // fill
void AddSetCommand(CLI::App& app, Outcome& outcome);       // set
void AddAssemblyCommand(CLI::App& app, Outcome& outcome);  // assembly

/// Draws every sheet of the document into a PDF file, one page per sheet (starts Qt when needed), in the
/// face ChooseSheetFamily(font) picks (`font` in UTF-8; empty for the sheet face). A file that cannot be
/// written is tallyform::UnreadableFile.
void WriteDocumentPdf(const document::Document& doc, const std::string& pdf_path,
                      const std::string& font = {});

/// Warns that the face the user named (UTF-8; empty for none) is not installed, naming the face used
/// instead. Needs the Qt session.
void WarnAboutMissingFont(const std::string& font);

}  // namespace tallyform::cli
