#include "document/sheet_set.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;
using document::CTableRows;
using document::TitleField;
using model::DocumentKind;

std::vector<int> Widths(const SheetSet& set) {
  return {set.column_widths().begin(), set.column_widths().end()};
}

TEST(SheetSetTest, EachKindStartsWithItsFirstSheet) {
  struct Expected {
    model::DocumentKind kind;
    int width, height;
    std::vector<int> widths;
    std::size_t first_rows, following_rows;
    int top;
    std::string_view document_name;
  };
  const Expected cases[] = {
      {model::DocumentKind::kElementList, 210, 297, {8, 20, 110, 10, 37}, 26, 32, 20, ""},
      {model::DocumentKind::kPurchasedBill,
       420,
       297,
       {7, 60, 45, 70, 55, 70, 16, 16, 16, 16, 24},
       24,
       30,
       32,
       ""},
      {model::DocumentKind::kSimpleBill,
       210,
       297,
       {7, 60, 20, 15, 30, 53},
       32,
       33,
       28,
       "Ведомость покупных изделий"_cp},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(static_cast<int>(e.kind));
    SheetSet set(e.kind);
    EXPECT_EQ(set.sheet_width(), e.width);
    EXPECT_EQ(set.sheet_height(), e.height);
    EXPECT_EQ(Widths(set), e.widths);
    ASSERT_EQ(set.sheet_count(), 1u);
    const CTableRows& first = set.sheet(0);
    EXPECT_EQ(first.row_count(), e.first_rows);
    EXPECT_EQ(first.column_count(), static_cast<int>(e.widths.size()));
    EXPECT_EQ(first.table_top(), e.top);
    EXPECT_EQ(first.title_field(TitleField::kSheetCount), "1");
    EXPECT_EQ(first.title_field(TitleField::kDocumentName), e.document_name);
    EXPECT_EQ(set.current_sheet(), 1);
    EXPECT_EQ(set.SelectedCell(), nullptr);

    CTableRows& added = set.AddSheet(15);
    EXPECT_EQ(added.row_count(), e.following_rows);
    EXPECT_EQ(added.table_top(), 20);
    EXPECT_EQ(added.title_field(TitleField::kSheetCount), "");
    EXPECT_EQ(set.sheet_count(), 2u);
    EXPECT_EQ(&set.sheet(1), &added);
  }

  // Other paper: the last column and the body heights follow the sheet size.
  SheetSet tall(model::DocumentKind::kElementList, model::PaperFormat::kA3, true);
  EXPECT_EQ(tall.sheet_width(), 297);
  EXPECT_EQ(tall.sheet_height(), 420);
  EXPECT_EQ(Widths(tall).back(), 124);
  EXPECT_EQ(tall.first_body_height(), 333);
  EXPECT_EQ(tall.sheet(0).row_count(), 41u);
  SheetSet wide(model::DocumentKind::kSimpleBill, model::PaperFormat::kA4, false);
  EXPECT_EQ(wide.sheet_width(), 297);
  EXPECT_EQ(Widths(wide).back(), 140);
}

TEST(SheetSetTest, ClearKeepsOnlyTheFirstSheetWithoutTexts) {
  SheetSet set(model::DocumentKind::kElementList);
  set.sheet(0).cell(3, 2).SetText("R1");
  set.sheet(0).SetTitleField(TitleField::kDesignation, "АБВГ"_cp);
  set.AddSheet(15).cell(0, 0).SetText("x");
  set.AddSheet(15);
  set.Clear();
  ASSERT_EQ(set.sheet_count(), 1u);
  EXPECT_TRUE(set.sheet(0).cell(3, 2).IsEmpty());
  EXPECT_EQ(set.sheet(0).title_field(TitleField::kDesignation), "АБВГ"_cp);

  set.RemoveSheet(0);
  EXPECT_EQ(set.sheet_count(), 0u);
  EXPECT_EQ(set.CurrentSheetTable(), nullptr);
  set.Clear();  // a set without sheets gets its first sheet back
  ASSERT_EQ(set.sheet_count(), 1u);
  EXPECT_EQ(set.sheet(0).title_field(TitleField::kSheetCount), "1");
}

TEST(SheetSetTest, SectionProductsComeFromTheCurrentSheet) {
  SheetSet set(model::DocumentKind::kSimpleBill);
  set.sheet(0).SetNumberOfProducts(3);
  EXPECT_EQ(set.SectionProducts(), 0);
  set.sheet(0).SetSectionStart(true);
  EXPECT_EQ(set.SectionProducts(), 3);
  set.AddSheet(15);
  set.SetCurrentSheet(2);
  EXPECT_EQ(set.SectionProducts(), 0);
  set.SetCurrentSheet(9);
  EXPECT_EQ(set.SectionProducts(), 0);
}

TEST(SheetSetTest, MappingTruncatesTowardZeroBeforeTheOrigin) {
  SheetSet set(model::DocumentKind::kElementList);
  set.SetMapping(SheetMapping{3.78, 3.78, 10, -4, 794, 1123});
  EXPECT_EQ(set.MapPoint(10.5, 2.0), (Point{39 + 10, 7 - 4}));
  EXPECT_EQ(set.MapPoint(-1.5, 0.0), (Point{-5 + 10, -4}));
  EXPECT_EQ(set.MapLineWidth(0.2), 0);
  EXPECT_EQ(set.MapLineWidth(0.5), 1);
  EXPECT_EQ(set.page_width(), 794);
}

// A mapping of 2 device units per mm with the sheet's corner at (10, 10): a sheet point (x, y) is the window
// point (2x + 10, 2y + 10) when nothing is scrolled.
class SheetSetHitTest : public ::testing::Test {
 protected:
  static Point At(double x_mm, double y_mm) {
    return Point{static_cast<int>(2 * x_mm) + 10, static_cast<int>(2 * y_mm) + 10};
  }
  static SheetSet Make(model::DocumentKind kind) {
    SheetSet set(kind);
    set.SetMapping(SheetMapping{2.0, 2.0, 10, 10, 0, 0});
    return set;
  }
  const document::CCell* Hit(SheetSet& set, double x_mm, double y_mm, Point scroll = {}) {
    Point p = At(x_mm, y_mm);
    p.x -= scroll.x;
    p.y -= scroll.y;
    return set.CellAtPoint(p, scroll);
  }
};

TEST_F(SheetSetHitTest, BoundariesBelongToTheRowAboveAndTheColumnToTheLeft) {
  SheetSet set =
      Make(model::DocumentKind::kElementList);  // rows from y 20, columns from x 20: 8, 20, 110, ...
  set.sheet(0).cell(0, 0).SetText("first");

  const document::CCell* cell = Hit(set, 24, 24);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->text(), "first");
  EXPECT_EQ(set.SelectedCell(), &set.sheet(0).cell(0, 0));

  ASSERT_NE(Hit(set, 28, 28), nullptr);  // corner shared by four cells
  EXPECT_EQ(set.selected_row(), 0);
  EXPECT_EQ(set.selected_column(), 0);
  ASSERT_NE(Hit(set, 28.5, 28.5), nullptr);
  EXPECT_EQ(set.selected_row(), 1);
  EXPECT_EQ(set.selected_column(), 1);
  ASSERT_NE(Hit(set, 204.5, 227.5), nullptr);  // last cell of the last row (y 220..228)
  EXPECT_EQ(set.selected_row(), 25);
  EXPECT_EQ(set.selected_column(), 4);

  // The table edges themselves are outside.
  for (auto [x, y] : {std::pair{20.0, 24.0}, {24.0, 20.0}, {205.0, 24.0}, {24.0, 228.0}}) {
    EXPECT_EQ(Hit(set, x, y), nullptr) << x << ", " << y;
    EXPECT_EQ(set.selected_row(), -1);
    EXPECT_EQ(set.SelectedCell(), nullptr);
  }
}

TEST_F(SheetSetHitTest, ScrollingMovesTheSheetAndTheLastHitPointRemembersIt) {
  SheetSet set = Make(model::DocumentKind::kElementList);
  const Point scroll{0, 100};  // the sheet scrolled up by 50 mm
  ASSERT_NE(Hit(set, 30, 100, scroll), nullptr);
  EXPECT_EQ(set.selected_row(), 9);  // y 100 is the edge between rows 9 and 10
  EXPECT_EQ(set.selected_column(), 1);
  EXPECT_EQ(set.last_hit_point(), At(30, 100));

  // A miss forgets the selection and hands back the origin as the caller's point.
  Point outside = At(10, 100);
  EXPECT_EQ(set.CellAtPoint(outside, Point{}), nullptr);
  EXPECT_EQ(outside, Point{});
  EXPECT_EQ(set.last_hit_point(), Point{});
}

TEST_F(SheetSetHitTest, ClickingTheLastHitPointAgainShowsTheCellAsItIsNow) {
  SheetSet set = Make(model::DocumentKind::kElementList);
  Point p = At(50, 30);
  ASSERT_NE(set.CellAtPoint(p, {}), nullptr);
  set.sheet(0).cell(1, 2).SetText("edited");
  const document::CCell* again = set.CellAtPoint(p, {});
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->text(), "edited");

  // The sheets shrank under the selection: the same click selects nothing.
  set.sheet(0).SetBodyHeight(8);
  EXPECT_EQ(set.CellAtPoint(p, {}), nullptr);
  EXPECT_EQ(set.SelectedCell(), nullptr);
}

TEST_F(SheetSetHitTest, TitleBlockAndProductsLineFlags) {
  SheetSet set = Make(model::DocumentKind::kElementList);
  EXPECT_EQ(Hit(set, 100, 253), nullptr);  // rows end at y 228; the title block area is y 252..292
  EXPECT_TRUE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 252), nullptr);
  EXPECT_FALSE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 20, 260), nullptr);
  EXPECT_FALSE(set.title_block_hit());

  set.AddSheet(15);
  set.SetCurrentSheet(2);  // a later sheet: its rows reach y 276, over the top of the area
  ASSERT_NE(Hit(set, 100, 260), nullptr);
  EXPECT_FALSE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 280), nullptr);
  EXPECT_TRUE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 292), nullptr);
  EXPECT_FALSE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 10), nullptr);
  EXPECT_FALSE(set.products_line_hit());  // not a simple bill

  SheetSet bill = Make(model::DocumentKind::kSimpleBill);
  EXPECT_EQ(Hit(bill, 100, 10), nullptr);
  EXPECT_FALSE(bill.products_line_hit());  // no section starts here
  bill.sheet(0).SetSectionStart(true);
  EXPECT_EQ(Hit(bill, 100, 10), nullptr);
  EXPECT_TRUE(bill.products_line_hit());
  EXPECT_EQ(Hit(bill, 100, 13), nullptr);
  EXPECT_FALSE(bill.products_line_hit());

  // The first row edge moves down on a sheet that starts a section of a simple bill.
  EXPECT_EQ(Hit(bill, 30, 27), nullptr);
  ASSERT_NE(Hit(bill, 30, 29), nullptr);
  EXPECT_EQ(bill.selected_row(), 0);
  bill.sheet(0).SetSectionStart(false);
  ASSERT_NE(Hit(bill, 30, 27), nullptr);
}

TEST(SheetSetUndoTest, SnapshotsAreIndependentOfTheCurrentArray) {
  SheetSet set(model::DocumentKind::kPurchasedBill);
  set.sheet(0).cell(0, 1).SetText("before");
  set.SaveSnapshot(1);
  EXPECT_EQ(set.current_slot(), 1);
  set.sheet(0).cell(0, 1).SetText("after");
  set.AddSheet(27);
  EXPECT_EQ(set.sheet_count(), 2u);

  set.RestoreSnapshot(0);
  EXPECT_EQ(set.sheet_count(), 1u);
  EXPECT_EQ(set.sheet(0).cell(0, 1).text(), "before");
  set.RestoreSnapshot(1);
  EXPECT_EQ(set.sheet_count(), 2u);
  EXPECT_EQ(set.sheet(0).cell(0, 1).text(), "after");

  set.SaveSnapshot(1);  // onto itself: nothing lost
  EXPECT_EQ(set.sheet_count(), 2u);
  set.RestoreSnapshot(4);  // never saved
  EXPECT_EQ(set.sheet_count(), 0u);
  EXPECT_THROW(set.SaveSnapshot(5), std::out_of_range);
  EXPECT_THROW(set.RestoreSnapshot(-1), std::out_of_range);
}

}  // namespace
}  // namespace tallyform::document
