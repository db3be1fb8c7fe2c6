#pragma once
// The three document kinds and the sheet layout of each: paper, body heights, top offsets and column widths.
//
// Geometry is whole millimetres from the sheet's top-left corner, y downwards. Body heights and the width of
// a last column that takes up the rest of the sheet are given relative to the sheet size, so a sheet set made
// on another format still lays out a consistent table.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "text/literal.h"

namespace tallyform::model {

using namespace tallyform::text::literals;

/// The kind of a document, stored in the file as a signed 32-bit number.
enum class DocumentKind : std::int32_t {
  kElementList = 0,    ///< list of elements
  kPurchasedBill = 1,  ///< bill of purchased items
  kSimpleBill = 2,     ///< simple bill of purchased items
};

inline constexpr int kDocumentKindCount = 3;

/// The kind with the stored number, or nothing for a number that names no kind.
constexpr std::optional<DocumentKind> DocumentKindFromNumber(std::int32_t number) {
  if (number < 0 || number >= kDocumentKindCount) return std::nullopt;
  return static_cast<DocumentKind>(number);
}

enum class PaperFormat { kA4, kA3 };

/// Sheet size in mm of a paper format in one orientation.
struct SheetSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const SheetSize&, const SheetSize&) = default;
};

constexpr SheetSize SheetSizeOf(PaperFormat format, bool portrait) {
  const int short_side = format == PaperFormat::kA4 ? 210 : 297;
  const int long_side = format == PaperFormat::kA4 ? 297 : 420;
  return portrait ? SheetSize{short_side, long_side} : SheetSize{long_side, short_side};
}

/// The height of every table row, mm.
inline constexpr int kRowHeight = 8;
/// The x of the table's left edge, mm (the binding margin).
inline constexpr int kTableLeft = 20;
/// The table top lies this far below the top offset, mm (the frame's top margin).
inline constexpr int kTableTopMargin = 5;

/// The layout of one document kind.
struct KindLayout {
  std::string_view title;  ///< the document's name, code page 1251
  PaperFormat format;
  bool portrait;
  int first_body_margin;       ///< first sheet body height = sheet height - this
  int following_body_margin;   ///< body height of sheets 2 on = sheet height - this
  int first_top_offset;        ///< table top = top offset + kTableTopMargin
  int following_top_offset;    ///< a following sheet that does not start a section
  int section_top_offset;      ///< a following sheet that starts a section (simple bill only differs)
  int header_bottom;           ///< y of the first row edge below the table header
  int section_header_bottom;   ///< the same on a sheet that starts a section
  std::array<int, 11> widths;  ///< column widths, left to right; only the first `column_count` count
  int column_count;
  int last_width_reserve;  ///< when not 0, the last column is sheet width - this wide
};

// Per kind: title, paper, portrait; body margins (first, following); top offsets (first, following,
// section); header bottoms (plain, section); widths, column count, last-column reserve.
// clang-format off
inline constexpr std::array<KindLayout, kDocumentKindCount> kKindLayouts{{
    {"Перечень элементов"_cp, PaperFormat::kA4, true, 87, 40, 15, 15, 15, 20, 20,
     {8, 20, 110, 10, 37}, 5, 173},
    {"Ведомость покупных изделий"_cp, PaperFormat::kA3, false, 99, 52, 27, 27, 27, 32, 32,
     {7, 60, 45, 70, 55, 70, 16, 16, 16, 16, 24}, 11, 0},
    {"Ведомость покупных изделий (простая)"_cp, PaperFormat::kA4, true, 38, 30, 23, 15, 23, 20, 28,
     {7, 60, 20, 15, 30, 53}, 6, 157},
}};
// clang-format on

constexpr const KindLayout& LayoutOf(DocumentKind kind) {
  return kKindLayouts[static_cast<std::size_t>(kind)];
}

/// The document name a new simple bill carries in its title block; the other kinds start with none.
inline constexpr std::string_view kSimpleBillDocumentName = "Ведомость покупных изделий"_cp;

/// The column widths of the kind on a sheet of the given width.
inline std::vector<int> ColumnWidths(DocumentKind kind, int sheet_width) {
  const KindLayout& layout = LayoutOf(kind);
  std::vector<int> widths(layout.widths.begin(), layout.widths.begin() + layout.column_count);
  if (layout.last_width_reserve != 0) widths.back() = sheet_width - layout.last_width_reserve;
  return widths;
}

/// The body height (mm available for rows) of the first sheet or of the following sheets.
constexpr int BodyHeight(DocumentKind kind, int sheet_height, bool first_sheet) {
  const KindLayout& layout = LayoutOf(kind);
  return sheet_height - (first_sheet ? layout.first_body_margin : layout.following_body_margin);
}

/// The body height of a following sheet whose table starts at `top_offset`: a sheet that starts lower than
/// a plain following sheet (a simple bill's section) gives up the difference, so that its rows still end
/// above the sheet's bottom edge.
constexpr int FollowingBodyHeight(DocumentKind kind, int sheet_height, int top_offset) {
  const int lower = top_offset - LayoutOf(kind).following_top_offset;
  return BodyHeight(kind, sheet_height, false) - (lower > 0 ? lower : 0);
}

/// The y where the table rows start on a sheet of the kind (the bottom of the table header).
constexpr int HeaderBottom(DocumentKind kind, bool section_start) {
  const KindLayout& layout = LayoutOf(kind);
  return section_start ? layout.section_header_bottom : layout.header_bottom;
}

}  // namespace tallyform::model
