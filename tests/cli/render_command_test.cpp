#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "document/document.h"
#include "support/cli_runner.h"
#include "support/made_documents.h"
#include "support/pdf_tools.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace {

using namespace tallyform::text::literals;
using json = nlohmann::ordered_json;
using tallyform::document::Document;
using tallyform::model::DocumentKind;
using tallyform::testing::Cli;
using tallyform::testing::CliRun;
using tallyform::testing::EmbeddedFonts;
using tallyform::testing::FileBytes;
using tallyform::testing::FontInstalled;
using tallyform::testing::HaveTools;
using tallyform::testing::PdfText;
using tallyform::testing::Quote;
using tallyform::testing::TempFolder;

// A saved document of the kind with `sheets` sheets, a Cyrillic cell text on each.
std::string SaveDocument(const TempFolder& home, DocumentKind kind, int sheets) {
  const Document doc = tallyform::testing::MakeDocument(kind, {}, [&](tallyform::document::SheetSet& set) {
    for (int i = 1; i < sheets; ++i) set.AddSheet(tallyform::model::LayoutOf(kind).following_top_offset);
    for (std::size_t i = 0; i < set.sheet_count(); ++i) {
      set.sheet(i).cell(2, 1).SetText(std::string("Резистор"_cp) + std::to_string(i + 1));
    }
  });
  const std::string name = "doc" + std::to_string(static_cast<int>(kind)) + ".enum";
  home.Write(name, doc.ToBytes({name, "", "01.01.2026 10:00:00", "", ""}));
  return name;
}

// Width and height of a PNG image, from its header.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24) return {0, 0};
  const auto be32 = [&](std::size_t at) {
    int v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v * 256 + static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

TEST(RenderCommandTest, WritesAPdfPageForEverySheet) {
  const TempFolder home;
  const std::string doc = SaveDocument(home, DocumentKind::kElementList, 3);
  const CliRun run = Cli(home, {"render", doc, "--pdf", "out.pdf"});
  ASSERT_EQ(run.status, 0) << run.err;
  const json out = json::parse(run.out);
  EXPECT_EQ(out["sheets"], 3);
  EXPECT_EQ(out["files"], json::array({"out.pdf"}));
  const std::string pdf = FileBytes(home / "out.pdf");
  ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
  if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
    const std::string txt = (home / "out.txt").string();
    ASSERT_EQ(std::system(("pdftotext " + Quote((home / "out.pdf").string()) + " " + Quote(txt)).c_str()), 0);
    const std::string text = FileBytes(txt);
    for (const char* cell : {"Резистор1", "Резистор2", "Резистор3"})
      EXPECT_NE(text.find(cell), std::string::npos);
    // One page break between each two pages.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3);
  }
}

TEST(RenderCommandTest, WritesNumberedSvgAndPngFiles) {
  const TempFolder home;
  const std::string doc = SaveDocument(home, DocumentKind::kPurchasedBill, 2);
  const CliRun svg = Cli(home, {"render", doc, "--svg", "svg"});
  ASSERT_EQ(svg.status, 0) << svg.err;
  EXPECT_EQ(json::parse(svg.out)["files"], json::array({"svg/sheet-001.svg", "svg/sheet-002.svg"}));
  EXPECT_NE(FileBytes(home / "svg" / "sheet-002.svg").find("Резистор2"), std::string::npos);

  const CliRun png = Cli(home, {"render", doc, "--png", "png"});
  ASSERT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(PngSize(FileBytes(home / "png" / "sheet-001.png")), std::make_pair(2480, 1754));  // 150 dpi

  const CliRun one = Cli(home, {"render", doc, "--png", "one", "--dpi", "72", "--sheet", "2"});
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(json::parse(one.out)["files"], json::array({"one/sheet-002.png"}));
  EXPECT_FALSE(std::filesystem::exists(home / "one" / "sheet-001.png"));
  EXPECT_EQ(PngSize(FileBytes(home / "one" / "sheet-002.png")), std::make_pair(1191, 842));
}

TEST(RenderCommandTest, BadUsageExitsTwoAndBadDocumentsExitOne) {
  const TempFolder home;
  const std::string doc = SaveDocument(home, DocumentKind::kSimpleBill, 1);
  const std::vector<std::vector<std::string>> usage_errors = {
      {"render", doc},                                    // no output
      {"render", doc, "--pdf", "a.pdf", "--svg", "s"},    // two outputs
      {"render", doc, "--png", "p", "--dpi", "0"},        // resolution out of range
      {"render", doc, "--png", "p", "--dpi", "many"},     // not a number
      {"render", doc, "--pdf", "a.pdf", "--dpi", "300"},  // --dpi belongs to PNG
      {"render", doc, "--pdf", "a.pdf", "--sheet", "0"},  // sheets count from 1
      {"render", doc, "--pdf", "a.pdf", "--sheet", "2"},  // no such sheet
  };
  for (const auto& args : usage_errors) {
    const CliRun run = Cli(home, args);
    EXPECT_EQ(run.status, 2) << args.back() << ": " << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(home / "a.pdf"));

  home.Write("broken.enum", "not a document");
  EXPECT_EQ(Cli(home, {"render", "broken.enum", "--pdf", "b.pdf"}).status, 1);
  EXPECT_EQ(Cli(home, {"render", "missing.enum", "--pdf", "b.pdf"}).status, 1);
  EXPECT_EQ(Cli(home, {"render", doc, "--pdf", "no/such/folder/b.pdf"}).status, 1);
}

TEST(RenderCommandTest, UnknownFontIsAWarningAndHelpTellsTheDefaults) {
  const TempFolder home;
  const std::string doc = SaveDocument(home, DocumentKind::kElementList, 1);
  const CliRun run = Cli(home, {"render", doc, "--svg", "svg", "--font", "No Such Face 7Q"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("No Such Face 7Q"), std::string::npos);

  const CliRun help = Cli(home, {"render", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("default 150"), std::string::npos);
  EXPECT_NE(help.out.find("sheet-001.png"), std::string::npos);
}

TEST(RenderCommandTest, PdfEmbedsTheFaceItDrawsInAndKeepsTheSymbolsAsText) {
  if (!HaveTools({"pdffonts", "pdftotext", "fc-list"})) GTEST_SKIP() << "poppler-utils is not installed";
  const TempFolder home;
  const std::string cell = "Резистор № 5 ±5%… Щёткин";
  const Document doc = tallyform::testing::MakeDocument(
      DocumentKind::kElementList, {}, [&](tallyform::document::SheetSet& set) {
        set.sheet(0).cell(2, 2).SetText(tallyform::text::FromUtf8(cell));
      });
  home.Write("symbols.enum", doc.ToBytes({"symbols.enum", "", "01.01.2026 10:00:00", "", ""}));

  const CliRun run = Cli(home, {"render", "symbols.enum", "--pdf", "out.pdf"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  // The bundled face, unless the system has the sheet face itself.
  if (!FontInstalled("AGOST Pincher")) {
    EXPECT_EQ(EmbeddedFonts(home, "out.pdf"), std::vector<std::string>{"OpenGostTypeBTT-Regular"});
  }
  const std::string text = PdfText(home, "out.pdf");
  EXPECT_NE(text.find(cell), std::string::npos) << text;
  EXPECT_NE(text.find("Наименование"), std::string::npos) << text;

  // A face the user names is embedded instead; the bundled face counts as installed.
  const CliRun bundled =
      Cli(home, {"render", "symbols.enum", "--pdf", "bundled.pdf", "--font", "opengost type b tt"});
  ASSERT_EQ(bundled.status, 0) << bundled.err;
  EXPECT_EQ(bundled.err, "");
  EXPECT_EQ(EmbeddedFonts(home, "bundled.pdf"), std::vector<std::string>{"OpenGostTypeBTT-Regular"});
  if (FontInstalled("PT Sans Narrow")) {
    const CliRun narrow =
        Cli(home, {"render", "symbols.enum", "--pdf", "narrow.pdf", "--font", "PT Sans Narrow"});
    ASSERT_EQ(narrow.status, 0) << narrow.err;
    EXPECT_EQ(narrow.err, "");
    EXPECT_EQ(EmbeddedFonts(home, "narrow.pdf"), std::vector<std::string>{"PTSans-Narrow"});
    EXPECT_NE(PdfText(home, "narrow.pdf").find(cell), std::string::npos);
  }
}

TEST(RenderCommandTest, FillDrawsItsDocumentIntoAPdfToo) {
  const TempFolder home;
  const std::string design = (std::filesystem::path(TALLYFORM_EXAMPLES) / "amplifier.sch").string();
  const CliRun run = Cli(home, {"fill", "--kind", "list", design, "-o", "amp.enum", "--pdf", "amp.pdf"});
  ASSERT_EQ(run.status, 0) << run.err;
  const json out = json::parse(run.out);
  EXPECT_EQ(out["pdf"], (home / "amp.pdf").string());
  ASSERT_EQ(FileBytes(home / "amp.pdf").substr(0, 5), "%PDF-");
  // The saved document renders to the same pages.
  const CliRun render = Cli(home, {"render", "amp.enum", "--pdf", "again.pdf"});
  ASSERT_EQ(render.status, 0) << render.err;
  EXPECT_EQ(json::parse(render.out)["sheets"], out["sheets"]);
  if (std::system("command -v pdfinfo >/dev/null 2>&1") == 0) {
    const std::string pages = "Pages:           " + out["sheets"].dump() + "\n";
    ASSERT_EQ(std::system(("pdfinfo " + Quote((home / "amp.pdf").string()) + " >" +
                           Quote((home / "info.txt").string()))
                              .c_str()),
              0);
    EXPECT_NE(FileBytes(home / "info.txt").find(pages), std::string::npos);
  }
}

}  // namespace
