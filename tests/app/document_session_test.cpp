#include "app/document_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/value_report.h"
#include "document/document.h"
#include "elements/default_headings.h"
#include "model/element_kinds.h"
#include "model/errors.h"
#include "support/fake_ports.h"
#include "support/random_designs.h"
#include "support/temp_folder.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using document::Document;

class DocumentSessionTest : public ::testing::Test {
 protected:
  DocumentSessionTest() { kinds_.FillBuiltIn(); }

  static elements::ListData ListData(model::DocumentKind kind) {
    elements::ListData data;
    elements::ApplyDefaultHeadings(data.headings, data.roles, kind);
    return data;
  }
  void Add(elements::ListData& data, std::string_view designator, std::string_view type,
           std::string_view quantity = "1") {
    auto e = std::make_unique<elements::Element>();
    e->Set("RefDes", designator);
    e->Set("Type", type);
    e->Set(model::kQuantity, quantity);
    e->Set("Group", kinds_.PluralName(designator));
    e->Set("RowsInGroup", "1");
    e->Set(model::kFile, "board.pcb");
    data.elements.Append(std::move(e));
  }
  void Fill(DocumentSession& session, elements::ListData data,
            elements::MergeChoice merge = elements::MergeChoice::kSeparateLists) {
    session.Apply(commands::Fill{{std::move(data), {}, merge}, Tools()});
  }
  document::FillTools Tools() { return {measurer_, kinds_, series_, report_path()}; }
  std::filesystem::path report_path() const { return folder_ / "errors.log"; }

  testing::TempFolder folder_;
  std::shared_ptr<const valuecheck::ValueSeries> series_ = std::make_shared<const valuecheck::ValueSeries>();
  model::ElementKinds kinds_;
  testing::FakeTextMeasurer measurer_;
};

TEST_F(DocumentSessionTest, FillsFromAPreparedCopyAndWritesTheReportOnce) {
  DocumentSession session(Document(model::DocumentKind::kElementList));
  elements::ListData data = ListData(model::DocumentKind::kElementList);
  for (const char* d : {"R1", "R2", "R3"}) Add(data, d, "Р1-12-0,125-10 кОм-5%"_cp);
  Add(data, "R4", "Р1-12-0,125-4,6 кОм-5%"_cp);
  const elements::ComponentList handed = data.elements;

  Fill(session, std::move(data));

  const Document& document = session.document();
  EXPECT_EQ(document.data().elements, handed);  // joined only in the copy
  EXPECT_EQ(document.sheets().sheet(0).cell(2, 1).text(), "R1...R3");
  EXPECT_EQ(document.sheets().sheet(0).cell(3, 1).text(), "R4");
  EXPECT_TRUE(document.modified());
  EXPECT_TRUE(document.mismatch());
  // The report is written, and the document keeps it.
  EXPECT_NE(testing::FileBytes(report_path()).find("RefDes=R4"), std::string::npos);
  ASSERT_NE(document.value_report(), nullptr);
  EXPECT_EQ(document.value_report()->mismatch_count(), 1u);

  // The fill is one step: undo gives back the empty sheet, while the list keeps what was handed.
  ASSERT_TRUE(session.Undo());
  EXPECT_TRUE(document.sheets().sheet(0).cell(2, 1).IsEmpty());
  EXPECT_EQ(document.data().elements, handed);
  ASSERT_TRUE(session.Redo());
  EXPECT_EQ(document.sheets().sheet(0).cell(2, 1).text(), "R1...R3");
}

TEST_F(DocumentSessionTest, StartsTheReportAfreshWhenValuesFit) {
  valuecheck::ValueCheck earlier(series_, report_path());  // another run's report in the same file
  ASSERT_FALSE(earlier.CheckResistor("R99", std::string("Р1-12-0,125-4,6 кОм-5%"_cp), "", "old.pcb"));
  DocumentSession session(Document(model::DocumentKind::kElementList));
  elements::ListData bad = ListData(model::DocumentKind::kElementList);
  Add(bad, "R4", "Р1-12-0,125-4,6 кОм-5%"_cp);
  Fill(session, std::move(bad));
  ASSERT_TRUE(session.document().mismatch());
  elements::ListData good = ListData(model::DocumentKind::kElementList);
  Add(good, "R1", "Р1-12-0,125-10 кОм-5%"_cp);

  Fill(session, std::move(good));

  EXPECT_FALSE(session.document().mismatch());
  EXPECT_EQ(session.document().value_report()->mismatch_count(), 0u);
  EXPECT_EQ(testing::FileBytes(report_path()).find("R99"), std::string::npos);
}

TEST_F(DocumentSessionTest, FillsBothBillsFromPreparedCopies) {
  DocumentSession bill(Document(model::DocumentKind::kPurchasedBill));
  elements::ListData data = ListData(model::DocumentKind::kPurchasedBill);
  Add(data, "R1", "Р1-12"_cp, "2");
  Add(data, "C1", "К10-17б"_cp);
  Add(data, "R2", "р1-12"_cp, "3");
  const elements::ComponentList handed = data.elements;
  Fill(bill, std::move(data));
  EXPECT_EQ(bill.document().data().elements, handed);
  // The two resistors differ only in letter case: merged, wherever they stood.
  const document::CTableRows& sheet = bill.document().sheets().sheet(0);
  EXPECT_EQ(sheet.cell(0, 1).text(), "Резисторы"_cp);
  EXPECT_EQ(sheet.cell(2, 6).text(), "5");
  EXPECT_EQ(sheet.cell(6, 1).text(), "Конденсаторы"_cp);

  for (const auto merge : {elements::MergeChoice::kSeparateLists, elements::MergeChoice::kOneList}) {
    DocumentSession simple(Document(model::DocumentKind::kSimpleBill));
    elements::ListData list = ListData(model::DocumentKind::kSimpleBill);
    Add(list, "DD1", "К561ЛА7"_cp);
    Fill(simple, std::move(list), merge);
    EXPECT_EQ(simple.document().sheets().sheet(0).cell(4, 0).text(), "1");
    EXPECT_EQ(simple.document().sheets().sheet(0).section_file(),
              merge == elements::MergeChoice::kSeparateLists ? "board.pcb" : "");
  }
}

TEST_F(DocumentSessionTest, EachDocumentKeepsTheReportOfItsOwnFill) {
  // One report for the whole program once let the fill of one document wipe the report another offered.
  DocumentSession first(Document(model::DocumentKind::kElementList));
  elements::ListData bad = ListData(model::DocumentKind::kElementList);
  Add(bad, "R4", "Р1-12-0,125-4,6 кОм-5%"_cp);
  Fill(first, std::move(bad));
  DocumentSession second(Document(model::DocumentKind::kElementList));
  elements::ListData good = ListData(model::DocumentKind::kElementList);
  Add(good, "R1", "Р1-12-0,125-10 кОм-5%"_cp);
  Fill(second, std::move(good));
  EXPECT_EQ(testing::FileBytes(report_path()).find("R4"), std::string::npos);

  EXPECT_EQ(first.document().value_report()->mismatch_count(), 1u);
  EXPECT_EQ(second.document().value_report()->mismatch_count(), 0u);
  // Showing the first document's report writes its report before the shell opens it.
  testing::FakeShell shell;
  testing::FakePrompts prompts;
  ShowDocumentReport(first.document(), report_path(), shell, prompts);
  EXPECT_NE(testing::FileBytes(report_path()).find("RefDes=R4"), std::string::npos);
  ASSERT_EQ(shell.opened, std::vector<std::filesystem::path>{report_path()});

  // A document never filled shows the file there is, and says when there is none yet (once, nothing
  // visible happened at all).
  const Document fresh(model::DocumentKind::kElementList);
  ShowDocumentReport(fresh, report_path(), shell, prompts);
  EXPECT_EQ(shell.opened.size(), 2u);
  ShowDocumentReport(fresh, folder_ / "none.log", shell, prompts);
  EXPECT_EQ(shell.opened.size(), 2u);
  EXPECT_EQ(prompts.Texts(testing::FakePrompts::Kind::kInformation),
            std::vector<std::string>{std::string(kNoReportYet)});

  // A report that cannot be written is an error naming it, and nothing is opened.
  std::filesystem::remove(report_path());
  std::filesystem::create_directory(report_path());
  folder_.Write("errors.log/inside", "x");
  EXPECT_THROW(ShowDocumentReport(first.document(), report_path(), shell, prompts), UnreadableFile);
  EXPECT_EQ(shell.opened.size(), 2u);
}

TEST_F(DocumentSessionTest, RescalesTheQuantitiesOfASectionAndRefusesWhereNoSectionStarts) {
  DocumentSession session(Document(model::DocumentKind::kSimpleBill));
  elements::ListData data = ListData(model::DocumentKind::kSimpleBill);
  Add(data, "R1", "Р1-12-0,125-10 кОм-5%"_cp, "2");
  Add(data, "C1", "К10-17б-0,1 мкФ"_cp, "3");
  Add(data, "DD1", "К561ЛА7"_cp, "5");
  Fill(session, std::move(data));
  session.Apply(commands::NumberOfProducts{0, 2});
  // A change puts new tables in place: a table is looked up again after each.
  const auto quantities = [&session] {
    std::vector<std::string> texts;
    for (const document::CRow& row : session.document().sheets().sheet(0).rows()) {
      if (!row.cell(3).IsEmpty()) texts.push_back(row.cell(3).text());
    }
    return texts;
  };
  const auto products = [&session] { return session.document().sheets().sheet(0).number_of_products(); };
  const std::vector<std::string> doubled = quantities();
  // n = 3 after o = 2: 2, 3 and 5 become 3, 3 and 6.
  session.Apply(commands::NumberOfProducts{0, 3});
  const std::vector<std::string> rescaled = quantities();
  ASSERT_EQ(doubled.size(), 3u);
  ASSERT_EQ(rescaled.size(), 3u);
  EXPECT_EQ(products(), 3);
  for (std::size_t i = 0; i < doubled.size(); ++i) {
    EXPECT_EQ(rescaled[i], std::to_string(3 * (std::stoi(doubled[i]) / 2))) << i;
  }
  // Zero products: every quantity 0, and the section can no longer be rescaled.
  session.Apply(commands::NumberOfProducts{0, 0});
  EXPECT_EQ(quantities(), (std::vector<std::string>{"0", "0", "0"}));
  EXPECT_FALSE(session.Enabled({1}).number_of_products);
  EXPECT_THROW(session.Apply(commands::NumberOfProducts{0, 4}), BadUsage);
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(products(), 3);

  DocumentSession list(Document(model::DocumentKind::kElementList));
  EXPECT_THROW(list.Apply(commands::NumberOfProducts{0, 2}), BadUsage);
  EXPECT_FALSE(list.document().modified());
}

TEST_F(DocumentSessionTest, TheEnabledCommandsFollowTheRingTheSheetShownAndTheList) {
  DocumentSession session(Document(model::DocumentKind::kPurchasedBill));
  EnabledCommands none = session.Enabled({1});
  EXPECT_FALSE(none.undo || none.redo || none.paste_rows || none.first_sheet || none.previous_sheet ||
               none.next_sheet || none.last_sheet || none.number_of_products);
  // A new, empty document fills from the list its element list window gathers.
  EXPECT_TRUE(none.fill && none.title_block && none.text_heights && none.line_widths);

  elements::ListData data = ListData(model::DocumentKind::kPurchasedBill);
  for (int i = 1; i <= 120; ++i) Add(data, "R" + std::to_string(i), "Р1-12-" + std::to_string(i));
  Fill(session, std::move(data));
  const int count = static_cast<int>(session.document().sheets().sheet_count());
  ASSERT_GE(count, 3);
  const EnabledCommands first = session.Enabled({1});
  EXPECT_TRUE(first.undo && first.fill && first.next_sheet && first.last_sheet);
  EXPECT_FALSE(first.redo || first.first_sheet || first.previous_sheet);
  const EnabledCommands middle = session.Enabled({2});
  EXPECT_TRUE(middle.first_sheet && middle.previous_sheet && middle.next_sheet && middle.last_sheet);
  const EnabledCommands last = session.Enabled({count});
  EXPECT_TRUE(last.first_sheet && last.previous_sheet);
  EXPECT_FALSE(last.next_sheet || last.last_sheet);
  session.Undo();
  EXPECT_TRUE(session.Enabled({1}).redo);
  EXPECT_FALSE(DocumentSession(Document(model::DocumentKind::kSimpleBill)).Enabled({1}).title_block);
}

// What the undo ring keeps of a document, to compare states by.
struct Kept {
  std::vector<document::CTableRows> sheets;
  std::string editor;
  explicit Kept(const Document& document) : editor(document.editor_name()) {
    for (const auto& sheet : document.sheets().sheets()) sheets.push_back(*sheet);
  }
  friend bool operator==(const Kept&, const Kept&) = default;
};

// Random documents of every kind take random runs of the session's commands, undos and redos. After every
// step the document is the state a plain history of five states says, each change was told once (with
// the modified mark when it went on), a command that fails changes and tells nothing, and the enabling of
// undo and redo follows the history.
TEST_F(DocumentSessionTest, RandomRunsOfCommandsKeepOneRoadAndAnExactHistory) {
  struct Fill {
    model::DocumentKind kind;
    elements::MergeChoice merge;
  };
  const Fill fills[] = {{model::DocumentKind::kElementList, elements::MergeChoice::kSeparateLists},
                        {model::DocumentKind::kPurchasedBill, elements::MergeChoice::kSeparateLists},
                        {model::DocumentKind::kSimpleBill, elements::MergeChoice::kSeparateLists},
                        {model::DocumentKind::kSimpleBill, elements::MergeChoice::kOneList}};
  testing::FakeFillPorts ports(report_path());
  int failures = 0;
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    testing::SeededChoices choices(seed);
    const std::vector<testing::GeneratedDesign> designs = testing::GenerateDesigns(choices);
    std::mt19937 random(seed);
    for (const Fill& fill : fills) {
      DocumentSession session = testing::FillDesigns(
          designs, fill.kind, fill.merge, testing::GenerateParameters(choices, fill.kind), ports.tools());
      std::vector<DocumentChange> told;
      const Subscription subscription =
          session.Subscribe([&](const DocumentChange& c) { told.push_back(c); });
      // The history so far: the empty document, then the fill.
      ASSERT_TRUE(session.Undo());
      std::vector<Kept> history{Kept(session.document())};
      ASSERT_TRUE(session.Redo());
      history.emplace_back(session.document());
      std::size_t at = 1;
      told.clear();

      for (int step = 0; step < 40; ++step) {
        const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
        const std::size_t sheets = session.document().sheets().sheet_count();
        const bool was_modified = session.document().modified();
        const Kept before(session.document());
        const unsigned what = random() % 10;
        if (what < 2) {
          const bool done = what == 0 ? session.Undo() : session.Redo();
          ASSERT_EQ(done, what == 0 ? at > 0 : at + 1 < history.size()) << where;
          if (done) at = what == 0 ? at - 1 : at + 1;
          ASSERT_EQ(told.size(), done ? 1u : 0u) << where;
        } else {
          Command command;
          switch (what) {
            case 2:
              command = commands::EditorName{"editor " + std::to_string(random() % 1000)};
              break;
            case 3:
              command = commands::TitleBlock{
                  {{static_cast<document::TitleField>(random() % document::kTitleFieldCount),
                    "text " + std::to_string(random() % 1000)}},
                  random() % 2 == 0,
                  document::TitleTextHeights{2.5, 3.5, 4.5, static_cast<double>(random() % 10)}};
              break;
            case 4:
              command = commands::TextHeights{{{5, 5, 5, 3}, 1.0 + static_cast<double>(random() % 70) / 10}};
              break;
            case 5:
              command = commands::LineWidths{{0.1 * static_cast<double>(random() % 20), 0.2}};
              break;
            case 6:
            case 7:
              command =
                  commands::NumberOfProducts{random() % (sheets + 1), static_cast<int>(random() % 7) - 1};
              break;
            default:
              command = commands::Fill{
                  {session.document().data(), testing::GenerateParameters(choices, fill.kind), fill.merge},
                  ports.tools()};
          }
          bool failed = false;
          try {
            session.Apply(std::move(command));
          } catch (const BadUsage&) {
            failed = true;
            ++failures;
          }
          if (failed) {
            ASSERT_TRUE(Kept(session.document()) == before) << where;
            ASSERT_TRUE(told.empty()) << where;
            ASSERT_EQ(session.document().modified(), was_modified) << where;
            continue;
          }
          ASSERT_EQ(told.size(), 1u) << where;
          ASSERT_TRUE(session.document().modified()) << where;
          history.erase(history.begin() + static_cast<std::ptrdiff_t>(at) + 1, history.end());
          history.emplace_back(session.document());
          if (history.size() > document::RingIndices::kSlots) history.erase(history.begin());
          at = history.size() - 1;
        }
        if (!told.empty()) {
          ASSERT_EQ(told.front().Touches(DocumentChange::kModified), !was_modified) << where;
          told.clear();
        }
        ASSERT_TRUE(Kept(session.document()) == history[at]) << where;
        const EnabledCommands enabled = session.Enabled({1});
        ASSERT_EQ(enabled.undo, at > 0) << where;
        ASSERT_EQ(enabled.redo, at + 1 < history.size()) << where;
      }
    }
  }
  EXPECT_GT(failures, 0);  // the runs did meet sections that cannot be rescaled
}

TEST_F(DocumentSessionTest, SavingTellsTheEditorAndTheSaveAndIsNoStep) {
  DocumentSession session(Document(model::DocumentKind::kElementList), 2);
  EXPECT_EQ(session.Title(), "Enumeration2");
  std::vector<DocumentChange> told;
  const Subscription subscription = session.Subscribe([&](const DocumentChange& c) { told.push_back(c); });
  session.Apply(commands::EditorName{std::string("Петров"_cp)});
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].aspects, DocumentChange::kEditor | DocumentChange::kModified);
  EXPECT_FALSE(told[0].TouchesSheet(0));

  testing::FakeSystemInfo system;
  session.Save(folder_ / "a.enum", std::string("Иванов"_cp), system);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[1].aspects, DocumentChange::kSaved | DocumentChange::kEditor | DocumentChange::kModified);
  EXPECT_FALSE(session.document().modified());
  EXPECT_EQ(session.Title(), "a.enum");
  EXPECT_EQ(session.undo_indices().undo_steps(), 1);  // the editor's change, not the save
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(session.document().editor_name(), "");
}

}  // namespace
}  // namespace tallyform::app
