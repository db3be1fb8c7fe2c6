#pragma once
// Facts of the machine and the session: the host name, the account, its full name from the password
// database (the registered owner), and the local time.

#include <ctime>
#include <string>

#include "ports/system_info.h"

namespace tallyform::adapters {

class QtSystemInfo : public ports::SystemInfo {
 public:
  std::string ComputerName() override;
  std::string UserName() override;
  /// The account's full name: the password database's comment field up to its first comma.
  std::string RegisteredOwner() override;
  std::tm LocalTime() override;
};

}  // namespace tallyform::adapters
