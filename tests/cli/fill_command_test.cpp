#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "document/document.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace {

using namespace tallyform::text::literals;
using json = nlohmann::ordered_json;
using tallyform::document::Document;
using tallyform::document::DocumentKind;
using tallyform::document::TitleField;
using tallyform::testing::FileBytes;
using tallyform::testing::TempFolder;

std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

CliRun Cli(const TempFolder& home, const std::vector<std::string>& args) {
  std::string command = "TALLYFORM_HOME=" + Quote(home.path().string()) + " " + Quote(TALLYFORM_CLI);
  for (const std::string& arg : args) command += " " + Quote(arg);
  const auto out = home / "stdout.txt";
  const auto err = home / "stderr.txt";
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = FileBytes(out);
  run.err = FileBytes(err);
  return run;
}

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
  EXPECT_EQ(first.cell(0, 2).text(), "Микросхемы"_cp);
  EXPECT_EQ(first.cell(2, 1).text(), "DA1");
  EXPECT_EQ(first.title_field(TitleField::kSheetCount), std::to_string(doc.sheets().sheet_count()));
  EXPECT_EQ(summary["sheets"], doc.sheets().sheet_count());
  // The document keeps the list as read; ranges exist only in the cells.
  EXPECT_EQ(summary["elements"], doc.data().elements.count());
  bool range_found = false;
  for (std::size_t s = 0; s < doc.sheets().sheet_count(); ++s) {
    for (const auto& row : doc.sheets().sheet(s).rows()) range_found |= row.cell(1).text() == "R1...R4";
  }
  EXPECT_TRUE(range_found);

  // What dump shows is what was filled.
  const CliRun dump = Cli(home, {"dump", output});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(json::parse(dump.out)["sheets"][0]["rows"][0][2]["text"], "Микросхемы");
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
      {{"fill", "--kind", "bill", design, "-o", output}, 2, "недоступно"},
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

}  // namespace
