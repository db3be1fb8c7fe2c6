#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace {

using json = nlohmann::ordered_json;
using tallyform::testing::Cli;
using tallyform::testing::CliRun;
using tallyform::testing::FileBytes;
using tallyform::testing::TempFolder;

std::string Fixture(std::string_view name) {
  return (std::filesystem::path(TALLYFORM_TEST_DATA) / "ascii" / name).string();
}

// A design of one element each for the checks.
std::string OneElement(const std::string& ref, const std::string& type, const std::string& value) {
  return "ACCEL_ASCII \"x.sch\"\r\n(netlist \"Netlist_1\"\r\n  (compInst \"" + ref +
         "\"\r\n    (originalName \"" + type + "\")\r\n    (compValue \"" + value + "\")\r\n  )\r\n)\r\n";
}

TEST(ReadCommandTest, PrintsTheElementListAsJson) {
  TempFolder home;
  CliRun run = Cli(home, {"read", Fixture("filter_crlf.sch"), Fixture("digit_designators.pcb")});
  ASSERT_EQ(run.status, 0) << run.err;
  const json out = json::parse(run.out);

  std::vector<std::string> keys;
  for (const auto& item : out.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"attributes", "prefixes", "designations", "elements", "mismatch",
                                            "report"}));
  EXPECT_EQ(out["attributes"],
            json::parse(R"(["RefDes","Type","Pattern","ТУ","Количество","Куда входит","Value",
                                                 "Примечание"])"));
  EXPECT_EQ(out["prefixes"], json::parse(R"(["DA","R","C","VT","XS","DD"])"));
  EXPECT_TRUE(out["designations"].is_object());
  ASSERT_EQ(out["elements"].size(), 9u);  // the first file's seven, then the second's two
  const json& r1 = out["elements"][1];
  EXPECT_EQ(r1["RefDes"], "R1");
  EXPECT_EQ(r1["Value"], "10 кОм");
  EXPECT_EQ(r1["ТУ"], "ОЖО.467.093 ТУ");
  EXPECT_EQ(r1["Group"], "Резисторы");
  EXPECT_EQ(r1["Файл"], std::filesystem::absolute(Fixture("filter_crlf.sch")).string());
  EXPECT_EQ(out["elements"][6]["Примечание"], "Вход сигнала");
  EXPECT_EQ(out["elements"][8]["RefDes"], "DD2");
  EXPECT_EQ(out["mismatch"], true);
  EXPECT_EQ(out["report"], (home / "errors.log").string());
  // A value off its series is a warning for read, not a failure.
  EXPECT_NE(run.err.find("warning:"), std::string::npos);
  EXPECT_NE(run.err.find("несоответствий"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(home / "ElementNames.map"));
}

TEST(ReadCommandTest, CheckCountsAndExitStatus) {
  TempFolder home;
  CliRun mismatch = Cli(home, {"check", Fixture("filter_crlf.sch"), "--json"});
  EXPECT_EQ(mismatch.status, 3) << mismatch.err;
  const json out = json::parse(mismatch.out);
  EXPECT_EQ(out["mismatches"], 1);
  EXPECT_EQ(out["unanalysable"], 0);
  EXPECT_EQ(out["report"], (home / "errors.log").string());
  EXPECT_EQ(out["files"], json::array({std::filesystem::absolute(Fixture("filter_crlf.sch")).string()}));
  const std::string report = FileBytes(home / "errors.log");
  EXPECT_NE(report.find("RefDes=R2"), std::string::npos);

  CliRun text = Cli(home, {"check", Fixture("filter_crlf.sch")});
  EXPECT_EQ(text.status, 3);
  EXPECT_NE(text.out.find((home / "errors.log").string()), std::string::npos);
  EXPECT_NE(text.out.find("values off their series: 1"), std::string::npos);

  // A capacitor type without a tolerance cannot be analysed: a failure only with --strict.
  const auto no_tolerance = home.Write("no_tolerance.sch", OneElement("C1", "CAP", "0.1u"));
  EXPECT_EQ(Cli(home, {"check", no_tolerance.string()}).status, 0);
  CliRun strict = Cli(home, {"check", "--strict", "--json", no_tolerance.string()});
  EXPECT_EQ(strict.status, 3);
  EXPECT_EQ(json::parse(strict.out)["unanalysable"], 1);

  const auto fits = home.Write("fits.sch", OneElement("R1", "C2-33-0,25-4,7 kOhm-5%", "4k7"));
  CliRun clean = Cli(home, {"check", "--strict", fits.string()});
  EXPECT_EQ(clean.status, 0) << clean.out;
  EXPECT_NE(clean.out.find("values off their series: 0"), std::string::npos);
}

TEST(ReadCommandTest, BadInputAndBadUsage) {
  TempFolder home;
  CliRun unknown = Cli(home, {"read", Fixture("marker_second_line.sch")});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_TRUE(unknown.out.empty());
  EXPECT_NE(unknown.err.find("Неизвестный формат файла."), std::string::npos);  // arrives as UTF-8
  EXPECT_NE(unknown.err.find("marker_second_line.sch"), std::string::npos);

  CliRun missing = Cli(home, {"read", (home / "missing.sch").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("missing.sch"), std::string::npos);

  // Bad input wins over values off their series.
  EXPECT_EQ(Cli(home, {"check", Fixture("filter_crlf.sch"), Fixture("binary.pcb")}).status, 1);
  EXPECT_EQ(Cli(home, {"check", Fixture("empty.sch"), Fixture("filter_crlf.sch")}).status, 1);

  EXPECT_EQ(Cli(home, {"read"}).status, 2);
  EXPECT_EQ(Cli(home, {"check", "--frobnicate", Fixture("filter_crlf.sch")}).status, 2);
  EXPECT_EQ(Cli(home, {}).status, 2);
  for (const char* command : {"read", "check"}) {
    CliRun help = Cli(home, {command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find("files"), std::string::npos) << command;
  }
}

// A report that cannot be written was once passed over in silence: check printed its path all the same.
TEST(ReadCommandTest, AReportThatCannotBeWrittenIsAWarningNamingItAndNoPath) {
  TempFolder home;
  std::filesystem::create_directory(home / "errors.log");
  home.Write("errors.log/inside", "x");
  home.Write("one.sch", OneElement("R1", "C2-33-0,25-4,6 kOhm-5%", "4k6"));
  const std::string report = (home / "errors.log").string();

  const CliRun check = Cli(home, {"check", "one.sch"});
  EXPECT_EQ(check.status, 3) << check.err;
  EXPECT_EQ(check.out.find("report:"), std::string::npos) << check.out;
  EXPECT_NE(check.err.find("warning: Не удалось записать отчет о несоответствиях номиналов " + report),
            std::string::npos)
      << check.err;
  const CliRun json_check = Cli(home, {"check", "one.sch", "--json"});
  EXPECT_TRUE(json::parse(json_check.out)["report"].is_null()) << json_check.out;

  const CliRun read = Cli(home, {"read", "one.sch"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_TRUE(json::parse(read.out)["report"].is_null());
  EXPECT_EQ(read.err.find("Отчет: "), std::string::npos) << read.err;

  const CliRun fill = Cli(home, {"fill", "--kind", "list", "one.sch", "-o", "one.enum"});
  ASSERT_EQ(fill.status, 0) << fill.err;
  EXPECT_TRUE(json::parse(fill.out)["report"].is_null()) << fill.out;
  EXPECT_NE(fill.err.find("Не удалось записать отчет"), std::string::npos) << fill.err;
}

}  // namespace

// Designs through the design link: the same elements as the file read directly, appended after the files;
// a design the link cannot open is bad input with the link's message, a name without its kind bad usage.
TEST(ReadCommandTest, ReadsThroughTheDesignLink) {
  // The published designs lie beside the project, not in it; a machine without them skips this.
  if (!std::filesystem::is_directory(TALLYFORM_SAMPLES))
    GTEST_SKIP() << "no published designs at " << TALLYFORM_SAMPLES;
  TempFolder home;
  const std::string board = (std::filesystem::path(TALLYFORM_SAMPLES) / "zxinet.pcb").string();
  const CliRun direct = Cli(home, {"read", board});
  ASSERT_EQ(direct.status, 0) << direct.err;
  const CliRun linked = Cli(home, {"read", "--dbx", "pcb:" + board});
  ASSERT_EQ(linked.status, 0) << linked.err;
  const auto direct_elements = json::parse(direct.out)["elements"];
  const auto linked_elements = json::parse(linked.out)["elements"];
  ASSERT_EQ(linked_elements.size(), direct_elements.size());
  EXPECT_EQ(linked_elements[0]["RefDes"], direct_elements[0]["RefDes"]);
  const CliRun both = Cli(home, {"read", board, "--dbx", "pcb:" + board});
  ASSERT_EQ(both.status, 0) << both.err;
  EXPECT_EQ(json::parse(both.out)["elements"].size(), 2 * direct_elements.size());

  const CliRun schematic_as_board = Cli(home, {"read", "--dbx", "pcb:" + Fixture("filter_crlf.sch")});
  EXPECT_EQ(schematic_as_board.status, 1);
  EXPECT_NE(schematic_as_board.err.find("Невозможно открыть файл P-CAD."), std::string::npos)
      << schematic_as_board.err;
  EXPECT_EQ(Cli(home, {"read", "--dbx", Fixture("filter_crlf.sch")}).status, 2);
}
