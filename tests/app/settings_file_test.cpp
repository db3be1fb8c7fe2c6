#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "model/errors.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FileBytes;
using testing::TempFolder;

TEST(SettingsFileTest, KeepsValuesAndPathsAcrossInstancesAndRefusesAFileItCannotWrite) {
  TempFolder folder;
  const auto file = SettingsFile::In(folder.path());
  const std::filesystem::path odd = "/home/u/Проекты/доска \"1\"; копия\\=@.enum";
  {
    SettingsFile store(file);
    EXPECT_EQ(store.Read("LastDocOwner"), std::nullopt);
    store.Write("LastDocOwner", std::string("Ёлкин Пётр, мл."_cp));
    store.Write("Empty", "");
    store.WritePath("Recent File List/File1", odd);
    store.Write("Recent File List/File2", "x");
    store.Remove("Recent File List/File2");
  }
  SettingsFile again(file);
  EXPECT_EQ(again.Read("LastDocOwner"), std::string("Ёлкин Пётр, мл."_cp));
  EXPECT_EQ(again.Read("Empty"), std::string());  // present but empty is not absent
  EXPECT_EQ(again.ReadPath("Recent File List/File1"), odd);
  EXPECT_EQ(again.Read("Recent File List/File2"), std::nullopt);
  // The file is the INI form, UTF-8, each group under its heading.
  const std::string text = FileBytes(file);
  EXPECT_TRUE(text.starts_with("[General]\nEmpty=\"\"\nLastDocOwner=\"Ёлкин Пётр, мл.\"\n")) << text;
  EXPECT_NE(text.find("[Recent%20File%20List]\nFile1="), std::string::npos) << text;

  // A settings file under a regular file can never be written, whoever runs the test.
  folder.Write("plain", "x");
  SettingsFile blocked(folder / "plain" / "tallyform.ini");
  EXPECT_THROW(blocked.Write("LastDocOwner", "name"), UnreadableFile);
  EXPECT_EQ(blocked.Read("LastDocOwner"), std::nullopt);  // nothing changed
}

TEST(SettingsFileTest, ReadsWhatQtsSettingsWroteBefore) {
  const std::map<std::string, std::string> values = SettingsFile::Parse(
      "[General]\r\nLastDocOwner=\\x401\\x43b\\x43a\\x438\\x43d, \\\"\\x41f\\\"\r\n"
      "Plain = some text \r\nQuoted=\" spaced \"\r\nAt=@@x\r\n; a comment\r\n\r\n"
      "[Recent%20File%20List]\r\nFile1=/home/\\x43f/a.enum\r\nFile2=\"/a;b.enum\"\r\n");
  EXPECT_EQ(values.at("LastDocOwner"), "Ёлкин, \"П\"");
  EXPECT_EQ(values.at("Plain"), "some text");
  EXPECT_EQ(values.at("Quoted"), " spaced ");
  EXPECT_EQ(values.at("At"), "@x");
  EXPECT_EQ(values.at("Recent File List/File1"), "/home/п/a.enum");
  EXPECT_EQ(values.at("Recent File List/File2"), "/a;b.enum");
  EXPECT_EQ(values.size(), 6u);
  // What this store writes reads back the same.
  EXPECT_EQ(SettingsFile::Parse(SettingsFile::Format(values)), values);
}

}  // namespace
}  // namespace tallyform::app
