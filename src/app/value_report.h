#pragma once
// Showing the value-check report of a document ("&Показать отчет об ошибках").

#include <filesystem>
#include <string_view>

#include "text/literal.h"

namespace tallyform::document {
class Document;
}  // namespace tallyform::document
namespace tallyform::ports {
class Prompts;
class Shell;
}  // namespace tallyform::ports

namespace tallyform::app {

using namespace tallyform::text::literals;

/// Said when there is no report to show yet.
inline constexpr std::string_view kNoReportYet =
    "Отчет об ошибках еще не составлен: номиналы резисторов и конденсаторов проверяются, когда "
    "документ заполняется."_cp;

/// Opens the report of the document's last fill with the shell, written again first in case another
/// document's run has written the file since. A document not filled in this session shows the report file
/// `report_path` when there is one; when there is none, the prompts say so (kNoReportYet) and nothing is
/// opened. A report that cannot be written is tallyform::UnreadableFile naming it.
void ShowDocumentReport(const document::Document& document, const std::filesystem::path& report_path,
                        ports::Shell& shell, ports::Prompts& prompts);

}  // namespace tallyform::app
