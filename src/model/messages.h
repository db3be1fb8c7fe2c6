#pragma once
// Messages shared by several parts of the program.

#include <string>
#include <string_view>

#include "text/literal.h"

namespace tallyform::model {

using namespace tallyform::text::literals;

/// A file whose archive is damaged, truncated or of another format.
inline constexpr std::string_view kDamagedArchive = "Непредвиденный формат файла."_cp;
/// A design file whose first line does not mark it as a P-CAD ASCII design.
inline constexpr std::string_view kUnknownFormat = "Неизвестный формат файла."_cp;
/// Said of a document whose values are off their series (after a fill, before a save).
inline constexpr std::string_view kDocumentMismatch =
    "В данном документе обнаружен ряд несоответствий \r\n"
    "номиналов резисторов и/или конденсаторов их заданной точности."_cp;
/// Said of a design or saved list just read whose values are off their series.
inline constexpr std::string_view kFileMismatch =
    "В открытом файле был обнаружен ряд несоответствий \r\n"
    "номиналов резисторов и/или конденсаторов их заданной точности."_cp;
/// The question that follows kDocumentMismatch in a message box; Yes opens the value-check report.
inline constexpr std::string_view kShowReportQuestion = "Показать отчет?"_cp;

/// kDocumentMismatch and kShowReportQuestion as one message box text.
std::string DocumentMismatchQuestion();
/// kFileMismatch and kShowReportQuestion as one message box text.
std::string FileMismatchQuestion();
/// A message box text on one line, for a terminal: its CR LF line breaks left out.
std::string OneLine(std::string_view text);

/// The attention title of warnings.
inline constexpr std::string_view kWarningTitle = "Внимание"_cp;

}  // namespace tallyform::model
