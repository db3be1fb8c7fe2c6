// The bill of purchased items and the simple bill, filled from prepared element lists.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/fill_bill.h"
#include "document/fill_simple_bill.h"
#include "elements/default_headings.h"
#include "model/element_kinds.h"
#include "support/fake_text_measurer.h"
#include "support/temp_folder.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;
using elements::Element;
using elements::MergeChoice;
using Texts = std::vector<std::string>;

class FillBillsTest : public ::testing::Test {
 protected:
  FillBillsTest() { kinds_.FillBuiltIn(); }

  // An element as the readers leave it.
  Element& Add(std::string_view designator, std::string_view type,
               std::string_view file = "D:\\pcb\\board.pcb") {
    auto e = std::make_unique<Element>();
    e->Set("RefDes", designator);
    e->Set("Type", type);
    e->Set("Value", "");
    e->Set("Pattern", "SO14");
    e->Set(model::kSupplyDoc, "");
    e->Set(model::kQuantity, "1");
    e->Set(model::kGoesInto, "");
    e->Set(model::kFile, file);
    e->Set("Group", kinds_.PluralName(designator));
    e->Set("RowsInGroup", "1");
    list_.Append(std::move(e));
    return list_.at(list_.count() - 1);
  }
  // `count` elements of the designator's prefix with names that keep them apart, numbered from `first`.
  void AddMany(std::string_view prefix, int count, int first = 1,
               std::string_view file = "D:\\pcb\\board.pcb") {
    for (int i = first; i < first + count; ++i) {
      const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
      Add(std::string(prefix) + std::to_string(i), "Part " + number, file);
    }
  }

  void Fill(document::SheetSet& sheets, model::DocumentKind kind,
            MergeChoice merge = MergeChoice::kSeparateLists) {
    sheets.sheet(0).SetEmptyRowsBetweenGroups(3);
    sheets.sheet(0).SetEmptyRowsAtEnd(1);
    if (headings_.empty()) elements::ApplyDefaultHeadings(headings_, roles_, kind);
    PreparePurchased(list_, roles_);
    if (kind == model::DocumentKind::kPurchasedBill) {
      FillBill(sheets, list_, headings_, roles_, services_, mismatch_);
    } else {
      FillSimpleBill(sheets, list_, headings_, roles_, merge, services_, mismatch_);
    }
  }

  // The texts of one column, row by row, without the empty rows at the end.
  static Texts Column(const document::SheetSet& sheets, std::size_t sheet, int column) {
    Texts texts;
    for (const CRow& row : sheets.sheet(sheet).rows())
      texts.push_back(row.cell(static_cast<std::size_t>(column)).text());
    while (!texts.empty() && texts.back().empty()) texts.pop_back();
    return texts;
  }

  testing::TempFolder folder_;
  valuecheck::ValueCheck check_{folder_ / "errors.log"};
  model::ElementKinds kinds_;
  testing::FakeTextMeasurer measurer_;  // 2 mm per character at the default table text height of 4 mm
  FillServices services_{measurer_, kinds_, check_};
  elements::ComponentList list_;
  model::Roles roles_ = model::DefaultRoles();
  archive::StringMap headings_;
  bool mismatch_ = false;
};

TEST_F(FillBillsTest, BillHeadsEveryGroupAndPutsQuantitiesIntoTheMappedColumn) {
  document::SheetSet sheets(model::DocumentKind::kPurchasedBill);
  Add("C1", "К10-17б"_cp).Set(model::kSupplyDoc, "ОЖО.460.107 ТУ"_cp);
  Add("C2", "К50-35"_cp).Set("Note", "n");
  Add("VT1", "КТ315Б"_cp).Set(model::kQuantity, "2");
  Add("R1", "Р1-12"_cp).Set(model::kGoesInto, "АБВГ.001"_cp);
  // Equal to VT1 but for letter case: merged into its row, the quantities added.
  Add("VT2", "кт315б"_cp).Set(model::kQuantity, "3");
  list_.at(4).Set("Pattern", "so14");
  elements::ApplyDefaultHeadings(headings_, roles_, model::DocumentKind::kPurchasedBill);
  headings_["Note"] = elements::kHeadingNote;
  headings_[std::string(model::kQuantity)] = elements::kHeadingTotal;
  Fill(sheets, model::DocumentKind::kPurchasedBill);

  EXPECT_EQ(Column(sheets, 0, 1),
            (Texts{std::string("Конденсаторы"_cp), "", std::string("К10-17б"_cp), std::string("К50-35"_cp),
                   "", "", "", std::string("Транзисторы"_cp), "", std::string("КТ315Б"_cp), "", "", "",
                   std::string("Резисторы"_cp), "", std::string("Р1-12"_cp)}));
  EXPECT_EQ(Column(sheets, 0, 9),
            (Texts{"", "", "1", "1", "", "", "", "", "", "5", "", "", "", "", "", "1"}));
  EXPECT_EQ(Column(sheets, 0, 3), (Texts{"", "", std::string("ОЖО.460.107 ТУ"_cp)}));
  EXPECT_EQ(Column(sheets, 0, 5).back(), "АБВГ.001"_cp);
  EXPECT_EQ(Column(sheets, 0, 10), (Texts{"", "", "", "n"}));
  for (int column : {0, 2, 4, 6, 7, 8}) EXPECT_TRUE(Column(sheets, 0, column).empty()) << column;
  const CTableRows& sheet = sheets.sheet(0);
  EXPECT_EQ(sheet.cell(0, 1).attributes(), kFillHeading);
  EXPECT_EQ(sheet.cell(2, 9).attributes(), kFillCentred);
  EXPECT_EQ(sheet.section_file(), "D:\\pcb\\board.pcb");
  EXPECT_EQ(sheets.sheet_count(), 1u);
}

TEST_F(FillBillsTest, BillStartsAHeadingThatDoesNotFitOnAFollowingSheet) {
  document::SheetSet sheets(model::DocumentKind::kPurchasedBill);
  AddMany("C", 20);  // rows 2 to 21 of the 24 rows of the first sheet
  Add("R1", "Р1-12"_cp);
  Fill(sheets, model::DocumentKind::kPurchasedBill);

  ASSERT_EQ(sheets.sheet_count(), 2u);
  EXPECT_EQ(Column(sheets, 0, 1).size(), 22u);
  EXPECT_EQ(Column(sheets, 1, 1), (Texts{std::string("Резисторы"_cp), "", std::string("Р1-12"_cp)}));
  EXPECT_EQ(sheets.sheet(1).top_offset(), 27);
  EXPECT_EQ(sheets.sheet(1).row_count(), 30u);
  EXPECT_EQ(sheets.sheet(0).title_field(TitleField::kSheetNumber), "1");
  EXPECT_EQ(sheets.sheet(0).title_field(TitleField::kSheetCount), "2");
}

TEST_F(FillBillsTest, SimpleBillNumbersItemsUnderCategoryAndKindHeadings) {
  document::SheetSet sheets(model::DocumentKind::kSimpleBill);
  Add("DD1", "К561ЛА7"_cp).Set("Value", "x");
  Add("C1", "К10-17б"_cp).Set("Value", "0,1 мкФ"_cp);
  Add("R1", "Р1-12"_cp).Set("Value", "10 кОм"_cp);
  Add("R2", "Р1-12"_cp).Set("Value", "10 кОм"_cp);
  Fill(sheets, model::DocumentKind::kSimpleBill);

  const std::string active{"Активные компоненты"_cp}, passive{"Пассивные компоненты"_cp};
  EXPECT_EQ(Column(sheets, 0, 1),
            (Texts{active, "", std::string("Микросхемы"_cp), "", std::string("К561ЛА7"_cp), "", "", "",
                   passive, "", std::string("Конденсаторы"_cp), "", std::string("К10-17б"_cp), "", "", "",
                   std::string("Резисторы"_cp), "", std::string("Р1-12"_cp)}));
  const Texts numbers = Column(sheets, 0, 0);
  ASSERT_EQ(numbers.size(), 19u);
  EXPECT_EQ((Texts{numbers[4], numbers[12], numbers[18]}), (Texts{"1", "2", "3"}));
  EXPECT_EQ(Column(sheets, 0, 3).back(), "2");
  EXPECT_EQ(Column(sheets, 0, 2).back(), "10 кОм"_cp);
  EXPECT_EQ(Column(sheets, 0, 4).back(), "SO14");
  const CTableRows& sheet = sheets.sheet(0);
  EXPECT_EQ(sheet.cell(0, 1).attributes(), kFillHeading);
  EXPECT_EQ(sheet.cell(18, 0).attributes(), kFillCentred);
  EXPECT_EQ(sheet.cell(18, 4).attributes(), kFillLeft);
  // The one section begins on the first sheet and records its file.
  EXPECT_TRUE(sheet.section_start());
  EXPECT_EQ(sheet.section_file(), "D:\\pcb\\board.pcb");
  EXPECT_EQ(sheets.sheet_count(), 1u);
}

TEST_F(FillBillsTest, SimpleBillStartsTheSectionsOfFurtherFilesOnNewSheets) {
  const std::string long_path = "/home/engineer/projects/amplifier/output/board.sch";
  AddMany("DD", 40, 1, "/a.sch");  // 27 on the first sheet, 13 on the second
  Add("R1", "Р1-12"_cp, "/a.sch");
  Add("DD1", "К561ЛА7"_cp, long_path);
  Add("C1", "К10-17б"_cp, long_path);
  const elements::ComponentList list = list_;

  document::SheetSet sheets(model::DocumentKind::kSimpleBill);
  Fill(sheets, model::DocumentKind::kSimpleBill);
  ASSERT_EQ(sheets.sheet_count(), 3u);
  EXPECT_EQ(Column(sheets, 1, 1).size(), 21u);  // the resistor's heading and row; the rest stays empty
  const CTableRows& third = sheets.sheet(2);
  EXPECT_EQ(Column(sheets, 2, 1).front(), "Активные компоненты"_cp);
  EXPECT_EQ(third.top_offset(), 23);
  EXPECT_EQ(third.row_count(), 32u);  // starting 8 mm lower, its rows still end above the frame
  EXPECT_TRUE(third.section_start());
  EXPECT_FALSE(sheets.sheet(1).section_start());
  // Too long for its cell: shortened to the start and the file name.
  EXPECT_EQ(third.section_file(), "/ho.../board.sch");
  EXPECT_EQ(Column(sheets, 2, 0)[4], "42");  // the numbers run on
  EXPECT_EQ(ShortenedPath("D:\\projects\\amplifier\\board.sch"), "D:\\...\\board.sch");

  // Merged into one list: no section file, and the next file's items follow without a new section.
  list_ = list;
  document::SheetSet merged(model::DocumentKind::kSimpleBill);
  Fill(merged, model::DocumentKind::kSimpleBill, MergeChoice::kOneList);
  EXPECT_TRUE(merged.sheet(0).section_start());
  EXPECT_EQ(merged.sheet(0).section_file(), "");
}

// A section that began at the top of a sheet added because the previous one was full ran under the
// section's title line: that sheet was made with the plain header's top offset.
TEST_F(FillBillsTest, SimpleBillSectionAtTheTopOfAFullSheetsSuccessorGetsTheSectionHeader) {
  Add("DD1", "К561ЛА7"_cp, "/a.sch");
  AddMany("R", 19, 1, "/a.sch");  // rows 12 to 30: the first sheet is full
  Add("DD1", "К561ЛЕ5"_cp, "/b.sch");
  document::SheetSet sheets(model::DocumentKind::kSimpleBill);
  Fill(sheets, model::DocumentKind::kSimpleBill);

  ASSERT_EQ(sheets.sheet_count(), 2u);
  EXPECT_EQ(Column(sheets, 0, 0).back(), "20");
  const CTableRows& second = sheets.sheet(1);
  EXPECT_EQ(Column(sheets, 1, 1).front(), "Активные компоненты"_cp);
  EXPECT_TRUE(second.section_start());
  EXPECT_EQ(second.section_file(), "/b.sch");
  // Rows start below the section header (y 28).
  EXPECT_EQ(second.top_offset(), 23);
  EXPECT_EQ(second.row(0).cell(0).rect().top, model::HeaderBottom(model::DocumentKind::kSimpleBill, true));
  EXPECT_EQ(second.row_count(), 32u);
  EXPECT_LE(second.row(31).cell(0).rect().bottom, 287);  // the frame's bottom line
}

}  // namespace
}  // namespace tallyform::document
