#include "presentation/sheet_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "support/recording_device.h"
#include "text/literal.h"

namespace tallyform::presentation {
namespace {

using namespace tallyform::text::literals;
using document::CTableRows;
using document::TitleField;
using model::DocumentKind;
using testing::RecordingDevice;

// Printed at 10 device units per mm, so that coordinates read as tenths of a millimetre and the default
// pens are 2 (thin) and 5 (main) units wide.
constexpr int kScale = 10;
constexpr int kThin = 2;
constexpr int kMain = 5;

RecordingDevice Print(const document::SheetSet& set, int number) {
  RecordingDevice device(0, 0, /*printing=*/true);
  SheetMapping m;
  m.scale_x = kScale;
  m.scale_y = kScale;
  SheetView view;
  view.SetMapping(m);
  DrawSheet(set, view, device, number);
  return device;
}

bool HasLineMm(const RecordingDevice& d, int x0, int y0, int x1, int y1) {
  return d.HasLine(x0 * kScale, y0 * kScale, x1 * kScale, y1 * kScale);
}

int PenOfLineMm(const RecordingDevice& d, int x0, int y0, int x1, int y1) {
  for (const auto& l : d.lines) {
    if (l.x0 == x0 * kScale && l.y0 == y0 * kScale && l.x1 == x1 * kScale && l.y1 == y1 * kScale)
      return l.pen;
  }
  return -1;
}

// The text's box, in mm, lies inside the rectangle (mm).
bool TextInside(const RecordingDevice& d, std::string_view text, int left, int top, int right, int bottom) {
  for (const auto& t : d.TextsOf(text)) {
    const ports::DeviceSize e = d.ExtentIn(t.font, text);
    const bool upwards = t.font.rotation == ports::DeviceFont::kUpwards;
    const int x0 = t.x;
    const int x1 = t.x + (upwards ? e.height : e.width);
    const int y0 = upwards ? t.y - e.width : t.y;
    const int y1 = upwards ? t.y : t.y + e.height;
    if (x0 >= left * kScale && x1 <= right * kScale && y0 >= top * kScale && y1 <= bottom * kScale)
      return true;
  }
  return false;
}

// A sheet set with `extra` following sheets.
document::SheetSet Sheets(model::DocumentKind kind, int extra = 0) {
  document::SheetSet set(kind);
  for (int i = 0; i < extra; ++i) set.AddSheet(model::LayoutOf(kind).following_top_offset);
  return set;
}

TEST(SheetDrawingTest, FirstSheetOfAListOfElements) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList, 1);
  const RecordingDevice d = Print(set, 1);
  // Frame, with the main pen.
  EXPECT_EQ(PenOfLineMm(d, 20, 5, 205, 5), kMain);
  EXPECT_TRUE(HasLineMm(d, 205, 5, 205, 292));
  EXPECT_TRUE(HasLineMm(d, 20, 292, 20, 5));
  // Upper and lower side columns.
  for (int y : {5, 65, 125}) EXPECT_TRUE(HasLineMm(d, 8, y, 20, y)) << y;
  EXPECT_TRUE(HasLineMm(d, 8, 5, 8, 125));
  for (int y : {147, 182, 207, 232, 267, 292}) EXPECT_TRUE(HasLineMm(d, 8, y, 20, y)) << y;
  EXPECT_TRUE(HasLineMm(d, 13, 147, 13, 292));
  EXPECT_TRUE(TextInside(d, "Перв. примен."_cp, 8, 5, 13, 65));
  EXPECT_EQ(d.TextsOf("Подп. и дата"_cp).size(), 2u);
  EXPECT_EQ(d.TextsOf("Инв. № подл."_cp).front().font.rotation, ports::DeviceFont::kUpwards);
  // The 40 mm title block: its left edge is the frame on a portrait sheet, so no line of its own there.
  EXPECT_TRUE(HasLineMm(d, 20, 252, 205, 252));
  EXPECT_FALSE(HasLineMm(d, 20, 252, 20, 292));
  EXPECT_TRUE(HasLineMm(d, 37, 292, 37, 252));
  EXPECT_EQ(PenOfLineMm(d, 20, 257, 85, 257), kThin);
  EXPECT_TRUE(TextInside(d, "Разраб."_cp, 20, 267, 37, 272));
  EXPECT_TRUE(TextInside(d, "Утвердил"_cp, 20, 287, 37, 292));
  // Below the frame: the format (with a Latin A) and "Копировал".
  EXPECT_TRUE(TextInside(d, "Формат A4"_cp, 155, 292, 205, 297));
  EXPECT_TRUE(TextInside(d, "Копировал"_cp, 85, 292, 155, 297));
  // The sheet count cell shows the stored text "1"; the sheet number cell beside it stays empty.
  EXPECT_TRUE(TextInside(d, "1", 185, 272, 205, 277));
  EXPECT_EQ(d.TextsOf("1").size(), 1u);
  EXPECT_FALSE(d.HasText("2"));
  // No customer approval box without the flag, and no sheet edge on paper.
  EXPECT_FALSE(HasLineMm(d, 85, 230, 205, 230));
  EXPECT_FALSE(HasLineMm(d, 0, 0, 210, 0));
}

TEST(SheetDrawingTest, TitleBlockFieldsGoToTheirCellsWithTheirHeights) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList, 2);
  CTableRows& settings = set.sheet(0);
  settings.SetTitleField(TitleField::kSheetCount, "");
  settings.SetTitleField(TitleField::kDevelopedBy, "Иванов"_cp);
  settings.SetTitleField(TitleField::kDesignation, "АБВГ.123456.001ПЭ3"_cp);
  settings.SetTitleField(TitleField::kDocumentName, "Перечень элементов"_cp);
  settings.SetTitleField(TitleField::kFirstUse, "АБВГ.123456.001"_cp);
  settings.settings().designation_text = 7.0;
  const RecordingDevice d = Print(set, 1);
  // Without a sheet count text the cell counts the sheets.
  EXPECT_TRUE(TextInside(d, "3", 185, 272, 205, 277));
  EXPECT_TRUE(TextInside(d, "Иванов"_cp, 37, 267, 60, 272));
  const auto designation = d.TextsOf("АБВГ.123456.001ПЭ3"_cp);
  ASSERT_EQ(designation.size(), 1u);
  EXPECT_EQ(designation.front().font.character_height, 93);  // MulDiv(70, 96, 72)
  EXPECT_TRUE(TextInside(d, "Перечень элементов"_cp, 85, 282, 155, 292));
  EXPECT_TRUE(TextInside(d, "АБВГ.123456.001"_cp, 13, 5, 20, 65));

  // Following sheets repeat the designation beside "Лист" and the sheet number.
  const RecordingDevice second = Print(set, 2);
  EXPECT_TRUE(TextInside(second, "АБВГ.123456.001ПЭ3"_cp, 85, 277, 195, 292));
  EXPECT_FALSE(second.HasText("АБВГ.123456.001"_cp));
  EXPECT_FALSE(second.HasText("Иванов"_cp));
}

TEST(SheetDrawingTest, FollowingSheetsHaveTheShortTitleBlockAndTheirNumber) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList, 1);
  set.sheet(0).SetCustomerApproval(true);
  const RecordingDevice d = Print(set, 2);
  EXPECT_TRUE(HasLineMm(d, 20, 277, 205, 277));
  EXPECT_TRUE(HasLineMm(d, 195, 284, 205, 284));
  EXPECT_FALSE(HasLineMm(d, 37, 292, 37, 252));   // no 40 mm block
  EXPECT_FALSE(HasLineMm(d, 8, 5, 20, 5));        // no upper side columns
  EXPECT_FALSE(HasLineMm(d, 85, 230, 205, 230));  // no approval box
  EXPECT_TRUE(HasLineMm(d, 8, 147, 20, 147));     // the lower side columns stay
  EXPECT_TRUE(TextInside(d, "Лист"_cp, 195, 277, 205, 284));
  EXPECT_TRUE(TextInside(d, "2", 195, 284, 205, 292));
  EXPECT_EQ(d.TextsOf("2").front().font.character_height, 53);  // the table cell height, 4 mm
  EXPECT_TRUE(TextInside(d, "Формат A4"_cp, 155, 292, 205, 297));
  EXPECT_FALSE(d.HasText("Перв. примен."_cp));
}

TEST(SheetDrawingTest, CustomerApprovalBoxOnlyOnTheFirstSheetWithTheFlag) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList, 1);
  const auto box_lines = [](const RecordingDevice& d) {
    return HasLineMm(d, 85, 230, 205, 230) + HasLineMm(d, 85, 244, 205, 244) +
           HasLineMm(d, 85, 230, 85, 252) + HasLineMm(d, 99, 230, 99, 244) + HasLineMm(d, 152, 230, 152, 244);
  };
  EXPECT_EQ(box_lines(Print(set, 1)), 0);
  set.sheet(0).SetCustomerApproval(true);
  const RecordingDevice d = Print(set, 1);
  EXPECT_EQ(box_lines(d), 5);
  // 26 rows end at y 228, above the box.
  EXPECT_TRUE(HasLineMm(d, 20, 228, 205, 228));
  EXPECT_EQ(box_lines(Print(set, 2)), 0);
}

TEST(SheetDrawingTest, BillOfPurchasedItemsOnA3) {
  document::SheetSet set = Sheets(model::DocumentKind::kPurchasedBill, 1);
  const RecordingDevice first = Print(set, 1);
  // The title block's left edge is its own line at R - 185 = 230 on a landscape sheet.
  EXPECT_TRUE(HasLineMm(first, 230, 252, 230, 292));
  EXPECT_TRUE(HasLineMm(first, 230, 252, 415, 252));
  EXPECT_TRUE(TextInside(first, "Формат A3"_cp, 365, 292, 415, 297));
  // The header: "Количество" over its four columns, whose inner lines start at y 14.
  EXPECT_TRUE(HasLineMm(first, 327, 14, 391, 14));
  EXPECT_TRUE(HasLineMm(first, 20, 32, 415, 32));
  for (int x : {343, 359, 375}) EXPECT_TRUE(HasLineMm(first, x, 14, x, 224)) << x;
  for (int x : {27, 87, 327, 391}) EXPECT_TRUE(HasLineMm(first, x, 5, x, 224)) << x;
  EXPECT_TRUE(TextInside(first, "Количество"_cp, 327, 5, 391, 14));
  EXPECT_TRUE(TextInside(first, "всего"_cp, 375, 14, 391, 32));
  EXPECT_TRUE(TextInside(first, "поставку"_cp, 132, 5, 202, 32));
  EXPECT_TRUE(TextInside(first, "№ строки"_cp, 20, 5, 27, 32));
  EXPECT_EQ(first.TextsOf("№ строки"_cp).front().font.rotation, ports::DeviceFont::kUpwards);

  const RecordingDevice second = Print(set, 2);
  EXPECT_TRUE(HasLineMm(second, 230, 277, 230, 292));
  EXPECT_TRUE(HasLineMm(second, 405, 284, 415, 284));
  EXPECT_TRUE(TextInside(second, "Формат A3"_cp, 365, 292, 415, 297));
}

TEST(SheetDrawingTest, BillRowsAreNumberedPerSheetWithoutTouchingTheCells) {
  document::SheetSet set = Sheets(model::DocumentKind::kPurchasedBill, 1);
  set.sheet(1).cell(4, 1).SetText("Резистор"_cp);
  set.sheet(1).cell(7, 0).SetText("x");  // whatever the number column holds, the number is shown
  const RecordingDevice d = Print(set, 2);
  const CTableRows& sheet = set.sheet(1);
  ASSERT_EQ(sheet.row_count(), 30u);
  for (std::size_t r = 0; r < sheet.row_count(); ++r) {
    EXPECT_TRUE(TextInside(d, std::to_string(r + 1), 20, 32 + 8 * static_cast<int>(r), 27,
                           40 + 8 * static_cast<int>(r)))
        << r;
    if (r != 7) {
      EXPECT_TRUE(sheet.cell(r, 0).IsEmpty());
    }
  }
  EXPECT_TRUE(d.TextsOf("x").empty());
  // The cells keep their texts and attributes; the drawing shows them as table text.
  EXPECT_EQ(sheet.cell(7, 0).text(), "x");
  EXPECT_EQ(sheet.cell(4, 1).attributes(), 0u);
  EXPECT_TRUE(TextInside(d, "Резистор"_cp, 27, 64, 87, 72));
  // The first sheet starts at 1 again.
  const RecordingDevice first = Print(set, 1);
  EXPECT_TRUE(TextInside(first, "1", 20, 32, 27, 40));
}

TEST(SheetDrawingTest, SimpleBillHasNoTitleBlockAndNumbersEverySheet) {
  document::SheetSet set = Sheets(model::DocumentKind::kSimpleBill, 1);
  CTableRows& first = set.sheet(0);
  first.SetSectionStart(true);
  first.SetNumberOfProducts(3);
  first.SetSectionFile("/home/p/amp.sch");
  const RecordingDevice d = Print(set, 1);
  EXPECT_TRUE(TextInside(d, "1", 195, 287, 205, 292));
  EXPECT_FALSE(d.HasText("Копировал"_cp));
  EXPECT_FALSE(d.HasText("Формат A4"_cp));
  EXPECT_FALSE(d.HasText("Изм."_cp));
  EXPECT_FALSE(HasLineMm(d, 8, 147, 20, 147));
  // A section starts here: the products line above a header from y 13 to 28.
  EXPECT_TRUE(TextInside(d, "Количество изделий - 3"_cp, 27, 5, 87, 13));
  EXPECT_TRUE(TextInside(d, "/home/p/amp.sch", 122, 5, 205, 13));
  EXPECT_TRUE(TextInside(d, "Номинал"_cp, 87, 13, 107, 28));
  EXPECT_TRUE(HasLineMm(d, 20, 28, 205, 28));
  EXPECT_TRUE(HasLineMm(d, 27, 13, 27, 284));  // 32 rows from y 28
  EXPECT_TRUE(HasLineMm(d, 20, 13, 205, 13));  // the header's top closes its column lines

  const RecordingDevice second = Print(set, 2);
  EXPECT_TRUE(TextInside(second, "2", 195, 287, 205, 292));
  EXPECT_FALSE(second.HasText("Количество изделий - 3"_cp));
  EXPECT_TRUE(TextInside(second, "Номинал"_cp, 87, 5, 107, 20));
  EXPECT_TRUE(HasLineMm(second, 27, 5, 27, 284));  // 33 rows from y 20
  EXPECT_FALSE(HasLineMm(second, 20, 13, 205, 13));
}

TEST(SheetDrawingTest, ListHeaderHasAnUpwardZoneAndASmallerPositionHeading) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList);
  const RecordingDevice d = Print(set, 1);
  const auto zone = d.TextsOf("Зона"_cp);
  ASSERT_EQ(zone.size(), 1u);
  EXPECT_EQ(zone.front().font.rotation, ports::DeviceFont::kUpwards);
  EXPECT_TRUE(TextInside(d, "Зона"_cp, 20, 5, 28, 20));
  // "Поз. обозначение" in three lines in the title block's small font, the rest in the table's.
  for (std::string_view line : {"Поз."_cp, "обозначе-"_cp, "ние"_cp}) {
    ASSERT_TRUE(TextInside(d, line, 28, 5, 48, 20)) << line;
    EXPECT_EQ(d.TextsOf(line).front().font.character_height, 40);  // MulDiv(30, 96, 72)
  }
  EXPECT_EQ(d.TextsOf("Наименование"_cp).front().font.character_height, 53);
  EXPECT_TRUE(TextInside(d, "Примечание"_cp, 168, 5, 205, 20));
}

TEST(SheetDrawingTest, GridHasThinRowLinesAMainBottomAndColumnLines) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList);
  set.sheet(0).cell(0, 2).SetText("Конденсатор"_cp);
  const RecordingDevice d = Print(set, 1);
  const auto table_lines = [&](int pen) {
    return std::count_if(d.lines.begin(), d.lines.end(), [&](const RecordingDevice::LineRecord& l) {
      return l.Horizontal() && l.x0 == 200 && l.x1 == 2050 && l.y0 > 200 && l.y0 < 2300 && l.pen == pen;
    });
  };
  EXPECT_EQ(table_lines(kThin), 25);
  EXPECT_EQ(table_lines(kMain), 1);
  EXPECT_EQ(PenOfLineMm(d, 20, 228, 205, 228), kMain);
  for (int x : {28, 48, 158, 168}) EXPECT_EQ(PenOfLineMm(d, x, 5, x, 228), kMain) << x;
  EXPECT_TRUE(TextInside(d, "Конденсатор"_cp, 48, 20, 158, 28));
}

TEST(SheetDrawingTest, EmptyTableDrawsNoGridBelowTheHeader) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList);
  set.sheet(0).DeleteAllRows();
  const RecordingDevice d = Print(set, 1);
  // Inside the table's area only the header (down to y 20) and the title block (from y 252) have lines.
  const auto outside_body = [](int y0, int y1) {
    return std::max(y0, y1) <= 200 || std::min(y0, y1) >= 2520;
  };
  for (const auto& l : d.lines) {
    if (std::min(l.x0, l.x1) < 200 || std::max(l.x0, l.x1) > 2050) continue;
    if (l.Vertical() && (l.x0 == 200 || l.x0 == 2050)) continue;  // the frame
    EXPECT_TRUE(outside_body(l.y0, l.y1)) << l.x0 << "," << l.y0 << " - " << l.x1 << "," << l.y1;
  }
  EXPECT_TRUE(HasLineMm(d, 20, 20, 205, 20));
  EXPECT_TRUE(HasLineMm(d, 28, 5, 28, 20));
  EXPECT_TRUE(d.HasText("Разраб."_cp));
}

TEST(SheetDrawingTest, DrawingLeavesTheSheetsAsTheyAre) {
  // Drawing once set the body height of the sheet it drew; that is the document's layout now.
  document::SheetSet set = Sheets(model::DocumentKind::kElementList);
  document::SheetArray sheets;
  sheets.push_back(std::make_unique<CTableRows>(set.column_widths(), set.following_body_height(), 15));
  sheets.back()->cell(30, 2).SetText("R31");
  set.ReplaceSheets(std::move(sheets));
  const document::SheetArray before = document::CopySheets(set.sheets());
  const RecordingDevice d = Print(set, 1);
  EXPECT_TRUE(set.sheet(0) == *before[0]);
  EXPECT_TRUE(d.HasText("R31"));
  EXPECT_EQ(set.sheet(0).row_count(), 32u);
}

TEST(SheetDrawingTest, ScreenScalesToThePageAndHighlightsTheSelection) {
  document::SheetSet set = Sheets(model::DocumentKind::kElementList);
  set.sheet(0).cell(2, 2).SetText("Резисторы"_cp);
  RecordingDevice screen(1000, 700);
  SheetView window;
  ScreenView view;
  view.page_height = 594;  // 2 units per mm
  // The middle of row 3, column 3 (x 100 mm, y 40 mm) in window coordinates.
  const int origin_x = (1000 - 420) / 2;
  const int origin_y = (700 - 594) / 2;
  view.selection = {origin_x + 200, origin_y + 80};
  DrawSheet(set, window, screen, 1, view);

  EXPECT_EQ(window.mapping().scale_y, 2.0);
  EXPECT_EQ(window.mapping().origin_x, origin_x);
  EXPECT_EQ(window.mapping().origin_y, origin_y);
  EXPECT_EQ(window.page_width(), 420);
  EXPECT_EQ(window.page_height(), 594);
  EXPECT_EQ(window.current_sheet(), 1);
  // The sheet's edge, with the thin pen (0.2 mm at 2 units per mm is 0: the thinnest line).
  EXPECT_TRUE(screen.HasLine(origin_x, origin_y, origin_x + 420, origin_y));
  ASSERT_EQ(screen.fills.size(), 1u);
  const auto& fill = screen.fills.front();
  EXPECT_EQ(fill.colour, (ports::Colour{0, 78, 152}));
  EXPECT_EQ(fill.left, origin_x + 96);
  EXPECT_EQ(fill.top, origin_y + 72);
  EXPECT_EQ(fill.right, origin_x + 316);
  EXPECT_EQ(fill.bottom, origin_y + 88);
  const auto texts = screen.TextsOf("Резисторы"_cp);
  ASSERT_EQ(texts.size(), 2u);  // once in black, once in white over the fill
  EXPECT_EQ(texts[0].colour, ports::kBlack);
  EXPECT_EQ(texts[1].colour, ports::kWhite);
  EXPECT_EQ(window.selected_row(), 2);
  EXPECT_EQ(window.selected_column(), 2);

  // A printed sheet shows neither the edge nor the selection, and leaves the window's view alone.
  const RecordingDevice paper = Print(set, 1);
  EXPECT_TRUE(paper.fills.empty());
  EXPECT_EQ(paper.TextsOf("Резисторы"_cp).size(), 1u);
  EXPECT_EQ(window.mapping().scale_y, 2.0);
  EXPECT_EQ(window.selected_row(), 2);

  // A click outside the table clears the selection and the caller's point.
  view.selection = {origin_x + 5, origin_y + 5};
  screen.Forget();
  DrawSheet(set, window, screen, 1, view);
  EXPECT_TRUE(screen.fills.empty());
  EXPECT_EQ(view.selection, (Point{0, 0}));
}

TEST(SheetDrawingTest, AbsurdSettingsFromAFileAreClampedAndTheDeviceStateComesBack) {
  document::SheetSet set = Sheets(model::DocumentKind::kPurchasedBill);
  document::DrawingSettings& s = set.sheet(0).settings();
  s.table_text = std::numeric_limits<double>::quiet_NaN();
  s.other_text = 1e308;
  s.thin_line = -1;
  s.main_line = std::numeric_limits<double>::infinity();
  set.sheet(0).cell(0, 1).SetText("Резистор"_cp);
  RecordingDevice d(0, 0, true);
  SheetMapping m;
  m.scale_x = m.scale_y = kScale;
  SheetView printout;
  printout.SetMapping(m);
  const ports::DeviceFont font{12, 400, 0, false};
  d.SetFont(font);
  d.SetPen(3);
  DrawSheet(set, printout, d, 1);
  for (const auto& l : d.lines) EXPECT_TRUE(l.pen == 0 || l.pen == 100) << l.pen;
  for (const auto& t : d.texts) EXPECT_GE(t.font.character_height, 1);
  EXPECT_EQ(d.font(), font);
  EXPECT_EQ(d.pen(), 3);
  // A sheet number that names no sheet draws nothing.
  d.Forget();
  DrawSheet(set, printout, d, 2);
  DrawSheet(set, printout, d, 0);
  EXPECT_TRUE(d.lines.empty());
}

}  // namespace
}  // namespace tallyform::presentation
