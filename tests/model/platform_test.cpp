#include "model/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/file_writing.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"

namespace tallyform::model {
namespace {

using testing::FileBytes;
using testing::TempFolder;

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(Utf8FromPath(entry.path().filename()));
  }
  return names;
}

std::string ReadThroughOpenFile(const std::filesystem::path& file) {
  std::FILE* stream = OpenFile(file, "rb");
  if (stream == nullptr) return "(cannot open)";
  std::string bytes;
  char buffer[256];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) bytes.append(buffer, n);
  std::fclose(stream);
  return bytes;
}

// Names made of the pieces the program's users put into folder and file names, Russian above all, are
// written, replaced, listed and read back under the same name on every platform, and the name shown in
// messages and documents is its code page 1251 text.
TEST(PlatformTest, NamesWithCyrillicLettersAndSpacesNameTheSameFileEverywhere) {
  const std::vector<std::string> pieces = {"Проекты", " ",  "Усилитель", "ПЭ3", "_1", ".",
                                           "Плата",   "№5", "board",     "ёЁ",  "-",  "АБВГ.468157.001"};
  std::mt19937 random(20261208);
  TempFolder root;
  for (int round = 0; round < 24; ++round) {
    std::string folder_name;
    std::string file_name;
    for (int i = 0; i < 3; ++i) folder_name += pieces[random() % pieces.size()];
    for (int i = 0; i < 2; ++i) file_name += pieces[random() % pieces.size()];
    // Never "." or "..", never twice the same, never ending in a dot or a space (Windows drops those).
    folder_name += " " + std::to_string(round);
    file_name += ".enum";
    SCOPED_TRACE(folder_name + "/" + file_name);

    const std::filesystem::path folder = root.path() / PathFromUtf8(folder_name);
    const std::filesystem::path file = folder / PathFromUtf8(file_name);
    EXPECT_EQ(Utf8FromPath(file.filename()), file_name);
    EXPECT_EQ(PathFromUtf8(Utf8FromPath(file)), file);
    ASSERT_TRUE(std::filesystem::create_directories(folder));

    WriteFileReplacing(file, "old");
    WriteFileReplacing(file, "new " + file_name);                         // over the file just written
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{file_name});  // no temporary file stays
    EXPECT_EQ(ReadThroughOpenFile(file), "new " + file_name);
    EXPECT_EQ(FileBytes(file), "new " + file_name);

    const std::string shown = PathText(file);
    EXPECT_TRUE(shown.ends_with(text::FromUtf8(file_name))) << text::ToUtf8(shown);
    EXPECT_NE(shown.find(text::FromUtf8(folder_name)), std::string::npos) << text::ToUtf8(shown);
  }
  // A name near the file system's limit: the temporary file's name is cut between letters, not inside one.
  std::string long_name = "a";
  for (int i = 0; i < 120; ++i) long_name += "ж";
  const std::filesystem::path long_folder = root.path() / "long";
  std::filesystem::create_directories(long_folder);
  WriteFileReplacing(long_folder / PathFromUtf8(long_name + ".enum"), "x");
  WriteFileReplacing(long_folder / PathFromUtf8(long_name + ".enum"), "y");
  EXPECT_EQ(FolderNames(long_folder), std::vector<std::string>{long_name + ".enum"});

  EXPECT_EQ(OpenFile(root.path() / u8"нет такого файла", "rb"), nullptr);
}

// Replacing a file that another program holds open, or that is read-only, succeeds where the system allows
// it (POSIX) and fails where it does not (Windows refuses to rename over such a file): either way the file is
// wholly the old or wholly the new one, a failure says so, and no temporary file is left behind.
TEST(PlatformTest, AReplacedFileIsWhollyOldOrNewWhenTheSystemRefusesTheRename) {
  TempFolder root;
  const std::filesystem::path folder = root.path() / u8"Документы на плату";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / u8"Перечень элементов.enum";
  const std::string old_bytes(5000, 'o');
  const std::string new_bytes(7000, 'n');
  const auto check = [&](const char* situation) {
    SCOPED_TRACE(situation);
    bool replaced = true;
    try {
      WriteFileReplacing(file, new_bytes);
    } catch (const UnreadableFile& e) {
      replaced = false;
      EXPECT_EQ(e.message(), CannotSaveMessage(file));
    }
    EXPECT_EQ(FileBytes(file), replaced ? new_bytes : old_bytes);
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{Utf8FromPath(file.filename())});
  };

  WriteFileReplacing(file, old_bytes);
  {
    std::ifstream reader(file, std::ios::binary);  // held open by someone reading it
    ASSERT_TRUE(reader);
    check("open for reading");
  }
  WriteFileReplacing(file, old_bytes);
  std::filesystem::permissions(file,
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  check("read-only");
  std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

}  // namespace
}  // namespace tallyform::model
