#pragma once
// Editing the rows of a document by hand: inserting, deleting, cutting, copying and pasting whole rows, and
// putting a text into one cell, fitted to the cell or split over rows. Rows flow across sheets: what is
// pushed off the end of a sheet continues at the top of the next one, and sheets are added as needed.
//
// Rows are addressed by a 0-based sheet index and a 0-based row on that sheet. A row is copied cell by cell,
// its texts and attribute words, never its rectangles; rows keep their places on the sheets, only their
// contents move. An empty cell is one without text, and an empty row or sheet one of empty cells. Texts are
// code page 1251.
//
// Every function checks its addresses first: a sheet, row or cell that does not exist is tallyform::BadUsage
// and changes nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/document_kind.h"

namespace tallyform::ports {
class TextMeasurer;
}  // namespace tallyform::ports

namespace tallyform::document {

class SheetSet;

/// One cell of a copied row: its text and its attribute word.
struct ClipboardCell {
  std::string text;
  std::uint32_t attributes = 0;
  friend bool operator==(const ClipboardCell&, const ClipboardCell&) = default;
};
/// A copied row, its cells left to right.
using ClipboardRow = std::vector<ClipboardCell>;
/// Copied rows in the order they were copied.
using RowClipboard = std::vector<ClipboardRow>;

/// The cell that names an element: 2 ("Наименование") in a list of elements, 1 in the two bills.
int NameCell(model::DocumentKind kind);
/// The cells of the kind whose texts are fitted to the cell and split over rows when edited in place: cells
/// 1, 2 and 4 of a list of elements, 1, 3, 5 and 10 of a bill, 1, 4 and 5 of a simple bill.
bool WrapsCell(model::DocumentKind kind, int cell);

/// Inserts `count` empty rows before the row. The rows from there on move down by `count` in reading
/// order, the last rows of a sheet going to the top of the next; sheets are appended (following-sheet
/// geometry) while rows that hold any text, or the inserted rows themselves, pass the end of the document,
/// so nothing is lost however many rows go in. Empty rows pushed off the end are dropped. A negative count
/// is BadUsage.
void InsertRows(SheetSet& sheets, std::size_t sheet, int row, int count);
/// Deletes the row: every row after it, up to the end of the document, moves up by one, the first row of a
/// sheet going to the end of the previous one, and the last row of the document is cleared. Sheets are
/// never removed here (see RemoveEmptyLastSheets).
void DeleteRow(SheetSet& sheets, std::size_t sheet, int row);
/// The row's cells.
ClipboardRow CopyRow(const SheetSet& sheets, std::size_t sheet, int row);
/// Inserts the clipboard's rows before the row, as InsertRows does with empty ones, in clipboard order. A
/// clipboard row with fewer cells than the table leaves the others empty, and cells beyond the table's are
/// left out.
void PasteRows(SheetSet& sheets, std::size_t sheet, int row, const RowClipboard& clipboard);

/// Removes the sheets at the end that hold no text, all at once, but never the first sheet. Returns how
/// many went.
std::size_t RemoveEmptyLastSheets(SheetSet& sheets);

/// Keeps the first sheet's sheet fields in step after an edit took the document from `count_before` sheets
/// to the present number, as a fill writes them: the sheet number "1" appears when a single sheet grows to
/// several and goes when several shrink back to one; the sheet count follows when it held the count before.
/// A text the user typed into either field (anything else) stays.
void FollowSheetCount(SheetSet& sheets, std::size_t count_before);

/// The in-place edit of a cell. A cell that wraps for the kind (WrapsCell) takes a text that fits it (with
/// the fit factor, at the settings table's table text height); a text that does not is split into lines,
/// the first going into the cell and each further one into a new empty row at the next line position
/// (SheetFlow: past the rows above a sheet's tail it continues at the first row of the next sheet, which is
/// added when needed). Every other cell takes the text as typed, except cell 0 of a simple bill, which keeps
/// its number: when it holds one it becomes "1". The lines keep the cell's attribute word, with the
/// table-text flag. Returns the number of lines written.
int EditCell(SheetSet& sheets, std::size_t sheet, int row, int cell, std::string_view text,
             const ports::TextMeasurer& measurer);
/// The cell text dialog's OK: the text goes into the cell with `attributes` (and the table-text flag) when
/// it fits, and is otherwise split into lines as EditCell splits, each with that word, whatever the cell.
/// Returns the number of lines written.
int SetCellText(SheetSet& sheets, std::size_t sheet, int row, int cell, std::string_view text,
                std::uint32_t attributes, const ports::TextMeasurer& measurer);

/// The cell text dialog ("Редактирование текста ячейки") between opening and OK.
struct CellTextForm {
  std::string text;
  /// The position in the alignment list: 0 left, 1 centred, 2 right.
  int alignment = 0;
  bool underline = false;

  /// What the dialog shows for a cell: its text, the alignment the word asks for (centred when bit 0 is
  /// set, otherwise bit 1's value) and whether it is underlined.
  static CellTextForm Open(std::string_view text, std::uint32_t attributes);
  /// The word OK stores in place of `old`: the alignment bits replaced by the chosen position (a position
  /// out of the list counts as left) and the underline flag set or cleared; every other bit stays.
  std::uint32_t Attributes(std::uint32_t old) const;
};

}  // namespace tallyform::document
