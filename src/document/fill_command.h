#pragma once
// The fill command: fills a document of its kind from a prepared copy of its element list, with a value
// check of its own whose report the document keeps. Whether values were found off their series is the
// document's mismatch flag; offering the report is the caller's business (model::DocumentMismatchQuestion()).

#include <filesystem>
#include <memory>
#include <string_view>

#include "elements/element_order.h"
#include "text/literal.h"

namespace tallyform::ports {
class TextMeasurer;
}  // namespace tallyform::ports
namespace tallyform::valuecheck {
struct ValueSeries;
}  // namespace tallyform::valuecheck

namespace tallyform::model {
class ElementKinds;
}  // namespace tallyform::model

namespace tallyform::document {

using namespace tallyform::text::literals;

class Document;

/// What the fill command works with besides the document.
struct FillCommandContext {
  const ports::TextMeasurer& measurer;
  const model::ElementKinds& kinds;
  /// The series the fill's value check compares with (the application's).
  std::shared_ptr<const valuecheck::ValueSeries> series;
  /// Where the fill's report file is written.
  std::filesystem::path report_path;
};

/// Fills the document from its element list, which is left as it is: a new value check is made and its
/// report file deleted, the mismatch flag cleared; a copy of the list is prepared for the document's kind
/// and filled into the sheets, writing the report file once at the end; the sheets are laid out, the
/// document keeps the check as its value report and is marked modified. A simple bill lists the elements of
/// several files as `merge` says. The mismatch flag tells whether a value was off its series.
void FillDocument(Document& document, const FillCommandContext& context,
                  elements::MergeChoice merge = elements::MergeChoice::kSeparateLists);

}  // namespace tallyform::document
