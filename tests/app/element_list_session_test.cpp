#include "app/element_list_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/fill_workflow.h"
#include "model/errors.h"
#include "pcad/dbx_status.h"
#include "pcad/design_server.h"
#include "support/fake_ports.h"
#include "support/fake_text_measurer.h"
#include "support/random_designs.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using document::Document;
using model::DocumentKind;
using testing::FakePrompts;
using testing::TempFolder;

std::filesystem::path Fixture(const char* name) {
  return std::filesystem::path(TALLYFORM_TEST_DATA) / "ascii" / name;
}

// Where two documents' bytes first differ, with what stands there in each; empty when they are equal.
std::string FirstDifference(const std::string& a, const std::string& b) {
  if (a == b) return {};
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const std::size_t from = at < 40 ? 0 : at - 40;
  return "byte " + std::to_string(at) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size()) +
         ": ..." + text::ToUtf8(a.substr(from, 80)) + " | ..." + text::ToUtf8(b.substr(from, 80));
}

std::vector<std::string> Designators(const elements::ListData& data) {
  std::vector<std::string> out;
  for (const auto& element : data.elements.storage()) out.emplace_back(element->Get(model::kRefDes));
  return out;
}

// Prompts whose column mapping dialog takes the proposal with parameters of the test's choosing.
class MappingPrompts : public FakePrompts {
 public:
  std::optional<model::FillParameters> parameters;
  std::optional<model::ColumnMapping> Mapping(const model::ColumnMapping& proposed,
                                              const std::vector<std::string>& titles) override {
    std::optional<model::ColumnMapping> answer = FakePrompts::Mapping(proposed, titles);
    if (answer && parameters) answer->parameters = *parameters;
    return answer;
  }
};

class ElementListSessionTest : public ::testing::Test {
 protected:
  ElementListSession Open(const Document& document) {
    return ElementListSession(application_, document, prompts_, shell_);
  }

  TempFolder folder_;
  Application application_{folder_.path(), std::make_unique<pcad::DesignServer>()};
  MappingPrompts prompts_;
  testing::FakeShell shell_;
  testing::FakeTextMeasurer measurer_;
  testing::FakeSettingsStore settings_;
  testing::FakeSystemInfo system_;
};

// Generated designs of several files, every kind, gaps and tails over their ranges: gathered in the window
// (the first read, the others appended, each with its unit in the designation dialog) and filled through
// the document's session, they give the very document the command line's fill gives with the same choices.
TEST_F(ElementListSessionTest, FillingThroughTheWindowGivesTheCommandLinesDocument) {
  struct Fill {
    DocumentKind kind;
    bool merge;
  };
  const Fill fills[] = {{DocumentKind::kElementList, false},
                        {DocumentKind::kPurchasedBill, false},
                        {DocumentKind::kSimpleBill, false},
                        {DocumentKind::kSimpleBill, true}};
  int compared = 0;
  for (std::uint32_t seed = 1; seed <= 8; ++seed) {
    testing::SeededChoices choices(seed);
    const std::vector<testing::GeneratedDesign> designs = testing::GenerateDesigns(choices);
    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < designs.size(); ++i) {
      files.push_back(folder_.Write("design" + std::to_string(i) + ".sch", testing::DesignText(designs[i])));
    }
    for (const Fill& fill : fills) {
      const model::FillParameters parameters = testing::GenerateParameters(choices, fill.kind);
      const std::string label = "seed " + std::to_string(seed) + ", kind " + std::to_string(int(fill.kind)) +
                                (fill.merge ? ", one list" : "");

      FillRequest request;
      request.kind = fill.kind;
      request.designs = files;
      request.gap = parameters.gap;
      request.tail = parameters.tail;
      // With one file there is no choice to make: a simple bill of one file is one list of its own.
      request.merge = fill.merge && designs.size() > 1;
      for (std::size_t i = 0; i < designs.size(); ++i)
        request.designations.emplace_back(files[i], designs[i].unit);
      FakePrompts cli_prompts;
      std::optional<FillOutcome> command_line;
      try {
        command_line.emplace(RunFill(application_, request, {measurer_, cli_prompts, settings_, system_}));
      } catch (const BadUsage&) {
        // Designs without any value: the command line refuses the roles, and the window stays open.
      }

      prompts_ = MappingPrompts();
      prompts_.parameters = parameters;
      if (fill.merge) prompts_.sort_answers.assign(8, 0);  // "Объединить элементы в один список"
      DocumentSession document(Document(fill.kind));
      ElementListSession window = Open(document.document());
      std::map<std::string, std::string> designations;
      for (std::size_t i = 0; i < designs.size(); ++i) {
        designations[elements::FileText(files[i])] = designs[i].unit;
        prompts_.designation_answers.push_back(designations);
        window.AddElements(ElementSource::kAsciiDesign, files[i], /*append=*/i > 0);
      }
      prompts_.role_answers.push_back(window.ProposedRoles());
      if (!command_line) {
        EXPECT_EQ(window.FillAction(), FillActionEnd::kBackToWindow) << label;
        continue;
      }
      ASSERT_EQ(window.FillAction(), FillActionEnd::kFill) << label;
      document.Apply(commands::Fill{window.HandOver(), FillToolsOf(application_, measurer_)});

      const std::string difference =
          FirstDifference(document.document().ToBytes({}), command_line->session.document().ToBytes({}));
      ASSERT_TRUE(difference.empty()) << label << ": " << difference;
      ++compared;
    }
  }
  EXPECT_GT(compared, 24);
}

// Appended reads are undone and done again in a ring of five lists; a new read after undos forgets what
// could have been done again; reading without appending starts the history afresh; a file that cannot be
// read changes nothing; and a list undone or done again is no longer taken as sorted.
TEST_F(ElementListSessionTest, AppendedReadsAreUndoneInARingOfFiveAndBadFilesChangeNothing) {
  const Document empty(DocumentKind::kElementList);
  ElementListSession window = Open(empty);
  EXPECT_TRUE(window.ColumnNames().empty());
  EXPECT_FALSE(window.sorted());

  window.AddElements(ElementSource::kAsciiDesign, Fixture("filter_crlf.sch"), false);
  ASSERT_EQ(prompts_.Texts(FakePrompts::Kind::kDesignations).size(), 1u);
  EXPECT_EQ(window.data().roles, model::DefaultRoles());
  EXPECT_FALSE(window.data().headings.empty());
  EXPECT_FALSE(window.CanUndo());
  const std::size_t one = window.data().elements.count();
  ASSERT_GT(one, 0u);
  const std::vector<std::string> columns = window.ColumnNames();
  EXPECT_EQ(std::find(columns.begin(), columns.end(), std::string(model::kQuantity)), columns.end());

  std::vector<std::size_t> counts{one};
  for (int i = 0; i < 5; ++i) {
    window.AddElements(ElementSource::kAsciiDesign, Fixture("filter_lf.pcb"), true);
    counts.push_back(window.data().elements.count());
  }
  EXPECT_GT(counts.back(), counts.front());
  window.Sort();
  EXPECT_TRUE(window.sorted());
  int undone = 0;
  while (window.Undo()) ++undone;
  EXPECT_EQ(undone, 4);
  EXPECT_EQ(window.data().elements.count(), counts[1]);  // the state before the second append
  EXPECT_FALSE(window.sorted());
  ASSERT_TRUE(window.Redo());
  EXPECT_EQ(window.data().elements.count(), counts[2]);
  window.AddElements(ElementSource::kAsciiDesign, Fixture("digit_designators.pcb"), true);
  EXPECT_FALSE(window.CanRedo());

  // A design cut off, a binary one and a missing one leave the list, the maps, the roles and the history.
  const std::vector<std::string> before = Designators(window.data());
  const archive::StringMap designations = window.data().designations;
  for (const auto& bad : {Fixture("binary.pcb"), folder_ / "missing.sch"}) {
    for (bool append : {false, true}) {
      EXPECT_THROW(window.AddElements(ElementSource::kAsciiDesign, bad, append), Error) << bad;
      EXPECT_EQ(Designators(window.data()), before);
      EXPECT_EQ(window.data().designations, designations);
      EXPECT_TRUE(window.CanUndo());
    }
  }
  EXPECT_THROW(window.AddElements(ElementSource::kSavedDocument, Fixture("filter_crlf.sch"), false),
               DamagedFile);
  EXPECT_EQ(Designators(window.data()), before);

  // Read without appending: a fresh history and map.
  window.AddElements(ElementSource::kAsciiDesign, Fixture("filter_crlf.sch"), false);
  EXPECT_FALSE(window.CanUndo());
  EXPECT_EQ(window.data().elements.count(), one);
  EXPECT_EQ(window.data().designations.size(), 1u);

  // A P-CAD source whose design the link cannot open: its status said, nothing read.
  const auto ascii = Designators(window.data());
  window.AddElements(ElementSource::kPcadBoard, Fixture("missing.pcb"), true);
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::kTitledMessage).back(), pcad::DbxStatusMessage(32239));
  EXPECT_EQ(window.data().elements.count(), one);
  EXPECT_FALSE(window.CanUndo());

  // A schematic is no board for the link; read as a schematic it gives the ASCII reader's elements.
  window.AddElements(ElementSource::kPcadBoard, Fixture("filter_crlf.sch"), false);
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::kTitledMessage).back(), pcad::DbxStatusMessage(32239));
  window.AddElements(ElementSource::kPcadSchematic, Fixture("filter_crlf.sch"), false);
  EXPECT_EQ(Designators(window.data()), ascii);
}

// A saved document's element data: replacing or appended twice (doubling the elements, the names, prefixes
// and designations as after the first), without the designation dialog, every attribute kept.
TEST_F(ElementListSessionTest, TakesTheElementDataOfASavedDocument) {
  FillRequest request;
  request.kind = DocumentKind::kElementList;
  request.designs = {Fixture("filter_crlf.sch"), Fixture("digit_designators.pcb")};
  request.output = folder_ / "saved_1.enum";
  request.editor = "E";
  FakePrompts cli_prompts;
  const FillOutcome saved = RunFill(application_, request, {measurer_, cli_prompts, settings_, system_});
  const elements::ListData& original = saved.session.document().data();

  const Document empty(DocumentKind::kPurchasedBill);
  ElementListSession window = Open(empty);
  window.AddElements(ElementSource::kSavedDocument, request.output, false);
  EXPECT_TRUE(prompts_.Texts(FakePrompts::Kind::kDesignations).empty());
  EXPECT_EQ(window.data().elements, original.elements);
  EXPECT_EQ(window.data().attribute_names, original.attribute_names);
  EXPECT_EQ(window.data().prefixes, original.prefixes);
  EXPECT_EQ(window.data().designations, original.designations);

  window.AddElements(ElementSource::kSavedDocument, request.output, true);
  window.AddElements(ElementSource::kSavedDocument, request.output, true);
  EXPECT_EQ(window.data().elements.count(), 3 * original.elements.count());
  EXPECT_EQ(window.data().attribute_names, original.attribute_names);
  EXPECT_EQ(window.data().prefixes, original.prefixes);
  EXPECT_EQ(window.data().designations, original.designations);
  EXPECT_EQ(window.data().elements.at(0).Get(model::kGroup), original.elements.at(0).Get(model::kGroup));

  // The command line takes a saved document among its inputs by its contents, whatever its name.
  const auto renamed = folder_ / "saved.txt";
  std::filesystem::copy_file(request.output, renamed);
  FillRequest again;
  again.kind = DocumentKind::kElementList;
  again.designs = {renamed};
  const FillOutcome refilled = RunFill(application_, again, {measurer_, cli_prompts, settings_, system_});
  EXPECT_EQ(refilled.session.document().data().elements, original.elements);
  EXPECT_EQ(refilled.session.document().data().designations, original.designations);
}

TEST_F(ElementListSessionTest, TheKindsDialogListsThePrefixesInByteOrderAndNeverBlanksAGroup) {
  auto element = [](std::string_view designator, std::string_view group) {
    auto e = std::make_unique<elements::Element>();
    e->Set(model::kRefDes, designator);
    e->Set(model::kGroup, group);
    return e;
  };
  elements::ListData data;
  data.elements.Append(element("R1", "Резисторы"_cp));
  data.elements.Append(element("DDX1", "Микросхемы"_cp));
  data.elements.Append(element("C1", "Конденсаторы"_cp));
  data.prefixes = {"R", "DDX", "C"};
  data.attribute_names = {"RefDes", "Group"};
  const Document document = Document::Assemble({DocumentKind::kElementList, {}, data, {}});
  ElementListSession window = Open(document);

  const std::vector<KindRow> rows = window.KindRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (KindRow{"C", std::string("Конденсатор"_cp), std::string("Конденсаторы"_cp)}));
  EXPECT_EQ(rows[1], (KindRow{"DDX", "", ""}));  // known only through the fallback to DD
  EXPECT_EQ(rows[2].code, "R");

  // Accepted untouched: DDX is not set empty, so its elements keep their group and DDX2 still finds DD.
  window.SetKinds(rows);
  EXPECT_EQ(application_.kinds().Find("DDX"), nullptr);
  EXPECT_EQ(window.data().elements.at(1).Get(model::kGroup), "Микросхемы"_cp);
  EXPECT_EQ(application_.kinds().PluralName("DDX2"), "Микросхемы"_cp);

  std::vector<KindRow> edited = rows;
  edited[2].plural = "Резисторы постоянные"_cp;
  window.SetKinds(edited);
  EXPECT_EQ(window.data().elements.at(0).Get(model::kGroup), "Резисторы постоянные"_cp);
  application_.kinds().Load(application_.ElementNamesPath());
  EXPECT_EQ(application_.kinds().PluralName("R1"), "Резисторы постоянные"_cp);  // written to the file

  // A kinds file that cannot be written is said; the kinds stay changed for this run.
  std::filesystem::remove(application_.ElementNamesPath());
  std::filesystem::create_directory(application_.ElementNamesPath());
  folder_.Write("ElementNames.map/inside", "x");
  edited[0].plural = "Конденсаторы постоянные"_cp;
  window.SetKinds(edited);
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::kWarning).size(), 1u);
  EXPECT_EQ(application_.kinds().PluralName("C1"), "Конденсаторы постоянные"_cp);
}

// "Заполнить" closes on an empty list, returns to the window when the column mapping is cancelled (keeping
// the roles the dialog took) or when the roles still lack a designator, and otherwise hands the list over.
TEST_F(ElementListSessionTest, TheFillActionEndsAsItsDialogsSay) {
  const Document empty(DocumentKind::kSimpleBill);
  ElementListSession window = Open(empty);
  EXPECT_EQ(window.FillAction(), FillActionEnd::kClose);

  window.AddElements(ElementSource::kAsciiDesign, Fixture("filter_crlf.sch"), false);
  window.AddElements(ElementSource::kAsciiDesign, Fixture("digit_designators.pcb"), true);
  const elements::RoleSelection proposed = window.ProposedRoles();
  elements::RoleSelection without_supply = proposed;
  without_supply.supply_document.reset();  // taken, but the fill then asks for the roles again
  ASSERT_TRUE(window.AcceptRoles(without_supply));
  prompts_.calls.clear();
  elements::RoleSelection without_value = proposed;
  without_value.value.reset();
  prompts_.role_answers = {without_value, proposed};  // the first is refused with a warning
  prompts_.mapping_answers = {std::nullopt};
  EXPECT_EQ(window.FillAction(), FillActionEnd::kBackToWindow);
  std::vector<FakePrompts::Kind> asked;
  for (const FakePrompts::Call& call : prompts_.calls) asked.push_back(call.kind);
  EXPECT_EQ(asked, (std::vector<FakePrompts::Kind>{FakePrompts::Kind::kRoles, FakePrompts::Kind::kWarning,
                                                   FakePrompts::Kind::kRoles, FakePrompts::Kind::kSortChoice,
                                                   FakePrompts::Kind::kMapping}));
  EXPECT_EQ(window.data().roles[model::kRoleValue], proposed.value.value_or(""));

  // The sort choice, once taken, goes with the list to the document.
  prompts_.sort_answers = {0};
  EXPECT_EQ(window.FillAction(), FillActionEnd::kFill);
  EXPECT_EQ(window.HandOver().merge, elements::MergeChoice::kOneList);
  EXPECT_TRUE(window.sorted());

  // Roles that name no attribute, the dialog cancelled: nothing to fill with, back to the window.
  elements::RoleSelection nothing;
  prompts_.calls.clear();
  window.AcceptRoles(nothing);
  EXPECT_EQ(window.data().roles[model::kRoleDesignator], "");
  EXPECT_EQ(window.FillAction(), FillActionEnd::kBackToWindow);
  EXPECT_EQ(prompts_.Texts(FakePrompts::Kind::kMapping).size(), 0u);
}

}  // namespace
}  // namespace tallyform::app
