#include "model/element_kinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>

#include "archive/archive.h"
#include "elements/element_name_archive.h"
#include "model/errors.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::model {
namespace {

using namespace tallyform::text::literals;
using testing::FileBytes;
using testing::TempFolder;

TEST(ElementKindsTest, BuiltInTableHoldsSeventyKindsWithTheirNames) {
  ElementKinds kinds;
  kinds.FillBuiltIn();
  ASSERT_EQ(kinds.size(), 70u);
  EXPECT_EQ(*kinds.Find("R"), (CElementName{std::string("Резисторы"_cp), std::string("Резистор"_cp)}));
  EXPECT_EQ(kinds.Find("QF")->singular, "Выключатель автоматические"_cp);
  EXPECT_EQ(kinds.Find("MOV")->plural, "Разрядники, предохранители"_cp);
  EXPECT_EQ(kinds.Find("V")->plural, "Приборы электровакуумные и полупроводниковые"_cp);
  EXPECT_EQ(kinds.Find("ZQ")->singular, "Фильтр кварцевый"_cp);
  EXPECT_EQ(kinds.Find("QW"), nullptr);
  EXPECT_EQ(kinds.Find("r"), nullptr);  // codes are case-sensitive
}

TEST(ElementKindsTest, DesignatorLookupFallsBackToShorterPrefixes) {
  ElementKinds kinds;
  kinds.FillBuiltIn();
  EXPECT_EQ(kinds.PluralName("DAX1"), "Микросхемы"_cp);   // DAX -> DA
  EXPECT_EQ(kinds.PluralName("DDX1"), "Микросхемы"_cp);   // DDX -> DD
  EXPECT_EQ(kinds.PluralName("QWE5"), "Выключатели"_cp);  // QWE -> QW -> Q
  EXPECT_EQ(kinds.PluralName("MO1"), "Двигатели тока"_cp);
  EXPECT_EQ(kinds.PluralName("MOV1"), "Разрядники, предохранители"_cp);
  EXPECT_EQ(kinds.SingularName("VD12"), "Диод, стабилитрон"_cp);
  EXPECT_EQ(kinds.SingularName("R1A"), "Резистор"_cp);
  EXPECT_EQ(kinds.PluralName(""), "");
  EXPECT_EQ(kinds.PluralName("12"), "");  // the prefix "1" names no kind
  EXPECT_EQ(kinds.PluralName("Ж1"_cp), "");

  // The two-character step is taken before the one-character one.
  kinds.Set("QW", "Ключи"_cp, "Ключ"_cp);
  EXPECT_EQ(kinds.PluralName("QWE5"), "Ключи"_cp);
  // Setting an existing code replaces both names.
  kinds.Set("R", "Резисторы постоянные"_cp, "Резистор постоянный"_cp);
  EXPECT_EQ(kinds.SingularName("R7"), "Резистор постоянный"_cp);
  EXPECT_EQ(kinds.size(), 71u);
}

TEST(ElementKindsTest, StartUpWritesTheBuiltInFileOnceAndLoadsItAfterwards) {
  TempFolder folder;
  const auto path = folder / "ElementNames.map";
  ElementKinds first;
  EXPECT_EQ(first.StartUp(path), std::nullopt);
  EXPECT_EQ(first.size(), 70u);

  const std::string bytes = FileBytes(path);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 210);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 210);  // every line ends with CR LF
  EXPECT_TRUE(bytes.starts_with(std::string("A\r\n") + std::string("Устройство\r\nУстройства\r\n"_cp)));

  // An existing file is read, not replaced by the built-in table.
  TempFolder other;
  const auto own = other.Write("ElementNames.map", "R\r\nРезистор\r\nРезисторы\r\n"_cp);
  ElementKinds second;
  second.FillBuiltIn();  // whatever was there before goes
  second.StartUp(own);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second.PluralName("R5"), "Резисторы"_cp);
  EXPECT_EQ(second.PluralName("C5"), "");
  EXPECT_EQ(FileBytes(own), "R\r\nРезистор\r\nРезисторы\r\n"_cp);

  ElementKinds reread;
  reread.Load(path);
  EXPECT_EQ(reread.kinds(), first.kinds());
}

TEST(ElementKindsTest, LoadTakesThreeLinesPerKindAndSkipsIncompleteRecords) {
  TempFolder folder;
  // LF line ends; the capacitor record has an empty plural line; a code without names ends the file.
  const auto lf =
      folder.Write("lf.map", "R\nРезистор\nРезисторы\nC\nКонденсатор\n\nVD\nДиод\nДиоды\nXS\n"_cp);
  ElementKinds kinds;
  kinds.Load(lf);
  ASSERT_EQ(kinds.size(), 2u);
  EXPECT_EQ(kinds.Find("C"), nullptr);
  EXPECT_EQ(kinds.Find("VD")->singular, "Диод"_cp);
  EXPECT_EQ(kinds.Find("XS"), nullptr);

  // A file that arrives in UTF-8 gives the same code page 1251 names; the last line may lack its line end.
  const auto utf8 = folder.Write("utf8.map", "R\r\nРезистор\r\nРезисторы\r\nVD\r\nДиод\r\nДиоды");
  ElementKinds from_utf8;
  from_utf8.Load(utf8);
  EXPECT_EQ(from_utf8.kinds(), kinds.kinds());

  // A code line longer than any prefix is one line, not the start of a shifted record.
  const auto long_code =
      folder.Write("long.map", "ABCDEFGHIJKLMNOPQRSTUVWXYZ\nX\nY\nR\nРезистор\nРезисторы\n"_cp);
  kinds.Load(long_code);
  EXPECT_EQ(kinds.size(), 2u);
  EXPECT_EQ(kinds.Find("R")->plural, "Резисторы"_cp);

  // A missing file leaves the map empty.
  kinds.Load(folder / "missing.map");
  EXPECT_EQ(kinds.size(), 0u);
}

TEST(ElementKindsTest, SaveLeavesOutKindsWithAnEmptyNameAndReportsAFolderItCannotWrite) {
  TempFolder folder;
  ElementKinds kinds;
  kinds.Set("R", "Резисторы"_cp, "Резистор"_cp);
  kinds.Set("C", "", "Конденсатор"_cp);
  kinds.Save(folder / "ElementNames.map");
  EXPECT_EQ(FileBytes(folder / "ElementNames.map"), "R\r\nРезистор\r\nРезисторы\r\n"_cp);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);  // no temporary left
  EXPECT_THROW(kinds.Save(folder / "no-such-folder" / "ElementNames.map"), UnreadableFile);

  // Start-up in a folder it cannot write to uses the built-in kinds and says why the file is missing.
  ElementKinds unwritten;
  const std::optional<std::string> failure =
      unwritten.StartUp(folder / "no-such-folder" / "ElementNames.map");
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->find("ElementNames.map"), std::string::npos);
  EXPECT_EQ(unwritten.size(), ElementKinds::kBuiltInCount);
}

TEST(ElementKindsTest, KindRecordIsArchivedPluralFirst) {
  archive::ArchiveWriter writer;
  elements::SerializeElementName(writer, CElementName{std::string("Диоды"_cp), std::string("Диод"_cp)});
  EXPECT_EQ(writer.bytes(), std::string("\x05") + std::string("Диоды"_cp) + "\x04" + std::string("Диод"_cp));
  archive::ArchiveReader reader(writer.bytes());
  EXPECT_EQ(elements::DeserializeElementName(reader),
            (CElementName{std::string("Диоды"_cp), std::string("Диод"_cp)}));
  EXPECT_EQ(reader.remaining(), 0u);
}

}  // namespace
}  // namespace tallyform::model
