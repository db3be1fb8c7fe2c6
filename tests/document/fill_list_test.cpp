#include "document/fill_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

class FillListTest : public ::testing::Test {
 protected:
  FillListTest() {
    kinds_.FillBuiltIn();
    elements::ApplyDefaultHeadings(headings_, roles_, model::DocumentKind::kElementList);
  }

  // An element as the readers leave it (one piece, one row, its kind's group).
  Element& Add(std::string_view designator, std::string_view type, std::string_view unit = "") {
    auto e = std::make_unique<Element>();
    e->Set("RefDes", designator);
    e->Set("Type", type);
    e->Set("Pattern", "SO14");
    e->Set(model::kQuantity, "1");
    e->Set(model::kGoesInto, unit);
    e->Set(model::kFile, "D:\\pcb\\board.pcb");
    e->Set("Group", kinds_.PluralName(designator));
    e->Set("RowsInGroup", "1");
    list_.Append(std::move(e));
    return list_.at(list_.count() - 1);
  }
  // `count` microcircuits with names that keep them apart, numbered from `first`.
  void AddChips(int count, int first = 1) {
    for (int i = first; i < first + count; ++i) Add("DD" + std::to_string(i), "Chip " + std::to_string(i));
  }

  void Fill(int gap, int tail) {
    sheets_.sheet(0).SetEmptyRowsBetweenGroups(gap);
    sheets_.sheet(0).SetEmptyRowsAtEnd(tail);
    PrepareList(list_, roles_);
    FillList(sheets_, list_, headings_, services_, mismatch_);
  }

  const CCell& Cell(std::size_t sheet, int row, int column) const {
    return sheets_.sheet(sheet).cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column));
  }
  const std::string& Text(std::size_t sheet, int row, int column) const {
    return Cell(sheet, row, column).text();
  }
  // The texts of one column, row by row, without the empty rows at the end.
  std::vector<std::string> Column(std::size_t sheet, int column) const {
    std::vector<std::string> texts;
    for (std::size_t r = 0; r < sheets_.sheet(sheet).row_count(); ++r) {
      texts.push_back(Text(sheet, static_cast<int>(r), column));
    }
    while (!texts.empty() && texts.back().empty()) texts.pop_back();
    return texts;
  }
  std::string SheetNumber() const { return sheets_.sheet(0).title_field(TitleField::kSheetNumber); }
  std::string SheetCount() const { return sheets_.sheet(0).title_field(TitleField::kSheetCount); }

  testing::TempFolder folder_;
  valuecheck::ValueCheck check_{folder_ / "errors.log"};
  model::ElementKinds kinds_;
  testing::FakeTextMeasurer measurer_;  // 2 mm per character at the default table text height of 4 mm
  FillServices services_{measurer_, kinds_, check_};
  document::SheetSet sheets_{model::DocumentKind::kElementList};
  elements::ComponentList list_;
  model::Roles roles_ = model::DefaultRoles();
  archive::StringMap headings_;
  bool mismatch_ = false;
};

using Texts = std::vector<std::string>;

TEST_F(FillListTest, GroupsGetHeadingsAndGapsRowByRow) {
  const std::string r1{"Р1-12-0,125-10 кОм-5%"_cp};
  Add("R1", r1);
  Add("R2", "Р1-12-0,125-20 кОм-5%"_cp);
  Add("R3", "Р1-12-0,125-30 кОм-5%"_cp);
  Add("C1", "К10-17б-М47-100 пФ-5%"_cp);
  Add("C2", "К10-17б-М47-150 пФ-5%"_cp);
  Fill(3, 1);

  EXPECT_EQ(Column(0, 2),
            (Texts{std::string("Резисторы"_cp), "", r1, std::string("Р1-12-0,125-20 кОм-5%"_cp),
                   std::string("Р1-12-0,125-30 кОм-5%"_cp), "", "", "", std::string("Конденсаторы"_cp), "",
                   std::string("К10-17б-М47-100 пФ-5%"_cp), std::string("К10-17б-М47-150 пФ-5%"_cp)}));
  EXPECT_EQ(Column(0, 1), (Texts{"", "", "R1", "R2", "R3", "", "", "", "", "", "C1", "C2"}));
  EXPECT_EQ(Text(0, 11, 3), "1");
  EXPECT_EQ(Cell(0, 0, 2).attributes(), kFillHeading);
  EXPECT_EQ(Cell(0, 2, 2).attributes(), kFillLeft);
  EXPECT_EQ(Cell(0, 2, 1).attributes(), kFillCentred);
  EXPECT_EQ(Cell(0, 2, 3).attributes(), kFillCentred);
  EXPECT_EQ(Cell(0, 2, 4).attributes(), kFillLeft);
  EXPECT_EQ(Cell(0, 1, 2).attributes(), 0u);  // rows left empty are not touched
  EXPECT_TRUE(Column(0, 0).empty());          // the zone column is never written
  EXPECT_EQ(sheets_.sheet(0).section_file(), "D:\\pcb\\board.pcb");
  EXPECT_FALSE(mismatch_);
  EXPECT_EQ(sheets_.sheet_count(), 1u);
  EXPECT_EQ(SheetNumber(), "");
  EXPECT_EQ(SheetCount(), "1");
}

TEST_F(FillListTest, JoinedNeighboursShareOneRow) {
  Add("R1", "Р1-12-0,125-10 кОм-5%"_cp);
  Add("R2", "Р1-12-0,125-10 кОм-5%"_cp);
  Add("R3", "Р1-12-0,125-10 кОм-5%"_cp);
  Add("R4", "Р1-12-0,125-20 кОм-5%"_cp);
  Fill(3, 1);
  EXPECT_EQ(Column(0, 1), (Texts{"", "", "R1...R3", "R4"}));
  EXPECT_EQ(Column(0, 3), (Texts{"", "", "3", "1"}));
}

TEST_F(FillListTest, LoneElementsCarryTheirKindAndEndTheirGroup) {
  AddChips(2);
  Add("R1", "Р1-12-0,125-10 кОм-5%"_cp);
  AddChips(2, 3);
  Fill(3, 1);
  // The chips after the lone resistor start a new group under a heading of their own, after the gap.
  EXPECT_EQ(Column(0, 2), (Texts{std::string("Микросхемы"_cp), "", "Chip 1", "Chip 2", "", "", "",
                                 std::string("Резистор Р1-12-0,125-10 кОм-5%"_cp), "", "", "",
                                 std::string("Микросхемы"_cp), "", "Chip 3", "Chip 4"}));
  EXPECT_EQ(Text(0, 7, 1), "R1");
}

TEST_F(FillListTest, UnitsGetHeadingsOfTheirOwn) {
  const std::string unit_a{"Блок А"_cp}, unit_b{"Блок Б"_cp}, unit_c{"Блок В"_cp};
  Add("R1", "Р1-12-0,125-10 кОм-5%"_cp, unit_a);
  Add("R2", "Р1-12-0,125-20 кОм-5%"_cp, unit_a);
  Add("C1", "К10-17б-М47-100 пФ-5%"_cp, unit_b);
  Add("C2", "К10-17б-М47-150 пФ-5%"_cp, unit_b);
  Add("VT1", "КТ3102ЕМ"_cp, unit_c);
  Fill(3, 1);
  const Texts names = Column(0, 2);
  ASSERT_EQ(names.size(), 24u);
  EXPECT_EQ(names[0], unit_a);
  EXPECT_EQ(names[2], "Резисторы"_cp);
  EXPECT_EQ(names[4], "Р1-12-0,125-10 кОм-5%"_cp);
  EXPECT_EQ(names[9], unit_b);
  EXPECT_EQ(names[11], "Конденсаторы"_cp);
  EXPECT_EQ(names[13], "К10-17б-М47-100 пФ-5%"_cp);
  EXPECT_EQ(names[14], "К10-17б-М47-150 пФ-5%"_cp);
  // A lone element's unit heading is followed by the group gap, since its group is new.
  EXPECT_EQ(names[18], unit_c);
  EXPECT_EQ(names[23], "Транзистор КТ3102ЕМ"_cp);
  EXPECT_EQ(Cell(0, 18, 2).attributes(), kFillHeading);
}

TEST_F(FillListTest, HeadingThatDoesNotFitStartsTheNextSheet) {
  AddChips(21);  // rows 2 to 22
  Add("VT1", "KT3102");
  Add("VT2", "KT3107");
  Fill(0, 1);
  ASSERT_EQ(sheets_.sheet_count(), 2u);
  EXPECT_EQ(Column(0, 2).size(), 23u);  // rows 23 and 24 stay empty
  EXPECT_EQ(Column(1, 2), (Texts{std::string("Транзисторы"_cp), "", "KT3102", "KT3107"}));
  EXPECT_EQ(sheets_.sheet(1).top_offset(), 15);
  EXPECT_EQ(sheets_.sheet(1).row_count(), 32u);
}

TEST_F(FillListTest, LongTextsContinueOnTheNextSheet) {
  AddChips(22);  // rows 2 to 23
  // Three lines of 50 characters each in a name cell that takes 55; it starts on the last usable row.
  const std::string piece = std::string(49, 'A') + " ";
  const std::string last(49, 'B');
  Add("DD23", piece + piece + last);
  AddChips(1, 24);
  Fill(0, 1);
  ASSERT_EQ(sheets_.sheet_count(), 2u);
  EXPECT_EQ(Text(0, 24, 2), piece);
  EXPECT_EQ(Text(0, 24, 1), "DD23");
  EXPECT_EQ(Column(1, 2), (Texts{piece, last, "Chip 24"}));
  EXPECT_EQ(Text(1, 2, 1), "DD24");
}

TEST_F(FillListTest, NextElementStartsBelowTheLowestLineOfAnyColumn) {
  Add("DD1", "Chip 1").Set("RefDes", "DD1, DD3, DD5, DD7");  // 36 mm in a 20 mm cell: two lines
  Add("DD2", "Chip 2");
  Fill(3, 1);
  EXPECT_EQ(Column(0, 1), (Texts{"", "", "DD1, DD3, ", "DD5, DD7", "DD2"}));
  EXPECT_EQ(Column(0, 2), (Texts{std::string("Микросхемы"_cp), "", "Chip 1", "", "Chip 2"}));
}

TEST_F(FillListTest, SheetsAreAddedOnlyWhenNeededAndCountedInTheTitleBlock) {
  AddChips(23);  // rows 2 to 24: exactly to the last usable row
  Fill(0, 1);
  EXPECT_EQ(sheets_.sheet_count(), 1u);
  EXPECT_EQ(SheetNumber(), "");
  EXPECT_EQ(SheetCount(), "1");

  list_.Clear();
  AddChips(23 + 31 + 1);  // a full first sheet, a full second (31 usable rows), one more
  Fill(0, 1);
  ASSERT_EQ(sheets_.sheet_count(), 3u);
  EXPECT_EQ(Text(1, 0, 1), "DD24");  // no gap at the top of a sheet
  EXPECT_EQ(Text(1, 30, 1), "DD54");
  EXPECT_EQ(Column(2, 1), (Texts{"DD55"}));
  EXPECT_EQ(SheetNumber(), "1");
  EXPECT_EQ(SheetCount(), "3");
  EXPECT_EQ(sheets_.sheet(1).title_field(TitleField::kSheetCount), "");

  // Filling again starts from one sheet.
  list_.Clear();
  AddChips(1);
  Fill(0, 1);
  EXPECT_EQ(sheets_.sheet_count(), 1u);
  EXPECT_EQ(Column(0, 1), (Texts{"DD1"}));  // a lone chip: no heading
  EXPECT_EQ(Text(0, 0, 2), "Микросхема Chip 1"_cp);
}

TEST_F(FillListTest, ValuesAreCheckedWithTheNameTextAsType) {
  Add("R1", "Р1-12-0,125-4,6 кОм-5%"_cp);  // lone, off the E24 series
  Add("VT1", "KT3102");
  Add("RK1", "nothing to check");  // a resistor's kind, but not checked
  Fill(3, 1);
  EXPECT_TRUE(mismatch_);
  EXPECT_EQ(check_.mismatch_count(), 1u);
  EXPECT_EQ(check_.unanalysable_count(), 0u);
  EXPECT_NE(check_.RenderReport().find("Type=Резистор Р1-12-0,125-4,6 кОм-5%"_cp), std::string::npos);
}

TEST_F(FillListTest, EndsWhateverTheFillParametersHold) {
  // Every row of the first sheet left empty at its end: everything goes onto following sheets of 3 rows.
  AddChips(3);
  Fill(0, 29);
  ASSERT_EQ(sheets_.sheet_count(), 3u);
  EXPECT_TRUE(Column(0, 2).empty());
  EXPECT_EQ(Column(1, 2), (Texts{std::string("Микросхемы"_cp), "", "Chip 1"}));
  EXPECT_EQ(Column(2, 2), (Texts{"Chip 2", "Chip 3"}));

  // Out-of-range values stored in a table are brought into range.
  list_.Clear();
  AddChips(5);
  Fill(-7, 500);
  ASSERT_EQ(sheets_.sheet_count(), 4u);
  EXPECT_EQ(Column(3, 1), (Texts{"DD5"}));
}

TEST(FindListColumnsTest, LastAttributeOfAHeadingWinsInMapOrder) {
  const archive::StringMap headings{{"A", std::string("Примечание"_cp)},
                                    {"B", std::string("Примечание"_cp)},
                                    {"Name", std::string("Наименование"_cp)},
                                    {"Qty", ""}};
  EXPECT_EQ(FindListColumns(headings), (ListColumns{"", "Name", "", "B"}));
}

}  // namespace
}  // namespace tallyform::document
