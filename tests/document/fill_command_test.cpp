#include "document/fill_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/document.h"
#include "elements/default_headings.h"
#include "model/element_kinds.h"
#include "support/fake_ports.h"
#include "support/fake_text_measurer.h"
#include "support/temp_folder.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;

class FillCommandTest : public ::testing::Test {
 protected:
  FillCommandTest() { kinds_.FillBuiltIn(); }

  Document MakeDocument(model::DocumentKind kind) {
    Document document(kind);
    elements::ListData& data = document.data();
    data.roles = model::DefaultRoles();
    elements::ApplyDefaultHeadings(data.headings, data.roles, kind);
    return document;
  }
  void Add(Document& document, std::string_view designator, std::string_view type) {
    auto e = std::make_unique<elements::Element>();
    e->Set("RefDes", designator);
    e->Set("Type", type);
    e->Set(model::kQuantity, "1");
    e->Set("Group", kinds_.PluralName(designator));
    e->Set("RowsInGroup", "1");
    e->Set(model::kFile, "board.pcb");
    document.data().elements.Append(std::move(e));
  }
  void Fill(Document& document) { FillDocument(document, Context()); }
  FillCommandContext Context() { return {measurer_, kinds_, series_, report_path()}; }
  std::filesystem::path report_path() const { return folder_ / "errors.log"; }

  testing::TempFolder folder_;
  std::shared_ptr<const valuecheck::ValueSeries> series_ = std::make_shared<const valuecheck::ValueSeries>();
  model::ElementKinds kinds_;
  testing::FakeTextMeasurer measurer_;
};

TEST_F(FillCommandTest, FillsFromAPreparedCopyAndWritesTheReportOnce) {
  Document document = MakeDocument(model::DocumentKind::kElementList);
  for (const char* d : {"R1", "R2", "R3"}) Add(document, d, "Р1-12-0,125-10 кОм-5%"_cp);
  Add(document, "R4", "Р1-12-0,125-4,6 кОм-5%"_cp);
  const elements::ComponentList before = document.data().elements;

  Fill(document);

  EXPECT_EQ(document.data().elements, before);  // joined only in the copy
  EXPECT_EQ(document.sheets().sheet(0).cell(2, 1).text(), "R1...R3");
  EXPECT_EQ(document.sheets().sheet(0).cell(3, 1).text(), "R4");
  EXPECT_TRUE(document.modified());
  EXPECT_TRUE(document.mismatch());
  // The report is written, and the document keeps it.
  EXPECT_NE(testing::FileBytes(report_path()).find("RefDes=R4"), std::string::npos);
  ASSERT_NE(document.value_report(), nullptr);
  EXPECT_EQ(document.value_report()->mismatch_count(), 1u);
}

TEST_F(FillCommandTest, StartsTheReportAfreshWhenValuesFit) {
  valuecheck::ValueCheck earlier(series_, report_path());  // another run's report in the same file
  ASSERT_FALSE(earlier.CheckResistor("R99", std::string("Р1-12-0,125-4,6 кОм-5%"_cp), "", "old.pcb"));
  Document document = MakeDocument(model::DocumentKind::kElementList);
  document.SetMismatch(true);
  Add(document, "R1", "Р1-12-0,125-10 кОм-5%"_cp);

  Fill(document);

  EXPECT_FALSE(document.mismatch());
  EXPECT_EQ(document.value_report()->mismatch_count(), 0u);
  EXPECT_EQ(testing::FileBytes(report_path()).find("R99"), std::string::npos);
}

TEST_F(FillCommandTest, FillsBothBillsFromPreparedCopies) {
  Document bill = MakeDocument(model::DocumentKind::kPurchasedBill);
  Add(bill, "R1", "Р1-12"_cp);
  Add(bill, "C1", "К10-17б"_cp);
  Add(bill, "R2", "р1-12"_cp);
  bill.data().elements.at(0).Set(model::kQuantity, "2");
  bill.data().elements.at(2).Set(model::kQuantity, "3");
  const elements::ComponentList before = bill.data().elements;
  Fill(bill);
  EXPECT_EQ(bill.data().elements, before);
  // The two resistors differ only in letter case: merged, wherever they stood.
  const CTableRows& sheet = bill.sheets().sheet(0);
  EXPECT_EQ(sheet.cell(0, 1).text(), "Резисторы"_cp);
  EXPECT_EQ(sheet.cell(2, 6).text(), "5");
  EXPECT_EQ(sheet.cell(6, 1).text(), "Конденсаторы"_cp);
  EXPECT_TRUE(bill.modified());

  for (const auto merge : {elements::MergeChoice::kSeparateLists, elements::MergeChoice::kOneList}) {
    Document simple = MakeDocument(model::DocumentKind::kSimpleBill);
    Add(simple, "DD1", "К561ЛА7"_cp);
    FillDocument(simple, Context(), merge);
    EXPECT_EQ(simple.sheets().sheet(0).cell(4, 0).text(), "1");
    EXPECT_EQ(simple.sheets().sheet(0).section_file(),
              merge == elements::MergeChoice::kSeparateLists ? "board.pcb" : "");
  }
}

TEST_F(FillCommandTest, EachDocumentKeepsTheReportOfItsOwnFill) {
  // One report for the whole program once let the fill of one document wipe the report another offered.
  Document first = MakeDocument(model::DocumentKind::kElementList);
  Add(first, "R4", "Р1-12-0,125-4,6 кОм-5%"_cp);
  Fill(first);
  Document second = MakeDocument(model::DocumentKind::kElementList);
  Add(second, "R1", "Р1-12-0,125-10 кОм-5%"_cp);
  Fill(second);
  EXPECT_EQ(testing::FileBytes(report_path()).find("R4"), std::string::npos);

  ASSERT_NE(first.value_report(), nullptr);
  EXPECT_EQ(first.value_report()->mismatch_count(), 1u);
  EXPECT_EQ(second.value_report()->mismatch_count(), 0u);
  // Showing the first document's report writes its report before the shell opens it.
  testing::FakeShell shell;
  valuecheck::ShowReport(shell, *first.value_report());
  EXPECT_NE(testing::FileBytes(report_path()).find("RefDes=R4"), std::string::npos);
  ASSERT_EQ(shell.opened.size(), 1u);
}

}  // namespace
}  // namespace tallyform::document
