#include "gui/open_requests.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>

#include "adapters/own_folders.h"
#include "adapters/qt_text.h"

namespace tallyform::gui {
namespace {

constexpr int kWaitMs = 2000;
// A request is one path and a line end; a longer one is no request of ours.
constexpr qint64 kLongestRequest = 64 * 1024;

}  // namespace

QString OpenRequests::PrivateFolder(const QString& runtime, const QString& temp) {
  if (!runtime.isEmpty() && adapters::IsPrivateFolder(runtime)) {
    return QDir::cleanPath(QDir(runtime).absolutePath());
  }
  return adapters::OwnFolderIn(temp);
}

QString OpenRequests::ServerName(const std::filesystem::path& folder) {
  const QString own = PrivateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath());
  if (own.isEmpty()) return {};
  const QByteArray key = QFile::encodeName(QDir(adapters::PathToQString(folder)).absolutePath());
  return own + QStringLiteral("/tallyform-") +
         QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16));
}

bool OpenRequests::SendToRunning(const QString& server, const QString& file) {
  if (server.isEmpty() || !adapters::IsOwnSocket(server)) return false;
  QLocalSocket socket;
  socket.connectToServer(server);
  if (!socket.waitForConnected(kWaitMs)) return false;
  socket.write(QFileInfo(file).absoluteFilePath().toUtf8() + '\n');
  if (!socket.waitForBytesWritten(kWaitMs)) return false;
  // The running program answers once it has the request.
  return socket.waitForReadyRead(kWaitMs) && socket.readAll().startsWith("ok");
}

OpenRequests::OpenRequests(QObject* parent) : QObject(parent) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &OpenRequests::Accept);
}

bool OpenRequests::Listen(const QString& server) {
  if (server.isEmpty()) return false;
  // The socket is made under a private name and renamed into place, which would silently take the name
  // from a running program: so a program that answers keeps it.
  if (adapters::IsOwnSocket(server)) {
    QLocalSocket probe;
    probe.connectToServer(server);
    if (probe.waitForConnected(kWaitMs / 4)) return false;
  }
  if (server_.listen(server)) return true;
  // A name left behind by a program that ended abnormally answers nobody; it is taken over.
  QLocalServer::removeServer(server);
  return server_.listen(server);
}

void OpenRequests::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestRequest) socket->abort();
        return;
      }
      const QString file = QString::fromUtf8(socket->readLine()).trimmed();
      socket->write("ok\n");
      socket->flush();
      socket->disconnectFromServer();
      if (!file.isEmpty()) emit openRequested(file);
    });
  }
}

}  // namespace tallyform::gui
