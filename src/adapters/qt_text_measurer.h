#pragma once
// Text widths in millimetres in the sheet font, for fitting and splitting.

#include <QFont>
#include <QString>
#include <array>
#include <string_view>

#include "ports/text_measurer.h"

namespace tallyform::adapters {

class QtTextMeasurer : public ports::TextMeasurer {
 public:
  /// The em size in pixels at which the advances are taken: large, so that rounding of advances to a
  /// fraction of a pixel does not show.
  static constexpr int kReferenceEmPixels = 1000;

  /// Measures in the sheet family ChooseSheetFamily(preferred_family) picks. Needs a QGuiApplication while
  /// it is constructed; measuring calls no Qt at all.
  explicit QtTextMeasurer(const QString& preferred_family = {});

  /// The advance width in mm of a code page 1251 text whose character height is
  /// CharacterHeightMm(text_height_mm). Kerning and ligatures are off, so it is the sum of the advances of
  /// the characters.
  double Width(std::string_view text, double text_height_mm) const override;

  /// The font the advances were taken from (at kReferenceEmPixels); QFontInfo of it tells the face in use.
  const QFont& font() const { return font_; }

 private:
  QFont font_;
  // Advance of each code page 1251 byte, in em units.
  std::array<double, 256> advances_{};
};

}  // namespace tallyform::adapters
