#pragma once
// A TextMeasurer with widths that are easy to reckon with in tests.
//
// Every character is 0.5 × the text height wide, so at a height of 2 mm a text is as many millimetres wide
// as it has characters. SetWidth gives one character another width, again as a multiple of the text height.
// measurements() counts the calls, for tests that care how often a text is measured.

#include <array>
#include <cstddef>
#include <string_view>

#include "ports/text_measurer.h"

namespace tallyform::testing {

class FakeTextMeasurer : public ports::TextMeasurer {
 public:
  static constexpr double kDefaultWidth = 0.5;

  FakeTextMeasurer() { widths_.fill(kDefaultWidth); }

  /// Makes `c` (a code page 1251 byte) `times_height` × the text height wide.
  void SetWidth(char c, double times_height) { widths_[static_cast<unsigned char>(c)] = times_height; }

  double Width(std::string_view text, double text_height_mm) const override {
    ++measurements_;
    double sum = 0;
    for (char c : text) sum += widths_[static_cast<unsigned char>(c)];
    return sum * text_height_mm;
  }

  /// How many times Width has been called.
  std::size_t measurements() const { return measurements_; }

 private:
  std::array<double, 256> widths_{};
  mutable std::size_t measurements_ = 0;
};

}  // namespace tallyform::testing
