#pragma once
// Filling the bill of purchased items: each kind group under a heading with the kind's plural name, one
// item per row unless its texts need more lines, its quantity in the one quantity column the column
// heading map names.

#include <string>

#include "archive/archive.h"
#include "document/row_engine.h"
#include "document/sheet_set.h"
#include "elements/component_list.h"
#include "model/attributes.h"

namespace tallyform::document {

/// The attributes written into the columns of the bill, and the column of the quantity.
struct BillColumns {
  std::string name;             ///< column 1, "Наименование"
  std::string supply_document;  ///< column 3, "Обозначение документа на поставку"
  std::string unit;             ///< column 5, "Куда входит (обозначение)"
  std::string note;             ///< column 10, "Примечание"
  std::string quantity;         ///< the attribute with one of the quantity headings
  int quantity_column = 6;  ///< 6 "на изделие", 7 "в комплекты", 8 "на регулир." or 9 "всего"
  friend bool operator==(const BillColumns&, const BillColumns&) = default;
};

/// The attribute of each column from the column heading map: the last attribute, in the map's order, with
/// the column's heading; an empty name when none has it. The last attribute with any of the four quantity
/// headings decides the quantity attribute and its column (column 6 with no attribute when there is none).
BillColumns FindBillColumns(const archive::StringMap& headings);

/// Prepares a copy of the element list for either bill: joins neighbouring equal elements into designator
/// ranges, orders each kind group by name and merges equal items wherever they stand.
void PreparePurchased(elements::ComponentList& list, const model::Roles& roles);

/// Fills the sheets of a bill of purchased items from a prepared element list (see PreparePurchased), with
/// the column attributes of `headings`; the designator-role attribute of `roles` names resistors and
/// capacitors for the value check. Sheets added on the way are following sheets. A value check that fails
/// raises `mismatch` (it is never lowered here).
void FillBill(document::SheetSet& sheets, const elements::ComponentList& prepared,
              const archive::StringMap& headings, const model::Roles& roles, const FillServices& services,
              bool& mismatch);

}  // namespace tallyform::document
