#include "app/application.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "model/platform.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FileBytes;
using testing::ScopedEnv;
using testing::TempFolder;

// TALLYFORM_HOME names the program's folder everywhere, Cyrillic letters and spaces in it included; without
// it the folder is the executable's on Windows and the XDG data folder elsewhere. It is made when missing.
TEST(ProgramFolderTest, FollowsTheEnvironmentAndThePlatform) {
  TempFolder root;
  const std::filesystem::path home = root.path() / u8"Проекты и платы" / "nested";
  const std::string data = model::Utf8FromPath(root / "data");
  {
    ScopedEnv tallyform_home("TALLYFORM_HOME", model::Utf8FromPath(home).c_str());
    ScopedEnv xdg_data("XDG_DATA_HOME", data.c_str());
    EXPECT_EQ(ProgramFolder(), home);
    EXPECT_TRUE(std::filesystem::is_directory(home));
  }
#if defined(_WIN32)
  {
    ScopedEnv tallyform_home("TALLYFORM_HOME", nullptr);
    ScopedEnv xdg_data("XDG_DATA_HOME", data.c_str());
    const std::filesystem::path folder = ProgramFolder();
    EXPECT_EQ(folder, model::ExecutableFolder());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "core_tests.exe"));
  }
#else
  {
    ScopedEnv tallyform_home("TALLYFORM_HOME", "");
    ScopedEnv xdg_data("XDG_DATA_HOME", data.c_str());
    EXPECT_EQ(ProgramFolder(), root / "data" / "tallyform");
    EXPECT_TRUE(std::filesystem::is_directory(root / "data" / "tallyform"));
  }
  {
    const std::string user_home = model::Utf8FromPath(root.path());
    ScopedEnv tallyform_home("TALLYFORM_HOME", nullptr);
    ScopedEnv xdg_data("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
    ScopedEnv home_variable("HOME", user_home.c_str());
    EXPECT_EQ(ProgramFolder(), root / ".local" / "share" / "tallyform");
    EXPECT_TRUE(std::filesystem::is_directory(root / ".local" / "share" / "tallyform"));
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(model::ExecutableFolder() / "core_tests"));
#endif
}

TEST(ApplicationTest, StartUpWritesTheKindsFileOnlyWhenItIsMissing) {
  TempFolder folder;
  {
    Application application(folder.path());
    EXPECT_EQ(application.kinds().size(), model::ElementKinds::kBuiltInCount);
    EXPECT_EQ(application.report_path(), folder / "errors.log");
    EXPECT_EQ(application.NewValueCheck().report_path(), folder / "errors.log");
    // Every run's check compares with the one set of series.
    EXPECT_EQ(&application.NewValueCheck().resistor_series(), &application.value_series()->resistors);
    EXPECT_EQ(application.ElementNamesPath(), folder / "ElementNames.map");
  }
  const std::string written = FileBytes(folder / "ElementNames.map");
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 210);

  // The user's own file is taken as it is, even with a single kind.
  folder.Write("ElementNames.map", "R\r\nРезистор\r\nРезисторы\r\n"_cp);
  Application again(folder.path());
  EXPECT_EQ(again.kinds().size(), 1u);
  EXPECT_EQ(again.kinds().PluralName("C1"), "");
  EXPECT_EQ(FileBytes(folder / "ElementNames.map"), "R\r\nРезистор\r\nРезисторы\r\n"_cp);
  EXPECT_TRUE(again.start_up_warnings().empty());

  // A folder where the file cannot be written (here a plain file stands in its place): the built-in kinds,
  // and a warning that says so instead of silence.
  const auto blocked = folder.Write("blocked", "x");
  Application unwritten(blocked);
  EXPECT_EQ(unwritten.kinds().size(), model::ElementKinds::kBuiltInCount);
  ASSERT_EQ(unwritten.start_up_warnings().size(), 1u);
  EXPECT_NE(unwritten.start_up_warnings()[0].find("ElementNames.map"), std::string::npos);
}

TEST(ApplicationTest, DeferredStartTouchesNoFileUntilStartUp) {
  TempFolder folder;
  Application application(folder.path(), Application::NotStarted{});
  EXPECT_FALSE(application.started());
  EXPECT_FALSE(std::filesystem::exists(folder / "ElementNames.map"));
  application.StartUp();
  ASSERT_TRUE(application.started());
  EXPECT_EQ(application.kinds().size(), model::ElementKinds::kBuiltInCount);
  const auto* series = application.value_series().get();
  application.StartUp();  // a second call changes nothing
  EXPECT_EQ(application.value_series().get(), series);
  EXPECT_EQ(application.kinds().size(), model::ElementKinds::kBuiltInCount);
}

}  // namespace
}  // namespace tallyform::app
