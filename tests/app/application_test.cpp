#include "app/application.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/temp_folder.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;
using testing::FileBytes;
using testing::TempFolder;

// Sets an environment variable for the scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ProgramFolderTest, ComesFromTheEnvironmentAndIsCreated) {
  TempFolder root;
  {
    const std::string home = (root / "home" / "nested").string();
    ScopedEnv tallyform_home("TALLYFORM_HOME", home.c_str());
    ScopedEnv data("XDG_DATA_HOME", (root / "data").c_str());
    EXPECT_EQ(ProgramFolder(), root / "home" / "nested");
    EXPECT_TRUE(std::filesystem::is_directory(root / "home" / "nested"));
  }
  {
    ScopedEnv tallyform_home("TALLYFORM_HOME", "");
    ScopedEnv data("XDG_DATA_HOME", (root / "data").c_str());
    EXPECT_EQ(ProgramFolder(), root / "data" / "tallyform");
    EXPECT_TRUE(std::filesystem::is_directory(root / "data" / "tallyform"));
  }
  {
    ScopedEnv tallyform_home("TALLYFORM_HOME", nullptr);
    ScopedEnv data("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
    ScopedEnv user_home("HOME", root.path().c_str());
    EXPECT_EQ(ProgramFolder(), root / ".local" / "share" / "tallyform");
    EXPECT_TRUE(std::filesystem::is_directory(root / ".local" / "share" / "tallyform"));
  }
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
