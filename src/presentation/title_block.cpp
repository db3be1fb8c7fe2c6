#include "presentation/title_block.h"

#include <array>

namespace tallyform::presentation {

using document::TitleField;

namespace {

constexpr std::uint32_t kLeft = document::kAlignLeft;
constexpr std::uint32_t kCentred = document::kAlignCentre;

constexpr std::array kFirstSheetFields{
    TitleFieldBox{TitleField::kSheetCount, {20, 25, 0, 20}, kCentred},
    TitleFieldBox{TitleField::kSheetNumber, {35, 25, 20, 20}, kCentred},
    TitleFieldBox{TitleField::kDevelopedBy, {168, 30, 145, 25}, kLeft},
    TitleFieldBox{TitleField::kCheckedBy, {168, 25, 145, 20}, kLeft},
    TitleFieldBox{TitleField::kExtraSignatureLabel, {185, 20, 168, 15}, kLeft},
    TitleFieldBox{TitleField::kExtraSignatureName, {168, 20, 145, 15}, kLeft},
    TitleFieldBox{TitleField::kInspector, {168, 15, 145, 10}, kLeft},
    TitleFieldBox{TitleField::kApprovedBy, {168, 10, 145, 5}, kLeft},
    TitleFieldBox{TitleField::kLetter1, {50, 25, 45, 20}, kLeft},
    TitleFieldBox{TitleField::kLetter2, {45, 25, 40, 20}, kLeft},
    TitleFieldBox{TitleField::kLetter3, {40, 25, 35, 20}, kLeft},
    TitleFieldBox{TitleField::kDesignation, {120, 45, 0, 30}, kCentred},
    TitleFieldBox{TitleField::kProductName, {120, 30, 50, 15}, kCentred},
    TitleFieldBox{TitleField::kDocumentName, {120, 15, 50, 5}, kCentred},
    TitleFieldBox{TitleField::kEnterprise, {50, 20, 0, 5}, kCentred},
};

constexpr std::array kFollowingSheetFields{
    TitleFieldBox{TitleField::kDesignation, {120, 20, 10, 5}, kCentred},
};

}  // namespace

std::span<const TitleFieldBox> TitleFields(model::DocumentKind kind, bool first_sheet) {
  if (kind == model::DocumentKind::kSimpleBill) return {};
  if (first_sheet) return kFirstSheetFields;
  return kFollowingSheetFields;
}

document::Rect Place(TitleBox box, int sheet_width, int sheet_height) {
  const int r = sheet_width - kFrameMargin;
  return document::Rect{r - box.left, sheet_height - box.top, r - box.right, sheet_height - box.bottom};
}

document::Rect TitleBlockOutline(int sheet_width, int sheet_height, bool first_sheet) {
  return Place(first_sheet ? kFirstTitleBlock : kFollowingTitleBlock, sheet_width, sheet_height);
}

std::optional<document::Rect> TitleFieldRect(model::DocumentKind kind, bool first_sheet, TitleField field,
                                             int sheet_width, int sheet_height) {
  for (const TitleFieldBox& entry : TitleFields(kind, first_sheet)) {
    if (entry.field == field) return Place(entry.box, sheet_width, sheet_height);
  }
  return std::nullopt;
}

std::optional<TitleField> TitleFieldAt(model::DocumentKind kind, bool first_sheet, int sheet_width,
                                       int sheet_height, double x_mm, double y_mm) {
  for (const TitleFieldBox& entry : TitleFields(kind, first_sheet)) {
    const document::Rect r = Place(entry.box, sheet_width, sheet_height);
    if (x_mm > r.left && x_mm < r.right && y_mm > r.top && y_mm < r.bottom) return entry.field;
  }
  return std::nullopt;
}

}  // namespace tallyform::presentation
