#include "document/fill_list.h"

#include <string_view>

#include "document/designator_ranges.h"
#include "elements/default_headings.h"
#include "model/element_kinds.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

constexpr int kDesignatorColumn = 1;
constexpr int kNameColumn = 2;
constexpr int kQuantityColumn = 3;
constexpr int kNoteColumn = 4;

class ListWriter : public RowWriter {
 public:
  explicit ListWriter(const ListColumns& columns) : columns_(columns) {}

  Step Write(RowEngine& engine, const elements::Element& element) override {
    const std::string_view group = element.Get(model::kGroup);
    const std::string_view designator = element.Get(columns_.designator);
    const std::string_view name = element.Get(columns_.name);
    const int rows_in_group = text::Atoi(element.Get(model::kRowsInGroup));
    const std::string_view unit = element.Get(model::kGoesInto);
    const std::string_view file = element.Get(model::kFile);
    engine.sheet().SetSectionFile(file);

    if (group != engine.last_group() && rows_in_group > 1) {
      if (engine.HasRoomBelow(2) && unit != last_unit_) {
        WriteUnitHeading(engine, unit);
        engine.AdvanceRows(2);
      }
      if (engine.HasRoomBelow(2)) {
        engine.WriteLine(kNameColumn, group, kFillHeading);
        engine.SetLastGroup(group);
        engine.AdvanceRows(1);
      }
      return Step::kHeading;
    }

    std::string name_text;
    if (rows_in_group == 1) {
      if (engine.HasRoomBelow(1) && unit != last_unit_) {
        WriteUnitHeading(engine, unit);
        engine.AdvanceRows(1);
        return Step::kHeading;
      }
      // A lone element is named with its kind, and the next element starts a group of its own.
      name_text.append(engine.services().kinds.SingularName(designator)).append(" ").append(name);
      engine.SetLastGroup({});
    } else {
      name_text = name;
    }

    engine.WriteFitted(kNameColumn, name_text, kFillLeft);
    engine.WriteFitted(kDesignatorColumn, designator, kFillCentred);
    engine.WriteLine(kQuantityColumn, element.Get(columns_.quantity), kFillCentred);
    engine.WriteFitted(kNoteColumn, element.Get(columns_.note), kFillLeft);
    engine.CheckValue(designator, name_text, file);
    return Step::kWritten;
  }

 private:
  void WriteUnitHeading(RowEngine& engine, std::string_view unit) {
    engine.WriteLine(kNameColumn, unit, kFillHeading);
    last_unit_ = std::string(unit);
  }

  const ListColumns& columns_;
  // The unit whose heading was written last.
  std::string last_unit_;
};

}  // namespace

ListColumns FindListColumns(const archive::StringMap& headings) {
  ListColumns columns;
  for (const auto& [attribute, heading] : headings) {
    if (heading == elements::kHeadingDesignator) {
      columns.designator = attribute;
    } else if (heading == elements::kHeadingName) {
      columns.name = attribute;
    } else if (heading == elements::kHeadingQuantity) {
      columns.quantity = attribute;
    } else if (heading == elements::kHeadingNote) {
      columns.note = attribute;
    }
  }
  return columns;
}

void PrepareList(elements::ComponentList& list, const model::Roles& roles) {
  JoinDesignators(list, roles, /*same_unit_only=*/true);
  CountGroupRows(list);
}

void FillList(document::SheetSet& sheets, const elements::ComponentList& prepared,
              const archive::StringMap& headings, const FillServices& services, bool& mismatch) {
  const ListColumns columns = FindListColumns(headings);
  ListWriter writer(columns);
  RowEngine engine(sheets, services, model::LayoutOf(model::DocumentKind::kElementList).following_top_offset);
  engine.Run(prepared, writer, mismatch);
}

}  // namespace tallyform::document
