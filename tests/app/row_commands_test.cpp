// The row commands of the document session: random runs on generated documents of every kind (the promises
// of support/row_commands.h), and the cases where rows or sheets once went missing.

#include "support/row_commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/document_session.h"
#include "document/row_edits.h"
#include "model/errors.h"
#include "support/fake_text_measurer.h"
#include "support/made_documents.h"
#include "support/temp_folder.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using document::SheetSet;
using document::TitleField;
using model::DocumentKind;

TEST(RowCommandsTest, RandomRunsOnGeneratedDocumentsKeepEveryRowAndUndoExactly) {
  struct Fill {
    DocumentKind kind;
    elements::MergeChoice merge;
  };
  const Fill fills[] = {{DocumentKind::kElementList, elements::MergeChoice::kSeparateLists},
                        {DocumentKind::kPurchasedBill, elements::MergeChoice::kSeparateLists},
                        {DocumentKind::kSimpleBill, elements::MergeChoice::kSeparateLists},
                        {DocumentKind::kSimpleBill, elements::MergeChoice::kOneList}};
  testing::TempFolder folder;
  testing::FakeFillPorts ports(folder / "errors.log");
  for (std::uint32_t seed = 1; seed <= 8; ++seed) {
    for (const Fill& fill : fills) {
      testing::SeededChoices choices(seed);
      const std::vector<std::string> broken =
          testing::RunRowCommands(choices, fill.kind, fill.merge, ports.tools(), 60);
      EXPECT_TRUE(broken.empty()) << "seed " << seed << ", kind " << static_cast<int>(fill.kind) << ": "
                                  << broken.front();
    }
  }
}

// Sheets of a list of elements whose rows hold the texts given, by sheet and row, in the quantity cell.
DocumentSession Session(std::size_t sheets, std::vector<std::pair<std::size_t, int>> filled) {
  return DocumentSession(testing::MakeDocument(DocumentKind::kElementList, {}, [&](SheetSet& set) {
    while (set.sheet_count() < sheets) set.AddSheet(15);
    for (const auto& [sheet, row] : filled) {
      set.sheet(sheet)
          .cell(static_cast<std::size_t>(row), 3)
          .SetText(std::to_string(sheet) + "/" + std::to_string(row));
    }
    set.sheet(0).SetTitleField(TitleField::kSheetNumber, sheets > 1 ? "1" : "");
    set.sheet(0).SetTitleField(TitleField::kSheetCount, std::to_string(sheets));
  }));
}

TEST(RowCommandsTest, CuttingLinesThatEmptyTheLastSheetRemovesItOnceTheCutIsDone) {
  // Each cut once removed an emptied last sheet, and the next cut then addressed a sheet that was gone.
  DocumentSession session = Session(2, {{0, 0}, {1, 0}});
  session.Apply(commands::CutRows{1, {0, 1, 2}});
  const SheetSet& sheets = session.document().sheets();
  ASSERT_EQ(sheets.sheet_count(), 1u);
  ASSERT_EQ(session.row_clipboard().size(), 3u);
  EXPECT_EQ(session.row_clipboard()[0][3].text, "1/0");
  // A single sheet shows no sheet number, and the count follows.
  EXPECT_EQ(sheets.sheet(0).title_field(TitleField::kSheetNumber), "");
  EXPECT_EQ(sheets.sheet(0).title_field(TitleField::kSheetCount), "1");

  // Pasting the rows at the last row brings the sheet back, numbered; only the first sheet stays when
  // everything is cut.
  session.Apply(commands::PasteRows{0, 25});
  EXPECT_TRUE(session.row_clipboard().empty());
  ASSERT_EQ(sheets.sheet_count(), 2u);
  EXPECT_EQ(sheets.sheet(0).cell(25, 3).text(), "1/0");
  EXPECT_EQ(sheets.sheet(0).title_field(TitleField::kSheetNumber), "1");
  EXPECT_EQ(sheets.sheet(0).title_field(TitleField::kSheetCount), "2");
  EXPECT_THROW(session.Apply(commands::PasteRows{0, 0}), BadUsage);
  session.Apply(commands::CutRows{0, {0, 25}});
  EXPECT_EQ(sheets.sheet_count(), 1u);
}

TEST(RowCommandsTest, TheSheetFieldsTheUserTypedStay) {
  DocumentSession session = Session(2, {{1, 0}});
  session.Apply(
      commands::TitleBlock{{{TitleField::kSheetNumber, "7"}, {TitleField::kSheetCount, "9"}}, {}, {}});
  session.Apply(commands::DeleteRow{1, 0});
  ASSERT_EQ(session.document().sheets().sheet_count(), 1u);
  EXPECT_EQ(session.document().settings_table().title_field(TitleField::kSheetNumber), "7");
  EXPECT_EQ(session.document().settings_table().title_field(TitleField::kSheetCount), "9");
}

TEST(RowCommandsTest, FiveRowChangesAndFourUndosGoBackToTheFirstChange) {
  testing::TempFolder folder;
  testing::FakeFillPorts ports(folder / "errors.log");
  DocumentSession session = Session(1, {{0, 0}, {0, 24}});
  const SheetSet& sheets = session.document().sheets();
  std::vector<std::string> states{testing::SheetBytes(sheets)};
  const std::vector<Command> changes{
      commands::InsertRow{0, 0},
      commands::CellText{0, 24, 2, std::string(200, 'x') + " " + std::string(40, 'y'), {}, ports.tools()},
      commands::CopyRows{0, {1}},
      commands::PasteRows{0, 25},
      commands::DeleteRow{0, 1},
  };
  for (const Command& change : changes) {
    session.Apply(change);
    states.push_back(testing::SheetBytes(sheets));
  }
  ASSERT_EQ(sheets.sheet_count(), 2u);  // the wrapped name went on over the end of the sheet
  for (int undo = 4; undo >= 1; --undo) {
    ASSERT_TRUE(session.Undo());
    EXPECT_EQ(testing::SheetBytes(sheets), states[static_cast<std::size_t>(undo)]) << undo;
  }
  EXPECT_FALSE(session.Undo());
  EXPECT_TRUE(session.row_clipboard().empty());  // the paste emptied it; undo leaves it so
}

TEST(RowCommandsTest, AnEditedNameIsCheckedAgainAndItsQuestionAsked) {
  testing::TempFolder folder;
  testing::FakeFillPorts ports(folder / "errors.log");
  DocumentSession session(testing::MakeDocument(DocumentKind::kElementList, {}, [](SheetSet& set) {
    set.sheet(0).cell(0, 1).SetText("R4");
    set.sheet(0).cell(1, 1).SetText("C1");
    set.sheet(0).cell(2, 1).SetText("DD1");
  }));
  ASSERT_EQ(session.document().value_report(), nullptr);  // as opened from a file
  const auto edit = [&](int row, int cell, std::string_view text) {
    return session.Apply(commands::CellText{0, row, cell, std::string(text), {}, ports.tools()}).value_off;
  };

  EXPECT_EQ(edit(0, 2, "Р1-12-0,125-4,6 кОм-5%"_cp), ValueOff::kResistor);
  EXPECT_TRUE(session.document().mismatch());
  ASSERT_NE(session.document().value_report(), nullptr);
  EXPECT_EQ(session.document().value_report()->mismatch_count(), 1u);
  EXPECT_EQ(
      ValueOffQuestion(ValueOff::kResistor),
      "Номинал резистора в отредактированной ячейке\nне соответствует его заданной точности.\nПоказать отчет?"_cp);

  // Corrected, the element's entry goes from the report; the flag stays until the next fill.
  EXPECT_EQ(edit(0, 2, "Р1-12-0,125-4,7 кОм-5%"_cp), ValueOff::kNone);
  EXPECT_EQ(session.document().value_report()->mismatch_count(), 0u);
  EXPECT_EQ(
      session.Apply(commands::CellText{0, 1, 2, std::string("К10-17-4,6 мкФ-1%"_cp), 0x200001, ports.tools()})
          .value_off,
      ValueOff::kCapacitor);
  EXPECT_NE(ValueOffQuestion(ValueOff::kCapacitor).find("конденсатора"_cp), std::string::npos);
  // Neither another element, nor another cell, nor another kind is checked.
  EXPECT_EQ(edit(2, 2, "4,6 кОм-5%"_cp), ValueOff::kNone);
  EXPECT_EQ(edit(0, 4, "4,6 кОм-5%"_cp), ValueOff::kNone);
  DocumentSession bill(document::Document(DocumentKind::kPurchasedBill));
  EXPECT_EQ(bill.Apply(commands::CellText{0, 0, 1, "R4", {}, ports.tools()}).value_off, ValueOff::kNone);
}

}  // namespace
}  // namespace tallyform::app
