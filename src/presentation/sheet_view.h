#pragma once
// The view of a document's sheets: which sheet is shown, how sheet millimetres map to device units, the
// pens and text height of the last drawing, the selected cell and what the last click hit. Each window,
// print preview and printout has its own, so that they never disturb each other; the sheets stay in the
// document, which a view only reads.

#include <cstddef>
#include <optional>

#include "document/sheet_set.h"
#include "document/table_rows.h"
#include "model/document_kind.h"
#include "presentation/sheet_mapping.h"

namespace tallyform::presentation {

/// A cell as the sheets show it: in a bill of purchased items the first column numbers the rows of each
/// sheet from 1 (centred table text), whatever the cell holds; any other cell with a text is table text.
/// `row` and `column` are the cell's 0-based place in its sheet.
document::CCell ShownCell(model::DocumentKind kind, const document::CCell& cell, std::size_t row,
                          std::size_t column);

class SheetView {
 public:
  /// The 1-based number of the sheet shown or drawn.
  int current_sheet() const { return current_sheet_; }
  void SetCurrentSheet(int number) { current_sheet_ = number; }
  /// The table of the current sheet, or nullptr when the number names no sheet of `sheets`.
  const document::CTableRows* CurrentSheetTable(const document::SheetSet& sheets) const;
  /// The number of products of the current sheet's section when that sheet starts one, otherwise 0.
  int SectionProducts(const document::SheetSet& sheets) const;

  // ---- Mapping and drawing state (set by the drawing of a sheet) ----

  const SheetMapping& mapping() const { return mapping_; }
  void SetMapping(const SheetMapping& mapping) { mapping_ = mapping; }
  int page_width() const { return mapping_.page_width; }
  int page_height() const { return mapping_.page_height; }
  /// A sheet point in device units.
  Point MapPoint(double x_mm, double y_mm) const;
  /// A pen width in device units (0 asks for the thinnest line).
  int MapLineWidth(double width_mm) const;

  /// The text height of the last font the drawing made, mm.
  double current_text_height() const { return current_text_height_; }
  void SetCurrentTextHeight(double height_mm) { current_text_height_ = height_mm; }
  /// The line widths of the last drawing, mm.
  double thin_line_width() const { return thin_line_width_; }
  double main_line_width() const { return main_line_width_; }
  void SetLineWidths(double thin_mm, double main_mm) {
    thin_line_width_ = thin_mm;
    main_line_width_ = main_mm;
  }

  // ---- Hit test and selection ----

  /// The cell of the current sheet under a window point (scroll position in device units), as a copy of
  /// the cell as shown (ShownCell) kept as the selection cell, or nullptr. Clicking again at the last hit
  /// point keeps the selection. A miss clears the selection, resets `point` to (0, 0) and raises the title
  /// block or products line flag when the point lies there, and notes the title block field under it. Table
  /// edges belong to the row above and the column to the left.
  const document::CCell* CellAtPoint(const document::SheetSet& sheets, Point& point, Point scroll);
  bool title_block_hit() const { return title_block_hit_; }
  bool products_line_hit() const { return products_line_hit_; }
  /// The title block field under the last missed point (see TitleFieldAt), or nothing.
  std::optional<document::TitleField> title_field_hit() const { return title_field_hit_; }
  /// The current sheet's cell of `sheets` at the selected row and column, or nullptr when there is no
  /// selection or the sheets no longer hold it.
  const document::CCell* SelectedCell(const document::SheetSet& sheets) const;
  int selected_row() const { return selected_row_; }
  int selected_column() const { return selected_column_; }
  Point last_hit_point() const { return last_hit_; }
  /// Forgets the selection (the sheet or the sheets changed under it).
  void ClearSelection();

 private:
  void Miss(Point& point);

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
  std::optional<document::TitleField> title_field_hit_;
};

}  // namespace tallyform::presentation
