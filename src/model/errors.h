#pragma once
// The one error hierarchy of the program. A reader throws; the command boundary (a GUI command, a CLI
// subcommand) catches and shows the message to the user. Messages are code page 1251 text.

#include <stdexcept>
#include <string>

namespace tallyform {

/// Base of every error the user is told about; `message()` is the text shown, in code page 1251.
class Error : public std::runtime_error {
 public:
  explicit Error(std::string message) : std::runtime_error(message), message_(std::move(message)) {}
  const std::string& message() const { return message_; }

 private:
  std::string message_;
};

/// A file that cannot be opened, read or written.
class UnreadableFile : public Error {
 public:
  using Error::Error;
};

/// A file whose contents do not follow its format: a damaged archive, a design of unknown format.
class DamagedFile : public Error {
 public:
  using Error::Error;
};

/// A request the program cannot carry out as given (bad options, values out of range).
class BadUsage : public Error {
 public:
  using Error::Error;
};

}  // namespace tallyform
