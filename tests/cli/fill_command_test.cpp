#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "document/document.h"
#include "support/cli_runner.h"
#include "support/pdf_tools.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace {

using namespace tallyform::text::literals;
using json = nlohmann::ordered_json;
using tallyform::document::Document;
using tallyform::document::TitleField;
using tallyform::model::DocumentKind;
using tallyform::testing::Cli;
using tallyform::testing::CliRun;
using tallyform::testing::Dump;
using tallyform::testing::EmbeddedFonts;
using tallyform::testing::FileBytes;
using tallyform::testing::FontInstalled;
using tallyform::testing::HaveTools;
using tallyform::testing::TempFolder;

std::string Example(std::string_view name) {
  return (std::filesystem::path(TALLYFORM_EXAMPLES) / name).string();
}
std::string Fixture(std::string_view name) {
  return (std::filesystem::path(TALLYFORM_TEST_DATA) / "ascii" / name).string();
}

TEST(FillCommandTest, FillsAndSavesAListOfElements) {
  TempFolder home;
  const std::string output = (home / "amplifier.enum").string();
  const CliRun run = Cli(home, {"fill", "--kind", "list", Example("amplifier.sch"), "-o", output, "--editor",
                                "Иванов И.И.", "--gap", "2", "--tail", "0"});
  ASSERT_EQ(run.status, 0) << run.err;

  const json summary = json::parse(run.out);
  EXPECT_EQ(summary["output"], output);
  EXPECT_EQ(summary["editor"], "Иванов И.И.");
  // The example holds a resistor off its series: a warning that names the report, not a failure.
  EXPECT_TRUE(summary["mismatch"].get<bool>());
  EXPECT_NE(run.err.find("warning: "), std::string::npos);
  EXPECT_NE(run.err.find("errors.log"), std::string::npos);
  EXPECT_NE(FileBytes(home / "errors.log").find("RefDes=R"), std::string::npos);

  const Document doc = Document::FromFile(output);
  EXPECT_EQ(doc.kind(), DocumentKind::kElementList);
  ASSERT_EQ(doc.history().size(), 1u);
  EXPECT_EQ(doc.history()[0].editor, "Иванов И.И."_cp);
  EXPECT_EQ(doc.data().roles[0], "RefDes");
  EXPECT_EQ(doc.data().headings.at("RefDes"), "Поз.обозначение"_cp);
  const auto& first = doc.sheets().sheet(0);
  EXPECT_EQ(first.empty_rows_between_groups(), 2);
  EXPECT_EQ(first.empty_rows_at_end(), 0);
  // Sorted by designator before filling: capacitors first.
  EXPECT_EQ(first.cell(0, 2).text(), "Конденсаторы"_cp);
  EXPECT_EQ(first.cell(2, 1).text(), "C1...C3");
  EXPECT_EQ(first.title_field(TitleField::kSheetCount), std::to_string(doc.sheets().sheet_count()));
  EXPECT_EQ(summary["sheets"], doc.sheets().sheet_count());
  // The document keeps the list unjoined; ranges exist only in the cells.
  EXPECT_EQ(summary["elements"], doc.data().elements.count());
  bool range_found = false;
  for (std::size_t s = 0; s < doc.sheets().sheet_count(); ++s) {
    for (const auto& row : doc.sheets().sheet(s).rows()) range_found |= row.cell(1).text() == "R1...R4";
  }
  EXPECT_TRUE(range_found);

  // What dump shows is what was filled.
  const CliRun dump = Cli(home, {"dump", output});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(json::parse(dump.out)["sheets"][0]["rows"][0][2]["text"], "Конденсаторы");
}

TEST(FillCommandTest, ReadsSeveralDesignsIntoOneListAndOnlyProposesTheEditor) {
  TempFolder home;
  const std::string output = (home / "two.enum").string();
  const CliRun run = Cli(home, {"fill", "--kind", "list", Fixture("filter_crlf.sch"),
                                Fixture("digit_designators.pcb"), "-o", output});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out)["elements"], 9);  // the first file's seven, then the second's two
  EXPECT_EQ(Document::FromFile(output).data().elements.count(), 9u);
  EXPECT_FALSE(std::filesystem::exists(home / "tallyform.ini"));  // the proposal is never stored
}

TEST(FillCommandTest, RefusesBadUsageAndBadInputWithoutWriting) {
  TempFolder home;
  const std::string output = (home / "never.enum").string();
  const std::string design = Example("amplifier.sch");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"fill", "--kind", "list", design, "-o", output, "--gap", "100"}, 2, "от 0 до 99"},
      {{"fill", "--kind", "list", design, "-o", output, "--tail", "30"}, 2, "от 0 до 29"},
      {{"fill", "--kind", "list", design, "-o", output, "--gap", "many"}, 2, "--gap"},
      {{"fill", "--kind", "list", design, "-o", output, "--merge"}, 2, "--merge"},
      {{"fill", "--kind", "list", "-o", output}, 2, "--from"},
      {{"fill", "--kind", "bill", design, "-o", output, "--roles", "RefDes,Name,Value"},
       2,
       "Выберите атрибут элемента, являющийся наименованием элемента."},
      {{"fill", "--kind", "bill", design, "-o", output, "--roles", "RefDes,Type,Value,Spec"}, 2, "Spec"},
      {{"fill", "--kind", "bill", design, "-o", output, "--heading", "Type=Поз.обозначение"},
       2,
       "Поз.обозначение"},
      {{"fill", "--kind", "list", design, "-o", output, "--join-row", "Value= "}, 2, "--join"},
      {{"fill", "--kind", "list", design, "-o", output, "--title", "author=X"}, 2, "author"},
      {{"fill", "--kind", "list", design, "-o", output, "--designation", "other.sch=X"}, 2, "other.sch"},
      {{"fill", "--kind", "poster", design, "-o", output}, 2, "--kind"},
      {{"fill", "--kind", "list", design}, 2, "--output"},
      {{"fill", "--kind", "list", (home / "missing.sch").string(), "-o", output}, 1, "missing.sch"},
      {{"fill", "--kind", "list", design, "-o", (home / "no" / "such" / "folder.enum").string()},
       1,
       "folder.enum"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliRun run = Cli(home, c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

// A design written over by its own document was lost: fill once took any output path, an input's included.
TEST(FillCommandTest, NeverWritesOverItsInputsAndSaysWhenTheDesignsHoldNoElements) {
  TempFolder home;
  const std::filesystem::path design = home / "board.sch";
  std::filesystem::copy_file(Example("amplifier.sch"), design);
  const std::string original = FileBytes(design);
  std::filesystem::create_directories(home / "sub");
  std::filesystem::create_symlink(design, home / "link.sch");
  const std::string made = (home / "made.enum").string();
  ASSERT_EQ(Cli(home, {"fill", "--kind", "list", design.string(), "-o", made, "--editor", "E"}).status, 0);
  const std::string made_bytes = FileBytes(made);

  // The same file under other spellings: through "..", through a link, as --pdf, and the document refilled.
  const std::vector<std::vector<std::string>> cases = {
      {"fill", "--kind", "list", design.string(), "-o", (home / "sub" / ".." / "board.sch").string()},
      {"fill", "--kind", "list", design.string(), "-o", (home / "link.sch").string()},
      {"fill", "--kind", "list", (home / "link.sch").string(), "-o", design.string()},
      {"fill", "--kind", "list", design.string(), "-o", (home / "x.enum").string(), "--pdf", design.string()},
      {"fill", "--from", made, "-o", made},
  };
  for (const auto& args : cases) {
    const CliRun run = Cli(home, args);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("overwritten"), std::string::npos) << run.err;
  }
  EXPECT_EQ(FileBytes(design), original);
  EXPECT_EQ(FileBytes(made), made_bytes);
  EXPECT_FALSE(std::filesystem::exists(home / "x.enum"));

  // A board whose components all have number designators holds no elements: that is what the user hears.
  const std::string output = (home / "empty.enum").string();
  const std::filesystem::path bare = home / "bare.sch";
  const std::filesystem::path holes = home / "holes.pcb";
  {
    std::ofstream(bare) << "ACCEL_ASCII \"bare.sch\"\r\n";
    std::ofstream(holes) << "ACCEL_ASCII \"holes.pcb\"\r\n(netlist \"Netlist_1\"\r\n"
                            "  (compInst \"1\"\r\n    (compRef \"HOLE_1\")\r\n  )\r\n"
                            "  (compInst \"2A\"\r\n    (compRef \"FID_1\")\r\n  )\r\n)\r\n";
  }
  for (const std::filesystem::path& input : {bare, holes}) {
    const CliRun run = Cli(home, {"fill", "--kind", "simple", input.string(), "-o", output});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("нет ни одного элемента"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Выберите атрибут"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(output));
  }
}

// The texts of one column of a dumped sheet, row by row.
std::vector<std::string> Column(const json& sheet, std::size_t column) {
  std::vector<std::string> texts;
  for (const json& row : sheet["rows"]) texts.push_back(row[column]["text"]);
  while (!texts.empty() && texts.back().empty()) texts.pop_back();
  return texts;
}

TEST(FillCommandTest, FillsABillWithRolesHeadingsDesignationsJoinsAndTitleFields) {
  TempFolder home;
  const std::string output = (home / "bill.enum").string();
  const std::string design = Example("amplifier.sch");
  const CliRun run = Cli(home, {"fill",
                                "--kind",
                                "bill",
                                design,
                                "-o",
                                output,
                                "--roles",
                                "RefDes,Type,Value,ТУ",
                                "--heading",
                                "Type=Наименование",
                                "--heading",
                                "Количество=всего",
                                "--heading",
                                "Куда входит=Куда входит (обозначение)",
                                "--designation",
                                design + "=АБВГ.468.001",
                                "--join",
                                "Type:link",
                                "--join-row",
                                "Value=, ",
                                "--title",
                                "designation=АБВГ.468.001ВП",
                                "--gap",
                                "1"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out)["kind"], 1);

  const json doc = Dump(home, output);
  EXPECT_EQ(doc["roles"], json::array({"RefDes", "Type", "Value", "ТУ"}));
  EXPECT_EQ(doc["headings"]["Количество"], "всего");
  EXPECT_EQ(doc["headings"]["ТУ"], "");  // the headings given replace the defaults
  EXPECT_EQ(doc["designations"][std::filesystem::absolute(design).string()], "АБВГ.468.001");
  const json& first = doc["sheets"][0];
  EXPECT_EQ(first["title"]["designation"], "АБВГ.468.001ВП");
  EXPECT_EQ(first["gap"], 1);
  // Kinds by prefix: capacitors first, each item named with its value joined on, its quantity under
  // "всего", its unit in column 5 and no supply document, whose attribute has no column now.
  const std::vector<std::string> names = Column(first, 1);
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(names[0], "Конденсаторы");
  EXPECT_EQ(names[2].rfind("К10-17б-М47-22 пФ-5%, 22", 0), 0u) << names[2];
  EXPECT_EQ(first["rows"][2][9]["text"], "1");
  EXPECT_EQ(first["rows"][2][6]["text"], "");
  EXPECT_EQ(first["rows"][2][5]["text"], "АБВГ.468.001");
  EXPECT_TRUE(Column(first, 3).empty());
  // Designations and joined names are kept with the document's elements.
  EXPECT_EQ(doc["elements"][0]["Куда входит"], "АБВГ.468.001");
  const std::string type = doc["elements"][0]["Type"], value = doc["elements"][0]["Value"];
  EXPECT_TRUE(type.ends_with(", " + value)) << type;
}

TEST(FillCommandTest, FillsASimpleBillInSectionsOrInOneList) {
  TempFolder home;
  const std::string separate = (home / "separate.enum").string();
  const std::string merged = (home / "merged.enum").string();
  const std::string sch = Example("amplifier.sch"), pcb = Example("amplifier.pcb");
  ASSERT_EQ(Cli(home, {"fill", "--kind", "simple", sch, pcb, "-o", separate}).status, 0);
  ASSERT_EQ(Cli(home, {"fill", "--kind", "simple", sch, pcb, "-o", merged, "--merge"}).status, 0);

  // One section per design, each beginning on a sheet of its own that names its file.
  const json sections = Dump(home, separate);
  std::vector<std::string> section_files;
  for (const json& sheet : sections["sheets"]) {
    if (sheet["section_start"].get<bool>()) {
      section_files.push_back(sheet["section_file"]);
      EXPECT_EQ(Column(sheet, 1).front(), "Активные компоненты");
      EXPECT_EQ(sheet["top"], 28);
    }
  }
  // The full path, or its shortened form where the path is too long for the column (it depends on where
  // the project lies).
  const auto shows = [](const std::string& shown, const std::string& path) {
    const std::string full = std::filesystem::absolute(path).string();
    const std::string name = std::filesystem::path(path).filename().string();
    return shown == full || shown == full.substr(0, 3) + ".../" + name;
  };
  ASSERT_EQ(section_files.size(), 2u);
  EXPECT_TRUE(shows(section_files[0], pcb)) << section_files[0];
  EXPECT_TRUE(shows(section_files[1], sch)) << section_files[1];
  EXPECT_EQ(sections["sheets"][0]["rows"][4][0]["text"], "1");

  // One list: one heading per category, no file recorded.
  const json one = Dump(home, merged);
  int active_headings = 0;
  for (const json& sheet : one["sheets"]) {
    EXPECT_EQ(sheet["section_file"], "");
    for (const std::string& text : Column(sheet, 1)) active_headings += text == "Активные компоненты";
  }
  EXPECT_EQ(active_headings, 1);
}

TEST(FillCommandTest, FillsASavedDocumentAgainKeepingItsSettingsAndHistory) {
  TempFolder home;
  const std::string first = (home / "first.enum").string();
  const std::string again = (home / "again.enum").string();
  ASSERT_EQ(Cli(home, {"fill", "--kind", "list", Example("amplifier.sch"), "-o", first, "--gap", "2",
                       "--title", "developed_by=Петров", "--editor", "A"})
                .status,
            0);

  const CliRun run = Cli(home, {"fill", "--from", first, "-o", again, "--editor", "B"});
  ASSERT_EQ(run.status, 0) << run.err;
  const json before = Dump(home, first);
  const json after = Dump(home, again);
  EXPECT_EQ(after["kind"], 0);
  EXPECT_EQ(after["elements"], before["elements"]);
  EXPECT_EQ(after["history"].size(), 2u);
  EXPECT_EQ(after["sheets"][0]["title"]["developed_by"], "Петров");
  EXPECT_EQ(after["sheets"][0]["gap"], 2);
  EXPECT_EQ(after["sheets"], before["sheets"]);  // the same list filled the same way

  // A kind that is not the document's is refused.
  const CliRun other = Cli(home, {"fill", "--from", first, "--kind", "bill", "-o", again});
  EXPECT_EQ(other.status, 2);
}

TEST(FillCommandTest, FontChoosesTheFaceOfFittingAndOfThePdf) {
  if (!HaveTools({"pdffonts", "fc-list"})) GTEST_SKIP() << "poppler-utils is not installed";
  if (!FontInstalled("PT Sans Narrow")) GTEST_SKIP() << "PT Sans Narrow is not installed";
  TempFolder home;
  // A note split over many rows of a narrow column: where it splits follows the widths of the face.
  const auto fill = [&](std::vector<std::string> more) {
    std::vector<std::string> args = {"fill",      "--kind",
                                     "list",      Fixture("long_attr.sch"),
                                     "--heading", "RefDes=Поз.обозначение",
                                     "--heading", "Type=Наименование",
                                     "--heading", "Примечание=Примечание"};
    args.insert(args.end(), more.begin(), more.end());
    return Cli(home, args);
  };
  const CliRun plain = fill({"-o", "plain.enum", "--pdf", "plain.pdf"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  const CliRun narrow = fill({"-o", "narrow.enum", "--pdf", "narrow.pdf", "--font", "PT Sans Narrow"});
  ASSERT_EQ(narrow.status, 0) << narrow.err;
  EXPECT_EQ(narrow.err.find("PT Sans Narrow"), std::string::npos) << narrow.err;  // installed: no warning
  EXPECT_NE(json::parse(narrow.out)["sheets"], json::parse(plain.out)["sheets"]);
  EXPECT_EQ(EmbeddedFonts(home, "narrow.pdf"), std::vector<std::string>{"PTSans-Narrow"});
  if (!FontInstalled("AGOST Pincher")) {
    EXPECT_EQ(EmbeddedFonts(home, "plain.pdf"), std::vector<std::string>{"OpenGostTypeBTT-Regular"});
  }

  // A face that is not installed is a warning that names the face used instead, which fits as usual.
  const CliRun missing = fill({"-o", "missing.enum", "--font", "No Such Face 7Q"});
  ASSERT_EQ(missing.status, 0) << missing.err;
  EXPECT_NE(missing.err.find("\"No Such Face 7Q\""), std::string::npos) << missing.err;
  EXPECT_EQ(json::parse(missing.out)["sheets"], json::parse(plain.out)["sheets"]);
  EXPECT_NE(Cli(home, {"fill", "--help"}).out.find("--font"), std::string::npos);
}

}  // namespace
