#pragma once
// Filling the sheets of a document from its element list: a copy of the list is prepared for the document's
// kind (designator ranges, merged purchased items, group row counts) and written into the sheets by the
// kind's fill, through a value check of the fill's own whose report the document keeps.

#include <filesystem>
#include <functional>
#include <memory>

#include "elements/element_order.h"

namespace tallyform::ports {
class TextMeasurer;
}  // namespace tallyform::ports
namespace tallyform::valuecheck {
class ValueCheck;
struct ValueSeries;
}  // namespace tallyform::valuecheck
namespace tallyform::model {
class ElementKinds;
}  // namespace tallyform::model
namespace tallyform::elements {
struct ListData;
}  // namespace tallyform::elements

namespace tallyform::document {

class SheetSet;

/// What a fill works with besides the sheets and the list; the measurer and the kinds are borrowed.
struct FillTools {
  std::reference_wrapper<const ports::TextMeasurer> measurer;
  std::reference_wrapper<const model::ElementKinds> kinds;
  /// The series the fill's value check compares with (the application's).
  std::shared_ptr<const valuecheck::ValueSeries> series;
  /// Where the fill's report file is written.
  std::filesystem::path report_path;
};

/// What a fill found besides the sheets it wrote.
struct FilledSheets {
  /// A value was off its series (or could not be analysed).
  bool mismatch = false;
  /// The fill's value check with its report.
  std::unique_ptr<valuecheck::ValueCheck> report;
};

/// Fills the sheets of their kind from a prepared copy of `data`'s element list, which is left as it is: a
/// new value check is made and its report file deleted, the copy is prepared for the kind and written into
/// the sheets (clearing them first, adding sheets as needed), and the report file is written once at the
/// end. A simple bill lists the elements of several files as `merge` says. The sheets are not laid out.
FilledSheets FillSheets(SheetSet& sheets, const elements::ListData& data, const FillTools& tools,
                        elements::MergeChoice merge = elements::MergeChoice::kSeparateLists);

}  // namespace tallyform::document
