#pragma once
// The standard value series (IEC 60063) and the tolerance keys that select them.
//
// Values are compared on their significant digits only: 4,7 кОм, 47 Ом and 470 кОм all carry the
// digits 47. Resistor series of the tolerances 5, 10 and 20 % hold two-digit numbers (10 .. 91); every
// other list holds three-digit numbers (100 .. 988).

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tallyform::valuecheck {

enum class ComponentClass { kResistor, kCapacitor };

/// One standard series: its tolerance key (code page 1251, e.g. "0,5") and its numbers in ascending order.
struct Series {
  std::string_view key;
  int digits = 2;  ///< 2 or 3: how many digits each of its numbers has
  std::vector<std::int32_t> numbers;

  /// True when the series holds the number.
  bool Contains(std::int32_t number) const;
};

/// Tolerance key to series, walked in a fixed enumeration order.
class SeriesRegistry {
 public:
  explicit SeriesRegistry(std::vector<Series> in_order) : series_(std::move(in_order)) {}

  /// The series of a key, or nullptr when the registry has no such key.
  const Series* Find(std::string_view key) const;

  /// Every series, in the registry's enumeration order.
  const std::vector<Series>& in_order() const { return series_; }

 private:
  std::vector<Series> series_;
};

/// Resistors: "5" E24, "0,5" E192, "20" E6, "1" E96, "10" E12, "2" E48 (in this enumeration order); E24, E12
/// and E6 in their two-digit form.
SeriesRegistry BuildResistorSeries();

/// Capacitors: "5" E24, "0,5" E192, "20" E6, "10" E12 (in this enumeration order), all three-digit.
SeriesRegistry BuildCapacitorSeries();

/// The key of a tolerance text (the text between the last "-" and the "%" of a type text). The exact key
/// texts are their own keys; any other text is classed by its integer part t (atoi: 0 when no digit comes
/// first): t <= 0 "0,5"; resistors t = 1 "2", capacitors 1 <= t <= 4 "5"; resistors 2 <= t <= 4 "5";
/// 5 .. 9 "10"; 10 .. 19 "20". No key (t >= 20) means the value is not examined.
std::optional<std::string_view> ResolveToleranceKey(ComponentClass cls, std::string_view tolerance);

/// How many digits the numbers of a key have: resistor keys "0,5", "1", "2" and every capacitor key 3,
/// the other resistor keys 2.
int KeyDigits(ComponentClass cls, std::string_view key);

/// Brings a mantissa into the form of the series of a resolved key: for a three-digit resistor key a
/// two-character mantissa gets a "0" (47 as 470); for capacitors "0" is appended up to three characters.
void LengthenMantissa(ComponentClass cls, std::string_view key, std::string& mantissa);

/// The number looked up in the series of the resolved key: the mantissa, lengthened as LengthenMantissa
/// does, read as a decimal integer (digits up to the first non-digit).
std::int32_t ToSeriesNumber(ComponentClass cls, std::string_view mantissa, std::string_view key);

}  // namespace tallyform::valuecheck
