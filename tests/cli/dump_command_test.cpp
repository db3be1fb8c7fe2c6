#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/document_session.h"
#include "document/document.h"
#include "support/cli_runner.h"
#include "support/fake_ports.h"
#include "support/made_documents.h"
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
using tallyform::testing::FakeSystemInfo;
using tallyform::testing::FileBytes;
using tallyform::testing::TempFolder;

TEST(DumpCommandTest, PrintsTheWholeDocument) {
  TempFolder home;
  tallyform::elements::ListData data;
  auto element = std::make_unique<tallyform::elements::Element>();
  element->Set("RefDes", "C1");
  element->Set("Value", "1 мкФ"_cp);
  data.elements.Append(std::move(element));
  data.attribute_names = {"RefDes", "Value"};
  data.prefixes = {"C"};
  data.designations[std::string("/d/плата.sch"_cp)] = std::string("АБВГ.1"_cp);
  data.headings["Value"] = std::string("Номинал"_cp);
  data.roles = tallyform::model::DefaultRoles();
  tallyform::app::DocumentSession session(tallyform::testing::MakeDocument(
      DocumentKind::kSimpleBill, std::move(data), [](tallyform::document::SheetSet& set) {
        set.sheet(0).SetTitleField(TitleField::kInspector, "Нормоконтролёр"_cp);
        set.sheet(0).SetTitleField(TitleField::kLetter2, "О"_cp);
        set.sheet(0).settings().thin_line = 0.3;
        set.sheet(0).cell(2, 1).SetText("Конденсатор"_cp);
        set.sheet(0).cell(2, 1).SetAttributes(0x200001);
        set.AddSheet(23).SetSectionStart(true);
      }));
  FakeSystemInfo system;
  session.Save(home / "doc.enum", std::string("Иванов"_cp), system);

  const CliRun run = Cli(home, {"dump", (home / "doc.enum").string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const json out = json::parse(run.out);
  std::vector<std::string> keys;
  for (const auto& item : out.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"attributes", "prefixes", "designations", "elements", "headings",
                                            "roles", "kind", "history", "sheets"}));
  EXPECT_EQ(out["elements"], json::parse(R"([{"RefDes":"C1","Value":"1 мкФ"}])"));
  EXPECT_EQ(out["designations"], json::parse(R"({"/d/плата.sch":"АБВГ.1"})"));
  EXPECT_EQ(out["headings"], json::parse(R"({"Value":"Номинал"})"));
  EXPECT_EQ(out["roles"], json::parse(R"(["RefDes","Type","Value","ТУ"])"));
  EXPECT_EQ(out["kind"], 2);
  ASSERT_EQ(out["history"].size(), 1u);
  EXPECT_EQ(out["history"][0], json({{"file", (home / "doc.enum").string()},
                                     {"editor", "Иванов"},
                                     {"time", "05.03.2024 09:07:02"},
                                     {"computer", "BENCH-7"},
                                     {"user", "engineer"}}));

  ASSERT_EQ(out["sheets"].size(), 2u);
  const json& first = out["sheets"][0];
  std::vector<std::string> title_keys;
  for (const auto& item : first["title"].items()) title_keys.push_back(item.key());
  EXPECT_EQ(title_keys,
            (std::vector<std::string>{"approved_by", "standards_inspector", "extra_signature_name",
                                      "extra_signature_label", "checker", "developed_by", "letter1",
                                      "letter2", "letter3", "sheet_number", "sheet_count", "enterprise",
                                      "designation", "product_name", "document_name", "first_use"}));
  EXPECT_EQ(first["title"]["standards_inspector"], "Нормоконтролёр");
  EXPECT_EQ(first["title"]["letter2"], "О");
  EXPECT_EQ(first["title"]["document_name"], "Ведомость покупных изделий");
  EXPECT_EQ(first["title"]["sheet_count"], "1");
  EXPECT_EQ(first["thin_line"], 0.3);
  EXPECT_EQ(first["cell_height"], 4.0);
  EXPECT_EQ(first["designation_height"], 5.0);
  EXPECT_EQ(first["customer_approval"], false);
  EXPECT_EQ(first["products"], 1);
  EXPECT_EQ(first["gap"], 3);
  EXPECT_EQ(first["tail"], 1);
  EXPECT_EQ(first["body_height"], 259);
  EXPECT_EQ(first["used_height"], 256);
  EXPECT_EQ(first["top"], 28);
  EXPECT_EQ(first["left"], 20);
  EXPECT_EQ(first["columns"], 6);
  EXPECT_EQ(first["widths"], json::parse("[7, 60, 20, 15, 30, 53]"));
  ASSERT_EQ(first["rows"].size(), 32u);
  ASSERT_EQ(first["rows"][2].size(), 6u);
  EXPECT_EQ(first["rows"][2][1],
            json::parse(R"({"text":"Конденсатор","attrs":2097153,"rect":[27,44,87,52]})"));
  EXPECT_EQ(out["sheets"][1]["section_start"], true);
  EXPECT_EQ(out["sheets"][1]["top"], 28);
  EXPECT_EQ(out["sheets"][1]["rows"].size(), 32u);  // a section sheet starts lower and holds a row less
}

TEST(DumpCommandTest, UnreadableInputFailsWithAMessage) {
  TempFolder home;
  CliRun run = Cli(home, {"dump", (home / "missing.enum").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.enum"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());

  home.Write("bad.enum", std::string("\x01\x00\x05", 3));
  run = Cli(home, {"dump", (home / "bad.enum").string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.enum: Непредвиденный формат файла."), std::string::npos) << run.err;
  EXPECT_TRUE(run.out.empty());
}

}  // namespace
