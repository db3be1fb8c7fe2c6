// The design server over P-CAD ASCII files: the statuses it answers, its walks, and boards changed and saved
// back with every untouched byte kept.

#include "pcad/design_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "elements/ascii_reader.h"
#include "model/attributes.h"
#include "model/element_kinds.h"
#include "model/platform.h"
#include "pcad/dbx_status.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::pcad {
namespace {

using namespace tallyform::text::literals;
using ports::DbxAttribute;
using ports::DbxComponent;
using ports::DbxHandle;
using ports::DbxLayer;
using ports::DbxTextStyle;
using ports::kDbxVersion;
using testing::FileBytes;
using testing::TempFolder;

const std::filesystem::path kSamples = TALLYFORM_SAMPLES;
const char* const kBoards[] = {"zxinet.pcb", "TurboFMpro.pcb", "ep4f23_286_v2.pcb"};

constexpr std::string_view kSmallBoard =
    "ACCEL_ASCII \"small.pcb\"\n"
    "\n"
    "(library \"Library_1\"\n"
    "  (textStyleDef \"(Default)\"\n"
    "  )\n"
    "  (textStyleDef \"Big\"\n"
    "  )\n"
    "  (patternDefExtended \"CHIP_1\"\n"
    "    (originalName \"CHIP\")\n"
    "    (patternGraphicsNameRef \"Primary\")\n"
    "    (patternGraphicsDef \n"
    "      (patternGraphicsNameDef \"Primary\")\n"
    "      (layerContents  (layerNumRef  6)\n"
    "        (attr \"RefDes\" \"\" (pt 1.0 2.0) (isVisible True) (textStyleRef \"(Default)\") )\n"
    "      )\n"
    "    )\n"
    "  )\n"
    ")\n"
    "(netlist \"Netlist_1\"\n"
    "  (compInst \"R1\"\n"
    "    (compRef \"RES_1\")\n"
    "    (originalName \"RES\")\n"
    "    (compValue \"10k\")\n"
    "  )\n"
    "  (compInst \"1\"\n"
    "    (compRef \"HOLE_1\")\n"
    "    (originalName \"HOLE\")\n"
    "  )\n"
    ")\n"
    "(pcbDesign \"PcbDesign_1\"\n"
    "  (layerDef \"Top Assy\"\n"
    "    (layerNum 10)\n"
    "  )\n"
    "  (layerDef \"Top Silk\"\n"
    "    (layerNum 6)\n"
    "  )\n"
    "  (multiLayer \n"
    "    (pattern (patternRef \"CHIP_1\") (refDesRef \"R1\") (pt 5.0 5.0) (patternGraphicsNameRef "
    "\"Primary\")\n"
    "      (patternGraphicsRef \n"
    "        (patternGraphicsNameRef \"Primary\")\n"
    "        (attr \"RefDes\" \"R1\" (pt 0.0 0.5) (isVisible True) (textStyleRef \"(Default)\") )\n"
    "      )\n"
    "    )\n"
    "  )\n"
    ")\n";

std::vector<DbxAttribute> Attributes(ports::Dbx& dbx, DbxHandle handle, const std::string& designator) {
  std::vector<DbxAttribute> out;
  DbxAttribute a;
  for (auto status = dbx.GetFirstCompAttribute(handle, designator, a); status == 0;
       status = dbx.GetNextCompAttribute(handle, a)) {
    out.push_back(a);
  }
  return out;
}

const DbxAttribute* Named(const std::vector<DbxAttribute>& attributes, std::string_view name) {
  for (const DbxAttribute& a : attributes) {
    if (a.name == name) return &a;
  }
  return nullptr;
}

DbxAttribute RefDes2(const std::string& value, std::int32_t layer, std::int32_t style, std::int32_t justify) {
  DbxAttribute a;
  a.name = "RefDes2";
  a.value = value;
  a.layer_id = layer;
  a.text_style = style;
  a.justification = justify;
  a.is_visible = 1;
  return a;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The saved text is the original with whole lines inserted, each of them a RefDes2 attribute or the frame of
// a layerContents form that holds one.
void ExpectOnlyInsertedLines(const std::string& original, const std::string& saved) {
  std::vector<std::string> before = Lines(original);
  std::vector<std::string> after = Lines(saved);
  std::size_t j = 0;
  for (const std::string& line : after) {
    if (j < before.size() && line == before[j]) {
      ++j;
      continue;
    }
    bool allowed = line.find("(attr \"RefDes2\"") != std::string::npos ||
                   line.find("(layerContents  (layerNumRef") != std::string::npos ||
                   line.find_first_not_of(" )\r") == std::string::npos;
    ASSERT_TRUE(allowed) << "changed line: " << line;
  }
  EXPECT_EQ(j, before.size());
}

TEST(DbxStatusMessage, ListedUnlistedAndCut) {
  EXPECT_EQ(DbxStatusMessage(0), "Status: OK");
  EXPECT_EQ(DbxStatusMessage(32105),
            std::string("Нет связи с приложением P-CAD.\nПроверьте, загружено ли данное приложение."_cp));
  EXPECT_EQ(DbxStatusMessage(32104), std::string("Соединение с приложением P-CAD уже существует."_cp));
  EXPECT_EQ(DbxStatusMessage(32168), "No More Components");
  EXPECT_EQ(DbxStatusMessage(32279), "Invalid Pin Number");
  EXPECT_EQ(DbxStatusMessage(32009), "Flip Error");
  EXPECT_EQ(DbxStatusMessage(32100), std::string("Статус: 32100"_cp));
  EXPECT_EQ(DbxStatusMessage(-7), std::string("Статус: -7"_cp));
  EXPECT_EQ(DbxStatusMessage(32168, 5), "No M");
  EXPECT_EQ(DbxStatusMessage(0, 1), "");
  EXPECT_EQ(DbxStatusMessage(0, 0), "");
  EXPECT_EQ(DbxErrorTitle(), std::string_view("Ошибка P-CAD"_cp));
}

TEST(DesignServer, OpenStatuses) {
  TempFolder folder;
  const auto board = folder.Write("small.pcb", kSmallBoard);
  const auto schematic =
      folder.Write("small.sch", "ACCEL_ASCII \"s\"\n(library \"L\"\n)\n(schematicDesign \"S\"\n)\n");
  const auto bare = folder.Write("bare.pcb", "ACCEL_ASCII \"s\"\n(pcbDesign \"P\"\n)\n");
  // A cut board once took an attribute inside its last open form, where it was lost: a cut file is refused.
  const auto cut = folder.Write("cut.pcb", kSmallBoard.substr(0, kSmallBoard.size() - 12));
  const auto binary = folder.Write("binary.pcb", std::string("II\0\0ACCEL_ASCII", 15));
  DesignServer server;
  DbxHandle handle = 0;
  EXPECT_EQ(server.OpenDesign(17000, "pcb:" + model::Utf8FromPath(board), handle), 32006);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, model::Utf8FromPath(board), handle), 32122);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath((folder / "missing.pcb")), handle),
            32239);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(binary), handle), 32239);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(cut), handle), 32239);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(schematic), handle), 32239);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(bare), handle), 32231);

  ASSERT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), handle), 0);
  DbxHandle again = 0;
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), again), 32104);
  EXPECT_EQ(again, handle);
  EXPECT_EQ(server.OpenDesign(kDbxVersion, "sch:" + model::Utf8FromPath(schematic), again), 32106);
  EXPECT_EQ(server.CloseDesign(handle + 1, ""), 32101);
  EXPECT_EQ(server.CloseDesign(handle, "Later"), 32122);
  EXPECT_EQ(server.CloseDesign(handle, ""), 0);
  DbxComponent component;
  EXPECT_EQ(server.GetFirstComponent(handle, component), 32101);
  EXPECT_TRUE(server.HoldsDesign());

  // Closed without "FileClose" the design stays loaded: another design is refused no longer, it replaces it.
  ASSERT_EQ(server.OpenDesign(kDbxVersion, "sch:" + model::Utf8FromPath(schematic), handle), 0);
  EXPECT_EQ(server.GetFirstComponent(handle, component), 32168);
  DbxLayer layer;
  EXPECT_EQ(server.GetFirstLayer(handle, layer), 32161);
  EXPECT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 0, 0, 5)), 32142);
  EXPECT_EQ(server.CloseDesign(handle, "FileClose"), 0);
  EXPECT_FALSE(server.HoldsDesign());
}

TEST(DesignServer, WalksAndChangesASmallBoard) {
  TempFolder folder;
  const auto board = folder.Write("small.pcb", kSmallBoard);
  DesignServer server;
  DbxHandle handle = 0;
  ASSERT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), handle), 0);

  DbxComponent component;
  EXPECT_EQ(server.GetNextComponent(handle, component), 32145);
  std::vector<std::string> designators;
  std::int32_t status = server.GetFirstComponent(handle, component);
  for (; status == 0; status = server.GetNextComponent(handle, component))
    designators.push_back(component.designator);
  EXPECT_EQ(status, 32168);
  EXPECT_EQ(designators, (std::vector<std::string>{"R1", "1"}));

  auto attributes = Attributes(server, handle, "R1");
  ASSERT_EQ(attributes.size(), 3u);
  EXPECT_EQ(attributes[0].name, "RefDes");
  EXPECT_EQ(attributes[0].value, "R1");
  EXPECT_EQ(attributes[1].name, "Type");
  EXPECT_EQ(attributes[2].value, "10k");
  DbxAttribute attribute;
  EXPECT_EQ(server.GetFirstCompAttribute(handle, "R2", attribute), 32215);

  DbxLayer layer;
  ASSERT_EQ(server.GetFirstLayer(handle, layer), 0);
  EXPECT_EQ(layer.id, 10);
  EXPECT_EQ(layer.name, "Top Assy");
  ASSERT_EQ(server.GetNextLayer(handle, layer), 0);
  EXPECT_EQ(server.GetNextLayer(handle, layer), 32161);
  DbxTextStyle style;
  EXPECT_EQ(server.GetTextStyle(handle, 1, style), 0);
  EXPECT_EQ(style.name, "Big");
  EXPECT_NE(server.GetTextStyle(handle, 2, style), 0);

  EXPECT_EQ(server.AddCompAttribute(handle, "R2", RefDes2("R2", 10, 1, 5)), 32215);
  EXPECT_EQ(server.AddCompAttribute(handle, "1", RefDes2("1", 10, 1, 5)), 32233);
  EXPECT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 10, 1, 3)), 32173);
  EXPECT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 10, 2, 5)), 32183);
  EXPECT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 11, 1, 5)), 32198);
  DbxAttribute unnamed = RefDes2("R1", 10, 1, 5);
  unnamed.name.clear();
  EXPECT_EQ(server.AddCompAttribute(handle, "R1", unnamed), 32201);
  EXPECT_EQ(server.ModifyCompAttribute(handle, "R1", RefDes2("R1", 10, 1, 5)), 32141);
  EXPECT_EQ(server.ModifyCompAttribute(handle, "R1",
                                       [] {
                                         DbxAttribute type = RefDes2("RES", 10, 1, 5);
                                         type.name = "Type";
                                         return type;
                                       }()),
            32142);
  ASSERT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 10, 1, 5)), 0);
  EXPECT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 10, 1, 5)), 32205);
  ASSERT_EQ(server.SaveDesign(handle), 0);
  ASSERT_EQ(server.CloseDesign(handle, "FileClose"), 0);

  const std::string saved = FileBytes(board);
  EXPECT_NE(saved.find("        (attr \"RefDes2\" \"R1\" (pt 0.0 0.0) (isVisible True) (justify Center) "
                       "(textStyleRef \"Big\") )\n      )\n    )\n  )\n)\n"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find("      (layerContents  (layerNumRef  10)\n"
                       "        (attr \"RefDes2\" \"\" (pt 0.0 0.0) (isVisible True) (justify Center) "
                       "(textStyleRef \"Big\") )\n      )\n    )\n  )\n)\n(netlist"),
            std::string::npos)
      << saved;
  ExpectOnlyInsertedLines(std::string(kSmallBoard), saved);

  // A restyle to another layer moves the library's text there and keeps the value.
  ASSERT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), handle), 0);
  DbxAttribute modified = RefDes2("R1", 6, 0, 9);
  ASSERT_EQ(server.ModifyCompAttribute(handle, "R1", modified), 0);
  ASSERT_EQ(server.SaveDesign(handle), 0);
  attributes = Attributes(server, handle, "R1");
  const DbxAttribute* refdes2 = Named(attributes, "RefDes2");
  ASSERT_NE(refdes2, nullptr);
  EXPECT_EQ(refdes2->layer_id, 6);
  EXPECT_EQ(refdes2->text_style, 0);
  EXPECT_EQ(refdes2->justification, 9);
  EXPECT_EQ(refdes2->value, "R1");
  ASSERT_EQ(server.CloseDesign(handle, ""), 0);
  const std::string restyled = FileBytes(board);
  EXPECT_EQ(restyled.find("(layerNumRef  10)\n        (attr \"RefDes2\""), std::string::npos) << restyled;
  EXPECT_NE(restyled.find("(textStyleRef \"(Default)\") )\n        (attr \"RefDes2\" \"\" (pt 0.0 0.0)"),
            std::string::npos)
      << restyled;
}

TEST(DesignServer, SaveFailureLeavesTheFile) {
  TempFolder folder;
  const auto board = folder.Write("small.pcb", kSmallBoard);
  std::filesystem::create_directory(folder / "small.pcb.saving~");
  DesignServer server;
  DbxHandle handle = 0;
  ASSERT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), handle), 0);
  ASSERT_EQ(server.AddCompAttribute(handle, "R1", RefDes2("R1", 10, 1, 5)), 0);
  EXPECT_EQ(server.SaveDesign(handle), 32239);
  EXPECT_EQ(FileBytes(board), kSmallBoard);
}

// Every published board: unchanged bytes on a save without changes; RefDes2 on every component, read back
// through the server with its layer, style and justification, and the same elements for the ASCII reader.
TEST(DesignServer, RoundTripOverThePublishedBoards) {
  // The published designs lie beside the project, not in it; a machine without them skips this.
  if (!std::filesystem::is_directory(TALLYFORM_SAMPLES))
    GTEST_SKIP() << "no published designs at " << TALLYFORM_SAMPLES;
  model::ElementKinds kinds;
  kinds.FillBuiltIn();
  elements::AsciiReader reader(kinds);
  for (const char* name : kBoards) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string original = FileBytes(kSamples / name);
    const auto board = folder.Write(name, original);
    elements::ListData before;
    reader.ReadFile(board, false, before);

    DesignServer server;
    DbxHandle handle = 0;
    ASSERT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), handle), 0);
    ASSERT_EQ(server.SaveDesign(handle), 0);
    EXPECT_TRUE(FileBytes(board) == original);

    DbxLayer layer;
    ASSERT_EQ(server.GetFirstLayer(handle, layer), 0);
    DbxComponent component;
    std::vector<std::string> changed;
    std::size_t walked = 0;
    for (auto status = server.GetFirstComponent(handle, component); status == 0;
         status = server.GetNextComponent(handle, component)) {
      ++walked;
      auto attributes = Attributes(server, handle, component.designator);
      ASSERT_NE(Named(attributes, "RefDes"), nullptr);
      EXPECT_EQ(Named(attributes, "RefDes")->value, component.designator);
      ASSERT_NE(Named(attributes, "Type"), nullptr);
      if (component.designator.empty() || model::BeginsWithDigit(component.designator)) continue;
      if (server.AddCompAttribute(handle, component.designator,
                                  RefDes2(component.designator, layer.id, 1, 5)) == 0)
        changed.push_back(component.designator);
    }
    EXPECT_EQ(changed.size(), before.elements.count());
    EXPECT_GE(walked, before.elements.count());
    EXPECT_GT(walked, 5u);
    ASSERT_EQ(server.SaveDesign(handle), 0);
    ASSERT_EQ(server.CloseDesign(handle, "FileClose"), 0);
    const std::string saved = FileBytes(board);
    ExpectOnlyInsertedLines(original, saved);

    ASSERT_EQ(server.OpenDesign(kDbxVersion, "pcb:" + model::Utf8FromPath(board), handle), 0);
    for (const std::string& designator : changed) {
      auto attributes = Attributes(server, handle, designator);
      const DbxAttribute* refdes2 = Named(attributes, "RefDes2");
      ASSERT_NE(refdes2, nullptr) << designator;
      EXPECT_EQ(refdes2->value, designator);
      EXPECT_EQ(refdes2->layer_id, layer.id);
      EXPECT_EQ(refdes2->text_style, 1);
      EXPECT_EQ(refdes2->justification, 5);
    }
    ASSERT_EQ(server.CloseDesign(handle, ""), 0);

    elements::ListData after;
    reader.ReadFile(board, false, after);
    ASSERT_EQ(after.elements.count(), before.elements.count());
    for (std::size_t i = 0; i < before.elements.count(); ++i) {
      EXPECT_EQ(after.elements.storage()[i]->pairs(), before.elements.storage()[i]->pairs());
    }
    EXPECT_EQ(after.attribute_names, before.attribute_names);
  }
}

}  // namespace
}  // namespace tallyform::pcad
