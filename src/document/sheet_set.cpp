#include "document/sheet_set.h"

#include <algorithm>

namespace tallyform::document {

using document::CTableRows;

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
  sheets_.push_back(std::move(first));
}

void SheetSet::ReplaceSheets(document::SheetArray sheets) {
  sheets_ = std::move(sheets);
}

void SheetSet::Clear() {
  if (sheets_.empty()) {
    AddFirstSheet();
    return;
  }
  sheets_.erase(sheets_.begin() + 1, sheets_.end());
  sheets_.front()->ClearTexts();
}

CTableRows& SheetSet::AddSheet(int top_offset) {
  auto sheet =
      std::make_unique<CTableRows>(column_widths_, BodyHeightFor(sheet_count(), top_offset), top_offset);
  sheets_.push_back(std::move(sheet));
  return *sheets_.back();
}

int SheetSet::BodyHeightFor(std::size_t index, int top_offset) const {
  if (index == 0) return first_body_height_;
  const int lower = top_offset - model::LayoutOf(kind_).following_top_offset;
  return following_body_height_ - std::max(0, lower);
}

void SheetSet::RemoveSheet(std::size_t index) {
  sheets_.erase(sheets_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SheetSet::LayOut() {
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    CTableRows& sheet = *sheets_[i];
    sheet.SetBodyHeight(BodyHeightFor(i, sheet.top_offset()));
  }
}

}  // namespace tallyform::document
