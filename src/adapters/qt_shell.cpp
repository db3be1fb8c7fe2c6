#include "adapters/qt_shell.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace tallyform::adapters {

void QtShell::Open(const std::filesystem::path& file) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(file.c_str())));
}

}  // namespace tallyform::adapters
