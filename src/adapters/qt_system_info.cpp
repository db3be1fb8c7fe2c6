#include "adapters/qt_system_info.h"

#include <pwd.h>
#include <unistd.h>

#include <QSysInfo>
#include <QtGlobal>
#include <string_view>
#include <vector>

#include "adapters/qt_text.h"
#include "text/cp1251.h"

namespace tallyform::adapters {
namespace {

struct Account {
  std::string name;
  std::string full_name;
};

// The password database's entry of the effective user; empty fields when it has none.
Account CurrentAccount() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  Account account;
  if (entry.pw_name != nullptr) account.name = entry.pw_name;
  if (entry.pw_gecos != nullptr) {
    const std::string_view gecos = entry.pw_gecos;
    account.full_name = std::string(gecos.substr(0, gecos.find(',')));
  }
  return account;
}

}  // namespace

std::string QtSystemInfo::ComputerName() {
  return FromQString(QSysInfo::machineHostName());
}

std::string QtSystemInfo::UserName() {
  std::string name = CurrentAccount().name;
  if (name.empty()) name = qEnvironmentVariable("USER").toStdString();
  return text::Cp1251FromUnknown(name);
}

std::string QtSystemInfo::RegisteredOwner() {
  return text::Cp1251FromUnknown(CurrentAccount().full_name);
}

std::tm QtSystemInfo::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace tallyform::adapters
