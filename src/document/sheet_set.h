#pragma once
// The sheet set: the sheets of one document (one sheet table each), their size and column layout, the
// mapping from sheet millimetres to device units, the hit test that finds the cell under a point, and the
// five sheet arrays that hold the states of the undo ring.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "archive/archive.h"
#include "document/table_rows.h"
#include "model/document_kind.h"

namespace tallyform::document {

/// A point in window or device units.
struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

/// How sheet millimetres map to device units: a point (x, y) mm goes to
/// (trunc(x * scale_x) + origin_x, trunc(y * scale_y) + origin_y).
struct SheetMapping {
  double scale_x = 1.0;
  double scale_y = 1.0;
  int origin_x = 0;
  int origin_y = 0;
  /// The sheet's size in device units, as the last drawing computed it.
  int page_width = 0;
  int page_height = 0;
  friend bool operator==(const SheetMapping&, const SheetMapping&) = default;
};

class SheetSet {
 public:
  static constexpr int kUndoSlots = 5;

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

  // ---- The sheets of the current array ----

  std::size_t sheet_count() const { return current().size(); }
  /// The sheet table at a 0-based index, which must exist.
  document::CTableRows& sheet(std::size_t index) { return *current()[index]; }
  const document::CTableRows& sheet(std::size_t index) const { return *current()[index]; }
  const document::SheetArray& sheets() const { return current(); }
  /// Replaces the sheets of the current array (a document read from a file hands its tables over).
  void ReplaceSheets(document::SheetArray sheets);
  /// Removes every sheet but the first and clears the texts of the first; a set left without sheets gets
  /// a new first sheet.
  void Clear();
  /// Appends a sheet table with the following-sheet geometry and the top offset and returns it.
  /// std::bad_alloc leaves the set as it was.
  document::CTableRows& AddSheet(int top_offset);
  /// Removes the sheet at a 0-based index, which must exist.
  void RemoveSheet(std::size_t index);

  /// The 1-based number of the sheet being shown or drawn.
  int current_sheet() const { return current_sheet_; }
  void SetCurrentSheet(int number) { current_sheet_ = number; }
  /// The table of the current sheet, or nullptr when the number names no sheet.
  document::CTableRows* CurrentSheetTable();
  const document::CTableRows* CurrentSheetTable() const;

  /// The number of products of the current sheet's section when that sheet starts one, otherwise 0.
  int SectionProducts() const;

  /// Column heading map, kept for the filling.
  archive::StringMap& column_headings() { return column_headings_; }
  const archive::StringMap& column_headings() const { return column_headings_; }

  // ---- Mapping and drawing state (set by the drawing of a sheet) ----

  const SheetMapping& mapping() const { return mapping_; }
  void SetMapping(const SheetMapping& mapping) { mapping_ = mapping; }
  int page_width() const { return mapping_.page_width; }
  int page_height() const { return mapping_.page_height; }
  /// A sheet point in device units.
  Point MapPoint(double x_mm, double y_mm) const;
  /// A pen width in device units (0 asks for the thinnest line).
  int MapLineWidth(double width_mm) const;

  double current_text_height() const { return current_text_height_; }
  void SetCurrentTextHeight(double height_mm) { current_text_height_ = height_mm; }
  double thin_line_width() const { return thin_line_width_; }
  double main_line_width() const { return main_line_width_; }
  void SetLineWidths(double thin_mm, double main_mm) {
    thin_line_width_ = thin_mm;
    main_line_width_ = main_mm;
  }

  // ---- Hit test and selection ----

  /// The cell of the current sheet under a window point (scroll position in device units), as a copy kept
  /// as the selection cell, or nullptr. Clicking again at the last hit point keeps the selection. A miss
  /// clears the selection, resets `point` to (0, 0) and raises the title block or products line flag when
  /// the point lies there. Table edges belong to the row above and the column to the left.
  const document::CCell* CellAtPoint(Point& point, Point scroll);
  bool title_block_hit() const { return title_block_hit_; }
  bool products_line_hit() const { return products_line_hit_; }
  /// The current sheet's cell at the selected row and column, or nullptr when there is no selection.
  document::CCell* SelectedCell();
  int selected_row() const { return selected_row_; }
  int selected_column() const { return selected_column_; }
  Point last_hit_point() const { return last_hit_; }
  /// Forgets the selection (the sheet or the sheets changed under it).
  void ClearSelection();

  // ---- Undo ring storage ----

  int current_slot() const { return current_slot_; }
  /// Copies the current sheet array (every table, row and cell) into a slot, which becomes current.
  void SaveSnapshot(int slot);
  /// Makes a slot current; nothing is copied.
  void RestoreSnapshot(int slot);

 private:
  document::SheetArray& current() { return slots_[static_cast<std::size_t>(current_slot_)]; }
  const document::SheetArray& current() const { return slots_[static_cast<std::size_t>(current_slot_)]; }
  void AddFirstSheet();
  void Miss(Point& point);

  model::DocumentKind kind_;
  int width_ = 0;
  int height_ = 0;
  std::vector<int> column_widths_;
  int first_body_height_ = 0;
  int following_body_height_ = 0;

  std::array<document::SheetArray, kUndoSlots> slots_;
  int current_slot_ = 0;
  archive::StringMap column_headings_;
  int current_sheet_ = 1;

  SheetMapping mapping_;
  double current_text_height_ = 0.0;
  double thin_line_width_ = 0.2;
  double main_line_width_ = 0.5;

  std::optional<document::CCell> selection_;
  int selected_row_ = -1;
  int selected_column_ = -1;
  Point last_hit_;
  bool title_block_hit_ = false;
  bool products_line_hit_ = false;
};

}  // namespace tallyform::document
