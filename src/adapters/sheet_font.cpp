#include "adapters/sheet_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace tallyform::adapters {

bool HasFontFamily(const QString& family) {
  return !family.isEmpty() && QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QString ChooseSheetFamily(const QString& preferred) {
  const QStringList families = QFontDatabase::families();
  for (const QString& candidate :
       {preferred, QString::fromLatin1(kSheetFace), QString::fromLatin1(kStandInFace)}) {
    if (candidate.isEmpty()) continue;
    // The database's spelling, so that QFontInfo reports the very name returned here.
    for (const QString& family : families) {
      if (family.compare(candidate, Qt::CaseInsensitive) == 0) return family;
    }
  }
  return QString::fromLatin1(kSheetFace);
}

QFont MakeSheetFont(const QString& family, int em_pixels, bool underline) {
  QFont font(family);
  font.setPixelSize(em_pixels < 1 ? 1 : em_pixels);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(underline);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

}  // namespace tallyform::adapters
