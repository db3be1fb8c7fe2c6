#pragma once
// The categories of the simple bill of purchased items: a key per designator prefix that orders the kinds
// (active components first, other things last), and the category headings the keys fall into.

#include <string_view>

namespace tallyform::model {

/// The lowest and highest category a key falls into.
inline constexpr int kFirstCategory = 1;
inline constexpr int kLastCategory = 6;
/// The category whose heading begins a section of the simple bill (active components).
inline constexpr int kSectionCategory = 1;

/// The category key of a designator prefix, 110 to 600: "D..." 110, "VT" 120, "VS" 130, "V..." 140, "C" 210,
/// "R" 220, "Z..." 230, "L..." 241, "T..." 242, "F..." 251, "MOV" 252, "H..." 320, "E..." 330, "K..." 410,
/// "J..." 441, "X..." 442, "Q..." 451, "S..." 452, "A..." 461, "B..." 462, "U..." 463, "W..." 464,
/// "Y..." 465, "G..." 510, "P..." 550, anything else 600 (tests in this order; the first that holds wins).
int CategoryKey(std::string_view prefix);

/// The category of a key: the key divided by 100.
constexpr int CategoryOfKey(int key) {
  return key / 100;
}

/// The heading of a category (1 "Активные компоненты" to 6 "Разное"; code page 1251); empty for a number
/// that names no category.
std::string_view CategoryName(int category);

}  // namespace tallyform::model
