#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/fill_workflow.h"
#include "document/document.h"
#include "model/errors.h"
#include "support/fake_ports.h"
#include "support/fake_text_measurer.h"
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
using testing::FakeSystemInfo;
using testing::FakeTextMeasurer;
using testing::TempFolder;

// Every cell text of every sheet, sheet after sheet, row after row.
std::vector<std::string> Texts(const Document& doc) {
  std::vector<std::string> texts;
  for (std::size_t s = 0; s < doc.sheets().sheet_count(); ++s) {
    const document::CTableRows& table = doc.sheets().sheet(s);
    for (std::size_t r = 0; r < table.row_count(); ++r) {
      for (int c = 0; c < table.column_count(); ++c) {
        texts.push_back(table.cell(r, static_cast<std::size_t>(c)).text());
      }
    }
  }
  return texts;
}

class FillAgainTest : public ::testing::Test {
 protected:
  DocumentSession Filled(DocumentKind kind) {
    FillRequest request;
    request.kind = kind;
    request.designs = {std::filesystem::path(TALLYFORM_EXAMPLES) / "amplifier.sch"};
    return std::move(RunFill(application_, request, ports_).session);
  }

  TempFolder folder_;
  Application application_{folder_.path()};
  FakeTextMeasurer measurer_;
  FakePrompts prompts_;
  FakeSettingsStore settings_;
  FakeSystemInfo system_;
  FillPorts ports_{measurer_, prompts_, settings_, system_};
};

TEST_F(FillAgainTest, RefillsTheSheetsOfEachKindFromTheDocumentsOwnListKeepingItsTitleBlock) {
  for (DocumentKind kind :
       {DocumentKind::kElementList, DocumentKind::kPurchasedBill, DocumentKind::kSimpleBill}) {
    SCOPED_TRACE(static_cast<int>(kind));
    DocumentSession session = Filled(kind);
    const Document& doc = session.document();
    const std::vector<std::string> filled = Texts(doc);
    const std::size_t sheets = doc.sheets().sheet_count();
    session.Apply(commands::TitleBlock{{{TitleField::kDesignation, std::string("АБВГ.123"_cp)}}, {}, {}});
    const std::vector<std::string> titled = Texts(doc);

    ASSERT_TRUE(FillAgain(application_, session, ports_));

    EXPECT_EQ(doc.sheets().sheet_count(), sheets);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.settings_table().title_field(TitleField::kDesignation), "АБВГ.123"_cp);
    std::vector<std::string> again = Texts(doc);
    // The designation written into the title block is the only difference.
    std::size_t differences = 0;
    ASSERT_EQ(again.size(), filled.size());
    for (std::size_t i = 0; i < again.size(); ++i) differences += again[i] != filled[i];
    EXPECT_LE(differences, 2u);
    EXPECT_TRUE(prompts_.calls.empty());
    // The fill is a step of its own.
    ASSERT_TRUE(session.Undo());
    EXPECT_EQ(Texts(doc), titled);
  }
}

TEST_F(FillAgainTest, AnEmptyListOrRolesTheListLacksLeaveTheDocumentAsItWas) {
  DocumentSession empty(Document(DocumentKind::kElementList));
  EXPECT_THROW(FillAgain(application_, empty, ports_), DamagedFile);
  EXPECT_FALSE(empty.document().modified());

  const DocumentSession filled = Filled(DocumentKind::kElementList);
  elements::ListData data = filled.document().data();
  data.roles[model::kRoleDesignator] = "Нет такого"_cp;
  DocumentSession doc(Document::Assemble(
      {DocumentKind::kElementList, document::CopySheets(filled.document().sheets().sheets()), data, {}}));
  const std::vector<std::string> before = Texts(doc.document());

  EXPECT_FALSE(FillAgain(application_, doc, ports_));

  ASSERT_EQ(prompts_.calls.size(), 1u);
  EXPECT_EQ(prompts_.calls[0].kind, FakePrompts::Kind::kWarning);
  EXPECT_FALSE(doc.document().modified());
  EXPECT_FALSE(doc.undo_indices().CanUndo());
  EXPECT_EQ(Texts(doc.document()), before);
}

}  // namespace
}  // namespace tallyform::app
