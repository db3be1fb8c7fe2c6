#pragma once
// Sets an environment variable (UTF-8 text, or unset for nullptr) for a scope and puts the old value back.
// On Windows the variable is set in wide characters, as the program reads it there.

#include <cstdlib>
#include <optional>
#include <string>

#if defined(_WIN32)
#include <filesystem>
#endif

namespace tallyform::testing {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* utf8_value) : name_(name) {
    old_ = Get(name);
    Set(name, utf8_value != nullptr ? std::optional<std::string>(utf8_value) : std::nullopt);
  }
  ~ScopedEnv() { Set(name_.c_str(), old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
#if defined(_WIN32)
  static std::wstring Wide(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
  }
  static std::optional<std::string> Get(const char* name) {
    const wchar_t* value = _wgetenv(Wide(name).c_str());
    if (value == nullptr) return std::nullopt;
    const std::u8string u8 = std::filesystem::path(value).u8string();
    return std::string(u8.begin(), u8.end());
  }
  static void Set(const char* name, const std::optional<std::string>& value) {
    // An empty value removes the variable on Windows; the program treats both alike.
    _wputenv_s(Wide(name).c_str(), value ? Wide(*value).c_str() : L"");
  }
#else
  static std::optional<std::string> Get(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Set(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
#endif

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace tallyform::testing
