#include "text/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace tallyform::text {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The integer at the start of `s` as atoi reads it, saturated to [-limit - 1, limit]; `consumed` receives the
// characters read (0 without digits).
long long ReadInteger(std::string_view s, unsigned long long limit, std::size_t& consumed) {
  consumed = 0;
  std::size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const std::size_t digits = i;
  // Past the limit the value stays at limit + 1, which the sign then saturates.
  const unsigned long long beyond = limit + 1;
  unsigned long long value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    const auto digit = static_cast<unsigned>(s[i] - '0');
    value = value > (beyond - digit) / 10 ? beyond : value * 10 + digit;
  }
  if (i == digits) return 0;
  consumed = i;
  if (negative) return value > limit ? -static_cast<long long>(limit) - 1 : -static_cast<long long>(value);
  return static_cast<long long>(value > limit ? limit : value);
}

}  // namespace

int Atoi(std::string_view s) {
  std::size_t consumed = 0;
  return static_cast<int>(ReadInteger(s, INT_MAX, consumed));
}

long long Atoll(std::string_view s) {
  std::size_t consumed = 0;
  return ReadInteger(s, LLONG_MAX, consumed);
}

NumberEntry ClassifyNumberEntry(std::string_view s, bool integer) {
  const auto read_whole = [integer](std::string_view text) {
    std::size_t consumed = 0;
    if (integer) {
      ReadInteger(text, LLONG_MAX, consumed);
    } else {
      Strtod(text, &consumed);
    }
    return consumed == text.size();
  };
  if (!s.empty() && read_whole(s)) return NumberEntry::kNumber;
  // What a digit more would make a number is on its way to one.
  return read_whole(std::string(s) + '0') ? NumberEntry::kUnfinished : NumberEntry::kNotNumber;
}

double Strtod(std::string_view s, std::size_t* consumed) {
  if (consumed) *consumed = 0;
  std::size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  const std::size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
    }
  }
  std::string_view number = s.substr(start, i - start);
  bool negative = false;
  if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
    negative = number[0] == '-';
    number.remove_prefix(1);
  }
  double value = 0.0;
  auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone on overflow; strtod gives HUGE_VAL or 0.
    value =
        (number.find_first_of("eE") != std::string_view::npos && number.find("e-") != std::string_view::npos)
            ? 0.0
            : HUGE_VAL;
  }
  if (consumed) *consumed = i;
  return negative ? -value : value;
}

std::string FormatG(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

std::string FormatD(long long value) {
  return std::to_string(value);
}

}  // namespace tallyform::text
