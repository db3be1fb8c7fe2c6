#include "adapters/qt_shell.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include "adapters/qt_text.h"

namespace tallyform::adapters {

void QtShell::Open(const std::filesystem::path& file) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(adapters::PathToQString(file)));
}

}  // namespace tallyform::adapters
