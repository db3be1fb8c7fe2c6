#include "app/value_report.h"

#include <string>
#include <system_error>

#include "document/document.h"
#include "ports/prompts.h"
#include "ports/shell.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {

void ShowDocumentReport(const document::Document& document, const std::filesystem::path& report_path,
                        ports::Shell& shell, ports::Prompts& prompts) {
  if (const valuecheck::ValueCheck* report = document.value_report()) {
    valuecheck::ShowReport(shell, *report);
    return;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(report_path, error)) {
    prompts.Information(std::string(kNoReportYet));
    return;
  }
  shell.Open(report_path);
}

}  // namespace tallyform::app
