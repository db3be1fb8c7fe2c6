#pragma once
// The titles of the document columns an attribute can be sent to, per document kind, and the default
// column heading map of each kind.

#include <span>
#include <string_view>

#include "archive/archive.h"
#include "model/attributes.h"
#include "model/document_kind.h"
#include "text/literal.h"

namespace tallyform::elements {

using namespace tallyform::text::literals;

// Column titles of the list of elements.
inline constexpr std::string_view kHeadingZone = "Зона"_cp;
inline constexpr std::string_view kHeadingDesignator = "Поз.обозначение"_cp;
inline constexpr std::string_view kHeadingName = "Наименование"_cp;
inline constexpr std::string_view kHeadingQuantity = "Кол."_cp;
inline constexpr std::string_view kHeadingNote = "Примечание"_cp;
// Column titles of the bill of purchased items.
inline constexpr std::string_view kHeadingLineNumber = "№ строки"_cp;
inline constexpr std::string_view kHeadingProductCode = "Код ОКП"_cp;
inline constexpr std::string_view kHeadingSupplyDoc = "Обозначение документа на поставку"_cp;
inline constexpr std::string_view kHeadingSupplier = "Поставщик"_cp;
inline constexpr std::string_view kHeadingUnit = "Куда входит (обозначение)"_cp;
inline constexpr std::string_view kHeadingPerProduct = "на изделие"_cp;
inline constexpr std::string_view kHeadingInSets = "в комплекты"_cp;
inline constexpr std::string_view kHeadingForTuning = "на регулир."_cp;
inline constexpr std::string_view kHeadingTotal = "всего"_cp;
// Column titles of the simple bill of purchased items.
inline constexpr std::string_view kHeadingNumber = "№"_cp;
inline constexpr std::string_view kHeadingNominal = "Номинал"_cp;
inline constexpr std::string_view kHeadingPackage = "Корпус"_cp;

/// The titles an attribute may be sent to in a document of the kind, the empty title (no column) first.
std::span<const std::string_view> OfferedHeadings(model::DocumentKind kind);

/// Sets the default entries of the kind into the heading map, using the attribute names in the role slots;
/// other entries stay as they are.
///   list of elements: designator -> "Поз.обозначение", name -> "Наименование", "Количество" -> "Кол.";
///   bill: name -> "Наименование", supply document -> "Обозначение документа на поставку",
///         "Куда входит" -> "Куда входит (обозначение)", "Количество" -> "на изделие";
///   simple bill: name -> "Наименование", value -> "Номинал", package -> "Корпус", "Количество" -> "Кол.".
void ApplyDefaultHeadings(archive::StringMap& headings, const model::Roles& roles, model::DocumentKind kind);

}  // namespace tallyform::elements
