#pragma once
// The row engine the fills of every document kind run on: it clears the sheets, walks the prepared element
// list sheet by sheet and row by row, leaves the gap of empty rows before a new group and the empty rows at
// the end of each sheet, continues texts that need more lines onto the next sheet (adding sheets as
// needed), and finally writes the sheet number and count into the title block.
//
// What a kind writes for an element (headings, the columns it fills, how it names the element) is the
// business of its RowWriter.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/sheet_flow.h"
#include "document/sheet_set.h"
#include "document/table_rows.h"
#include "elements/component_list.h"

namespace tallyform::ports {
class TextMeasurer;
}  // namespace tallyform::ports
namespace tallyform::valuecheck {
class ValueCheck;
}  // namespace tallyform::valuecheck

namespace tallyform::model {
class ElementKinds;
}  // namespace tallyform::model

namespace tallyform::document {

/// What the fills need besides the sheets and the elements.
struct FillServices {
  /// Text widths for fitting and splitting.
  const ports::TextMeasurer& measurer;
  /// The element kinds, for the names of kinds.
  const model::ElementKinds& kinds;
  /// The value check that resistors and capacitors go through.
  valuecheck::ValueCheck& check;
};

class RowEngine;

/// What a document kind writes for the element at the engine's current row.
class RowWriter {
 public:
  enum class Step {
    kHeading,   ///< wrote headings (or nothing); the element stays next, one row further down
    kWritten,   ///< wrote the element; the next one starts below the lowest line written
    kEndSheet,  ///< the element must start on the next sheet; it stays next
  };

  virtual ~RowWriter() = default;
  virtual Step Write(RowEngine& engine, const elements::Element& element) = 0;
};

class RowEngine {
 public:
  /// Sheets added when one is full get `following_top_offset`. The text height of the table cells and the
  /// fill parameters are taken from the settings table when Run starts.
  RowEngine(document::SheetSet& sheets, const FillServices& services, int following_top_offset);

  /// Clears the sheets (every sheet but the first removed, the first one's texts emptied), writes the
  /// elements in order through `writer`, and sets the first sheet's sheet number ("1", only when there is
  /// more than one sheet) and sheet count. A value check that fails raises `mismatch`.
  void Run(const elements::ComponentList& elements, RowWriter& writer, bool& mismatch);

  // ---- For writers, during Run ----

  document::SheetSet& sheets() { return sheets_; }
  const FillServices& services() const { return services_; }
  /// The table of the sheet being filled.
  CTableRows& sheet() { return sheets_.sheet(sheet_index_); }
  std::size_t sheet_index() const { return sheet_index_; }
  bool on_first_sheet() const { return sheet_index_ == 0; }
  bool on_last_sheet() const { return sheet_index_ + 1 == sheets_.sheet_count(); }
  /// The current row r.
  int row() const { return row_; }
  /// Moves the current row down.
  void AdvanceRows(int rows) { row_ += rows; }
  /// True when the sheet has `rows` more rows below the current one before its empty rows at the end
  /// (the tail): row count - current row - 1 >= tail + rows.
  bool HasRoomBelow(int rows) const;

  /// The empty rows between groups (the gap) and at the end of a sheet (the tail) of this run.
  int gap() const { return gap_; }
  int tail() const { return flow_.tail(); }

  /// The group whose heading was written last; a new group gets the gap before it.
  const std::string& last_group() const { return last_group_; }
  void SetLastGroup(std::string_view group) { last_group_ = std::string(group); }

  /// Writes the text on one line into the column at the current row.
  void WriteLine(int column, std::string_view text, std::uint32_t attributes);
  /// Writes the text into the column from the current row: on one line when it fits the cell, otherwise
  /// split into lines for the cell, one per row; lines that would fall into the empty rows at the end of a
  /// sheet continue at row 0 of the next sheet, which is added when needed.
  void WriteFitted(int column, std::string_view text, std::uint32_t attributes);
  /// True when the text fits the column's cells on one line.
  bool FitsColumn(int column, std::string_view text) const;
  /// Adds a following sheet with the top offset when the current sheet is the last one.
  void EnsureNextSheet(int top_offset);
  /// Replaces the current sheet by a new following sheet with the top offset, for a sheet that turns out to
  /// need another header before anything is written on it. The current sheet must be the last one and not
  /// the first; std::logic_error otherwise.
  void RestartSheet(int top_offset);

  /// Checks the value of a resistor or capacitor (by the designator's prefix) with the type text, an empty
  /// value and the source file; raises the run's mismatch flag when the check fails.
  void CheckValue(std::string_view designator, std::string_view type, std::string_view file);

 private:
  int UsableRows(std::size_t sheet_index) const { return flow_.UsableRows(sheet_index); }
  void Put(RowPosition at, int column, std::string_view text, std::uint32_t attributes);

  document::SheetSet& sheets_;
  const FillServices& services_;
  int following_top_offset_;
  SheetFlow flow_;

  double text_height_ = 4.0;
  int gap_ = 0;
  std::size_t sheet_index_ = 0;
  int row_ = 0;
  std::string last_group_;
  RowPosition lowest_;
  bool* mismatch_ = nullptr;
};

}  // namespace tallyform::document
