#include "document/row_edits.h"

#include <algorithm>
#include <span>
#include <stdexcept>

#include "document/sheet_flow.h"
#include "document/sheet_set.h"
#include "document/table_rows.h"
#include "document/text_fitting.h"
#include "model/errors.h"
#include "text/literal.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

void CheckRow(const SheetSet& sheets, std::size_t sheet, int row) {
  if (sheet >= sheets.sheet_count() || row < 0 ||
      static_cast<std::size_t>(row) >= sheets.sheet(sheet).row_count()) {
    throw BadUsage(std::string("В документе нет такой строки."_cp));
  }
}

void CheckCell(const SheetSet& sheets, std::size_t sheet, int row, int cell) {
  CheckRow(sheets, sheet, row);
  if (cell < 0 ||
      static_cast<std::size_t>(cell) >= sheets.sheet(sheet).row(static_cast<std::size_t>(row)).cell_count())
    throw BadUsage(std::string("В строке документа нет такой ячейки."_cp));
}

CRow& RowAt(SheetSet& sheets, RowPosition at) {
  return sheets.sheet(at.sheet).row(static_cast<std::size_t>(at.row));
}
const CRow& RowAt(const SheetSet& sheets, RowPosition at) {
  return sheets.sheet(at.sheet).row(static_cast<std::size_t>(at.row));
}

// Moves `at` to the next row in reading order, over sheets without rows; false at the end of the document.
bool Next(const SheetSet& sheets, RowPosition& at) {
  ++at.row;
  while (static_cast<std::size_t>(at.row) >= sheets.sheet(at.sheet).row_count()) {
    if (at.sheet + 1 >= sheets.sheet_count()) return false;
    ++at.sheet;
    at.row = 0;
  }
  return true;
}

ClipboardRow Cells(const CRow& row) {
  ClipboardRow cells;
  cells.reserve(row.cell_count());
  for (const CCell& cell : row.cells()) cells.push_back({cell.text(), cell.attributes()});
  return cells;
}

bool IsEmpty(const ClipboardRow& row) {
  return std::all_of(row.begin(), row.end(), [](const ClipboardCell& cell) { return cell.text.empty(); });
}

// The contents of every row from `from` to the end of the document.
RowClipboard RowsFrom(const SheetSet& sheets, RowPosition from) {
  RowClipboard rows;
  RowPosition at = from;
  do {
    rows.push_back(Cells(RowAt(sheets, at)));
  } while (Next(sheets, at));
  return rows;
}

// Gives the row the cells' texts and words; a row without cells given is cleared.
void Put(CRow& row, const ClipboardRow* cells) {
  for (std::size_t c = 0; c < row.cell_count(); ++c) {
    CCell& cell = row.cell(c);
    if (cells != nullptr && c < cells->size()) {
      cell.SetText((*cells)[c].text);
      cell.SetAttributes((*cells)[c].attributes);
    } else {
      cell.SetText(std::string());
      cell.SetAttributes(0);
    }
  }
}

// Writes `rows` into the document in reading order from `from` on and clears every row after them. While
// any of the first `keep` rows has no place left, a following sheet is appended; the rows after those
// (empty ones) are dropped where the document ends.
void Rewrite(SheetSet& sheets, RowPosition from, std::span<const ClipboardRow> rows, std::size_t keep) {
  const int top_offset = model::LayoutOf(sheets.kind()).following_top_offset;
  RowPosition at = from;
  for (std::size_t i = 0;; ++i) {
    Put(RowAt(sheets, at), i < rows.size() ? &rows[i] : nullptr);
    if (Next(sheets, at)) continue;
    if (i + 1 >= keep) break;
    if (sheets.AddSheet(top_offset).row_count() == 0) throw std::logic_error("a new sheet has no rows");
    ++at.sheet;
    at.row = 0;
  }
}

// Inserts the rows before the row at `at`, which must exist.
void InsertBefore(SheetSet& sheets, RowPosition at, std::span<const ClipboardRow> inserted) {
  RowClipboard rows(inserted.begin(), inserted.end());
  RowClipboard rest = RowsFrom(sheets, at);
  std::size_t keep = rows.size();
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (!IsEmpty(rest[i])) keep = rows.size() + i + 1;
  }
  rows.insert(rows.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.end()));
  Rewrite(sheets, at, rows, keep);
}

// Writes the lines into the cell's column from `at` on: the first into the cell at `at`, the others into
// new empty rows at the positions the sheet flow gives. The positions are all chosen before any row goes
// in, so that lines passing a sheet's tail land at the top of the next sheet without covering its rows.
void WriteLines(SheetSet& sheets, RowPosition at, int cell, std::span<const std::string> lines,
                std::uint32_t attributes) {
  SheetFlow flow(sheets);
  std::vector<RowPosition> targets{at};
  for (std::size_t i = 1; i < lines.size(); ++i) targets.push_back(flow.NextLine(targets.back()));
  // The targets on one sheet follow each other: each run gets its empty rows at once.
  for (std::size_t i = 1; i < targets.size();) {
    std::size_t end = i;
    while (end < targets.size() && targets[end].sheet == targets[i].sheet) ++end;
    InsertBefore(sheets, targets[i], RowClipboard(end - i));
    i = end;
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    CCell& target = RowAt(sheets, targets[i]).cell(static_cast<std::size_t>(cell));
    target.SetText(lines[i]);
    target.SetAttributes(attributes);
  }
}

// Puts the text into the cell when it fits, otherwise its lines from the cell on; returns the line count.
int FitText(SheetSet& sheets, RowPosition at, int cell, std::string_view text, std::uint32_t attributes,
            const ports::TextMeasurer& measurer) {
  const double height = sheets.sheet(0).settings().table_text;
  const double width = sheets.sheet(at.sheet).column_widths()[static_cast<std::size_t>(cell)];
  std::vector<std::string> lines;
  if (Fits(measurer, height, width, text)) {
    lines.emplace_back(text);
  } else {
    Split(measurer, height, width, text, lines);
  }
  WriteLines(sheets, at, cell, lines, attributes);
  return static_cast<int>(lines.size());
}

}  // namespace

int NameCell(model::DocumentKind kind) {
  return kind == model::DocumentKind::kElementList ? 2 : 1;
}

bool WrapsCell(model::DocumentKind kind, int cell) {
  switch (kind) {
    case model::DocumentKind::kElementList:
      return cell == 1 || cell == 2 || cell == 4;
    case model::DocumentKind::kPurchasedBill:
      return cell == 1 || cell == 3 || cell == 5 || cell == 10;
    case model::DocumentKind::kSimpleBill:
      return cell == 1 || cell == 4 || cell == 5;
  }
  return false;
}

void InsertRows(SheetSet& sheets, std::size_t sheet, int row, int count) {
  CheckRow(sheets, sheet, row);
  if (count < 0) throw BadUsage(std::string("Число вставляемых строк не может быть отрицательным."_cp));
  if (count == 0) return;
  InsertBefore(sheets, {sheet, row}, RowClipboard(static_cast<std::size_t>(count)));
}

void DeleteRow(SheetSet& sheets, std::size_t sheet, int row) {
  CheckRow(sheets, sheet, row);
  const RowClipboard rest = RowsFrom(sheets, {sheet, row});
  const std::span<const ClipboardRow> after = std::span(rest).subspan(1);
  Rewrite(sheets, {sheet, row}, after, after.size());
}

ClipboardRow CopyRow(const SheetSet& sheets, std::size_t sheet, int row) {
  CheckRow(sheets, sheet, row);
  return Cells(RowAt(sheets, {sheet, row}));
}

void PasteRows(SheetSet& sheets, std::size_t sheet, int row, const RowClipboard& clipboard) {
  CheckRow(sheets, sheet, row);
  if (!clipboard.empty()) InsertBefore(sheets, {sheet, row}, clipboard);
}

std::size_t RemoveEmptyLastSheets(SheetSet& sheets) {
  std::size_t removed = 0;
  while (sheets.sheet_count() > 1) {
    const CTableRows& last = sheets.sheet(sheets.sheet_count() - 1);
    const bool empty = std::all_of(last.rows().begin(), last.rows().end(), [](const CRow& row) {
      return std::all_of(row.cells().begin(), row.cells().end(),
                         [](const CCell& cell) { return cell.IsEmpty(); });
    });
    if (!empty) break;
    sheets.RemoveSheet(sheets.sheet_count() - 1);
    ++removed;
  }
  return removed;
}

void FollowSheetCount(SheetSet& sheets, std::size_t count_before) {
  const std::size_t count = sheets.sheet_count();
  if (count == count_before) return;
  CTableRows& first = sheets.sheet(0);
  // The texts a fill writes are followed; any other text is the user's.
  const std::string& number = first.title_field(TitleField::kSheetNumber);
  if (count > 1 && count_before <= 1 && number.empty()) {
    first.SetTitleField(TitleField::kSheetNumber, "1");
  } else if (count == 1 && count_before > 1 && number == "1") {
    first.SetTitleField(TitleField::kSheetNumber, "");
  }
  if (first.title_field(TitleField::kSheetCount) == text::FormatD(static_cast<long long>(count_before))) {
    first.SetTitleField(TitleField::kSheetCount, text::FormatD(static_cast<long long>(count)));
  }
}

int EditCell(SheetSet& sheets, std::size_t sheet, int row, int cell, std::string_view text,
             const ports::TextMeasurer& measurer) {
  CheckCell(sheets, sheet, row, cell);
  CCell& edited = sheets.sheet(sheet).cell(static_cast<std::size_t>(row), static_cast<std::size_t>(cell));
  if (sheets.kind() == model::DocumentKind::kSimpleBill && cell == 0) {
    if (!edited.IsEmpty()) edited.SetText("1");
    return 1;
  }
  const std::uint32_t attributes = edited.attributes() | kTableText;
  if (!WrapsCell(sheets.kind(), cell)) {
    edited.SetText(text);
    edited.SetAttributes(attributes);
    return 1;
  }
  return FitText(sheets, {sheet, row}, cell, text, attributes, measurer);
}

int SetCellText(SheetSet& sheets, std::size_t sheet, int row, int cell, std::string_view text,
                std::uint32_t attributes, const ports::TextMeasurer& measurer) {
  CheckCell(sheets, sheet, row, cell);
  return FitText(sheets, {sheet, row}, cell, text, attributes | kTableText, measurer);
}

CellTextForm CellTextForm::Open(std::string_view text, std::uint32_t attributes) {
  return {std::string(text), static_cast<int>(AlignmentOf(attributes)), (attributes & kUnderline) != 0};
}

std::uint32_t CellTextForm::Attributes(std::uint32_t old) const {
  const std::uint32_t position = alignment >= 0 && alignment <= 2 ? static_cast<std::uint32_t>(alignment) : 0;
  const std::uint32_t word = WithAlignment(old, position);
  return underline ? word | kUnderline : word & ~kUnderline;
}

}  // namespace tallyform::document
