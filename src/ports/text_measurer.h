#pragma once

#include <string_view>

namespace tallyform::ports {

/// Measures texts for fitting and splitting. The font is the sheet face at the character height of the
/// program's font rule: a text of height h mm has the character height (em size, without internal leading)
/// h × 96 / 72 mm.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  /// The advance width of a code page 1251 text drawn at a text height, both in millimetres.
  virtual double Width(std::string_view text, double text_height_mm) const = 0;
};

}  // namespace tallyform::ports
