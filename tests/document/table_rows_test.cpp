#include "document/table_rows.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "model/errors.h"
#include "support/archive_bytes.h"
#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

constexpr int kListWidths[] = {8, 20, 110, 10, 37};

using Bytes = testing::ArchiveBytes;

// What may differ between the hand-made tables of these tests; the defaults give a valid table of one
// row of two cells (widths 10 and 20, top offset 0) whose cell 1 holds "R1".
struct SmallTable {
  int column_count = 2;
  std::vector<int> widths = {10, 20};
  int row_column_count = 2;
  int cell_count = 2;
  int section_flag = 0;
  int cell1_right = 50;
  unsigned cell_tag = 0x8005;  // the known-class tag of CCell (class number 5)
};

std::string SmallTableBytes(const SmallTable& t) {
  Bytes b;
  b.U16(1);  // one table
  b.NewClass("CTableRows");
  b.I32(8).I32(8).I32(5).I32(20).I32(t.column_count);
  b.Str("");                // approved by
  b.Str("");                // inspector
  b.Str("");                // extra signature name
  b.Str("Вед.констр."_cp);  // extra signature label
  for (int i = 0; i < 12; ++i) b.Str("");
  b.I32(0);                   // customer approval
  b.Double(5.0).Double(4.0);  // designation height before table-cell height
  b.Double(5.0).Double(4.0).Double(5.0).Double(3.0).Double(0.2).Double(0.5);
  b.I32(1).I32(t.section_flag).Str("").I32(3).I32(1);
  b.U16(static_cast<unsigned>(t.widths.size()));
  for (int w : t.widths) b.I32(w);
  b.U16(1);  // one row
  b.NewClass("CRow");
  b.I32(8).I32(t.row_column_count).I32(0);
  b.U16(static_cast<unsigned>(t.cell_count));
  for (int c = 0; c < t.cell_count; ++c) {
    if (c == 0) {
      b.NewClass("CCell");
      b.I32(20).I32(5).I32(30).I32(13).Str("").I32(0x200000).I32(0).I32(0);
    } else {
      b.U16(t.cell_tag);
      b.I32(30).I32(5).I32(t.cell1_right).I32(13).Str("R1").I32(0x300001).I32(c).I32(0);
    }
  }
  return b.s;
}

SheetArray Read(const std::string& bytes) {
  archive::ArchiveReader reader(bytes);
  SheetArray sheets = ReadSheetTables(reader);
  EXPECT_EQ(reader.remaining(), 0u);
  return sheets;
}

std::string Write(const SheetArray& sheets) {
  archive::ArchiveWriter writer;
  WriteSheetTables(writer, sheets);
  return writer.Take();
}

SheetArray OneSheet(CTableRows table) {
  SheetArray sheets;
  sheets.push_back(std::make_unique<CTableRows>(std::move(table)));
  return sheets;
}

TEST(TableRowsTest, CreationFillsTheBodyWithRowsOfTheColumnLayout) {
  CTableRows t(kListWidths, 210, 15);
  ASSERT_EQ(t.row_count(), 26u);
  EXPECT_EQ(t.column_count(), 5);
  EXPECT_EQ(t.used_height(), 208);
  EXPECT_EQ(t.table_top(), 20);
  EXPECT_EQ(t.top_offset(), 15);
  EXPECT_EQ(t.table_left(), 20);

  EXPECT_EQ(t.cell(0, 0).rect(), (Rect{20, 20, 28, 28}));
  EXPECT_EQ(t.cell(0, 4).rect(), (Rect{168, 20, 205, 28}));
  EXPECT_EQ(t.cell(25, 2).rect(), (Rect{48, 220, 158, 228}));
  for (std::size_t r = 0; r < t.row_count(); ++r) {
    const CRow& row = t.row(r);
    ASSERT_EQ(row.cell_count(), 5u);
    EXPECT_EQ(row.row_index(), static_cast<int>(r));
    EXPECT_EQ(row.height(), 8);
    for (std::size_t c = 0; c < 5; ++c) {
      EXPECT_EQ(row.cell(c).column(), static_cast<int>(c));
      EXPECT_EQ(row.cell(c).row(), static_cast<int>(r));
      EXPECT_TRUE(row.cell(c).IsEmpty());
      EXPECT_EQ(row.cell(c).attributes(), 0u);
    }
  }

  EXPECT_EQ(t.title_field(TitleField::kExtraSignatureLabel), "Вед.констр."_cp);
  EXPECT_EQ(t.title_field(TitleField::kSheetCount), "");
  EXPECT_EQ(t.number_of_products(), 1);
  EXPECT_EQ(t.empty_rows_between_groups(), 3);
  EXPECT_EQ(t.empty_rows_at_end(), 1);
  EXPECT_EQ(t.settings(), DrawingSettings{});
  EXPECT_EQ(t.settings().document_name_text, 4.0);
}

TEST(TableRowsTest, RowsGrowOnlyWithinTheBodyHeight) {
  CTableRows t(kListWidths, 210, 15);
  EXPECT_EQ(t.AddRow(), nullptr);
  EXPECT_EQ(t.row_count(), 26u);
  EXPECT_EQ(t.used_height(), 208);

  t.SetBodyHeight(208);  // at the used height: nothing goes
  EXPECT_EQ(t.row_count(), 26u);
  t.SetBodyHeight(100);
  EXPECT_EQ(t.row_count(), 12u);
  EXPECT_EQ(t.used_height(), 96);
  EXPECT_EQ(t.body_height(), 100);
  t.SetBodyHeight(300);  // raising never adds rows
  EXPECT_EQ(t.row_count(), 12u);

  CRow* added = t.AddRow();
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->row_index(), 12);
  EXPECT_EQ(added->cell(1).rect(), (Rect{28, 116, 48, 124}));
  EXPECT_EQ(t.used_height(), 104);

  t.DeleteAllRows();
  EXPECT_EQ(t.row_count(), 0u);
  EXPECT_EQ(t.used_height(), 0);

  CRow row(2, 7);
  ASSERT_NE(row.AddCell(1, 2, 3, 4), nullptr);
  CCell* second = row.AddCell(3, 2, 9, 4);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->column(), 1);
  EXPECT_EQ(second->row(), 7);
  EXPECT_EQ(second->Width(), 6);
  EXPECT_EQ(row.AddCell(9, 2, 12, 4), nullptr);
  EXPECT_EQ(row.cell_count(), 2u);
}

TEST(TableRowsTest, AttributeWordsReadBackAsAlignmentAndFlags) {
  CCell heading;
  heading.SetAttributes(kFillHeading);
  EXPECT_EQ(heading.attributes(), 0x300001u);
  EXPECT_EQ(heading.Alignment(), kAlignCentre);
  EXPECT_TRUE(heading.IsUnderlined());

  EXPECT_EQ(AlignmentOf(kFillLeft), kAlignLeft);
  EXPECT_EQ(AlignmentOf(kTableText | kAlignRight), kAlignRight);
  EXPECT_EQ(AlignmentOf(3), kAlignCentre);  // bit 0 wins
  EXPECT_EQ(WithAlignment(kFillHeading | kVertical, kAlignRight), kTableText | kUnderline | kVertical | 2u);
  EXPECT_EQ(WithAlignment(3, kAlignLeft), 0u);
}

TEST(TableRowsTest, ClearTextsKeepsAttributesAndResetsTheSection) {
  CTableRows t(kListWidths, 24, 15);
  t.cell(1, 2).SetText("C1");
  t.cell(1, 2).SetAttributes(kFillCentred);
  t.SetTitleField(TitleField::kDesignation, "АБВГ.123"_cp);
  t.SetNumberOfProducts(4);
  t.SetSectionFile("/tmp/a.sch");
  t.SetSectionStart(true);
  t.ClearTexts();
  EXPECT_TRUE(t.cell(1, 2).IsEmpty());
  EXPECT_EQ(t.cell(1, 2).attributes(), kFillCentred);
  EXPECT_EQ(t.number_of_products(), 1);
  EXPECT_EQ(t.section_file(), "");
  EXPECT_FALSE(t.section_start());
  EXPECT_EQ(t.title_field(TitleField::kDesignation), "АБВГ.123"_cp);
}

TEST(TableRowsTest, CopySettingsTakesSettingsAndSharedCells) {
  CTableRows source(kListWidths, 24, 15);  // 3 rows
  source.SetTitleField(TitleField::kProductName, "Блок"_cp);
  source.SetCustomerApproval(true);
  source.settings().table_text = 3.5;
  source.settings().document_name_text = 7.0;
  source.settings().main_line = 0.8;
  source.SetNumberOfProducts(2);
  source.SetSectionFile("b.pcb");
  source.SetSectionStart(true);
  source.SetEmptyRowsBetweenGroups(0);
  source.SetEmptyRowsAtEnd(2);
  source.cell(1, 3).SetText("x");
  source.cell(1, 3).SetAttributes(kFillLeft);

  CTableRows target(kListWidths, 16, 27);  // 2 rows, placed lower
  target.CopySettingsFrom(source);
  EXPECT_EQ(target.title_field(TitleField::kProductName), "Блок"_cp);
  EXPECT_TRUE(target.customer_approval());
  EXPECT_EQ(target.settings().table_text, 3.5);
  // The document name height follows the table-cell height of the source, not its own.
  EXPECT_EQ(target.settings().document_name_text, 3.5);
  EXPECT_EQ(target.settings().main_line, 0.8);
  EXPECT_EQ(target.number_of_products(), 2);
  EXPECT_EQ(target.section_file(), "b.pcb");
  EXPECT_TRUE(target.section_start());
  EXPECT_EQ(target.empty_rows_between_groups(), 0);
  EXPECT_EQ(target.empty_rows_at_end(), 2);
  EXPECT_EQ(target.cell(1, 3), source.cell(1, 3));  // rectangle included
  EXPECT_EQ(target.row_count(), 2u);
  EXPECT_EQ(target.table_top(), 32);

  // Tables of other layouts exchange only the cells both have.
  constexpr int kNarrow[] = {10, 10};
  CTableRows narrow(kNarrow, 80, 0);
  narrow.CopySettingsFrom(source);
  EXPECT_EQ(narrow.row(1).cell_count(), 2u);
  source.CopySettingsFrom(narrow);
  EXPECT_EQ(source.cell(1, 3).text(), "x");
}

TEST(TableRowsArchiveTest, WritesTheHandMadeLayoutByteForByte) {
  constexpr int kWidths[] = {10, 20};
  CTableRows t(kWidths, 8, 0);
  ASSERT_EQ(t.row_count(), 1u);
  t.cell(0, 0).SetAttributes(kFillLeft);
  t.cell(0, 1).SetText("R1");
  t.cell(0, 1).SetAttributes(kFillHeading);
  const std::string expected = SmallTableBytes({});
  EXPECT_EQ(Write(OneSheet(t)), expected);
  EXPECT_EQ(*Read(expected).front(), t);
}

TEST(TableRowsArchiveTest, RoundTripsEveryField) {
  CTableRows t(kListWidths, 40, 23);
  const std::string_view values[] = {"Утвердил"_cp, "Н.контр"_cp, "Иванов"_cp,   "Т.контр."_cp,
                                     "Проверил"_cp, "Разраб"_cp,  "О"_cp,        "1"_cp,
                                     ""_cp,         "2"_cp,       "3"_cp,        "ООО"_cp,
                                     "АБВГ.4"_cp,   "Изделие"_cp, "Перечень"_cp, ""_cp};
  for (std::size_t i = 0; i < kTitleFieldCount; ++i) t.SetTitleField(static_cast<TitleField>(i), values[i]);
  t.SetTitleField(TitleField::kFirstUse, std::string(300, 'x'));  // a long length form
  t.SetCustomerApproval(true);
  t.settings() = DrawingSettings{3.1, 5.2, 5.3, 4.4, 5.5, 2.6, 0.25, 0.7};
  t.SetNumberOfProducts(-3);
  t.SetSectionFile("C:\\Проект\\плата.pcb"_cp);
  t.SetSectionStart(true);
  t.SetEmptyRowsBetweenGroups(5);
  t.SetEmptyRowsAtEnd(0);
  t.cell(0, 2).SetText("Резистор\r\nС2-33Н"_cp);
  t.cell(0, 2).SetAttributes(kFillLeft | kMultiLine | kVertical);
  t.cell(4, 4).SetText(std::string(70000, 'y'));
  t.SetBodyHeight(44);  // body and used height differ

  SheetArray sheets = OneSheet(t);
  sheets.push_back(std::make_unique<CTableRows>());  // a table without rows or columns
  const std::string bytes = Write(sheets);
  SheetArray back = Read(bytes);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(*back[0], t);
  EXPECT_EQ(*back[1], CTableRows());
  EXPECT_EQ(Write(back), bytes);
}

TEST(TableRowsArchiveTest, StoredGeometryIsTakenAsItIs) {
  // The reader keeps what the file says, even where it departs from the layout new tables get.
  SmallTable odd;
  odd.cell1_right = 31;
  odd.section_flag = 5;  // any non-zero value means a section starts
  SheetArray sheets = Read(SmallTableBytes(odd));
  EXPECT_EQ(sheets[0]->cell(0, 1).rect(), (Rect{30, 5, 31, 13}));
  EXPECT_TRUE(sheets[0]->section_start());
  SmallTable written = odd;
  written.section_flag = 1;
  EXPECT_EQ(Write(sheets), SmallTableBytes(written));
}

TEST(TableRowsArchiveTest, DamagedTablesAreRefused) {
  const std::string good = SmallTableBytes({});
  // Every cut of the file ends early.
  for (std::size_t n = 0; n < good.size(); ++n) {
    archive::ArchiveReader reader(std::string_view(good).substr(0, n));
    EXPECT_THROW(ReadSheetTables(reader), DamagedFile) << "cut at " << n;
  }

  auto refused = [](const SmallTable& t) {
    const std::string bytes = SmallTableBytes(t);
    archive::ArchiveReader reader(bytes);
    EXPECT_THROW(ReadSheetTables(reader), DamagedFile);
  };
  SmallTable t;
  t.cell_count = 1;  // fewer cells than the row's columns
  refused(t);
  t = {};
  t.row_column_count = 1;
  t.cell_count = 1;  // a row narrower than its table
  refused(t);
  t = {};
  t.widths = {10};  // widths and column count disagree
  refused(t);
  t = {};
  t.widths = {10, -20};
  refused(t);
  t = {};
  t.cell1_right = 29;  // a rectangle turned inside out
  refused(t);
  t = {};
  t.cell1_right = kMaxGeometry + 1;
  refused(t);
  t = {};
  t.cell_tag = 0x8003;  // a row where a cell belongs
  refused(t);
  t = {};
  t.cell_tag = 4;  // a reference to the row being read
  refused(t);
  t = {};
  t.cell_tag = 0;  // a null cell
  refused(t);

  // A count the bytes left cannot hold, in the big form.
  Bytes big;
  big.U16(0xffff).I32(0x7fffffff);
  const std::string absurd = big.s + good.substr(2);
  archive::ArchiveReader reader(absurd);
  EXPECT_THROW(ReadSheetTables(reader), DamagedFile);
}

TEST(TableRowsArchiveTest, AFailedReadLeavesTheTableAsItWas) {
  CTableRows t(kListWidths, 16, 15);
  t.cell(0, 0).SetText("keep");
  const CTableRows before = t;
  const std::string good = SmallTableBytes({});
  archive::ArchiveReader reader(std::string_view(good).substr(0, good.size() - 3));
  reader.ReadCount(1);
  reader.ReadObjectTag({archive::kTableRows});
  EXPECT_THROW(t.Deserialize(reader), DamagedFile);
  EXPECT_EQ(t, before);
}

}  // namespace
}  // namespace tallyform::document
