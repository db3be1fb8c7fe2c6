#include "document/row_edits.h"

#include <gtest/gtest.h>

#include <string>

#include "document/sheet_set.h"
#include "document/table_rows.h"
#include "model/errors.h"
#include "support/fake_text_measurer.h"

namespace tallyform::document {
namespace {

using model::DocumentKind;

// A list of elements: 26 rows on the first sheet, 32 on the following ones, one empty row at a sheet's end.
// The fake measurer makes a table text 2 mm a character, so the name cell (110 mm) holds 55.

TEST(RowEditsTest, InsertedRowsPushRowsWithAnyTextOntoNewSheetsAndFlowPastWholeSheets) {
  SheetSet set(DocumentKind::kElementList);
  // Only the last row at the end of the document is dropped when it is empty.
  InsertRows(set, 0, 25, 1);
  EXPECT_EQ(set.sheet_count(), 1u);

  // A row that holds only a quantity is not lost.
  set.sheet(0).cell(25, 3).SetText("5");
  InsertRows(set, 0, 0, 1);
  ASSERT_EQ(set.sheet_count(), 2u);
  EXPECT_EQ(set.sheet(1).cell(0, 3).text(), "5");
  EXPECT_EQ(set.sheet(1).row_count(), 32u);
  EXPECT_EQ(set.sheet(1).top_offset(), 15);

  // Seventy rows take the row at 5 to place 75 (sheet 3, row 17) and the quantity from 26 to 96 (sheet 4,
  // row 6).
  set.sheet(0).cell(5, 4).SetText("note");
  InsertRows(set, 0, 5, 70);
  ASSERT_EQ(set.sheet_count(), 4u);
  EXPECT_EQ(set.sheet(2).cell(17, 4).text(), "note");
  EXPECT_EQ(set.sheet(3).cell(6, 3).text(), "5");
  EXPECT_TRUE(set.sheet(1).cell(31, 4).IsEmpty());

  // Empty rows inserted past the end of the document get a sheet of their own too.
  SheetSet empty(DocumentKind::kElementList);
  InsertRows(empty, 0, 25, 2);
  EXPECT_EQ(empty.sheet_count(), 2u);
}

TEST(RowEditsTest, AWrappedTextAtASheetsEndGoesOnAtTheTopOfTheNextSheetWithoutCoveringItsRows) {
  const testing::FakeTextMeasurer measurer;
  const std::string text = std::string(50, 'a') + " " + std::string(50, 'b') + " " + std::string(50, 'c');

  // No next sheet yet: one is added, and the sheet's empty row at the end stays empty.
  SheetSet set(DocumentKind::kElementList);
  EXPECT_EQ(SetCellText(set, 0, 24, 2, text, kFillLeft, measurer), 3);
  ASSERT_EQ(set.sheet_count(), 2u);
  EXPECT_EQ(set.sheet(0).cell(24, 2).text(), std::string(50, 'a') + " ");
  EXPECT_TRUE(set.sheet(0).cell(25, 2).IsEmpty());
  EXPECT_EQ(set.sheet(1).cell(0, 2).text(), std::string(50, 'b') + " ");
  EXPECT_EQ(set.sheet(1).cell(1, 2).text(), std::string(50, 'c'));
  EXPECT_EQ(set.sheet(1).cell(1, 2).attributes(), kFillLeft);

  // A next sheet with rows: they move down under the lines, and the row in the empty end stays where it is.
  SheetSet rows(DocumentKind::kElementList);
  rows.AddSheet(15);
  rows.sheet(0).cell(25, 3).SetText("T");
  rows.sheet(1).cell(0, 3).SetText("X");
  rows.sheet(1).cell(1, 3).SetText("Y");
  EXPECT_EQ(EditCell(rows, 0, 24, 2, text, measurer), 3);
  EXPECT_EQ(rows.sheet(0).cell(25, 3).text(), "T");
  EXPECT_EQ(rows.sheet(1).cell(1, 2).text(), std::string(50, 'c'));
  EXPECT_EQ(rows.sheet(1).cell(2, 3).text(), "X");
  EXPECT_EQ(rows.sheet(1).cell(3, 3).text(), "Y");
  EXPECT_EQ(rows.sheet_count(), 2u);
}

TEST(RowEditsTest, InPlaceOnlyWrappingCellsSplitWhileTheDialogFitsAnyCell) {
  const testing::FakeTextMeasurer measurer;
  SheetSet set(DocumentKind::kElementList);
  // The quantity cell is 10 mm wide: five characters.
  EXPECT_EQ(EditCell(set, 0, 0, 3, "aaaa bbbb", measurer), 1);
  EXPECT_EQ(set.sheet(0).cell(0, 3).text(), "aaaa bbbb");
  EXPECT_EQ(set.sheet(0).cell(0, 3).attributes(), kTableText);
  EXPECT_EQ(SetCellText(set, 0, 2, 3, "aaaa bbbb", kAlignRight, measurer), 2);
  EXPECT_EQ(set.sheet(0).cell(3, 3).text(), "bbbb");
  EXPECT_EQ(set.sheet(0).cell(3, 3).attributes(), kTableText | kAlignRight);
  EXPECT_THROW(EditCell(set, 0, 0, 5, "x", measurer), BadUsage);
  EXPECT_THROW(SetCellText(set, 1, 0, 1, "x", 0, measurer), BadUsage);

  // A simple bill's item number is not typed over.
  SheetSet bill(DocumentKind::kSimpleBill);
  bill.sheet(0).cell(0, 0).SetText("12");
  EditCell(bill, 0, 0, 0, "x", measurer);
  EditCell(bill, 0, 1, 0, "x", measurer);
  EXPECT_EQ(bill.sheet(0).cell(0, 0).text(), "1");
  EXPECT_TRUE(bill.sheet(0).cell(1, 0).IsEmpty());
}

TEST(RowEditsTest, TheCellTextFormReadsAndReplacesOnlyAlignmentAndUnderline) {
  const CellTextForm centred = CellTextForm::Open("t", 0x200003);
  EXPECT_EQ(centred.alignment, 1);
  EXPECT_FALSE(centred.underline);
  const CellTextForm right = CellTextForm::Open("t", kUnderline | kAlignRight);
  EXPECT_EQ(right.alignment, 2);
  EXPECT_TRUE(right.underline);

  EXPECT_EQ((CellTextForm{"t", 0, false}.Attributes(kTableText | kVertical | kUnderline | 3)),
            kTableText | kVertical);
  EXPECT_EQ((CellTextForm{"t", 2, true}.Attributes(kFillCentred)), kTableText | kUnderline | kAlignRight);
  EXPECT_EQ((CellTextForm{"t", 7, false}.Attributes(kFillCentred)), kTableText);
}

}  // namespace
}  // namespace tallyform::document
