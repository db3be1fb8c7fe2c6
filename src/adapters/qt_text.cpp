#include "adapters/qt_text.h"

#include <QFile>

#include "text/cp1251.h"

namespace tallyform::adapters {

QString ToQString(std::string_view cp1251) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1251.size()));
  for (char c : cp1251)
    out.append(QChar(static_cast<char16_t>(text::CodePointFromCp1251(static_cast<unsigned char>(c)))));
  return out;
}

std::string FromQString(const QString& s) {
  std::u16string units(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
  return text::FromUtf16(units);
}

QString PathToQString(const std::filesystem::path& path) {
#if defined(_WIN32)
  return QString::fromStdWString(path.wstring());
#else
  return QFile::decodeName(path.c_str());
#endif
}

std::filesystem::path QStringToPath(const QString& path) {
#if defined(_WIN32)
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace tallyform::adapters
