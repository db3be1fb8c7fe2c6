#pragma once
// The font every text of a sheet is drawn and measured in.
//
// The sheets ask for the face "AGOST Pincher". A system without it gets the face the programs carry,
// OpenGost Type B TT (resources/fonts/), so that fitting and drawing agree on every machine; the user may
// name another face. The character height (em size, without internal leading) of a text of height h mm is
// h × 96 / 72 mm on every device.

#include <QFont>
#include <QString>

namespace tallyform::adapters {

/// The face the sheets ask for.
inline constexpr char kSheetFace[] = "AGOST Pincher";
/// The resource of the bundled face, which stands in when the system lacks the sheet face.
inline constexpr char kBundledFontResource[] = ":/fonts/OpenGostTypeB-TT.ttf";
/// The installed face that stands in when even the bundled face cannot be had.
inline constexpr char kAlternativeFace[] = "PT Sans Narrow";

/// The character height (em size) in millimetres of a text `text_height_mm` high.
constexpr double CharacterHeightMm(double text_height_mm) {
  return text_height_mm * 96.0 / 72.0;
}

/// Adds the bundled face to the application's font database and gives its family as the database names
/// it; empty when it cannot be added. The first call with a QGuiApplication does the work, later calls only
/// give the family; without a QGuiApplication nothing is done. HasFontFamily and ChooseSheetFamily call it
/// themselves. Thread-safe.
QString RegisterBundledFonts();

/// True when the font database, the bundled face included, holds the family (letter case ignored). Needs a
/// QGuiApplication.
bool HasFontFamily(const QString& family);

/// The family the sheets are drawn in: `preferred` (the user's choice; empty for none) when the font
/// database has it, else the sheet face, else the bundled face, else the alternative face, else the sheet
/// face name left to Qt's own substitution. Needs a QGuiApplication.
QString ChooseSheetFamily(const QString& preferred = {});

/// The sheet font of `family` with a character height (em size) of `em_pixels` pixels, weight 400.
/// Hinting is off so that widths scale linearly with the size, and kerning and ligatures are off so that
/// the width of a text is the sum of the advances of its characters: a line measured piece by piece is as
/// wide as the line measured whole.
QFont MakeSheetFont(const QString& family, int em_pixels, bool underline = false);

}  // namespace tallyform::adapters
