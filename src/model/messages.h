#pragma once
// Messages shared by several parts of the program.

#include <string_view>

#include "text/literal.h"

namespace tallyform::model {

using namespace tallyform::text::literals;

/// A file whose archive is damaged, truncated or of another format.
inline constexpr std::string_view kDamagedArchive = "Непредвиденный формат файла."_cp;
/// A design file whose first line does not mark it as a P-CAD ASCII design.
inline constexpr std::string_view kUnknownFormat = "Неизвестный формат файла."_cp;
/// The question asked when a document whose values are off their series is filled or saved; Yes opens the
/// value-check report.
inline constexpr std::string_view kDocumentMismatchQuestion =
    "В данном документе обнаружен ряд несоответствий \r\n"
    "номиналов резисторов и/или конденсаторов их заданной точности.\r\n"
    "Показать отчет?"_cp;
/// The attention title of warnings.
inline constexpr std::string_view kWarningTitle = "Внимание"_cp;

}  // namespace tallyform::model
