#include "document/sheet_set.h"

#include <gtest/gtest.h>

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
  set.Clear();  // a set without sheets gets its first sheet back
  ASSERT_EQ(set.sheet_count(), 1u);
  EXPECT_EQ(set.sheet(0).title_field(TitleField::kSheetCount), "1");
}

TEST(SheetSetTest, LayingOutGivesEachSheetTheBodyHeightOfItsPosition) {
  SheetSet set(model::DocumentKind::kElementList);
  document::SheetArray sheets;
  // A first sheet made with the following sheets' height holds 32 rows; laid out as sheet 1 it keeps 26.
  sheets.push_back(std::make_unique<CTableRows>(set.column_widths(), set.following_body_height(), 15));
  sheets.back()->cell(30, 1).SetText("gone");
  // A following sheet made with the first sheet's height, starting lower than usual.
  sheets.push_back(std::make_unique<CTableRows>(set.column_widths(), set.first_body_height(), 23));
  set.ReplaceSheets(std::move(sheets));
  ASSERT_EQ(set.sheet(0).row_count(), 32u);
  set.LayOut();
  EXPECT_EQ(set.sheet(0).body_height(), 210);
  EXPECT_EQ(set.sheet(0).row_count(), 26u);
  EXPECT_EQ(set.sheet(1).body_height(), set.BodyHeightFor(1, 23));
  EXPECT_EQ(set.sheet(1).body_height(), set.following_body_height() - 8);

  // Laid out already: nothing changes, the filled texts included.
  set.sheet(0).cell(25, 2).SetText("kept");
  const document::SheetArray before = document::CopySheets(set.sheets());
  set.LayOut();
  for (std::size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(set.sheet(i) == *before[i]) << i;
}

}  // namespace
}  // namespace tallyform::document
