#pragma once
// The C library's number conversions, once, independent of the process locale: a decimal comma ends a
// number, as it does for the C library in the "C" locale.

#include <string>
#include <string_view>

namespace tallyform::text {

/// atoi: optional leading white space, an optional sign, then decimal digits up to the first non-digit.
/// Text that does not begin with a number gives 0; values beyond the int range saturate.
int Atoi(std::string_view s);
/// atoll: as Atoi, in 64 bits; values beyond the range of long long saturate.
long long Atoll(std::string_view s);

/// strtod: optional leading white space, an optional sign, digits with an optional decimal point and an
/// optional exponent. Text that does not begin with a number gives 0. `consumed`, when given, receives the
/// number of characters read (0 when there is no number).
double Strtod(std::string_view s, std::size_t* consumed = nullptr);

/// How a text typed into a number field stands: read whole as a number, the beginning of one (empty, a sign,
/// "1e", "2."), or neither (a decimal comma, a letter). `integer` asks for atoi's syntax, otherwise strtod's.
enum class NumberEntry { kNumber, kUnfinished, kNotNumber };
NumberEntry ClassifyNumberEntry(std::string_view s, bool integer);

/// printf's "%g": six significant digits, trailing zeros removed, exponent form outside 1e-5 .. 1e6.
std::string FormatG(double value);

/// printf's "%d".
std::string FormatD(long long value);

}  // namespace tallyform::text
