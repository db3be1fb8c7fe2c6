#pragma once
// Facts of the machine and the session that the core asks for.

#include <ctime>
#include <string>

namespace tallyform::ports {

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  /// The computer's network name; empty when unknown. Code page 1251.
  virtual std::string ComputerName() = 0;
  /// The logged-on user's account name; empty when unknown. Code page 1251.
  virtual std::string UserName() = 0;
  /// The registered owner of the machine (on Linux the account's full name from the password database, up
  /// to the first comma); empty when unknown. Code page 1251.
  virtual std::string RegisteredOwner() = 0;
  /// The current local time.
  virtual std::tm LocalTime() = 0;
};

}  // namespace tallyform::ports
