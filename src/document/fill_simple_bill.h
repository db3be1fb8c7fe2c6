#pragma once
// Filling the simple bill of purchased items: a numbered purchase list whose items stand under category
// headings (active components, passive components, ...) and, within them, under kind headings. Elements
// of several design files are listed in one list or in sections, one per file: a section begins with the
// heading of active components, starts a new sheet unless it begins on the first one, and the sheet where
// it begins records the section's file.

#include <string>
#include <string_view>

#include "archive/archive.h"
#include "document/row_engine.h"
#include "document/sheet_set.h"
#include "elements/component_list.h"
#include "elements/element_order.h"
#include "model/attributes.h"

namespace tallyform::document {

/// The attributes written into the columns of the simple bill.
struct SimpleBillColumns {
  std::string name;      ///< column 1, "Наименование"
  std::string value;     ///< column 2, "Номинал"
  std::string quantity;  ///< column 3, "Кол."
  std::string package;   ///< column 4, "Корпус"
  std::string note;      ///< column 5, "Примечание"
  friend bool operator==(const SimpleBillColumns&, const SimpleBillColumns&) = default;
};

/// The attribute of each column from the column heading map: the last attribute, in the map's order, with
/// the column's heading; an empty name when none has it.
SimpleBillColumns FindSimpleBillColumns(const archive::StringMap& headings);

/// A path shortened for a section file that does not fit its cell: the first three characters, "...", the
/// last separator ("/" or "\") and the file name after it.
std::string ShortenedPath(std::string_view path);

/// Fills the sheets of a simple bill of purchased items from a prepared element list (see
/// PreparePurchased), with the column attributes of `headings`; the designator-role attribute of `roles`
/// gives the category of each item and names resistors and capacitors for the value check. With separate
/// lists each section's sheet records the section's file. Sheets added when one is full are following
/// sheets; a section after the first sheet starts on a sheet with the taller header of a section. A value
/// check that fails raises `mismatch` (it is never lowered here).
void FillSimpleBill(document::SheetSet& sheets, const elements::ComponentList& prepared,
                    const archive::StringMap& headings, const model::Roles& roles,
                    elements::MergeChoice merge, const FillServices& services, bool& mismatch);

}  // namespace tallyform::document
