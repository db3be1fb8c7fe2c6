#pragma once
// The sheet set: the sheets of one document (one sheet table each), their size and column layout. What a
// view of the sheets keeps (the sheet shown, the mapping, the selection) lives in the view; earlier states
// of the sheets live in the undo ring of the document's session.

#include <cstddef>
#include <span>
#include <vector>

#include "document/table_rows.h"
#include "model/document_kind.h"

namespace tallyform::document {

class SheetSet {
 public:
  /// A sheet set of the kind on its own paper (A4 portrait, A3 landscape, A4 portrait).
  explicit SheetSet(model::DocumentKind kind);
  /// A sheet set of the kind on the given paper. Makes the first sheet table (the settings table) with the
  /// first-sheet geometry, its sheet count text "1" and, for a simple bill, its document name.
  SheetSet(model::DocumentKind kind, model::PaperFormat format, bool portrait);

  model::DocumentKind kind() const { return kind_; }
  /// Sheet size, mm.
  int sheet_width() const { return width_; }
  int sheet_height() const { return height_; }
  int row_height() const { return model::kRowHeight; }
  std::span<const int> column_widths() const { return column_widths_; }
  int first_body_height() const { return first_body_height_; }
  int following_body_height() const { return following_body_height_; }
  /// The body height of the sheet at a 0-based index when its table starts at `top_offset`: the first
  /// sheet's, or a following sheet's less what a lower start takes.
  int BodyHeightFor(std::size_t index, int top_offset) const;

  // ---- The sheets ----

  std::size_t sheet_count() const { return sheets_.size(); }
  /// The sheet table at a 0-based index, which must exist.
  document::CTableRows& sheet(std::size_t index) { return *sheets_[index]; }
  const document::CTableRows& sheet(std::size_t index) const { return *sheets_[index]; }
  const document::SheetArray& sheets() const { return sheets_; }
  /// Replaces the sheets (a document read from a file hands its tables over).
  void ReplaceSheets(document::SheetArray sheets);
  /// Exchanges the sheets with `other` (the undo ring keeps the states it swaps out).
  void SwapSheets(document::SheetArray& other) noexcept { sheets_.swap(other); }
  /// Removes every sheet but the first and clears the texts of the first; a set left without sheets gets
  /// a new first sheet.
  void Clear();
  /// Appends a sheet table with the following-sheet geometry and the top offset and returns it.
  /// std::bad_alloc leaves the set as it was.
  document::CTableRows& AddSheet(int top_offset);
  /// Removes the sheet at a 0-based index, which must exist.
  void RemoveSheet(std::size_t index);

  /// Brings every sheet's geometry in line with its position: the first sheet gets the first-sheet body
  /// height, every following sheet the following-sheet height less what its lower start takes
  /// (BodyHeightFor); rows that no longer fit are dropped. Run after the sheets are filled, edited, undone
  /// or read from a file; a set laid out already stays as it is, byte for byte.
  void LayOut();

 private:
  void AddFirstSheet();

  model::DocumentKind kind_;
  int width_ = 0;
  int height_ = 0;
  std::vector<int> column_widths_;
  int first_body_height_ = 0;
  int following_body_height_ = 0;

  document::SheetArray sheets_;
};

}  // namespace tallyform::document
