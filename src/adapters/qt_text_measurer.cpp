#include "adapters/qt_text_measurer.h"

#include <QChar>
#include <QFontMetricsF>

#include "adapters/sheet_font.h"
#include "text/cp1251.h"

namespace tallyform::adapters {

QtTextMeasurer::QtTextMeasurer(const QString& preferred_family)
    : font_(MakeSheetFont(ChooseSheetFamily(preferred_family), kReferenceEmPixels)) {
  // With kerning and shaping off a text is exactly as wide as the sum of its characters, and a code page
  // has only 256 of them: one table replaces every later call into the font engine.
  const QFontMetricsF metrics(font_);
  for (int byte = 0; byte < 256; ++byte) {
    const auto unit = static_cast<char16_t>(text::CodePointFromCp1251(static_cast<unsigned char>(byte)));
    advances_[static_cast<std::size_t>(byte)] = metrics.horizontalAdvance(QChar(unit)) / kReferenceEmPixels;
  }
}

double QtTextMeasurer::Width(std::string_view text, double text_height_mm) const {
  double em = 0;
  for (char c : text) em += advances_[static_cast<unsigned char>(c)];
  return em * CharacterHeightMm(text_height_mm);
}

}  // namespace tallyform::adapters
