// Assembly drawing preparation over the design server: the copy and its question, the choice of the dialog,
// kept and restyled RefDes2 attributes, the progress bound, and every failure reported where it happens.

#include "app/assembly_drawing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/attributes.h"
#include "model/platform.h"
#include "model/refdes2.h"
#include "pcad/dbx_status.h"
#include "pcad/design_server.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FakeProgress;
using testing::FakePrompts;
using testing::FileBytes;
using testing::TempFolder;
using Kind = FakePrompts::Kind;

const std::filesystem::path kSamples = TALLYFORM_SAMPLES;

// A board of `count` components R1..Rn, each placed with its RefDes text, and a hole "1".
std::string GeneratedBoard(int count) {
  std::string text =
      "ACCEL_ASCII \"gen.pcb\"\n\n(library \"Library_1\"\n  (textStyleDef \"(Default)\"\n  )\n"
      "  (textStyleDef \"Small\"\n  )\n  (patternDefExtended \"CHIP_1\"\n    (patternGraphicsDef \n"
      "      (patternGraphicsNameDef \"Primary\")\n      (layerContents  (layerNumRef  6)\n"
      "        (attr \"RefDes\" \"\" (pt 1.0 2.0) (isVisible True) (textStyleRef \"(Default)\") )\n      )\n"
      "    )\n  )\n)\n(netlist \"Netlist_1\"\n";
  for (int i = 1; i <= count; ++i) {
    text += "  (compInst \"R" + std::to_string(i) +
            "\"\n    (originalName \"RES\")\n    (compValue \"1k\")\n  )\n";
  }
  text += "  (compInst \"1\"\n    (originalName \"HOLE\")\n  )\n)\n(pcbDesign \"PcbDesign_1\"\n";
  text +=
      "  (layerDef \"Top Assy\"\n    (layerNum 10)\n  )\n  (layerDef \"Top Silk\"\n    (layerNum 6)\n  )\n";
  text += "  (multiLayer \n";
  for (int i = 0; i <= count; ++i) {
    const std::string ref = i == 0 ? "1" : "R" + std::to_string(i);
    text += "    (pattern (patternRef \"CHIP_1\") (refDesRef \"" + ref +
            "\") (pt 5.0 5.0) (patternGraphicsNameRef \"Primary\")\n      (patternGraphicsRef \n"
            "        (patternGraphicsNameRef \"Primary\")\n        (attr \"RefDes\" \"" +
            ref + "\" (pt 0.0 0.5) (isVisible True) (textStyleRef \"(Default)\") )\n      )\n    )\n";
  }
  return text + "  )\n)\n";
}

struct RefDes2Seen {
  std::size_t count = 0;
  std::size_t matching = 0;  // with the expected layer, style, justification and value = designator
};

RefDes2Seen SeeRefDes2(pcad::DesignServer& server, const std::filesystem::path& copy,
                       const model::RefDes2Choice& expected) {
  RefDes2Seen seen;
  ports::DbxHandle handle = 0;
  EXPECT_EQ(server.OpenDesign(ports::kDbxVersion, "pcb:" + model::Utf8FromPath(copy), handle), 0);
  ports::DbxComponent component;
  for (auto s = server.GetFirstComponent(handle, component); s == 0;
       s = server.GetNextComponent(handle, component)) {
    ports::DbxAttribute a;
    for (auto t = server.GetFirstCompAttribute(handle, component.designator, a); t == 0;
         t = server.GetNextCompAttribute(handle, a)) {
      if (a.name != "RefDes2") continue;
      ++seen.count;
      if (a.layer_id == expected.layer_id && a.text_style == expected.text_style &&
          a.justification == expected.justification && a.value == component.designator)
        ++seen.matching;
    }
  }
  server.CloseDesign(handle, "FileClose");
  return seen;
}

TEST(AssemblyDrawing, CopyPath) {
  EXPECT_EQ(AssemblyCopyPath("/x/board.pcb"), std::filesystem::path("/x/board_SB.pcb"));
  EXPECT_EQ(AssemblyCopyPath("/x/Board.PCB"), std::filesystem::path("/x/Board_SB.pcb"));
  EXPECT_EQ(AssemblyCopyPath("/x/board.pcbx"), std::nullopt);
  EXPECT_EQ(AssemblyCopyPath("pcb"), std::nullopt);

  FakePrompts prompts;
  FakeProgress progress;
  pcad::DesignServer server;
  const AssemblyOutcome outcome = PrepareAssemblyDrawing("/x/board.sch", server, prompts, progress);
  EXPECT_EQ(outcome.result, AssemblyResult::kNotABoard);
  ASSERT_EQ(prompts.message_titles.size(), 1u);
  EXPECT_EQ(prompts.message_titles[0].first, AssemblyDrawingTitle());
  EXPECT_TRUE(prompts.Texts(Kind::kRefDes2).empty());
}

// Three runs on a published board: a first copy, a second run on it without replace, a third that restyles.
TEST(AssemblyDrawing, RunsOnABoardAndItsCopy) {
  // The published designs lie beside the project, not in it; a machine without them skips this.
  if (!std::filesystem::is_directory(TALLYFORM_SAMPLES))
    GTEST_SKIP() << "no published designs at " << TALLYFORM_SAMPLES;
  TempFolder folder;
  const std::string original = FileBytes(kSamples / "zxinet.pcb");
  const auto board = folder.Write("zxinet.pcb", original);
  const auto copy = folder / "zxinet_SB.pcb";
  pcad::DesignServer server;
  FakeProgress progress;

  FakePrompts first;
  model::RefDes2Choice choice{10, 1, 5, false};
  first.refdes2_answers.push_back(choice);
  AssemblyOutcome outcome = PrepareAssemblyDrawing(board, server, first, progress);
  ASSERT_EQ(outcome.result, AssemblyResult::kDone);
  EXPECT_TRUE(first.Texts(Kind::kTitledQuestion).empty());
  EXPECT_EQ(first.last_refdes2_offer.layers.front(), (model::RefDes2Layer{10, "Top Assy"}));
  EXPECT_EQ(first.last_refdes2_offer.text_styles.front(), "(Default)");
  EXPECT_EQ(first.Texts(Kind::kTitledMessage),
            std::vector<std::string>{std::string("Обработка завершена."_cp)});
  EXPECT_EQ(outcome.added, 87u);  // every placed component of the board
  EXPECT_EQ(outcome.modified + outcome.kept, 0u);
  EXPECT_EQ(progress.steps, static_cast<int>(outcome.attributes));
  EXPECT_EQ(progress.finishes, 1);
  EXPECT_TRUE(FileBytes(board) == original);
  RefDes2Seen seen = SeeRefDes2(server, copy, choice);
  EXPECT_EQ(seen.count, outcome.added);
  EXPECT_EQ(seen.matching, outcome.added);
  const std::size_t added = outcome.added;

  // No to the overwrite question works on the existing copy; without replace every RefDes2 stays.
  FakePrompts second;
  second.titled_answers.push_back(false);
  second.refdes2_answers.push_back(model::RefDes2Choice{6, 0, 9, false});
  outcome = PrepareAssemblyDrawing(board, server, second, progress);
  ASSERT_EQ(outcome.result, AssemblyResult::kDone);
  EXPECT_EQ(
      second.Texts(Kind::kTitledQuestion),
      std::vector<std::string>{AssemblyDrawingTitle() + "|" + std::string("Файл "_cp) +
                               model::PathText(copy) + std::string(" уже существует. Перезаписать его?"_cp)});
  EXPECT_EQ(outcome.kept, added);
  EXPECT_EQ(outcome.added, 0u);
  EXPECT_EQ(SeeRefDes2(server, copy, choice).matching, added);

  // With replace the same attributes move to the new layer, style and justification; values stay.
  FakePrompts third;
  third.titled_answers.push_back(false);
  const model::RefDes2Choice restyle{6, 0, 9, true};
  third.refdes2_answers.push_back(restyle);
  outcome = PrepareAssemblyDrawing(board, server, third, progress);
  ASSERT_EQ(outcome.result, AssemblyResult::kDone);
  EXPECT_EQ(outcome.modified, added);
  EXPECT_EQ(SeeRefDes2(server, copy, restyle).matching, added);

  // Yes makes a fresh copy of the untouched board.
  FakePrompts fourth;
  fourth.titled_answers.push_back(true);
  fourth.refdes2_answers.push_back(choice);
  outcome = PrepareAssemblyDrawing(board, server, fourth, progress);
  ASSERT_EQ(outcome.result, AssemblyResult::kDone);
  EXPECT_EQ(outcome.added, added);
}

TEST(AssemblyDrawing, ProgressStopsAtItsEndAndDigitsAreSkipped) {
  TempFolder folder;
  const auto board = folder.Write("big.pcb", GeneratedBoard(1000));
  pcad::DesignServer server;
  FakePrompts prompts;
  FakeProgress progress;
  prompts.refdes2_answers.push_back(model::RefDes2Choice{10, 1, 5, false});
  const AssemblyOutcome outcome = PrepareAssemblyDrawing(board, server, prompts, progress);
  ASSERT_EQ(outcome.result, AssemblyResult::kDone);
  EXPECT_EQ(progress.maximum, kAssemblyProgressSteps);
  EXPECT_EQ(progress.steps, kAssemblyProgressSteps);
  EXPECT_EQ(outcome.attributes, 3000u);  // RefDes, Type, Value of each
  EXPECT_EQ(outcome.added, 1000u);
  EXPECT_EQ(outcome.skipped, 1u);
}

// A link that fails one kind of call with a given status, otherwise the design server.
class FailingDbx : public pcad::DesignServer {
 public:
  std::int32_t fail_add = 0;
  int add_calls_before_failure = 0;
  std::int32_t fail_save = 0;
  std::int32_t AddCompAttribute(ports::DbxHandle handle, const std::string& designator,
                                const ports::DbxAttribute& attribute) override {
    if (fail_add != 0 && add_calls_before_failure-- <= 0) return fail_add;
    return DesignServer::AddCompAttribute(handle, designator, attribute);
  }
  std::int32_t SaveDesign(ports::DbxHandle handle) override {
    return fail_save != 0 ? fail_save : DesignServer::SaveDesign(handle);
  }
};

TEST(AssemblyDrawing, FailuresAreReportedWhereTheyHappen) {
  TempFolder folder;
  const auto board = folder.Write("gen.pcb", GeneratedBoard(5));
  const auto copy = folder / "gen_SB.pcb";
  const model::RefDes2Choice choice{10, 0, 5, false};
  FakeProgress progress;
  {
    SCOPED_TRACE("an add fails: the walk ends, the rest is saved");
    FailingDbx dbx;
    dbx.fail_add = 32015;
    dbx.add_calls_before_failure = 2;
    FakePrompts prompts;
    prompts.refdes2_answers.push_back(choice);
    const AssemblyOutcome outcome = PrepareAssemblyDrawing(board, dbx, prompts, progress);
    EXPECT_EQ(outcome.result, AssemblyResult::kDone);
    EXPECT_EQ(outcome.added, 2u);
    EXPECT_EQ(prompts.Texts(Kind::kTitledMessage),
              (std::vector<std::string>{"Create Error", std::string("Обработка завершена."_cp)}));
    EXPECT_EQ(prompts.message_titles[0].first, std::string(pcad::DbxErrorTitle()));
    EXPECT_EQ(SeeRefDes2(dbx, copy, choice).matching, 2u);
  }
  {
    SCOPED_TRACE("the save fails: said instead of the end message");
    FailingDbx dbx;
    dbx.fail_save = 32239;
    FakePrompts prompts;
    prompts.titled_answers.push_back(true);
    prompts.refdes2_answers.push_back(choice);
    const AssemblyOutcome outcome = PrepareAssemblyDrawing(board, dbx, prompts, progress);
    EXPECT_EQ(outcome.result, AssemblyResult::kSaveFailed);
    EXPECT_EQ(prompts.Texts(Kind::kTitledMessage), std::vector<std::string>{pcad::DbxStatusMessage(32239)});
  }
  {
    SCOPED_TRACE("the link is busy with another design: empty lists, then the open fails");
    pcad::DesignServer server;
    ports::DbxHandle other = 0;
    ASSERT_EQ(
        server.OpenDesign(ports::kDbxVersion,
                          "pcb:" + model::Utf8FromPath(folder.Write("other.pcb", GeneratedBoard(2))), other),
        0);
    FakePrompts prompts;
    prompts.refdes2_answers.push_back(choice);
    const AssemblyOutcome outcome = PrepareAssemblyDrawing(board, server, prompts, progress);
    EXPECT_EQ(outcome.result, AssemblyResult::kOpenFailed);
    EXPECT_TRUE(prompts.last_refdes2_offer.layers.empty());
    EXPECT_EQ(prompts.Texts(Kind::kTitledMessage),
              std::vector<std::string>(2, pcad::DbxStatusMessage(pcad::kDbxBusy)));
  }
  {
    SCOPED_TRACE("the copy fails after Yes: said, the old copy left whole and not used");
    const std::string before = FileBytes(copy);
    std::filesystem::create_directory(folder / "gen_SB.pcb.copying~");
    pcad::DesignServer server;
    FakePrompts prompts;
    prompts.titled_answers.push_back(true);
    const AssemblyOutcome outcome = PrepareAssemblyDrawing(board, server, prompts, progress);
    EXPECT_EQ(outcome.result, AssemblyResult::kCopyFailed);
    EXPECT_TRUE(prompts.Texts(Kind::kRefDes2).empty());
    EXPECT_EQ(FileBytes(copy), before);
  }
  {
    SCOPED_TRACE("the dialog is cancelled");
    pcad::DesignServer server;
    FakePrompts prompts;
    const AssemblyOutcome outcome = PrepareAssemblyDrawing(board, server, prompts, progress);
    EXPECT_EQ(outcome.result, AssemblyResult::kCancelled);
    EXPECT_TRUE(prompts.Texts(Kind::kTitledMessage).empty());
  }
}

}  // namespace
}  // namespace tallyform::app
