#include "document/fill_simple_bill.h"

#include "elements/default_headings.h"
#include "model/category.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

constexpr int kNumberColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kValueColumn = 2;
constexpr int kQuantityColumn = 3;
constexpr int kPackageColumn = 4;
constexpr int kNoteColumn = 5;

class SimpleBillWriter : public RowWriter {
 public:
  SimpleBillWriter(const SimpleBillColumns& columns, std::string_view designator_role,
                   elements::MergeChoice merge)
      : columns_(columns), designator_role_(designator_role), merge_(merge) {}

  Step Write(RowEngine& engine, const elements::Element& element) override {
    const std::string_view group = element.Get(model::kGroup);
    const std::string_view designator = element.Get(designator_role_);
    if (group != engine.last_group()) {
      if (!engine.HasRoomBelow(2)) return Step::kHeading;
      const int category = model::CategoryOfKey(model::CategoryKey(model::DesignatorPrefix(designator)));
      const std::string_view category_name = model::CategoryName(category);
      if (category_name != last_category_) {
        if (category == model::kSectionCategory) {
          if (!engine.on_first_sheet() && engine.row() > 0) {
            engine.EnsureNextSheet(section_top_offset_);
            return Step::kEndSheet;
          }
          BeginSection(engine, element);
        }
        engine.WriteLine(kNameColumn, category_name, kFillHeading);
        last_category_ = std::string(category_name);
        engine.AdvanceRows(2);
      }
      if (engine.HasRoomBelow(2)) {
        engine.WriteLine(kNameColumn, group, kFillHeading);
        engine.SetLastGroup(group);
        engine.AdvanceRows(1);
      }
      return Step::kHeading;
    }

    const std::string_view name = element.Get(columns_.name);
    engine.WriteFitted(kNameColumn, name, kFillLeft);
    engine.WriteLine(kNumberColumn, text::FormatD(next_number_++), kFillCentred);
    engine.WriteLine(kValueColumn, element.Get(columns_.value), kFillCentred);
    engine.WriteLine(kQuantityColumn, element.Get(columns_.quantity), kFillCentred);
    engine.WriteFitted(kPackageColumn, element.Get(columns_.package), kFillLeft);
    engine.WriteFitted(kNoteColumn, element.Get(columns_.note), kFillLeft);
    engine.CheckValue(designator, name, element.Get(model::kFile));
    return Step::kWritten;
  }

 private:
  void BeginSection(RowEngine& engine, const elements::Element& element) {
    // A section can also begin at the top of a sheet added because the previous one was full; that sheet
    // was made with the plain header, under which the section's title line would not fit.
    if (!engine.on_first_sheet() && engine.sheet().top_offset() != section_top_offset_) {
      engine.RestartSheet(section_top_offset_);
    }
    CTableRows& sheet = engine.sheet();
    sheet.SetSectionStart(true);
    if (merge_ == elements::MergeChoice::kSeparateLists) {
      const std::string_view file = element.Get(model::kFile);
      if (engine.FitsColumn(kNameColumn, file)) {
        sheet.SetSectionFile(file);
      } else {
        sheet.SetSectionFile(ShortenedPath(file));
      }
    }
  }

  const SimpleBillColumns& columns_;
  std::string_view designator_role_;
  elements::MergeChoice merge_;
  const int section_top_offset_ = model::LayoutOf(model::DocumentKind::kSimpleBill).section_top_offset;
  // The category whose heading was written last, and the next item's number.
  std::string last_category_;
  long long next_number_ = 1;
};

}  // namespace

SimpleBillColumns FindSimpleBillColumns(const archive::StringMap& headings) {
  SimpleBillColumns columns;
  for (const auto& [attribute, heading] : headings) {
    if (heading == elements::kHeadingName) {
      columns.name = attribute;
    } else if (heading == elements::kHeadingNominal) {
      columns.value = attribute;
    } else if (heading == elements::kHeadingQuantity) {
      columns.quantity = attribute;
    } else if (heading == elements::kHeadingPackage) {
      columns.package = attribute;
    } else if (heading == elements::kHeadingNote) {
      columns.note = attribute;
    }
  }
  return columns;
}

std::string ShortenedPath(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  std::string shortened(path.substr(0, 3));
  shortened += "...";
  if (separator == std::string_view::npos) {
    shortened.push_back('\\');
    shortened.append(path);
  } else {
    shortened.append(path.substr(separator));
  }
  return shortened;
}

void FillSimpleBill(document::SheetSet& sheets, const elements::ComponentList& prepared,
                    const archive::StringMap& headings, const model::Roles& roles,
                    elements::MergeChoice merge, const FillServices& services, bool& mismatch) {
  const SimpleBillColumns columns = FindSimpleBillColumns(headings);
  SimpleBillWriter writer(columns, roles[model::kRoleDesignator], merge);
  RowEngine engine(sheets, services, model::LayoutOf(model::DocumentKind::kSimpleBill).following_top_offset);
  engine.Run(prepared, writer, mismatch);
}

}  // namespace tallyform::document
