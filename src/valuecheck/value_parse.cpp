#include "valuecheck/value_parse.h"

#include <algorithm>

#include "text/numbers.h"

namespace tallyform::valuecheck {
namespace {

bool IsNumericChar(char c) {
  return (c >= '0' && c <= '9') || c == ',' || c == '.';
}

// The "-" that opens the tolerance, and the "%" that closes it.
struct TolerancePlace {
  std::size_t dash;
  std::size_t percent;
};

std::optional<TolerancePlace> FindTolerance(std::string_view type) {
  const std::size_t percent = type.find('%');
  if (percent == std::string_view::npos) return std::nullopt;
  const std::size_t dash = type.substr(0, percent).rfind('-');
  if (dash == std::string_view::npos) return std::nullopt;
  return TolerancePlace{dash, percent};
}

}  // namespace

std::optional<std::string_view> ExtractTolerance(std::string_view type) {
  const auto place = FindTolerance(type);
  if (!place) return std::nullopt;
  return type.substr(place->dash + 1, place->percent - place->dash - 1);
}

std::optional<std::string_view> ExtractValueFromType(std::string_view type) {
  const auto place = FindTolerance(type);
  if (!place) return std::nullopt;
  const std::size_t before = type.substr(0, place->dash).rfind('-');
  if (before == std::string_view::npos) return std::nullopt;
  return type.substr(before + 1, place->dash - before - 1);
}

std::optional<ValueLayout> SplitValue(std::string_view value) {
  std::size_t numeric_length = 0;
  while (numeric_length < value.size() && IsNumericChar(value[numeric_length])) ++numeric_length;
  if (numeric_length == 0) return std::nullopt;

  ValueLayout layout;
  layout.numeric_length = static_cast<std::int32_t>(numeric_length);
  std::string_view numeric = value.substr(0, numeric_length);
  std::string& digits = layout.mantissa;
  const std::size_t separator = numeric.find_first_of(",.");
  if (separator == std::string_view::npos) {
    digits.assign(numeric);
  } else {
    layout.separator_position = static_cast<std::int32_t>(separator);
    digits.reserve(numeric.size() - 1);
    digits.append(numeric.substr(0, separator)).append(numeric.substr(separator + 1));
  }

  std::size_t first = 0;
  while (first < digits.size() && digits[first] == '0') ++first;
  std::size_t last = digits.size();
  while (last > first && digits[last - 1] == '0') --last;
  layout.leading_zeros = static_cast<std::int32_t>(first);
  layout.trailing_zeros = static_cast<std::int32_t>(digits.size() - last);
  digits.erase(last).erase(0, first);
  layout.significant_digits = static_cast<std::int32_t>(digits.size());
  if (digits.size() == 1) digits.push_back('0');

  std::string_view rest = value.substr(numeric_length);
  std::size_t suffix_end = 0;
  while (suffix_end < rest.size() && !IsNumericChar(rest[suffix_end])) ++suffix_end;
  layout.unit_suffix.assign(rest.substr(0, suffix_end));
  return layout;
}

std::string FormatSeriesValue(std::int32_t number, const ValueLayout& layout) {
  std::string digits = text::FormatD(number);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  while (static_cast<std::int32_t>(digits.size()) < layout.significant_digits) digits.push_back('0');
  digits.insert(0, static_cast<std::size_t>(layout.leading_zeros), '0');

  // The entered numeric part shows this many digits; trailing zeros it had are restored up to it.
  const bool has_separator = layout.separator_position >= 0;
  const std::int32_t shown_digits = layout.numeric_length - (has_separator ? 1 : 0);
  for (std::int32_t added = 0;
       added < layout.trailing_zeros && static_cast<std::int32_t>(digits.size()) < shown_digits; ++added) {
    digits.push_back('0');
  }

  if (has_separator) {
    const auto at = std::min(static_cast<std::size_t>(layout.separator_position), digits.size());
    digits.insert(at, 1, ',');
  } else if (static_cast<std::int32_t>(digits.size()) > layout.numeric_length) {
    // More digits than the entered integer shows: a comma after its integer digits keeps the decade.
    digits.insert(static_cast<std::size_t>(layout.numeric_length), 1, ',');
  }
  return digits;
}

}  // namespace tallyform::valuecheck
