#pragma once
// Reading nominal values and tolerances out of element texts, and writing series numbers back in the
// layout the user wrote. Texts are code page 1251; the decade and the unit are never interpreted.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tallyform::valuecheck {

/// What splitting a value text gives.
struct ValueLayout {
  std::string mantissa;             ///< significant digits; two characters at least when any digit is not 0
  std::string unit_suffix;          ///< the text after the numeric part, up to the next digit or separator
  std::int32_t numeric_length = 0;  ///< characters of the numeric part, separator included
  std::int32_t significant_digits = 0;   ///< before a lone digit is completed with "0"
  std::int32_t separator_position = -1;  ///< index of the first "," or "." in the numeric part, or -1
  std::int32_t leading_zeros = 0;        ///< "0" characters removed from the front
  std::int32_t trailing_zeros = 0;       ///< "0" characters removed from the end

  bool operator==(const ValueLayout&) const = default;
};

/// The tolerance text of a type text: what lies between the last "-" before the first "%" and that "%"
/// (untrimmed). Р1-12-0,125-10 кОм-5% gives 5. Nothing when there is no "%" or no "-" before it.
std::optional<std::string_view> ExtractTolerance(std::string_view type);

/// The value written inside a type text: what lies between the last two "-" before the first "%".
/// Р1-12-0,125-10 кОм-5% gives "10 кОм". Nothing when there is no "%" or fewer than two "-" before it.
std::optional<std::string_view> ExtractValueFromType(std::string_view type);

/// Splits a value text into its significant digits and their layout: the numeric part is the longest
/// prefix made of "0123456789,."; its first separator is dropped, then leading and trailing "0"s, and a
/// lone remaining digit gets a "0" (4,7 кОм gives 47; 100 пФ gives 10; 0,015 gives 15). A value of zeros
/// only gives an empty mantissa. Nothing when the text does not begin with a digit or separator.
std::optional<ValueLayout> SplitValue(std::string_view value);

/// A series number written in the layout of an entered value, without its unit suffix: 43 for 4,7 gives
/// 4,3; 16 for 0,015 gives 0,016; 120 for 100 gives 120; 221 for 2,2 gives 2,21. The separator is always a
/// comma. When the entered value has no separator and the number needs more digits than it shows, a comma
/// keeps its decade: 464 for 47 gives 46,4.
std::string FormatSeriesValue(std::int32_t number, const ValueLayout& layout);

}  // namespace tallyform::valuecheck
