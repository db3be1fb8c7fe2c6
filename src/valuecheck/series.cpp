#include "valuecheck/series.h"

#include <algorithm>
#include <array>
#include <string>

#include "text/numbers.h"

namespace tallyform::valuecheck {
namespace {

// E192 as published: the rounded geometric step gives 919 at index 185, the standard keeps 920.
constexpr std::array<std::int32_t, 192> kE192 = {
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123, 124, 126,
    127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152, 154, 156, 158, 160,
    162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189, 191, 193, 196, 198, 200, 203,
    205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234, 237, 240, 243, 246, 249, 252, 255, 258,
    261, 264, 267, 271, 274, 277, 280, 284, 287, 291, 294, 298, 301, 305, 309, 312, 316, 320, 324, 328,
    332, 336, 340, 344, 348, 352, 357, 361, 365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417,
    422, 427, 432, 437, 442, 448, 453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530,
    536, 542, 549, 556, 562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673,
    681, 690, 698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

// E24 deviates from the geometric step (27 .. 47, 82), so it is listed; E12 and E6 are every second and
// every fourth number of it, as E96 and E48 are of E192.
constexpr std::array<std::int32_t, 24> kE24 = {10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                               33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

template <std::size_t N>
std::vector<std::int32_t> EveryNth(const std::array<std::int32_t, N>& base, std::size_t step, int factor) {
  std::vector<std::int32_t> out;
  out.reserve(N / step);
  for (std::size_t i = 0; i < N; i += step) out.push_back(base[i] * factor);
  return out;
}

constexpr std::string_view kKeyHalf = "0,5";
constexpr std::string_view kKey1 = "1";
constexpr std::string_view kKey2 = "2";
constexpr std::string_view kKey5 = "5";
constexpr std::string_view kKey10 = "10";
constexpr std::string_view kKey20 = "20";

}  // namespace

bool Series::Contains(std::int32_t number) const {
  return std::binary_search(numbers.begin(), numbers.end(), number);
}

const Series* SeriesRegistry::Find(std::string_view key) const {
  for (const Series& s : series_) {
    if (s.key == key) return &s;
  }
  return nullptr;
}

SeriesRegistry BuildResistorSeries() {
  std::vector<Series> in_order;
  in_order.push_back({kKey5, 2, EveryNth(kE24, 1, 1)});
  in_order.push_back({kKeyHalf, 3, EveryNth(kE192, 1, 1)});
  in_order.push_back({kKey20, 2, EveryNth(kE24, 4, 1)});
  in_order.push_back({kKey1, 3, EveryNth(kE192, 2, 1)});
  in_order.push_back({kKey10, 2, EveryNth(kE24, 2, 1)});
  in_order.push_back({kKey2, 3, EveryNth(kE192, 4, 1)});
  return SeriesRegistry(std::move(in_order));
}

SeriesRegistry BuildCapacitorSeries() {
  std::vector<Series> in_order;
  in_order.push_back({kKey5, 3, EveryNth(kE24, 1, 10)});
  in_order.push_back({kKeyHalf, 3, EveryNth(kE192, 1, 1)});
  in_order.push_back({kKey20, 3, EveryNth(kE24, 4, 10)});
  in_order.push_back({kKey10, 3, EveryNth(kE24, 2, 10)});
  return SeriesRegistry(std::move(in_order));
}

std::optional<std::string_view> ResolveToleranceKey(ComponentClass cls, std::string_view tolerance) {
  const bool resistor = cls == ComponentClass::kResistor;
  for (std::string_view key : {kKey20, kKey10, kKey5, kKeyHalf}) {
    if (tolerance == key) return key;
  }
  if (resistor && (tolerance == kKey1 || tolerance == kKey2)) return tolerance == kKey1 ? kKey1 : kKey2;

  const int t = text::Atoi(tolerance);
  if (t <= 0) return kKeyHalf;
  if (t <= 4) return (resistor && t == 1) ? kKey2 : kKey5;
  if (t <= 9) return kKey10;
  if (t <= 19) return kKey20;
  return std::nullopt;
}

int KeyDigits(ComponentClass cls, std::string_view key) {
  if (cls == ComponentClass::kCapacitor) return 3;
  return (key == kKeyHalf || key == kKey1 || key == kKey2) ? 3 : 2;
}

void LengthenMantissa(ComponentClass cls, std::string_view key, std::string& mantissa) {
  if (cls == ComponentClass::kCapacitor) {
    while (mantissa.size() < 3) mantissa.push_back('0');
  } else if (mantissa.size() == 2 && KeyDigits(cls, key) == 3) {
    mantissa.push_back('0');
  }
}

std::int32_t ToSeriesNumber(ComponentClass cls, std::string_view mantissa, std::string_view key) {
  std::string lengthened(mantissa);
  LengthenMantissa(cls, key, lengthened);
  return text::Atoi(lengthened);
}

}  // namespace tallyform::valuecheck
