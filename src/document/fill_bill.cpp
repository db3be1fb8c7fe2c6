#include "document/fill_bill.h"

#include <array>
#include <string_view>

#include "document/designator_ranges.h"
#include "elements/default_headings.h"

namespace tallyform::document {
namespace {

constexpr int kNameColumn = 1;
constexpr int kSupplyDocumentColumn = 3;
constexpr int kUnitColumn = 5;
constexpr int kNoteColumn = 10;

struct QuantityHeading {
  std::string_view heading;
  int column;
};
constexpr std::array<QuantityHeading, 4> kQuantityHeadings{{
    {elements::kHeadingPerProduct, 6},
    {elements::kHeadingInSets, 7},
    {elements::kHeadingForTuning, 8},
    {elements::kHeadingTotal, 9},
}};

class BillWriter : public RowWriter {
 public:
  BillWriter(const BillColumns& columns, std::string_view designator_role)
      : columns_(columns), designator_role_(designator_role) {}

  Step Write(RowEngine& engine, const elements::Element& element) override {
    const std::string_view group = element.Get(model::kGroup);
    if (group != engine.last_group()) {
      // A heading that does not fit leaves the rest of the sheet to the group gap.
      if (engine.HasRoomBelow(2)) {
        engine.WriteLine(kNameColumn, group, kFillHeading);
        engine.SetLastGroup(group);
        engine.AdvanceRows(1);
      }
      return Step::kHeading;
    }

    const std::string_view name = element.Get(columns_.name);
    const std::string_view file = element.Get(model::kFile);
    engine.sheet().SetSectionFile(file);
    engine.WriteFitted(kNameColumn, name, kFillLeft);
    engine.WriteFitted(kSupplyDocumentColumn, element.Get(columns_.supply_document), kFillLeft);
    engine.WriteFitted(kUnitColumn, element.Get(columns_.unit), kFillLeft);
    engine.WriteFitted(kNoteColumn, element.Get(columns_.note), kFillLeft);
    engine.WriteLine(columns_.quantity_column, element.Get(columns_.quantity), kFillCentred);
    engine.CheckValue(element.Get(designator_role_), name, file);
    return Step::kWritten;
  }

 private:
  const BillColumns& columns_;
  std::string_view designator_role_;
};

}  // namespace

BillColumns FindBillColumns(const archive::StringMap& headings) {
  BillColumns columns;
  for (const auto& [attribute, heading] : headings) {
    if (heading == elements::kHeadingName) {
      columns.name = attribute;
    } else if (heading == elements::kHeadingSupplyDoc) {
      columns.supply_document = attribute;
    } else if (heading == elements::kHeadingUnit) {
      columns.unit = attribute;
    } else if (heading == elements::kHeadingNote) {
      columns.note = attribute;
    } else {
      for (const QuantityHeading& quantity : kQuantityHeadings) {
        if (heading == quantity.heading) {
          columns.quantity = attribute;
          columns.quantity_column = quantity.column;
        }
      }
    }
  }
  return columns;
}

void PreparePurchased(elements::ComponentList& list, const model::Roles& roles) {
  JoinDesignators(list, roles, /*same_unit_only=*/false);
  OrderAndMergePurchased(list, roles);
}

void FillBill(document::SheetSet& sheets, const elements::ComponentList& prepared,
              const archive::StringMap& headings, const model::Roles& roles, const FillServices& services,
              bool& mismatch) {
  const BillColumns columns = FindBillColumns(headings);
  BillWriter writer(columns, roles[model::kRoleDesignator]);
  RowEngine engine(sheets, services,
                   model::LayoutOf(model::DocumentKind::kPurchasedBill).following_top_offset);
  engine.Run(prepared, writer, mismatch);
}

}  // namespace tallyform::document
