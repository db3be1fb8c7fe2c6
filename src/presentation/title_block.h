#pragma once
// Where the title block and its fields lie on a sheet, in one table read by the drawing of the sheets and by
// the hit test of a view. Sheet millimetres, origin at the sheet's top-left corner, y downwards.

#include <cstdint>
#include <optional>
#include <span>

#include "document/table_rows.h"
#include "model/document_kind.h"

namespace tallyform::presentation {

/// The frame's distance from the top, right and bottom edges of the sheet, mm.
inline constexpr int kFrameMargin = 5;
/// The lower edge of the products line over the table of a sheet that starts a section of a simple bill.
inline constexpr int kProductsLineBottom = 13;

/// A box of the title block by its distances back from the right frame line (left, right) and up from the
/// sheet's lower edge (top, bottom): {185, 45, 0, 5} is the first sheet's whole title block.
struct TitleBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

/// One title block field: where its text goes and how it is aligned.
struct TitleFieldBox {
  document::TitleField field;
  TitleBox box;
  std::uint32_t alignment;
};

/// The outline of the title block of a first or a following sheet of a list of elements or a bill of
/// purchased items.
inline constexpr TitleBox kFirstTitleBlock{185, 45, 0, 5};
inline constexpr TitleBox kFollowingTitleBlock{185, 20, 0, 5};

/// The fields of the title block of a first or following sheet of a document of the kind, in the order
/// they are drawn; none for a simple bill, which has no title block.
std::span<const TitleFieldBox> TitleFields(model::DocumentKind kind, bool first_sheet);

/// A title block box placed on a sheet of the given size, mm.
document::Rect Place(TitleBox box, int sheet_width, int sheet_height);
/// The title block's outline on a sheet of the given size (see kFirstTitleBlock, kFollowingTitleBlock).
document::Rect TitleBlockOutline(int sheet_width, int sheet_height, bool first_sheet);

/// The rectangle of a field on a sheet of the document kind and size, or nothing when that sheet has no
/// such field.
std::optional<document::Rect> TitleFieldRect(model::DocumentKind kind, bool first_sheet,
                                             document::TitleField field, int sheet_width, int sheet_height);

/// The field whose rectangle holds the point (x, y) mm, borders excluded, or nothing.
std::optional<document::TitleField> TitleFieldAt(model::DocumentKind kind, bool first_sheet, int sheet_width,
                                                 int sheet_height, double x_mm, double y_mm);

}  // namespace tallyform::presentation
