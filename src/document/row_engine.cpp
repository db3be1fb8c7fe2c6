#include "document/row_engine.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "document/fill_parameters.h"
#include "document/text_fitting.h"
#include "model/attributes.h"
#include "text/numbers.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {

RowEngine::RowEngine(document::SheetSet& sheets, const FillServices& services, int following_top_offset)
    : sheets_(sheets),
      services_(services),
      following_top_offset_(following_top_offset),
      flow_(sheets, 0, following_top_offset) {}

bool RowEngine::HasRoomBelow(int rows) const {
  const int row_count = static_cast<int>(sheets_.sheet(sheet_index_).row_count());
  return row_count - row_ - 1 >= flow_.tail() + rows;
}

void RowEngine::Put(RowPosition at, int column, std::string_view text, std::uint32_t attributes) {
  CTableRows& table = sheets_.sheet(at.sheet);
  CRow& row = table.row(static_cast<std::size_t>(at.row));
  // A table read from a file may hold fewer columns than the kind writes; what has no cell is left out.
  if (static_cast<std::size_t>(column) >= row.cell_count()) return;
  CCell& cell = row.cell(static_cast<std::size_t>(column));
  cell.SetText(text);
  cell.SetAttributes(attributes);
  lowest_ = std::max(lowest_, at);
}

void RowEngine::WriteLine(int column, std::string_view text, std::uint32_t attributes) {
  Put({sheet_index_, row_}, column, text, attributes);
}

bool RowEngine::FitsColumn(int column, std::string_view text) const {
  const auto widths = sheets_.sheet(sheet_index_).column_widths();
  if (static_cast<std::size_t>(column) >= widths.size()) return true;
  return document::Fits(services_.measurer, text_height_, widths[static_cast<std::size_t>(column)], text);
}

void RowEngine::WriteFitted(int column, std::string_view text, std::uint32_t attributes) {
  const auto widths = sheets_.sheet(sheet_index_).column_widths();
  if (static_cast<std::size_t>(column) >= widths.size()) return;
  const double width = widths[static_cast<std::size_t>(column)];
  if (document::Fits(services_.measurer, text_height_, width, text)) {
    WriteLine(column, text, attributes);
    return;
  }
  const std::vector<std::string> lines = document::Split(services_.measurer, text_height_, width, text);
  RowPosition at{sheet_index_, row_};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) at = flow_.NextLine(at);
    Put(at, column, lines[i], attributes);
  }
}

void RowEngine::EnsureNextSheet(int top_offset) {
  if (on_last_sheet()) sheets_.AddSheet(top_offset);
}

void RowEngine::RestartSheet(int top_offset) {
  if (sheet_index_ == 0 || !on_last_sheet())
    throw std::logic_error("only a following last sheet is restarted");
  sheets_.RemoveSheet(sheet_index_);
  sheets_.AddSheet(top_offset);
}

void RowEngine::CheckValue(std::string_view designator, std::string_view type, std::string_view file) {
  const auto cls = valuecheck::CheckedClass(designator);
  if (!cls) return;
  if (!services_.check.Check(*cls, std::string(designator), std::string(type), std::string(),
                             std::string(file))) {
    *mismatch_ = true;
  }
}

void RowEngine::Run(const elements::ComponentList& elements, RowWriter& writer, bool& mismatch) {
  mismatch_ = &mismatch;
  sheets_.Clear();
  const CTableRows& settings = sheets_.sheet(0);
  text_height_ = settings.settings().table_text;
  gap_ = FillParametersOf(settings, sheets_.kind()).gap;
  flow_.SetTail(SheetTail(sheets_));
  last_group_.clear();

  const std::size_t count = elements.count();
  std::size_t next = 0;
  sheet_index_ = 0;
  int start_row = 0;
  // Sheets begun at their top without writing anything; more than two in a row means the writer can make
  // no progress on an empty sheet.
  int idle_sheets = 0;
  while (next < count) {
    row_ = start_row;
    const bool from_top = start_row == 0;
    start_row = 0;
    bool progressed = false;
    bool continued = false;
    // The usable rows are those of the sheet as it is now: a writer may replace it by a section sheet of
    // fewer rows (RestartSheet).
    while (row_ < UsableRows(sheet_index_) && next < count) {
      const elements::Element& element = elements.at(next);
      const std::string_view group = element.Get(model::kGroup);
      if (row_ > 0 && group != last_group_) {
        row_ += gap_;
        if (row_ >= UsableRows(sheet_index_)) break;
      }
      lowest_ = {sheet_index_, row_};
      const int row_before = row_;
      const RowWriter::Step step = writer.Write(*this, element);
      if (step == RowWriter::Step::kEndSheet) break;
      if (step == RowWriter::Step::kHeading) {
        progressed = progressed || row_ != row_before;
        ++row_;
        continue;
      }
      progressed = true;
      ++next;
      if (lowest_.sheet != sheet_index_) {
        sheet_index_ = lowest_.sheet;
        start_row = lowest_.row + 1;
        continued = true;
        break;
      }
      row_ = lowest_.row + 1;
    }
    if (next >= count) break;
    if (continued) {
      idle_sheets = 0;
      continue;
    }
    idle_sheets = from_top && !progressed ? idle_sheets + 1 : 0;
    if (idle_sheets > 2) throw std::logic_error("the fill makes no progress on an empty sheet");
    EnsureNextSheet(following_top_offset_);
    ++sheet_index_;
  }

  CTableRows& first = sheets_.sheet(0);
  if (sheets_.sheet_count() > 1) first.SetTitleField(TitleField::kSheetNumber, "1");
  first.SetTitleField(TitleField::kSheetCount, text::FormatD(static_cast<long long>(sheets_.sheet_count())));
  mismatch_ = nullptr;
}

}  // namespace tallyform::document
