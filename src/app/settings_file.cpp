#include "app/settings_file.h"

#include <cstddef>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "model/file_writing.h"
#include "model/platform.h"
#include "text/cp1251.h"

namespace tallyform::app {
namespace {

constexpr std::string_view kGeneral = "General";
// The largest settings file read; anything larger is not ours.
constexpr std::uintmax_t kMaxBytes = 1 << 20;

bool IsKeyChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == '.';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads up to `max` hexadecimal digits at `i`; the value, or -1 when there is none.
long ReadHex(std::string_view text, std::size_t& i, int max) {
  long value = -1;
  for (int n = 0; n < max && i < text.size() && HexValue(text[i]) >= 0; ++n, ++i) {
    value = (value < 0 ? 0 : value * 16) + HexValue(text[i]);
  }
  return value;
}

std::string EscapeKey(std::string_view key) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : key) {
    if (IsKeyChar(c)) {
      out.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    }
  }
  return out;
}

// "%XX" is a byte, "%UXXXX" a character (written as UTF-8).
std::string UnescapeKey(std::string_view key) {
  std::string out;
  for (std::size_t i = 0; i < key.size();) {
    if (key[i] == '%' && i + 1 < key.size()) {
      std::size_t j = i + 1;
      if (key[j] == 'U') {
        ++j;
        const long cp = ReadHex(key, j, 4);
        if (cp >= 0) {
          text::AppendUtf8(out, static_cast<char32_t>(cp));
          i = j;
          continue;
        }
      } else {
        const long byte = ReadHex(key, j, 2);
        if (byte >= 0 && j == i + 3) {
          out.push_back(static_cast<char>(byte));
          i = j;
          continue;
        }
      }
    }
    out.push_back(key[i++]);
  }
  return out;
}

std::string EscapeValue(std::string_view value) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  if (!value.empty() && value.front() == '@') out += '@';  // a leading "@" would mark a typed value
  for (char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\x";
          out += kHex[(c >> 4) & 0xf];
          out += kHex[c & 0xf];
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

// A value as the INI form writes it: quoted or not, with backslash escapes; white space around unquoted
// parts goes.
std::string UnescapeValue(std::string_view text) {
  std::string out;
  bool quoted = false;
  std::size_t pending_space = 0;  // unquoted white space, kept only when more text follows
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
      ++i;
      continue;
    }
    if (!quoted && (c == ' ' || c == '\t')) {
      ++pending_space;
      ++i;
      continue;
    }
    if (!out.empty()) out.append(pending_space, ' ');
    pending_space = 0;
    if (c != '\\' || i + 1 >= text.size()) {
      out.push_back(c);
      ++i;
      continue;
    }
    const char e = text[i + 1];
    i += 2;
    switch (e) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        const long cp = ReadHex(text, i, 4);
        if (cp >= 0) text::AppendUtf8(out, static_cast<char32_t>(cp));
        break;
      }
      default:
        out += e;  // "\\", "\"", "\;" and the like stand for themselves
    }
  }
  if (out.size() >= 2 && out[0] == '@' && out[1] == '@') out.erase(0, 1);
  return out;
}

std::string Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

SettingsFile::SettingsFile(std::filesystem::path file) : file_(std::move(file)) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file_, error) || std::filesystem::file_size(file_, error) > kMaxBytes)
    return;
  std::ifstream in(file_, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  values_ = Parse(text);
}

std::map<std::string, std::string> SettingsFile::Parse(std::string_view text) {
  std::map<std::string, std::string> values;
  std::string section;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line = Trim(std::string_view(line).substr(0, line.size() - 1));
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = UnescapeKey(std::string_view(line).substr(1, line.size() - 2));
      if (section == kGeneral) section.clear();
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = UnescapeKey(Trim(std::string_view(line).substr(0, equals)));
    if (key.empty()) continue;
    values[section.empty() ? key : section + "/" + key] =
        UnescapeValue(Trim(std::string_view(line).substr(equals + 1)));
  }
  return values;
}

std::string SettingsFile::Format(const std::map<std::string, std::string>& values) {
  // Keys of a group together under its heading; the keys of no group first, under "[General]".
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
  for (const auto& [key, value] : values) {
    const std::size_t slash = key.rfind('/');
    const std::string section = slash == std::string::npos ? std::string(kGeneral) : key.substr(0, slash);
    sections[section].emplace_back(slash == std::string::npos ? key : key.substr(slash + 1), value);
  }
  std::string text;
  auto write = [&text](const std::string& section,
                       const std::vector<std::pair<std::string, std::string>>& entries) {
    if (!text.empty()) text += '\n';
    text += '[' + EscapeKey(section) + "]\n";
    for (const auto& [key, value] : entries) text += EscapeKey(key) + '=' + EscapeValue(value) + '\n';
  };
  if (const auto general = sections.find(std::string(kGeneral)); general != sections.end()) {
    write(general->first, general->second);
    sections.erase(general);
  }
  for (const auto& [section, entries] : sections) write(section, entries);
  return text;
}

std::optional<std::string> SettingsFile::Read(const std::string& key) {
  const auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return text::FromUtf8(it->second);
}

void SettingsFile::Write(const std::string& key, const std::string& value) {
  Store(key, text::ToUtf8(value));
}

std::optional<std::filesystem::path> SettingsFile::ReadPath(const std::string& key) {
  const auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return model::PathFromUtf8(it->second);
}

void SettingsFile::WritePath(const std::string& key, const std::filesystem::path& value) {
  Store(key, model::Utf8FromPath(value));
}

void SettingsFile::Remove(const std::string& key) {
  if (values_.count(key) != 0) Store(key, std::nullopt);
}

void SettingsFile::Store(const std::string& key, const std::optional<std::string>& value) {
  std::map<std::string, std::string> values = values_;
  if (value) {
    values[key] = *value;
  } else {
    values.erase(key);
  }
  model::WriteFileReplacing(file_, Format(values));
  values_ = std::move(values);
}

}  // namespace tallyform::app
