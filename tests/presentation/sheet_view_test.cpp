#include "presentation/sheet_view.h"

#include <gtest/gtest.h>

#include <utility>

#include "presentation/title_block.h"
#include "text/literal.h"

namespace tallyform::presentation {
namespace {

using namespace tallyform::text::literals;
using document::CTableRows;
using document::SheetSet;
using document::TitleField;
using model::DocumentKind;

TEST(SheetViewTest, SectionProductsComeFromTheCurrentSheet) {
  SheetSet set(model::DocumentKind::kSimpleBill);
  SheetView view;
  EXPECT_EQ(view.current_sheet(), 1);
  set.sheet(0).SetNumberOfProducts(3);
  EXPECT_EQ(view.SectionProducts(set), 0);
  set.sheet(0).SetSectionStart(true);
  EXPECT_EQ(view.SectionProducts(set), 3);
  set.AddSheet(15);
  view.SetCurrentSheet(2);
  EXPECT_EQ(view.SectionProducts(set), 0);
  view.SetCurrentSheet(9);
  EXPECT_EQ(view.SectionProducts(set), 0);
  EXPECT_EQ(view.CurrentSheetTable(set), nullptr);
}

TEST(SheetViewTest, MappingTruncatesTowardZeroBeforeTheOrigin) {
  SheetView set;
  set.SetMapping(SheetMapping{3.78, 3.78, 10, -4, 794, 1123});
  EXPECT_EQ(set.MapPoint(10.5, 2.0), (Point{39 + 10, 7 - 4}));
  EXPECT_EQ(set.MapPoint(-1.5, 0.0), (Point{-5 + 10, -4}));
  EXPECT_EQ(set.MapLineWidth(0.2), 0);
  EXPECT_EQ(set.MapLineWidth(0.5), 1);
  EXPECT_EQ(set.page_width(), 794);
}

// A mapping of 2 device units per mm with the sheet's corner at (10, 10): a sheet point (x, y) is the window
// point (2x + 10, 2y + 10) when nothing is scrolled.
// Each test's sheets and its view of them.
struct Viewed {
  explicit Viewed(model::DocumentKind kind) : sheets(kind) {
    view.SetMapping(SheetMapping{2.0, 2.0, 10, 10, 0, 0});
  }
  const document::CCell* CellAtPoint(Point& p, Point scroll) { return view.CellAtPoint(sheets, p, scroll); }
  const document::CCell* SelectedCell() const { return view.SelectedCell(sheets); }
  document::CTableRows& sheet(std::size_t i) { return sheets.sheet(i); }
  int selected_row() const { return view.selected_row(); }
  int selected_column() const { return view.selected_column(); }
  Point last_hit_point() const { return view.last_hit_point(); }
  bool title_block_hit() const { return view.title_block_hit(); }
  bool products_line_hit() const { return view.products_line_hit(); }

  SheetSet sheets;
  SheetView view;
};

class SheetViewHitTest : public ::testing::Test {
 protected:
  static Point At(double x_mm, double y_mm) {
    return Point{static_cast<int>(2 * x_mm) + 10, static_cast<int>(2 * y_mm) + 10};
  }
  const document::CCell* Hit(Viewed& set, double x_mm, double y_mm, Point scroll = {}) {
    Point p = At(x_mm, y_mm);
    p.x -= scroll.x;
    p.y -= scroll.y;
    return set.CellAtPoint(p, scroll);
  }
};

TEST_F(SheetViewHitTest, BoundariesBelongToTheRowAboveAndTheColumnToTheLeft) {
  Viewed set(model::DocumentKind::kElementList);  // rows from y 20, columns from x 20: 8, 20, 110, ...
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

TEST_F(SheetViewHitTest, ScrollingMovesTheSheetAndTheLastHitPointRemembersIt) {
  Viewed set(model::DocumentKind::kElementList);
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

TEST_F(SheetViewHitTest, ClickingTheLastHitPointAgainShowsTheCellAsItIsNow) {
  Viewed set(model::DocumentKind::kElementList);
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

TEST_F(SheetViewHitTest, TitleBlockAndProductsLineFlags) {
  Viewed set(model::DocumentKind::kElementList);
  EXPECT_EQ(Hit(set, 100, 253), nullptr);  // rows end at y 228; the title block area is y 252..292
  EXPECT_TRUE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 252), nullptr);
  EXPECT_FALSE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 20, 260), nullptr);
  EXPECT_FALSE(set.title_block_hit());

  set.sheets.AddSheet(15);
  set.view.SetCurrentSheet(2);  // a later sheet: its rows reach y 276, over the top of the area
  ASSERT_NE(Hit(set, 100, 260), nullptr);
  EXPECT_FALSE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 280), nullptr);
  EXPECT_TRUE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 292), nullptr);
  EXPECT_FALSE(set.title_block_hit());
  EXPECT_EQ(Hit(set, 100, 10), nullptr);
  EXPECT_FALSE(set.products_line_hit());  // not a simple bill

  Viewed bill(model::DocumentKind::kSimpleBill);
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

TEST_F(SheetViewHitTest, TheSelectionShowsABillsRowNumberWithoutWritingIt) {
  Viewed bill(model::DocumentKind::kPurchasedBill);  // rows from y 32, the number column x 20..27
  bill.sheet(0).cell(2, 1).SetText(std::string("Резистор"_cp));
  const document::CCell* number = Hit(bill, 24, 52);
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->text(), "3");
  EXPECT_EQ(number->attributes(), document::kFillCentred);
  EXPECT_TRUE(bill.sheet(0).cell(2, 0).IsEmpty());
  const document::CCell* name = Hit(bill, 50, 52);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->attributes(), document::kTableText);
  EXPECT_EQ(bill.sheet(0).cell(2, 1).attributes(), 0u);
}

TEST_F(SheetViewHitTest, TheTitleFieldUnderAMissComesFromTheTitleBlockTable) {
  Viewed set(model::DocumentKind::kElementList);  // the right frame line at x 205, the sheet's foot at 297
  EXPECT_EQ(Hit(set, 150, 260), nullptr);         // designation: 85..205 × 252..267
  EXPECT_EQ(set.view.title_field_hit(), TitleField::kDesignation);
  EXPECT_EQ(Hit(set, 190, 285), nullptr);  // enterprise: 155..205 × 277..292
  EXPECT_EQ(set.view.title_field_hit(), TitleField::kEnterprise);
  EXPECT_EQ(Hit(set, 10, 100), nullptr);  // not in the title block
  EXPECT_EQ(set.view.title_field_hit(), std::nullopt);

  set.sheets.AddSheet(15);
  set.view.SetCurrentSheet(2);  // a following sheet has only its designation, 85..195 × 277..292
  EXPECT_EQ(Hit(set, 190, 285), nullptr);
  EXPECT_EQ(set.view.title_field_hit(), TitleField::kDesignation);
  EXPECT_EQ(Hit(set, 200, 285), nullptr);
  EXPECT_EQ(set.view.title_field_hit(), std::nullopt);

  // The rectangles are the drawing's: a field's box lies inside the outline of its title block.
  for (const bool first : {true, false}) {
    const document::Rect outline = TitleBlockOutline(420, 297, first);
    for (const TitleFieldBox& entry : TitleFields(model::DocumentKind::kPurchasedBill, first)) {
      const document::Rect r = Place(entry.box, 420, 297);
      EXPECT_TRUE(r.left >= outline.left && r.right <= outline.right && r.top >= outline.top &&
                  r.bottom <= outline.bottom && r.left < r.right && r.top < r.bottom)
          << static_cast<int>(entry.field);
    }
  }
  EXPECT_TRUE(TitleFields(model::DocumentKind::kSimpleBill, true).empty());
}

TEST(SheetViewTest, TwoViewsOfOneSetKeepTheirOwnState) {
  SheetSet set(model::DocumentKind::kElementList);
  set.AddSheet(15);
  SheetView window;
  SheetView preview;
  window.SetMapping(SheetMapping{2.0, 2.0, 10, 10, 0, 0});
  preview.SetMapping(SheetMapping{4.0, 4.0, 0, 0, 0, 0});
  preview.SetCurrentSheet(2);
  Point p{70, 90};  // (30, 40) mm in the window
  ASSERT_NE(window.CellAtPoint(set, p, {}), nullptr);
  EXPECT_EQ(window.selected_row(), 2);
  EXPECT_EQ(preview.selected_row(), -1);
  EXPECT_EQ(preview.current_sheet(), 2);
  EXPECT_EQ(window.current_sheet(), 1);
  EXPECT_EQ(window.MapPoint(1, 1), (Point{12, 12}));
  EXPECT_EQ(preview.MapPoint(1, 1), (Point{4, 4}));
}

}  // namespace
}  // namespace tallyform::presentation
