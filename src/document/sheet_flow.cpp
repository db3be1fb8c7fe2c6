#include "document/sheet_flow.h"

#include <algorithm>
#include <stdexcept>

#include "document/fill_parameters.h"
#include "document/sheet_set.h"
#include "model/document_kind.h"

namespace tallyform::document {

int SheetTail(const SheetSet& sheets) {
  const model::DocumentKind kind = sheets.kind();
  const int tail = FillParametersOf(sheets.sheet(0), kind).tail;
  // The lowest following sheet of the set is the one that starts a section.
  const int following_rows =
      sheets.BodyHeightFor(1, model::LayoutOf(kind).section_top_offset) / model::kRowHeight;
  return std::clamp(tail, 0, std::max(0, following_rows - 3));
}

SheetFlow::SheetFlow(SheetSet& sheets, int tail, int following_top_offset)
    : sheets_(sheets), tail_(tail), following_top_offset_(following_top_offset) {}

SheetFlow::SheetFlow(SheetSet& sheets)
    : SheetFlow(sheets, SheetTail(sheets), model::LayoutOf(sheets.kind()).following_top_offset) {}

int SheetFlow::UsableRows(std::size_t sheet) const {
  return static_cast<int>(sheets_.sheet(sheet).row_count()) - tail_;
}

RowPosition SheetFlow::NextLine(RowPosition at) {
  ++at.row;
  while (at.row >= UsableRows(at.sheet)) {
    if (at.sheet + 1 == sheets_.sheet_count()) {
      // A new sheet without room for a line would be followed by another for ever.
      if (static_cast<int>(sheets_.AddSheet(following_top_offset_).row_count()) <= tail_)
        throw std::logic_error("a new sheet has no row above its tail");
    }
    ++at.sheet;
    at.row = 0;
  }
  return at;
}

}  // namespace tallyform::document
