#pragma once
// Where a text that takes several rows of a column goes on: the rows of a sheet above its empty rows at the
// end (the tail) hold its lines, and past them it continues at the first row of the next sheet, which is
// added when the document ends there. Filling and editing a document keep this one rule.

#include <compare>
#include <cstddef>

namespace tallyform::document {

class SheetSet;

/// A sheet and a row on it (0-based both).
struct RowPosition {
  std::size_t sheet = 0;
  int row = 0;
  friend auto operator<=>(const RowPosition&, const RowPosition&) = default;
};

/// The empty rows the sheets keep at their end: the tail of the settings table brought into range, and at
/// most what leaves a heading and its element room on a following sheet of this set's paper, so that a text
/// continued on a new sheet always finds rows there.
int SheetTail(const SheetSet& sheets);

class SheetFlow {
 public:
  /// Sheets added get the following-sheet geometry with `following_top_offset`.
  SheetFlow(SheetSet& sheets, int tail, int following_top_offset);
  /// The sheets' own tail (SheetTail) and the following top offset of their kind.
  explicit SheetFlow(SheetSet& sheets);

  int tail() const { return tail_; }
  void SetTail(int tail) { tail_ = tail; }

  /// The rows of the sheet at a 0-based index that may hold lines: its row count less the tail (0 or less
  /// when the sheet is shorter than its tail).
  int UsableRows(std::size_t sheet) const;
  /// The position of the line after the one at `at`, in the same column: the next row, or row 0 of the
  /// next sheet once the rows above the tail are used up, adding a sheet when `at` is on the last one.
  RowPosition NextLine(RowPosition at);

 private:
  SheetSet& sheets_;
  int tail_;
  int following_top_offset_;
};

}  // namespace tallyform::document
