#include "adapters/own_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#endif

namespace tallyform::adapters {

#if defined(_WIN32)

bool IsPrivateFolder(const QString& path) {
  const QFileInfo info(path);
  return info.isDir() && !info.isSymLink();
}

bool IsOwnSocket(const QString& server) {
  return !server.isEmpty();
}

QString OwnFolderIn(const QString& temp) {
  if (temp.isEmpty() || !QDir(temp).mkpath(QStringLiteral("tallyform"))) return {};
  const QString own = QDir::cleanPath(QDir(temp).absoluteFilePath(QStringLiteral("tallyform")));
  return IsPrivateFolder(own) ? own : QString();
}

void EnsureRuntimeFolder() {}

#else

bool IsPrivateFolder(const QString& path) {
  struct stat info {};
  return lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool IsOwnSocket(const QString& server) {
  struct stat info {};
  return lstat(QFile::encodeName(server).constData(), &info) == 0 && S_ISSOCK(info.st_mode) &&
         info.st_uid == geteuid() && IsPrivateFolder(QFileInfo(server).absolutePath());
}

QString OwnFolderIn(const QString& temp) {
  if (temp.isEmpty()) return {};
  const QString own =
      QDir::cleanPath(QDir(temp).absoluteFilePath(QStringLiteral("tallyform-%1").arg(geteuid())));
  if (mkdir(QFile::encodeName(own).constData(), S_IRWXU) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(own) ? own : QString();
}

void EnsureRuntimeFolder() {
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) return;
  std::error_code ec;
  auto dir = std::filesystem::temp_directory_path(ec) / ("tallyform-runtime-" + std::to_string(getuid()));
  std::filesystem::create_directories(dir, ec);
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
  qputenv("XDG_RUNTIME_DIR", QByteArray(dir.c_str()));
}

#endif

}  // namespace tallyform::adapters
