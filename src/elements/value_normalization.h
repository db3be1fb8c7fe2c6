#pragma once
// Resistor and capacitor values in the program's own notation ("4k7" becomes "4,7 кОм", "0.1u" becomes
// "0.1мкФ"), as the design readers store them.

#include <string>
#include <string_view>

namespace tallyform::elements {

/// The value rewritten for the kind letter (the first character of the designator): 'C' gives capacitor
/// units (пФ, нФ, мкФ), 'R' resistor units (Ом, кОм, МОм); any other letter leaves the value unchanged.
/// Code page 1251 text.
std::string NormalizeValue(char kind_letter, std::string_view value);

}  // namespace tallyform::elements
