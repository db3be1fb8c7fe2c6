#include "adapters/sheet_font.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <mutex>

// In the global namespace, where Q_INIT_RESOURCE declares the resource's initialiser. Calling it also makes
// the linker take the resource out of the static library.
static void InitFontResource() {
  Q_INIT_RESOURCE(fonts);
}

namespace tallyform::adapters {

QString RegisterBundledFonts() {
  static std::mutex mutex;
  static bool done = false;
  static QString family;
  const std::lock_guard lock(mutex);
  if (done) return family;
  // The font database belongs to the QGuiApplication; before there is one, the next call tries again.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return {};
  done = true;
  InitFontResource();
  const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kBundledFontResource));
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (!families.isEmpty()) family = families.front();
  return family;
}

bool HasFontFamily(const QString& family) {
  RegisterBundledFonts();
  return !family.isEmpty() && QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

QString ChooseSheetFamily(const QString& preferred) {
  const QString bundled = RegisterBundledFonts();
  const QStringList families = QFontDatabase::families();
  for (const QString& candidate :
       {preferred, QString::fromLatin1(kSheetFace), bundled, QString::fromLatin1(kAlternativeFace)}) {
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
