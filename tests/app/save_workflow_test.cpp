#include "app/save_workflow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/document_session.h"
#include "document/document.h"
#include "elements/default_headings.h"
#include "model/messages.h"
#include "model/platform.h"
#include "support/fake_ports.h"
#include "support/random_designs.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using document::Document;
using document::TitleField;
using model::DocumentKind;
using testing::FakePrompts;
using testing::FakeSettingsStore;
using testing::FakeShell;
using testing::FakeSystemInfo;
using testing::TempFolder;
using Kind = FakePrompts::Kind;
using std::filesystem::path;

TEST(SaveWorkflowTest, TheNextVersionChangesTheNumberOfTheFileNameOnly) {
  EXPECT_EQ(NextVersionPath(u8"/a/Плата1/R_5_5.enum"), path(u8"/a/Плата1/R_6_6.enum"));
  EXPECT_EQ(NextVersionPath("/a/2021/R_5_5.enum"), path("/a/2021/R_6_6.enum"));
  EXPECT_EQ(NextVersionPath("/a/x_5/R_5.enum"), path("/a/x_5/R_6.enum"));
  EXPECT_EQ(NextVersionPath("A_1.enum"), path("A_2.enum"));
  EXPECT_EQ(NextVersionPath("A_09.enum"), path("A_10.enum"));
  EXPECT_EQ(NextVersionPath("A_99.enum"), path("A_100.enum"));
  EXPECT_EQ(NextVersionPath("R15_5.enum"), path("R15_6.enum"));    // not inside another number
  EXPECT_EQ(NextVersionPath("A_3b.x.enum"), path("A_4b.x.enum"));  // up to the last dot
  for (const char* same : {"A.enum", "A_0.enum", "A_x.enum", "A_.enum", "A.b_1", "A_1", "/a_1/B.enum"}) {
    EXPECT_EQ(NextVersionPath(same), std::nullopt) << same;
  }
}

// Sets the document's designation, as the title block dialog does.
void Designate(DocumentSession& session, std::string_view designation) {
  session.Apply(commands::TitleBlock{{{TitleField::kDesignation, std::string(designation)}}, {}, {}});
}

TEST(SaveWorkflowTest, ANewNameComesFromTheDesignationOrTheTitle) {
  // A new document's title carries its number: "Enumeration2" was once offered as "Enumeration.enum".
  DocumentSession session(Document(model::DocumentKind::kElementList), 2);
  const Document& doc = session.document();
  EXPECT_EQ(NewNameProposal(doc, session.Title()), path("Enumeration2.enum"));
  EXPECT_EQ(NewNameProposal(doc, "Enumeration"), path("Enumeration.enum"));
  Designate(session, "АБВГ.468.001 ПЭ3"_cp);
  EXPECT_EQ(NewNameProposal(doc, session.Title()), path(u8"АБВГ.468.001 ПЭ3_1.enum"));
  Designate(session, "АБВ;1/2"_cp);
  EXPECT_EQ(NewNameProposal(doc, session.Title()), path(u8"АБВ.enum"));

  TempFolder folder;
  FakeSystemInfo system;
  Designate(session, "");
  session.Save(folder / "plate.ENUM", std::nullopt, system);
  EXPECT_EQ(NewNameProposal(doc, session.Title()), folder / "plate.ENUM");  // the title, in the file's folder
}

// A list of elements filled from a resistor whose value is off its series.
DocumentSession MismatchedList(const TempFolder& folder) {
  testing::FakeFillPorts ports(folder / "errors.log");
  DocumentSession session(Document(model::DocumentKind::kElementList));
  FillHandOver handed;
  auto resistor = std::make_unique<elements::Element>();
  resistor->Set("RefDes", "R1");
  resistor->Set("Type", "Р1-12-0,125-4,6 кОм-5%"_cp);
  handed.data.elements.Append(std::move(resistor));
  elements::ApplyDefaultHeadings(handed.data.headings, handed.data.roles, model::DocumentKind::kElementList);
  session.Apply(commands::Fill{std::move(handed), ports.tools()});
  EXPECT_TRUE(session.document().mismatch());
  return session;
}

struct Fixture {
  TempFolder folder;
  FakePrompts prompts;
  FakeSettingsStore settings;
  FakeSystemInfo system;
  FakeShell shell;
  SaveWorkflow workflow{prompts, settings, system, shell, folder / "errors.log"};
};

TEST(SaveWorkflowTest, SavingANumberedFileOffersTheNextVersionAndAnUnnumberedOneIsSavedInPlace) {
  Fixture f;
  DocumentSession session(Document(model::DocumentKind::kElementList));
  const Document& doc = session.document();
  f.settings.values["LastDocOwner"] = "Иванов"_cp;
  session.Save(f.folder / "R_5_5.enum", std::nullopt, f.system);

  EXPECT_EQ(f.workflow.Save(session), SaveResult::kSaved);
  EXPECT_EQ(f.prompts.Texts(Kind::kSaveFile),
            std::vector<std::string>{model::Utf8FromPath(f.folder / "R_6_6.enum")});
  EXPECT_EQ(doc.path(), f.folder / "R_6_6.enum");
  EXPECT_TRUE(std::filesystem::exists(f.folder / "R_5_5.enum"));
  EXPECT_EQ(doc.editor_name(), "Иванов"_cp);

  f.prompts.calls.clear();
  f.prompts.save_answers.push_back(f.folder / "plain.enum");
  EXPECT_EQ(f.workflow.SaveAs(session), SaveResult::kSaved);
  f.prompts.calls.clear();
  EXPECT_EQ(f.workflow.Save(session), SaveResult::kSaved);
  EXPECT_TRUE(f.prompts.Texts(Kind::kSaveFile).empty());
  EXPECT_EQ(f.prompts.Texts(Kind::kEditor).size(), 1u);
  EXPECT_EQ(doc.history().size(), 4u);
  EXPECT_EQ(Document::FromFile(f.folder / "plain.enum").history().size(), 4u);
}

TEST(SaveWorkflowTest, ANeverSavedDocumentProposesANameAndCancelWritesNothing) {
  Fixture f;
  DocumentSession session(Document(model::DocumentKind::kSimpleBill));
  const Document& doc = session.document();
  Designate(session, "АБВГ.1"_cp);
  f.prompts.save_answers.push_back(std::nullopt);
  EXPECT_EQ(f.workflow.Save(session), SaveResult::kCancelled);
  EXPECT_EQ(f.prompts.Texts(Kind::kSaveFile), std::vector<std::string>{"АБВГ.1_1.enum"});
  EXPECT_TRUE(f.prompts.Texts(Kind::kEditor).empty());
  EXPECT_TRUE(doc.path().empty());
  EXPECT_TRUE(doc.history().empty());
}

TEST(SaveWorkflowTest, AMismatchIsReportedBeforeSavingAndYesOpensTheReport) {
  for (bool yes : {true, false}) {
    Fixture f;
    DocumentSession session = MismatchedList(f.folder);
    f.prompts.question_answers.push_back(yes);
    f.prompts.save_answers.push_back(f.folder / "a.enum");
    EXPECT_EQ(f.workflow.Save(session), SaveResult::kSaved);
    ASSERT_FALSE(f.prompts.calls.empty());
    EXPECT_EQ(f.prompts.calls.front().kind, Kind::kWarningQuestion);
    EXPECT_EQ(
        f.prompts.calls.front().text,
        "В данном документе обнаружен ряд несоответствий \r\nноминалов резисторов и/или конденсаторов их "
        "заданной точности.\r\nПоказать отчет?"_cp);
    EXPECT_EQ(f.shell.opened, yes ? std::vector<path>{f.folder / "errors.log"} : std::vector<path>{});
  }
}

TEST(SaveWorkflowTest, CancelOrAnUnwritableStoreKeepsTheEditorTheRecordThenCarries) {
  Fixture f;
  DocumentSession session(Document(model::DocumentKind::kElementList));
  const Document& doc = session.document();
  session.Apply(commands::EditorName{std::string("Прежний"_cp)});
  f.prompts.save_answers.push_back(f.folder / "a.enum");
  f.prompts.editor_answers.push_back(std::nullopt);
  EXPECT_EQ(f.workflow.Save(session), SaveResult::kSaved);
  EXPECT_EQ(doc.history().back().editor, "Прежний"_cp);

  f.settings.writable = false;
  f.prompts.editor_answers.push_back(std::string("Новый"_cp));
  EXPECT_EQ(f.workflow.Save(session), SaveResult::kSaved);
  EXPECT_EQ(doc.editor_name(), "Прежний"_cp);
  EXPECT_EQ(doc.history().back().editor, "Прежний"_cp);
  EXPECT_EQ(doc.history().size(), 2u);
}

TEST(SaveWorkflowTest, AFileThatCannotBeWrittenIsReportedAndChangesNothing) {
  Fixture f;
  DocumentSession session(Document(model::DocumentKind::kElementList));
  const Document& doc = session.document();
  f.prompts.save_answers.push_back(f.folder / "no such folder" / "a.enum");
  EXPECT_EQ(f.workflow.Save(session), SaveResult::kFailed);
  const std::vector<std::string> errors = f.prompts.Texts(Kind::kError);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("no such folder"), std::string::npos);
  EXPECT_TRUE(doc.path().empty());
  EXPECT_TRUE(doc.history().empty());
}

}  // namespace
}  // namespace tallyform::app
