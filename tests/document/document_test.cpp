#include "document/document.h"

#include <gtest/gtest.h>
#include <signal.h>
#if !defined(_WIN32)
#include <sys/resource.h>
#endif

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/document_session.h"
#include "app/open_workflow.h"
#include "archive/archive.h"
#include "model/errors.h"
#include "model/messages.h"
#include "model/platform.h"
#include "support/archive_bytes.h"
#include "support/fake_ports.h"
#include "support/made_documents.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::document {
namespace {

using namespace tallyform::text::literals;
using testing::FakeSystemInfo;
using testing::FileBytes;
using testing::TempFolder;

std::string S(std::string_view text) {
  return std::string(text);
}

using Bytes = testing::ArchiveBytes;

std::unique_ptr<elements::Element> MakeElement(std::vector<elements::Element::Pair> pairs) {
  auto element = std::make_unique<elements::Element>();
  element->SetAll(std::move(pairs));
  return element;
}

using testing::MakeDocument;

// A bill of purchased items (kind 1) with something in every field the file keeps: elements, both lists,
// both maps, five roles, two sheets with settings and texts.
Document RichDocument() {
  elements::ListData data;
  data.elements.Append(MakeElement({{"RefDes", "R1"}, {"Value", S("10 кОм"_cp)}, {S("Примечание"_cp), ""}}));
  data.elements.Append(MakeElement({{"RefDes", "DD1"}, {"Type", S("К555ЛА3"_cp)}}));
  data.attribute_names = {"RefDes", "Value", S("Примечание"_cp), "Type"};
  data.prefixes = {"R", "DD"};
  data.designations = {{S("/home/user/плата.sch"_cp), S("АБВГ.468.001"_cp)}, {"/b.pcb", ""}};
  data.headings = {{"Value", S("Номинал"_cp)}, {"Type", S("Наименование"_cp)}};
  data.roles = {"RefDes", "Type", "Value", S("ТУ"_cp), "Pattern"};
  return MakeDocument(model::DocumentKind::kPurchasedBill, std::move(data), [](SheetSet& set) {
    CTableRows& first = set.sheet(0);
    for (std::size_t f = 0; f < kTitleFieldCount; ++f) {
      first.SetTitleField(static_cast<TitleField>(f), S("поле "_cp) + std::to_string(f));
    }
    first.SetCustomerApproval(true);
    first.settings() = {4.5, 6.0, 5.5, 3.5, 7.0, 2.5, 0.3, 0.7};
    first.SetEmptyRowsBetweenGroups(5);
    first.SetEmptyRowsAtEnd(2);
    first.cell(0, 1).SetText(S("Резисторы"_cp));
    first.cell(0, 1).SetAttributes(kFillHeading);
    first.cell(23, 10).SetText(S("строка 1\r\nстрока 2"_cp));
    first.cell(23, 10).SetAttributes(kFillLeft | kMultiLine);

    CTableRows& second =
        set.AddSheet(model::LayoutOf(model::DocumentKind::kPurchasedBill).following_top_offset);
    second.SetNumberOfProducts(4);
    second.SetSectionStart(true);
    second.SetSectionFile(S("/home/user/плата.sch"_cp));
    second.cell(29, 0).SetText(std::string(300, 'x'));  // beyond the one-byte length
    second.SetBodyHeight(200);
  });
}

TEST(DocumentTest, ANewDocumentHasOneEmptySheetOfItsKindAndNothingElse) {
  struct Case {
    model::DocumentKind kind;
    std::size_t rows;
    int columns;
  };
  for (const Case& c :
       {Case{model::DocumentKind::kElementList, 26, 5}, Case{model::DocumentKind::kPurchasedBill, 24, 11},
        Case{model::DocumentKind::kSimpleBill, 32, 6}}) {
    const Document doc(c.kind);
    EXPECT_EQ(doc.kind(), c.kind);
    ASSERT_EQ(doc.sheets().sheet_count(), 1u);
    EXPECT_EQ(doc.settings_table().row_count(), c.rows);
    EXPECT_EQ(doc.settings_table().column_count(), c.columns);
    EXPECT_EQ(doc.settings_table().title_field(TitleField::kSheetCount), "1");
    EXPECT_EQ(doc.data().roles, model::Roles{});
    EXPECT_TRUE(doc.data().elements.empty());
    EXPECT_TRUE(doc.history().empty());
    EXPECT_EQ(doc.editor_name(), "");
    EXPECT_TRUE(doc.path().empty());
    EXPECT_FALSE(doc.mismatch());
    EXPECT_EQ(doc.Title(), "Enumeration");
    EXPECT_EQ(doc.fill_parameters(), (model::FillParameters{3, 1}));
  }
}

TEST(DocumentTest, OpeningASavedDocumentReproducesEveryField) {
  TempFolder folder;
  app::DocumentSession session(RichDocument());
  FakeSystemInfo system;
  const auto path = folder / "плата_1.enum";
  session.Save(path, S("Иванов И.И."_cp), system);
  const Document& doc = session.document();
  EXPECT_EQ(doc.path(), path);
  EXPECT_FALSE(doc.modified());

  const Document back = Document::FromFile(path);
  EXPECT_EQ(back.kind(), model::DocumentKind::kPurchasedBill);
  EXPECT_EQ(back.data().elements, doc.data().elements);
  ASSERT_EQ(back.data().elements.count(), 2u);
  ASSERT_NE(back.data().elements.at(0).Find(S("Примечание"_cp)), nullptr);
  EXPECT_EQ(*back.data().elements.at(0).Find(S("Примечание"_cp)), "");
  EXPECT_EQ(back.data().attribute_names, doc.data().attribute_names);
  EXPECT_EQ(back.data().prefixes, doc.data().prefixes);
  EXPECT_EQ(back.data().designations, doc.data().designations);
  EXPECT_EQ(back.data().headings, doc.data().headings);
  EXPECT_EQ(back.data().roles, (model::Roles{"RefDes", "Type", "Value", S("ТУ"_cp), ""}));
  EXPECT_FALSE(back.mismatch());
  ASSERT_EQ(back.sheets().sheet_count(), 2u);
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_TRUE(back.sheets().sheet(i) == doc.sheets().sheet(i)) << "sheet " << i;
  EXPECT_EQ(back.sheets().sheet(1).row_count(), 25u);

  ASSERT_EQ(back.history().size(), 1u);
  const HistoryRecord& record = back.history().front();
  EXPECT_EQ(record.file, model::PathText(std::filesystem::absolute(path)));
  EXPECT_EQ(record.editor, S("Иванов И.И."_cp));
  EXPECT_EQ(record.time, "05.03.2024 09:07:02");
  EXPECT_EQ(record.computer, "BENCH-7");
  EXPECT_EQ(record.user, "engineer");
  EXPECT_EQ(back.history(), doc.history());
  EXPECT_EQ(back.editor_name(), S("Иванов И.И."_cp));
  EXPECT_EQ(back.file_name(), record.file);
  EXPECT_EQ(back.path(), path);

  // Writing what was read gives the same bytes as writing the original (role slot 4 is not stored).
  const HistoryRecord next{"f", "e", "t", "c", "u"};
  EXPECT_EQ(back.ToBytes(next), doc.ToBytes(next));
}

TEST(DocumentTest, WritesTheFileLayoutByteForByte) {
  elements::ListData data;
  data.elements.Append(MakeElement({{"RefDes", "R1"}, {"Value", S("10 кОм"_cp)}}));
  data.attribute_names = {"RefDes", "Value"};
  data.prefixes = {"R"};
  data.designations = {{"a.sch", S("АБВГ.1"_cp)}};
  data.headings = {{"Value", S("Номинал"_cp)}};
  data.roles = model::DefaultRoles();
  app::DocumentSession session(
      MakeDocument(model::DocumentKind::kElementList, std::move(data), [](SheetSet& set) {
        set.sheet(0).SetTitleField(TitleField::kDesignation, S("АБВГ.1 ПЭ3"_cp));
        set.sheet(0).cell(0, 2).SetText(S("Резистор"_cp));
        set.sheet(0).cell(0, 2).SetAttributes(kFillLeft);
      }));
  session.Apply(app::commands::EditorName{S("Петров"_cp)});
  const Document& doc = session.document();

  // The expected bytes follow the layout tables of the file: the list items, the element list without
  // class tag, the sheet tables, the heading map, four roles, the kind and the history.
  Bytes b;
  b.U16(2).Str("RefDes").Str("Value");
  b.U16(1).NewClass("CMapStringToString", 0).U16(2).Str("RefDes").Str("R1").Str("Value").Str(S("10 кОм"_cp));
  b.U16(1).Str("R");
  b.U16(1).Str("a.sch").Str(S("АБВГ.1"_cp));
  b.U16(1).NewClass("CTableRows", 1);  // class 3, object 4
  b.I32(210).I32(208).I32(20).I32(20).I32(5);
  for (std::size_t f = 0; f < kTitleFieldCount; ++f) {
    switch (static_cast<TitleField>(f)) {
      case TitleField::kExtraSignatureLabel:
        b.Str(S("Вед.констр."_cp));
        break;
      case TitleField::kSheetCount:
        b.Str("1");
        break;
      case TitleField::kDesignation:
        b.Str(S("АБВГ.1 ПЭ3"_cp));
        break;
      default:
        b.Str("");
        break;
    }
  }
  b.I32(0);
  b.Double(5.0).Double(4.0).Double(5.0).Double(4.0).Double(5.0).Double(3.0).Double(0.2).Double(0.5);
  b.I32(1).I32(0).Str("").I32(3).I32(1);
  const int widths[] = {8, 20, 110, 10, 37};
  b.U16(5);
  for (int w : widths) b.I32(w);
  b.U16(26);
  for (int r = 0; r < 26; ++r) {
    if (r == 0) {
      b.NewClass("CRow", 1);  // class 5
    } else {
      b.U16(0x8005);
    }
    b.I32(8).I32(5).I32(r).U16(5);
    int left = 20;
    for (int c = 0; c < 5; ++c) {
      if (r == 0 && c == 0) {
        b.NewClass("CCell", 1);  // class 7
      } else {
        b.U16(0x8007);
      }
      const int top = 20 + 8 * r;
      b.I32(left).I32(top).I32(left + widths[c]).I32(top + 8);
      const bool filled = r == 0 && c == 2;
      b.Str(filled ? S("Резистор"_cp) : "").I32(filled ? 0x200000 : 0).I32(c).I32(r);
      left += widths[c];
    }
  }
  b.U16(1).Str("Value").Str(S("Номинал"_cp));
  b.Str("RefDes").Str("Type").Str("Value").Str(S("ТУ"_cp));
  b.I32(0);
  b.I32(1);
  TempFolder folder;
  const auto path = folder / "a_1.enum";
  const std::string file = model::PathText(path);  // the temporary folder is absolute
  b.Str(file).Str(S("Петров"_cp)).Str("BENCH-7").Str("engineer").Str("05.03.2024 09:07:02");

  FakeSystemInfo system;
  EXPECT_EQ(doc.ToBytes(doc.MakeRecord(path, system)), b.s);
  session.Save(path, std::nullopt, system);
  EXPECT_EQ(FileBytes(path), b.s);
}

TEST(DocumentTest, EachSaveAppendsARecordAndOpeningTakesTheNewestEditor) {
  TempFolder folder;
  app::DocumentSession session(Document(model::DocumentKind::kSimpleBill));
  FakeSystemInfo system;
  const char* editors[] = {"Первый", "Второй", "Третий"};
  for (int i = 0; i < 3; ++i) {
    system.time.tm_min = 10 + i;
    system.computer = "PC" + std::to_string(i);
    session.Save(folder / ("doc_" + std::to_string(i + 1) + ".enum"), text::FromUtf8(editors[i]), system);
  }
  const app::DocumentSession opened = app::OpenDocument(folder / "doc_3.enum");
  const Document& back = opened.document();
  EXPECT_EQ(back.kind(), model::DocumentKind::kSimpleBill);
  ASSERT_EQ(back.history().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(back.history()[i].editor, text::FromUtf8(editors[i]));
    EXPECT_EQ(back.history()[i].computer, "PC" + std::to_string(i));
    EXPECT_EQ(back.history()[i].time, "05.03.2024 09:1" + std::to_string(i) + ":02");
    EXPECT_EQ(back.history()[i].file, model::PathText(folder / ("doc_" + std::to_string(i + 1) + ".enum")));
  }
  EXPECT_EQ(back.editor_name(), S("Третий"_cp));
  EXPECT_EQ(back.file_name(), back.history().back().file);
  // The earlier versions keep their own shorter histories.
  EXPECT_EQ(Document::FromFile(folder / "doc_1.enum").history().size(), 1u);
}

// The bytes of a small document (one element, a sheet of two rows), written with an empty newest record.
std::string SmallBytes() {
  elements::ListData data;
  data.elements.Append(MakeElement({{"RefDes", "C1"}, {"Value", S("1 мкФ"_cp)}}));
  data.attribute_names = {"RefDes", "Value"};
  data.prefixes = {"C"};
  data.designations = {{"x", "y"}};
  data.headings = {{"Value", "V"}};
  return MakeDocument(model::DocumentKind::kElementList, std::move(data),
                      [](SheetSet& set) { set.sheet(0).SetBodyHeight(16); })
      .ToBytes({});
}

void ExpectDamaged(const std::string& bytes, const char* what) {
  try {
    Document::FromBytes(bytes);
    ADD_FAILURE() << what << ": accepted";
  } catch (const DamagedFile& e) {
    EXPECT_EQ(e.message(), model::kDamagedArchive) << what;
  }
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

TEST(DocumentTest, EveryTruncationFailsAndOpeningACutFileNamesIt) {
  TempFolder folder;
  const std::string bytes = SmallBytes();
  ASSERT_NO_THROW(Document::FromBytes(bytes));
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_THROW(Document::FromBytes(bytes.substr(0, n)), DamagedFile) << "cut to " << n << " bytes";
  }
  // Opening goes through the same parse, and its message names the file.
  const auto cut = folder / "обрезан.enum";
  for (std::size_t n = 0; n < bytes.size(); n += 1 + bytes.size() / 16) {
    folder.Write("обрезан.enum", bytes.substr(0, n));
    try {
      app::OpenDocument(cut);
      ADD_FAILURE() << "cut to " << n << " bytes: opened";
    } catch (const DamagedFile& e) {
      EXPECT_EQ(e.message(), model::PathText(cut) + ": " + std::string(model::kDamagedArchive));
    }
  }
}

TEST(DocumentTest, RefusesDamagedFilesWithTheArchiveMessage) {
  const std::string good = SmallBytes();
  const std::size_t kind_at = good.size() - 13;  // kind, H, then five empty strings
  {
    std::string b = good;
    b += '\0';
    ExpectDamaged(b, "a byte after the history");
  }
  for (std::uint32_t kind : {3u, 0xffffffffu}) {
    std::string b = good;
    Put32(b, kind_at, kind);
    ExpectDamaged(b, "unknown kind");
  }
  {
    std::string b = good;
    Put32(b, kind_at, 1);  // the tables have five columns, a bill has eleven
    ExpectDamaged(b, "tables of another kind");
  }
  for (std::uint32_t h : {0xffffffffu, 2u, 0x7fffffffu}) {
    std::string b = good;
    Put32(b, kind_at + 4, h);
    ExpectDamaged(b, "history count");
  }
  {
    std::string b = good;
    b.replace(b.find("CTableRows"), 10, "CTableRowz");
    ExpectDamaged(b, "unknown class");
  }
  {
    std::string b = good;
    const std::size_t name = b.find("CRow");
    b[name - 4] = 2;  // the schema before the name's length
    ExpectDamaged(b, "other schema");
  }
  {
    std::string b = good;
    b.replace(2, 2, "\xff\xff\xff\xff\xff\xff");  // the element count: 0xFFFF, then 32 bits
    ExpectDamaged(b, "absurd element count");
  }
  {
    archive::ArchiveWriter ar;
    ar.WriteStringList({});
    elements::ComponentList().Serialize(ar);
    ar.WriteStringList({});
    ar.WriteStringMap({});
    WriteSheetTables(ar, {});
    ar.WriteStringMap({});
    for (int role = 0; role < 4; ++role) ar.WriteString("");
    ar.WriteI32(0);
    ar.WriteI32(0);
    ExpectDamaged(ar.Take(), "no sheets");
  }
}

TEST(DocumentTest, OpeningAPathThatIsNotAFileNamesIt) {
  TempFolder folder;
  for (const auto& path : {folder / "нет такого.enum", folder.path()}) {
    try {
      app::OpenDocument(path);
      ADD_FAILURE() << path << " opened";
    } catch (const UnreadableFile& e) {
      EXPECT_NE(e.message().find(model::PathText(path)), std::string::npos) << e.message();
    }
  }
}

// The bytes of a new simple bill whose stored fill parameters are `gap` and `tail`.
std::string SimpleBillWith(std::uint32_t gap, std::uint32_t tail) {
  std::string bytes = Document(model::DocumentKind::kSimpleBill).ToBytes({});
  // Products 1, no section start, no section file, then the two parameters, 3 and 1 by default.
  const std::string defaults("\x01\0\0\0\0\0\0\0\0\x03\0\0\0\x01\0\0\0", 17);
  const std::size_t at = bytes.find(defaults);
  EXPECT_NE(at, std::string::npos);
  Put32(bytes, at + 9, gap);
  Put32(bytes, at + 13, tail);
  return bytes;
}

TEST(DocumentTest, FillParametersOutOfRangeAreBroughtIntoRangeOnOpening) {
  const Document back = Document::FromBytes(SimpleBillWith(1000, static_cast<std::uint32_t>(-4)));
  EXPECT_EQ(back.fill_parameters(), (model::FillParameters{model::kMaxGap, 0}));
  EXPECT_EQ(back.settings_table().empty_rows_between_groups(), model::kMaxGap);
  EXPECT_EQ(Document::FromBytes(SimpleBillWith(3, 31)).fill_parameters().tail,
            model::MaxTail(model::DocumentKind::kSimpleBill));
}

#if !defined(_WIN32)
// Restores the file size limit and the signal it raises when the test ends.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  sighandler_t old_handler_ = SIG_DFL;
};
#endif

TEST(DocumentTest, AFailedSaveLeavesThePreviousFileAndTheDocumentAsTheyWere) {
  TempFolder folder;
  FakeSystemInfo system;
  app::DocumentSession plain(Document(model::DocumentKind::kElementList));
  const auto path = folder / "plate.enum";
  plain.Save(path, std::nullopt, system);
  const std::string old_bytes = FileBytes(path);

  app::DocumentSession other(RichDocument());
  other.Save(folder / "other.enum", std::nullopt, system);
#if !defined(_WIN32)
  {
    const FileSizeLimit limit(old_bytes.size() / 2);  // the write runs out of room half way
    EXPECT_THROW(other.Save(path, std::nullopt, system), UnreadableFile);
  }
#endif
  EXPECT_EQ(FileBytes(path), old_bytes);
  EXPECT_EQ(other.document().path(), folder / "other.enum");
  EXPECT_EQ(other.document().history().size(), 1u);

  std::filesystem::create_directory(folder / "busy.enum");  // renaming over a folder fails
  folder.Write("busy.enum/inside", "x");
  EXPECT_THROW(other.Save(folder / "busy.enum", std::nullopt, system), UnreadableFile);
  EXPECT_EQ(other.document().path(), folder / "other.enum");
  EXPECT_EQ(other.document().history().size(), 1u);

  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.push_back(model::Utf8FromPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"busy.enum", "other.enum", "plate.enum"}));  // no leftovers

  // Saving through a link replaces the file it names and keeps the link (where links can be made: Windows
  // makes them only for some users).
  std::error_code no_links;
  std::filesystem::create_symlink(path, folder / "link.enum", no_links);
  if (!no_links) {
    other.Save(folder / "link.enum", std::nullopt, system);
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.enum"));
    EXPECT_EQ(Document::FromFile(path).kind(), model::DocumentKind::kPurchasedBill);
  }
}

}  // namespace
}  // namespace tallyform::document
