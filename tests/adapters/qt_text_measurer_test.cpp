#include "adapters/qt_text_measurer.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRawFont>
#include <string>

#include "adapters/sheet_font.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::adapters {
namespace {

using namespace text::literals;

// The family the bundled face registers under.
QString BundledFamily() {
  return QStringLiteral("OpenGost Type B TT");
}

// The face the sheets get on this machine: the sheet face when installed, otherwise the bundled face.
QString ExpectedFace() {
  return HasFontFamily(QString::fromLatin1(kSheetFace)) ? QString::fromLatin1(kSheetFace) : BundledFamily();
}

TEST(SheetFontTest, TheBundledFaceIsRegisteredOnceUnderItsOwnName) {
  EXPECT_EQ(RegisterBundledFonts(), BundledFamily());
  EXPECT_EQ(RegisterBundledFonts(), BundledFamily());
  EXPECT_EQ(QFontDatabase::families().count(BundledFamily()), 1);
  EXPECT_TRUE(HasFontFamily(QStringLiteral("opengost type b tt")));
  EXPECT_EQ(ChooseSheetFamily(QStringLiteral("opengost type b tt")), BundledFamily());
}

TEST(SheetFontTest, TheBundledFaceHasEveryCharacterOfTheDocuments) {
  const QRawFont raw = QRawFont::fromFont(MakeSheetFont(BundledFamily(), 100));
  ASSERT_TRUE(raw.isValid());
  ASSERT_EQ(raw.familyName(), BundledFamily());
  QString wanted = QStringLiteral("№±…«»–—°µ");
  for (char16_t c = u' '; c <= u'~'; ++c) wanted += QChar(c);
  for (char16_t c = u'А'; c <= u'я'; ++c) wanted += QChar(c);
  wanted += QStringLiteral("Ёё");
  for (const QChar c : wanted) EXPECT_TRUE(raw.supportsCharacter(c)) << QString(c).toStdString();
}

TEST(SheetFontTest, MissingOrUnknownFacesFallBackToTheBundledFace) {
  // The bundled face comes before the alternative face, which stays installed.
  ASSERT_TRUE(HasFontFamily(QString::fromLatin1(kAlternativeFace)))
      << "the alternative face is not installed";
  const QtTextMeasurer measurer;
  EXPECT_EQ(QFontInfo(measurer.font()).family(), ExpectedFace());
  EXPECT_EQ(ChooseSheetFamily(), ExpectedFace());
  EXPECT_EQ(ChooseSheetFamily(QStringLiteral("No Such Face 7Q")), ExpectedFace());
  EXPECT_EQ(QFontInfo(QtTextMeasurer(QStringLiteral("No Such Face 7Q")).font()).family(), ExpectedFace());
  // The user's choice wins when installed, whatever its letter case.
  EXPECT_EQ(ChooseSheetFamily(QStringLiteral("pt sans narrow")), QStringLiteral("PT Sans Narrow"));
}

TEST(SheetFontTest, AnInstalledOverrideIsTheFaceMeasured) {
  const QString wide = QStringLiteral("PT Sans");
  if (!HasFontFamily(wide)) GTEST_SKIP() << "PT Sans is not installed";
  const QtTextMeasurer narrow_measurer(QStringLiteral("PT Sans Narrow"));
  const QtTextMeasurer wide_measurer(wide);
  EXPECT_EQ(QFontInfo(wide_measurer.font()).family(), wide);
  const std::string name{"Резистор С2-33Н"_cp};
  EXPECT_GT(wide_measurer.Width(name, 5.0), 1.05 * narrow_measurer.Width(name, 5.0));
}

TEST(QtTextMeasurerTest, WidthsAgreeWithTheFontDrawnAtRealSizes) {
  const QtTextMeasurer measurer;
  ASSERT_EQ(QFontInfo(measurer.font()).family(), ExpectedFace());
  // The UTF-8 spelling goes to Qt directly, so a fault in the code page conversion shows too.
  const char* const kTexts[] = {"R1, R2, R3", "Конденсатор К10-17б-Н90-0,1 мкФ", "ЁЖЩЫЭЮЯ ёжщыэюя Wm...;_"};
  for (const char* utf8 : kTexts) {
    const std::string cp = text::FromUtf8(utf8);
    for (int em_pixels : {13, 40, 150}) {
      for (double height_mm : {2.5, 3.5, 5.0, 7.0}) {
        SCOPED_TRACE(std::string(utf8) + " at " + std::to_string(em_pixels) + " px, " +
                     std::to_string(height_mm) + " mm");
        const QFontMetricsF metrics(MakeSheetFont(measurer.font().family(), em_pixels));
        const double expected =
            metrics.horizontalAdvance(QString::fromUtf8(utf8)) / em_pixels * CharacterHeightMm(height_mm);
        EXPECT_NEAR(measurer.Width(cp, height_mm), expected, expected * 0.005);
      }
    }
  }
}

TEST(QtTextMeasurerTest, EveryLatinAndCyrillicLetterHasAWidth) {
  const QtTextMeasurer measurer;
  std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (int byte = 0xc0; byte <= 0xff; ++byte) letters.push_back(static_cast<char>(byte));
  letters += "Ёё"_cp;
  for (char c : letters) {
    const double width = measurer.Width(std::string_view(&c, 1), 5.0);
    // A narrow face: between a tenth of the character height (i, l) and its whole (Ш, Щ, Ж).
    EXPECT_GT(width, 0.1 * CharacterHeightMm(5.0)) << text::ToUtf8(std::string_view(&c, 1));
    EXPECT_LT(width, 1.0 * CharacterHeightMm(5.0)) << text::ToUtf8(std::string_view(&c, 1));
  }
  EXPECT_EQ(measurer.Width("", 5.0), 0.0);
}

}  // namespace
}  // namespace tallyform::adapters
