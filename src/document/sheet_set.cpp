#include "document/sheet_set.h"

#include <cmath>
#include <stdexcept>

namespace tallyform::document {

using document::CCell;
using document::CTableRows;
using model::DocumentKind;

namespace {

// Truncates toward zero like the C conversion, but keeps any product (even of an unset or absurd mapping)
// inside the int range.
int TruncToDevice(double v) {
  constexpr double kLimit = 1e9;
  if (!std::isfinite(v)) return 0;
  if (v > kLimit) return static_cast<int>(kLimit);
  if (v < -kLimit) return static_cast<int>(-kLimit);
  return static_cast<int>(v);
}

void CheckSlot(int slot) {
  if (slot < 0 || slot >= SheetSet::kUndoSlots) throw std::out_of_range("undo slot out of range");
}

}  // namespace

SheetSet::SheetSet(model::DocumentKind kind)
    : SheetSet(kind, model::LayoutOf(kind).format, model::LayoutOf(kind).portrait) {}

SheetSet::SheetSet(model::DocumentKind kind, model::PaperFormat format, bool portrait) : kind_(kind) {
  const model::SheetSize size = model::SheetSizeOf(format, portrait);
  width_ = size.width;
  height_ = size.height;
  column_widths_ = model::ColumnWidths(kind, width_);
  first_body_height_ = model::BodyHeight(kind, height_, true);
  following_body_height_ = model::BodyHeight(kind, height_, false);
  AddFirstSheet();
}

void SheetSet::AddFirstSheet() {
  auto first = std::make_unique<CTableRows>(column_widths_, first_body_height_,
                                            model::LayoutOf(kind_).first_top_offset);
  if (kind_ == model::DocumentKind::kSimpleBill) {
    first->SetTitleField(document::TitleField::kDocumentName, model::kSimpleBillDocumentName);
  }
  first->SetTitleField(document::TitleField::kSheetCount, "1");
  current().push_back(std::move(first));
}

void SheetSet::ReplaceSheets(document::SheetArray sheets) {
  current() = std::move(sheets);
}

void SheetSet::Clear() {
  document::SheetArray& sheets = current();
  if (sheets.empty()) {
    AddFirstSheet();
    return;
  }
  sheets.erase(sheets.begin() + 1, sheets.end());
  sheets.front()->ClearTexts();
}

CTableRows& SheetSet::AddSheet(int top_offset) {
  auto sheet =
      std::make_unique<CTableRows>(column_widths_, BodyHeightFor(sheet_count(), top_offset), top_offset);
  current().push_back(std::move(sheet));
  return *current().back();
}

int SheetSet::BodyHeightFor(std::size_t index, int top_offset) const {
  if (index == 0) return first_body_height_;
  const int lower = top_offset - model::LayoutOf(kind_).following_top_offset;
  return following_body_height_ - std::max(0, lower);
}

void SheetSet::RemoveSheet(std::size_t index) {
  document::SheetArray& sheets = current();
  sheets.erase(sheets.begin() + static_cast<std::ptrdiff_t>(index));
}

CTableRows* SheetSet::CurrentSheetTable() {
  if (current_sheet_ < 1 || static_cast<std::size_t>(current_sheet_) > sheet_count()) return nullptr;
  return current()[static_cast<std::size_t>(current_sheet_ - 1)].get();
}

const CTableRows* SheetSet::CurrentSheetTable() const {
  return const_cast<SheetSet*>(this)->CurrentSheetTable();
}

int SheetSet::SectionProducts() const {
  const CTableRows* table = CurrentSheetTable();
  return table != nullptr && table->section_start() ? table->number_of_products() : 0;
}

Point SheetSet::MapPoint(double x_mm, double y_mm) const {
  return Point{TruncToDevice(x_mm * mapping_.scale_x) + mapping_.origin_x,
               TruncToDevice(y_mm * mapping_.scale_y) + mapping_.origin_y};
}

int SheetSet::MapLineWidth(double width_mm) const {
  const int width = TruncToDevice(width_mm * mapping_.scale_y);
  return width < 0 ? 0 : width;
}

CCell* SheetSet::SelectedCell() {
  if (selected_row_ < 0 || selected_column_ < 0) return nullptr;
  CTableRows* table = CurrentSheetTable();
  const auto row = static_cast<std::size_t>(selected_row_);
  const auto column = static_cast<std::size_t>(selected_column_);
  if (table == nullptr || row >= table->row_count() || column >= table->row(row).cell_count()) return nullptr;
  return &table->cell(row, column);
}

void SheetSet::ClearSelection() {
  selection_.reset();
  selected_row_ = -1;
  selected_column_ = -1;
  last_hit_ = Point{};
}

void SheetSet::Miss(Point& point) {
  ClearSelection();
  point = Point{};
}

const CCell* SheetSet::CellAtPoint(Point& point, Point scroll) {
  title_block_hit_ = false;
  products_line_hit_ = false;

  if (point == last_hit_) {
    // The same click again: keep the selection, but show the cell as it is now (it may have been edited,
    // or the sheets may have changed under it).
    if (!selection_) return nullptr;
    const CCell* cell = SelectedCell();
    if (cell == nullptr) {
      ClearSelection();
      return nullptr;
    }
    *selection_ = *cell;
    return &*selection_;
  }

  const double px = (static_cast<double>(scroll.x) + point.x - mapping_.origin_x) / mapping_.scale_x;
  const double py = (static_cast<double>(scroll.y) + point.y - mapping_.origin_y) / mapping_.scale_y;
  const CTableRows* table = CurrentSheetTable();
  const bool section_start = table != nullptr && table->section_start();
  // NaN (an unset mapping) fails every comparison and so hits nothing.
  const bool inside_frame = px > model::kTableLeft && px < width_ - 5;

  if (table != nullptr && inside_frame) {
    const int y0 = model::HeaderBottom(kind_, section_start);
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
          selection_ = cells[c];
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
  if (inside_frame && py > height_ - 45 && py < height_ - 5) title_block_hit_ = true;
  if (inside_frame && py > 5 && py < 13 && kind_ == model::DocumentKind::kSimpleBill && section_start) {
    products_line_hit_ = true;
  }
  return nullptr;
}

void SheetSet::SaveSnapshot(int slot) {
  CheckSlot(slot);
  if (slot == current_slot_) return;
  slots_[static_cast<std::size_t>(slot)] = document::CopySheets(current());
  current_slot_ = slot;
}

void SheetSet::RestoreSnapshot(int slot) {
  CheckSlot(slot);
  current_slot_ = slot;
}

}  // namespace tallyform::document
