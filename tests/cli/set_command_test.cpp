#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace {

using json = nlohmann::ordered_json;
using tallyform::testing::Cli;
using tallyform::testing::CliRun;
using tallyform::testing::Dump;
using tallyform::testing::FileBytes;
using tallyform::testing::TempFolder;

std::vector<std::string> Quantities(const json& sheet) {
  std::vector<std::string> quantities;
  for (const json& row : sheet["rows"]) {
    if (!row[3]["text"].get<std::string>().empty()) quantities.push_back(row[3]["text"]);
  }
  return quantities;
}

// One road: a list of elements completed into a new file, a simple bill's products set over itself; then
// every kind of refusal leaves the file as it was, byte for byte.
TEST(SetCommandTest, CompletesDocumentsAndRefusesBadValuesWithoutWriting) {
  TempFolder home;
  const std::string example = (std::filesystem::path(TALLYFORM_EXAMPLES) / "amplifier.sch").string();
  const std::string list = (home / "list.enum").string();
  const std::string simple = (home / "simple.enum").string();
  ASSERT_EQ(Cli(home, {"fill", "--kind", "list", example, "-o", list}).status, 0);
  ASSERT_EQ(Cli(home, {"fill", "--kind", "simple", example, "-o", simple}).status, 0);

  const std::string list_bytes = FileBytes(list);
  const std::string out = (home / "out.enum").string();
  CliRun run = Cli(home, {"set", list, "--title", "designation=АБВГ.468157.001ПЭ3", "--title",
                          "developed_by=Иванов", "--height", "cell_height=3.5", "--height",
                          "other_height=2.5", "--line", "main_line=0.7", "-o", out, "--editor", "Петров"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(json::parse(run.out)["output"], out);
  EXPECT_EQ(FileBytes(list), list_bytes);
  const json done = Dump(home, out);
  const json& first = done["sheets"][0];
  EXPECT_EQ(first["title"]["designation"], "АБВГ.468157.001ПЭ3");
  EXPECT_EQ(first["title"]["developed_by"], "Иванов");
  EXPECT_EQ(first["cell_height"], 3.5);
  EXPECT_EQ(first["other_height"], 2.5);
  EXPECT_EQ(first["designation_height"], 5.0);
  EXPECT_EQ(first["main_line"], 0.7);
  EXPECT_EQ(first["thin_line"], 0.2);
  EXPECT_EQ(done["history"].back()["editor"], "Петров");

  const std::vector<std::string> before = Quantities(Dump(home, simple)["sheets"][0]);
  ASSERT_FALSE(before.empty());
  run = Cli(home, {"set", simple, "--products", "1=3"});
  ASSERT_EQ(run.status, 0) << run.err;
  const json tripled = Dump(home, simple);
  EXPECT_EQ(tripled["sheets"][0]["products"], 3);
  const std::vector<std::string> after = Quantities(tripled["sheets"][0]);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_EQ(after[i], std::to_string(3 * std::stoi(before[i])));

  const std::string simple_bytes = FileBytes(simple);
  const std::vector<std::vector<std::string>> refused = {
      {"set", list},
      {"set", list, "--height", "cell_height=60"},
      {"set", list, "--height", "cell_height=2,5"},
      {"set", list, "--height", "document_name_height=3"},
      {"set", list, "--line", "main_line=-1"},
      {"set", list, "--line", "main_line"},
      {"set", list, "--title", "designation=ok", "--title", "no_such_field=x"},
      {"set", simple, "--title", "designation=x"},
      {"set", simple, "--products", "1=-2"},
      {"set", simple, "--products", "0=2"},
      {"set", simple, "--products", "9=2"},
  };
  for (const std::vector<std::string>& args : refused) {
    run = Cli(home, args);
    const std::string what = args.size() > 2 ? args[3] : "nothing";
    EXPECT_EQ(run.status, 2) << what << ": " << run.err;
    EXPECT_NE(run.err.find("set: "), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(FileBytes(list), list_bytes) << what;
    EXPECT_EQ(FileBytes(simple), simple_bytes) << what;
  }
  run = Cli(home, {"set", list, "--height", "cell_height=60"});
  EXPECT_NE(run.err.find("от 1 до 40 мм"), std::string::npos) << run.err;
}

}  // namespace
