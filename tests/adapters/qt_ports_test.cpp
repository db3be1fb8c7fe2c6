#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "adapters/qt_system_info.h"
#include "support/temp_folder.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::adapters {
namespace {

using namespace tallyform::text::literals;
using testing::TempFolder;

TEST(QtSystemInfoTest, TakesTheAccountAndItsFullNameFromThePasswordDatabase) {
  QtSystemInfo info;
  const passwd* entry = getpwuid(geteuid());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(info.UserName(), text::Cp1251FromUnknown(entry->pw_name));
  const std::string_view gecos = entry->pw_gecos != nullptr ? entry->pw_gecos : "";
  const std::string owner = info.RegisteredOwner();
  EXPECT_EQ(owner, text::Cp1251FromUnknown(gecos.substr(0, gecos.find(','))));
  EXPECT_EQ(owner.find(','), std::string::npos);
  EXPECT_FALSE(info.ComputerName().empty());
  EXPECT_GE(info.LocalTime().tm_year + 1900, 2024);
}

}  // namespace
}  // namespace tallyform::adapters
