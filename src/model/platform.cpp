#include "model/platform.h"

#include <cstdlib>

#include "text/cp1251.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace tallyform::model {
namespace {

#if defined(_WIN32)
std::u8string AsU8(std::string_view utf8) {
  return std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size());
}

#endif

}  // namespace

std::string PathText(const std::filesystem::path& path) {
  return text::Cp1251FromUnknown(Utf8FromPath(path));
}

#if defined(_WIN32)

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  if (text::LooksLikeUtf8(utf8)) return std::filesystem::path(AsU8(utf8));
  return std::filesystem::path(AsU8(text::ToUtf8(utf8)));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string u8 = path.u8string();
  return std::string(reinterpret_cast<const char*>(u8.data()), u8.size());
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  const std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
}

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
  const std::wstring wide_name(name, name + std::char_traits<char>::length(name));
  const wchar_t* value = _wgetenv(wide_name.c_str());
  if (value == nullptr || *value == L'\0') return std::nullopt;
  return std::filesystem::path(value);
}

std::filesystem::path ExecutableFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    if (name.size() >= 32768) return {};
    name.resize(name.size() * 2);
  }
}

std::filesystem::path DefaultProgramFolder() {
  std::filesystem::path folder = ExecutableFolder();
  return folder.empty() ? std::filesystem::path(".tallyform") : folder;
}

#else

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::string(utf8));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  return path.string();
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

std::optional<std::filesystem::path> EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

std::filesystem::path ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

std::filesystem::path DefaultProgramFolder() {
  if (std::optional<std::filesystem::path> data = EnvironmentPath("XDG_DATA_HOME");
      data && data->is_absolute()) {
    return *data / "tallyform";
  }
  if (std::optional<std::filesystem::path> home = EnvironmentPath("HOME")) {
    return *home / ".local" / "share" / "tallyform";
  }
  return std::filesystem::path(".tallyform");
}

#endif

}  // namespace tallyform::model
