#include "presentation/sheet_view.h"

#include "presentation/text_drawer.h"
#include "presentation/title_block.h"
#include "text/numbers.h"

namespace tallyform::presentation {

using document::CCell;
using document::CTableRows;

document::CCell ShownCell(model::DocumentKind kind, const CCell& cell, std::size_t row, std::size_t column) {
  CCell shown = cell;
  if (kind == model::DocumentKind::kPurchasedBill && column == 0) {
    shown.SetText(text::FormatD(static_cast<long long>(row) + 1));
    shown.SetAttributes(document::kFillCentred);
  } else if (!shown.IsEmpty()) {
    shown.SetAttributes(shown.attributes() | document::kTableText);
  }
  return shown;
}

const CTableRows* SheetView::CurrentSheetTable(const document::SheetSet& sheets) const {
  if (current_sheet_ < 1 || static_cast<std::size_t>(current_sheet_) > sheets.sheet_count()) return nullptr;
  return &sheets.sheet(static_cast<std::size_t>(current_sheet_ - 1));
}

int SheetView::SectionProducts(const document::SheetSet& sheets) const {
  const CTableRows* table = CurrentSheetTable(sheets);
  return table != nullptr && table->section_start() ? table->number_of_products() : 0;
}

Point SheetView::MapPoint(double x_mm, double y_mm) const {
  return Point{ToDeviceUnits(x_mm * mapping_.scale_x) + mapping_.origin_x,
               ToDeviceUnits(y_mm * mapping_.scale_y) + mapping_.origin_y};
}

int SheetView::MapLineWidth(double width_mm) const {
  const int width = ToDeviceUnits(width_mm * mapping_.scale_y);
  return width < 0 ? 0 : width;
}

const CCell* SheetView::SelectedCell(const document::SheetSet& sheets) const {
  if (selected_row_ < 0 || selected_column_ < 0) return nullptr;
  const CTableRows* table = CurrentSheetTable(sheets);
  const auto row = static_cast<std::size_t>(selected_row_);
  const auto column = static_cast<std::size_t>(selected_column_);
  if (table == nullptr || row >= table->row_count() || column >= table->row(row).cell_count()) return nullptr;
  return &table->cell(row, column);
}

void SheetView::ClearSelection() {
  selection_.reset();
  selected_row_ = -1;
  selected_column_ = -1;
  last_hit_ = Point{};
}

void SheetView::Miss(Point& point) {
  ClearSelection();
  point = Point{};
}

const CCell* SheetView::CellAtPoint(const document::SheetSet& sheets, Point& point, Point scroll) {
  title_block_hit_ = false;
  products_line_hit_ = false;
  title_field_hit_.reset();
  const model::DocumentKind kind = sheets.kind();

  if (point == last_hit_) {
    // The same click again: keep the selection, but show the cell as it is now (it may have been edited,
    // or the sheets may have changed under it).
    if (!selection_) return nullptr;
    const CCell* cell = SelectedCell(sheets);
    if (cell == nullptr) {
      ClearSelection();
      return nullptr;
    }
    *selection_ = ShownCell(kind, *cell, static_cast<std::size_t>(selected_row_),
                            static_cast<std::size_t>(selected_column_));
    return &*selection_;
  }

  const double px = (static_cast<double>(scroll.x) + point.x - mapping_.origin_x) / mapping_.scale_x;
  const double py = (static_cast<double>(scroll.y) + point.y - mapping_.origin_y) / mapping_.scale_y;
  const CTableRows* table = CurrentSheetTable(sheets);
  const bool section_start = table != nullptr && table->section_start();
  const int width = sheets.sheet_width();
  const int height = sheets.sheet_height();
  // NaN (an unset mapping) fails every comparison and so hits nothing.
  const bool inside_frame = px > model::kTableLeft && px < width - kFrameMargin;

  if (table != nullptr && inside_frame) {
    const int y0 = model::HeaderBottom(kind, section_start);
    if (py > y0 && py < y0 + table->used_height()) {
      long long bottom = y0;
      for (std::size_t r = 0; r < table->row_count(); ++r) {
        bottom += table->row(r).height();
        if (bottom < py) continue;
        long long right = model::kTableLeft;
        const auto cells = table->row(r).cells();
        for (std::size_t c = 0; c < cells.size(); ++c) {
          right += cells[c].Width();
          if (right < px) continue;
          selection_ = ShownCell(kind, cells[c], r, c);
          selected_row_ = static_cast<int>(r);
          selected_column_ = static_cast<int>(c);
          last_hit_ = Point{scroll.x + point.x, scroll.y + point.y};
          return &*selection_;
        }
        break;
      }
    }
  }

  Miss(point);
  // The title block's band runs across the frame, as high as a first sheet's title block, on every sheet.
  const document::Rect block = TitleBlockOutline(width, height, /*first_sheet=*/true);
  if (inside_frame && py > block.top && py < block.bottom) title_block_hit_ = true;
  title_field_hit_ = TitleFieldAt(kind, current_sheet_ == 1, width, height, px, py);
  if (inside_frame && py > kFrameMargin && py < kProductsLineBottom &&
      kind == model::DocumentKind::kSimpleBill && section_start) {
    products_line_hit_ = true;
  }
  return nullptr;
}

}  // namespace tallyform::presentation
