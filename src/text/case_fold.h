#pragma once
// Letter case of code page 1251 text, independent of the process locale.

#include <string>
#include <string_view>

namespace tallyform::text {

/// The lower-case form of one code page 1251 byte (Latin and Cyrillic letters, Ё/ё included).
char FoldByte(char c);

/// The upper-case form of one code page 1251 byte.
char UpperByte(char c);

/// The text with every letter in lower case.
std::string Fold(std::string_view s);

/// Compares two texts ignoring letter case: negative, zero or positive, by the unsigned bytes of their
/// lower-case forms.
int CompareNoCase(std::string_view a, std::string_view b);

/// True when the texts are equal ignoring letter case.
bool EqualNoCase(std::string_view a, std::string_view b);

/// Compares by unsigned bytes: negative, zero or positive.
int CompareBytes(std::string_view a, std::string_view b);

}  // namespace tallyform::text
