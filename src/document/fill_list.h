#pragma once
// Filling the list of elements: the prepared element list written into the sheet tables, one element per
// row unless its texts need more, under group headings (the kind's plural name) and headings of the unit
// the elements go into; a lone element of its kind carries the kind's singular name before its own.

#include <string>

#include "archive/archive.h"
#include "document/row_engine.h"
#include "document/sheet_set.h"
#include "elements/component_list.h"
#include "model/attributes.h"

namespace tallyform::document {

/// The attributes written into the columns of the list of elements.
struct ListColumns {
  std::string designator;  ///< column 1, "Поз.обозначение"
  std::string name;        ///< column 2, "Наименование"
  std::string quantity;    ///< column 3, "Кол."
  std::string note;        ///< column 4, "Примечание"
  friend bool operator==(const ListColumns&, const ListColumns&) = default;
};

/// The attribute each column takes from the column heading map: the last attribute, in the map's order,
/// whose heading is the column's; an empty name when none is (its value is always empty).
ListColumns FindListColumns(const archive::StringMap& headings);

/// Prepares a copy of the element list for the list of elements: joins neighbouring equal elements of the
/// same unit into designator ranges, then counts the rows of each kind group.
void PrepareList(elements::ComponentList& list, const model::Roles& roles);

/// Fills the sheets of a list of elements from a prepared element list (see PrepareList), with the column
/// attributes of `headings`. Texts are fitted at the settings table's table-cell text height; the fill
/// parameters come from the settings table. Sheets added on the way are following sheets. A value check
/// that fails raises `mismatch` (it is never lowered here).
void FillList(document::SheetSet& sheets, const elements::ComponentList& prepared,
              const archive::StringMap& headings, const FillServices& services, bool& mismatch);

}  // namespace tallyform::document
