// The link through P-CAD's DBX library, over a library made of this file's own functions: records travel
// through their byte offsets (written here as numbers, as the records are documented) both ways, and a
// library without one of its functions answers 32001.

#include "pcad/dbx_library.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/platform.h"
#include "pcad/dbx_status.h"
#include "support/temp_folder.h"

namespace tallyform::pcad {
namespace {

using dbx32::Long;
using Attribute = std::array<unsigned char, 1212>;  // the attribute record, at its exact size

void PutLong(unsigned char* record, std::size_t offset, Long value) {
  std::memcpy(record + offset, &value, sizeof value);
}
Long TakeLong(const unsigned char* record, std::size_t offset) {
  Long value = 0;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}
void PutText(unsigned char* record, std::size_t offset, const std::string& text) {
  std::memcpy(record + offset, text.c_str(), text.size() + 1);
}
std::string TakeText(const unsigned char* record, std::size_t offset) {
  return reinterpret_cast<const char*>(record + offset);
}

// The design the fake library holds, and what it was asked.
struct FakeDesign {
  std::vector<std::vector<unsigned char>> components;
  std::map<std::string, std::vector<Attribute>> attributes;
  std::vector<std::pair<Long, std::string>> layers;
  std::vector<std::string> styles;
  std::size_t next = 0;
  std::string walked;
  Long language = -1;
  Long version = 0;
  std::string name;
  std::vector<std::pair<std::string, Attribute>> added;
  std::vector<std::pair<std::string, Attribute>> modified;
  int saves = 0;
  std::string close_option;
};
FakeDesign* design = nullptr;
constexpr Long kHandle = 7;

Long TALLYFORM_DBX_CALL TOpenDesign(Long language, Long version, const char* name, Long* handle) {
  design->language = language;
  design->version = version;
  design->name = name;
  *handle = kHandle;
  return kDbxConnectionExists;
}
Long NextComponent(Long handle, void* record) {
  if (handle != kHandle) return kDbxInvalidHandle;
  if (design->next == design->components.size()) return kDbxNoMoreComponents;
  const auto& component = design->components[design->next++];
  std::memcpy(record, component.data(), component.size());
  return 0;
}
Long TALLYFORM_DBX_CALL TGetFirstComponent(Long handle, void* record) {
  design->next = 0;
  return NextComponent(handle, record);
}
Long TALLYFORM_DBX_CALL TGetNextComponent(Long handle, void* record) {
  return NextComponent(handle, record);
}
Long NextAttribute(void* record) {
  const auto& list = design->attributes[design->walked];
  if (design->next == list.size()) return kDbxNoMoreItems;
  std::memcpy(record, list[design->next++].data(), 1212);
  return 0;
}
Long TALLYFORM_DBX_CALL TGetFirstCompAttribute(Long, const char* designator, void* record) {
  design->walked = designator;
  design->next = 0;
  return NextAttribute(record);
}
Long TALLYFORM_DBX_CALL TGetNextCompAttribute(Long, void* record) {
  return NextAttribute(record);
}
Long TALLYFORM_DBX_CALL TModifyCompAttribute(Long, const char* designator, void* record) {
  design->modified.emplace_back(designator, Attribute{});
  std::memcpy(design->modified.back().second.data(), record, 1212);
  return 0;
}
Long TALLYFORM_DBX_CALL TAddCompAttribute(Long, const char* designator, void* record) {
  design->added.emplace_back(designator, Attribute{});
  std::memcpy(design->added.back().second.data(), record, 1212);
  return 0;
}
Long NextLayer(void* record) {
  if (design->next == design->layers.size()) return kDbxNoMoreLayers;
  const auto& [id, name] = design->layers[design->next++];
  PutLong(static_cast<unsigned char*>(record), 0, id);
  PutText(static_cast<unsigned char*>(record), 4, name);
  return 0;
}
Long TALLYFORM_DBX_CALL TGetFirstLayer(Long, void* record) {
  design->next = 0;
  return NextLayer(record);
}
Long TALLYFORM_DBX_CALL TGetNextLayer(Long, void* record) {
  return NextLayer(record);
}
Long TALLYFORM_DBX_CALL TGetTextStyle(Long, Long index, void* record) {
  if (index < 0 || static_cast<std::size_t>(index) >= design->styles.size()) return kDbxInvalidTextStyle;
  PutText(static_cast<unsigned char*>(record), 4, design->styles[index]);
  return 0;
}
Long TALLYFORM_DBX_CALL TSaveDesign(Long) {
  ++design->saves;
  return 0;
}
Long TALLYFORM_DBX_CALL TCloseDesign(Long, const char* option) {
  design->close_option = option;
  return 0;
}

class FakeSymbols : public SymbolSource {
 public:
  explicit FakeSymbols(const std::string& missing = "") {
    symbols_ = {{"TOpenDesign", reinterpret_cast<void*>(&TOpenDesign)},
                {"TGetFirstComponent", reinterpret_cast<void*>(&TGetFirstComponent)},
                {"TGetNextComponent", reinterpret_cast<void*>(&TGetNextComponent)},
                {"TGetFirstCompAttribute", reinterpret_cast<void*>(&TGetFirstCompAttribute)},
                {"TGetNextCompAttribute", reinterpret_cast<void*>(&TGetNextCompAttribute)},
                {"TModifyCompAttribute", reinterpret_cast<void*>(&TModifyCompAttribute)},
                {"TAddCompAttribute", reinterpret_cast<void*>(&TAddCompAttribute)},
                {"TGetFirstLayer", reinterpret_cast<void*>(&TGetFirstLayer)},
                {"TGetNextLayer", reinterpret_cast<void*>(&TGetNextLayer)},
                {"TGetTextStyle", reinterpret_cast<void*>(&TGetTextStyle)},
                {"TSaveDesign", reinterpret_cast<void*>(&TSaveDesign)},
                {"TCloseDesign", reinterpret_cast<void*>(&TCloseDesign)}};
    symbols_.erase(missing);
  }
  void* Find(const char* name) override {
    const auto found = symbols_.find(name);
    return found == symbols_.end() ? nullptr : found->second;
  }

 private:
  std::map<std::string, void*> symbols_;
};

std::vector<unsigned char> Component(Long id, const std::string& designator, const std::string& pattern,
                                     Long x) {
  std::vector<unsigned char> record(800);
  PutLong(record.data(), 0, id);
  PutText(record.data(), 4, designator);
  PutText(record.data(), 304, pattern);
  PutLong(record.data(), 660, x);
  PutLong(record.data(), 664, x + 1);
  PutLong(record.data(), 684, 90);
  PutLong(record.data(), 704, 1);
  PutLong(record.data(), 708, 1);
  return record;
}

Attribute MakeAttribute(const std::string& name, const std::string& value, Long style, Long layer) {
  Attribute record{};
  PutText(record.data(), 4, name);
  PutText(record.data(), 104, value);
  PutLong(record.data(), 1144, style);
  PutLong(record.data(), 1148, 5);
  PutLong(record.data(), 1192, layer);
  PutLong(record.data(), 1204, 1);
  return record;
}

TEST(DbxLibrary, WalksAndChangesADesignThroughTheRecordOffsets) {
  FakeDesign fake;
  design = &fake;
  fake.components = {Component(11, "R1", "RES0805", 1000), Component(12, "1TP", "", 2000)};
  Attribute refdes2 = MakeAttribute("RefDes2", "R1", 2, 26);
  refdes2[1160] = 0x5A;  // a field the port does not carry
  fake.attributes["R1"] = {MakeAttribute("Value", "10 \xEA\xCE\xEC", 0, 0), refdes2};
  fake.layers = {{1, "Top"}, {26, "Top Assy"}};
  fake.styles = {"(Default)", "RefDes"};

  DbxLibrary dbx(std::make_unique<FakeSymbols>());
  ASSERT_TRUE(dbx.Bound());
  ports::DbxHandle handle = 0;
  EXPECT_EQ(dbx.OpenDesign(ports::kDbxVersion, "pcb:C:\\b.pcb", handle), kDbxConnectionExists);
  EXPECT_EQ(handle, kHandle);
  EXPECT_EQ(fake.language, 0);
  EXPECT_EQ(fake.version, 18000);
  EXPECT_EQ(fake.name, "pcb:C:\\b.pcb");

  std::vector<ports::DbxComponent> components;
  ports::DbxComponent component;
  std::int32_t status = dbx.GetFirstComponent(handle, component);
  for (; status == 0; status = dbx.GetNextComponent(handle, component)) components.push_back(component);
  EXPECT_EQ(status, kDbxNoMoreComponents);
  ASSERT_EQ(components.size(), 2u);
  EXPECT_EQ(components[0].id, 11);
  EXPECT_EQ(components[0].designator, "R1");
  EXPECT_EQ(components[0].pattern_name, "RES0805");
  EXPECT_EQ(components[0].x, 1000);
  EXPECT_EQ(components[0].y, 1001);
  EXPECT_EQ(components[0].rotation, 90);
  EXPECT_EQ(components[0].is_flipped, 1);
  EXPECT_EQ(components[0].is_fixed, 1);
  EXPECT_EQ(components[1].designator, "1TP");
  EXPECT_EQ(components[1].pattern_name, "");

  std::vector<ports::DbxAttribute> attributes;
  ports::DbxAttribute attribute;
  for (status = dbx.GetFirstCompAttribute(handle, "R1", attribute); status == 0;
       status = dbx.GetNextCompAttribute(handle, attribute))
    attributes.push_back(attribute);
  ASSERT_EQ(attributes.size(), 2u);
  EXPECT_EQ(attributes[0].name, "Value");
  EXPECT_EQ(attributes[0].value, "10 \xEA\xCE\xEC");
  EXPECT_EQ(attributes[1].name, "RefDes2");
  EXPECT_EQ(attributes[1].text_style, 2);
  EXPECT_EQ(attributes[1].justification, 5);
  EXPECT_EQ(attributes[1].layer_id, 26);
  EXPECT_EQ(attributes[1].is_visible, 1);

  // A modified attribute keeps the bytes the port does not carry; an added one is built from zero.
  ports::DbxAttribute working = attributes[1];
  working.text_style = 1;
  working.justification = 9;
  working.layer_id = 1;
  EXPECT_EQ(dbx.ModifyCompAttribute(handle, "R1", working), 0);
  ASSERT_EQ(fake.modified.size(), 1u);
  const unsigned char* m = fake.modified[0].second.data();
  EXPECT_EQ(fake.modified[0].first, "R1");
  EXPECT_EQ(TakeText(m, 4), "RefDes2");
  EXPECT_EQ(TakeText(m, 104), "R1");
  EXPECT_EQ(TakeLong(m, 1144), 1);
  EXPECT_EQ(TakeLong(m, 1148), 9);
  EXPECT_EQ(TakeLong(m, 1192), 1);
  EXPECT_EQ(m[1160], 0x5A);

  ports::DbxAttribute added;
  added.name = "RefDes2";
  added.value = "R1";
  added.text_style = 1;
  added.justification = 10;
  added.layer_id = 26;
  added.is_visible = 1;
  added.kind = 54;
  added.owner_id = components[0].id;
  added.x = components[0].x;
  added.y = components[0].y;
  added.rotation = components[0].rotation;
  added.is_flipped = components[0].is_flipped;
  added.is_fixed = components[0].is_fixed;
  EXPECT_EQ(dbx.AddCompAttribute(handle, "R1", added), 0);
  ASSERT_EQ(fake.added.size(), 1u);
  const unsigned char* a = fake.added[0].second.data();
  EXPECT_EQ(TakeText(a, 4), "RefDes2");
  EXPECT_EQ(TakeText(a, 104), "R1");
  EXPECT_EQ(TakeText(a, 360), "");
  EXPECT_EQ(TakeText(a, 872), "");
  EXPECT_EQ(TakeLong(a, 1144), 1);
  EXPECT_EQ(TakeLong(a, 1148), 10);
  EXPECT_EQ(TakeLong(a, 1152), 1000);
  EXPECT_EQ(TakeLong(a, 1156), 1001);
  EXPECT_EQ(TakeLong(a, 1176), 90);
  EXPECT_EQ(TakeLong(a, 1180), 11);
  EXPECT_EQ(TakeLong(a, 1192), 26);
  EXPECT_EQ(TakeLong(a, 1196), 1);
  EXPECT_EQ(TakeLong(a, 1200), 1);
  EXPECT_EQ(TakeLong(a, 1204), 1);
  EXPECT_EQ(TakeLong(a, 1208), 54);
  EXPECT_EQ(a[1160], 0);

  std::vector<ports::DbxLayer> layers;
  ports::DbxLayer layer;
  for (status = dbx.GetFirstLayer(handle, layer); status == 0; status = dbx.GetNextLayer(handle, layer))
    layers.push_back(layer);
  EXPECT_EQ(status, kDbxNoMoreLayers);
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[1].id, 26);
  EXPECT_EQ(layers[1].name, "Top Assy");

  ports::DbxTextStyle style;
  EXPECT_EQ(dbx.GetTextStyle(handle, 1, style), 0);
  EXPECT_EQ(style.index, 1);
  EXPECT_EQ(style.name, "RefDes");
  EXPECT_EQ(dbx.GetTextStyle(handle, 2, style), kDbxInvalidTextStyle);

  EXPECT_EQ(dbx.SaveDesign(handle), 0);
  EXPECT_EQ(fake.saves, 1);
  EXPECT_EQ(dbx.CloseDesign(handle, "FileClose"), 0);
  EXPECT_EQ(fake.close_option, "FileClose");
  design = nullptr;
}

TEST(DbxLibrary, WithoutTheLibraryOrOneOfItsFunctionsEveryCallAnswersNoConnection) {
  FakeDesign fake;
  design = &fake;
  std::vector<std::unique_ptr<SymbolSource>> sources;
  sources.push_back(std::make_unique<FakeSymbols>("TCloseDesign"));
  sources.push_back(nullptr);
  for (auto& symbols : sources) {
    DbxLibrary dbx(std::move(symbols));
    EXPECT_FALSE(dbx.Bound());
    ports::DbxHandle handle = 0;
    ports::DbxComponent component;
    ports::DbxAttribute attribute;
    ports::DbxLayer layer;
    ports::DbxTextStyle style;
    EXPECT_EQ(dbx.OpenDesign(ports::kDbxVersion, "pcb:b.pcb", handle), kDbxConnectionError);
    EXPECT_EQ(dbx.GetFirstComponent(handle, component), kDbxConnectionError);
    EXPECT_EQ(dbx.GetNextComponent(handle, component), kDbxConnectionError);
    EXPECT_EQ(dbx.GetFirstCompAttribute(handle, "R1", attribute), kDbxConnectionError);
    EXPECT_EQ(dbx.GetNextCompAttribute(handle, attribute), kDbxConnectionError);
    EXPECT_EQ(dbx.ModifyCompAttribute(handle, "R1", attribute), kDbxConnectionError);
    EXPECT_EQ(dbx.AddCompAttribute(handle, "R1", attribute), kDbxConnectionError);
    EXPECT_EQ(dbx.GetFirstLayer(handle, layer), kDbxConnectionError);
    EXPECT_EQ(dbx.GetNextLayer(handle, layer), kDbxConnectionError);
    EXPECT_EQ(dbx.GetTextStyle(handle, 0, style), kDbxConnectionError);
    EXPECT_EQ(dbx.SaveDesign(handle), kDbxConnectionError);
    EXPECT_EQ(dbx.CloseDesign(handle, ""), kDbxConnectionError);
  }
  EXPECT_EQ(fake.name, "");
  EXPECT_EQ(LoadDbxLibrary("/nonexistent/Dbx32.dll"), nullptr);
  EXPECT_NE(DbxStatusMessage(kDbxConnectionError).find("P-CAD"), std::string::npos);
  design = nullptr;
}

// The library takes names in the system's narrow encoding (the ANSI code page on Windows): the name it is
// given names the design there, from a folder with Cyrillic letters and spaces too, by the file's short name
// where the code page cannot spell it.
TEST(DbxLibrary, TheDesignNameNamesTheFileInTheLibrarysOwnEncoding) {
  testing::TempFolder folder;
  const std::filesystem::path board = folder.path() / u8"Плата усилителя.pcb";
  folder.Write("placeholder", "");
  std::filesystem::copy_file(folder / "placeholder", board);
  for (const std::string kind : {"pcb:", "sch:"}) {
    const std::string name = LibraryDesignName(kind + model::Utf8FromPath(board));
    ASSERT_TRUE(name.starts_with(kind)) << name;
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(name.substr(4)), board)) << name;
  }
  EXPECT_EQ(LibraryDesignName("pcb"), "pcb");
}

}  // namespace
}  // namespace tallyform::pcad
