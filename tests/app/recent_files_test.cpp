#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "model/platform.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace tallyform::app {
namespace {

using Paths = std::vector<std::filesystem::path>;
using testing::TempFolder;

TEST(RecentFilesTest, NewestFirstEachFileOnceAtMostFour) {
  TempFolder folder;
  RecentFiles recent;
  for (const char* name : {"a_1.enum", "b_1.enum", "c_1.enum", "d_1.enum", "e_1.enum"}) {
    recent.Add(folder / name);
  }
  EXPECT_EQ(recent.files(),
            (Paths{folder / "e_1.enum", folder / "d_1.enum", folder / "c_1.enum", folder / "b_1.enum"}));
  // The same file spelt another way moves to the front instead of coming in twice.
  recent.Add(folder / "sub" / ".." / "c_1.enum");
  EXPECT_EQ(recent.files(),
            (Paths{folder / "c_1.enum", folder / "e_1.enum", folder / "d_1.enum", folder / "b_1.enum"}));
  recent.Remove(1);
  recent.Remove(7);  // past the end: nothing
  EXPECT_EQ(recent.files(), (Paths{folder / "c_1.enum", folder / "d_1.enum", folder / "b_1.enum"}));
}

TEST(RecentFilesTest, RelativePathsBecomeAbsoluteAndLinksAreTheFileTheyName) {
  TempFolder folder;
  folder.Write("doc_1.enum", "x");
  EXPECT_FALSE(SameFile(folder / "doc_1.enum", folder / "doc_2.enum"));
  RecentFiles recent;
  recent.Add(folder / "doc_1.enum");

  std::error_code no_links;  // Windows makes them only for some users
  std::filesystem::create_symlink(folder / "doc_1.enum", folder / "link.enum", no_links);
  if (!no_links) {
    EXPECT_TRUE(SameFile(folder / "link.enum", folder / "doc_1.enum"));
    recent.Add(folder / "link.enum");
    ASSERT_EQ(recent.files().size(), 1u);
    EXPECT_EQ(recent.files()[0], folder / "link.enum");
  }

  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  recent.Add("other_1.enum");
  std::filesystem::current_path(here);
  EXPECT_EQ(recent.files()[0], folder / "other_1.enum");
}

TEST(RecentFilesTest, AStoredListIsCleanedAsItIsTaken) {
  TempFolder folder;
  const RecentFiles recent(Paths{folder / "a_1.enum", "", folder / "b_1.enum", folder / "a_1.enum",
                                 folder / "c_1.enum", folder / "d_1.enum", folder / "e_1.enum"});
  EXPECT_EQ(recent.files(),
            (Paths{folder / "a_1.enum", folder / "b_1.enum", folder / "c_1.enum", folder / "d_1.enum"}));

  // Kept in the settings store and taken back from it; a shorter list leaves no old entries behind.
  testing::FakeSettingsStore store;
  recent.Store(store);
  EXPECT_EQ(RecentFiles::Load(store).files(), recent.files());
  RecentFiles shorter = recent;
  shorter.Remove(0);
  shorter.Remove(0);
  shorter.Store(store);
  EXPECT_EQ(store.values.size(), 2u);
  EXPECT_EQ(store.values.at("Recent File List/File1"), model::Utf8FromPath(folder / "c_1.enum"));
  EXPECT_EQ(RecentFiles::Load(store).files(), shorter.files());
}

}  // namespace
}  // namespace tallyform::app
