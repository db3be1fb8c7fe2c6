// The socket a running program takes the documents the desktop opens on.

#include "gui/open_requests.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <thread>

#include "gui/gui_test_support.h"

namespace tallyform::gui {
namespace {

using testing::Native;

// The mode bits of a file, or -1.
int Mode(const QString& path) {
  struct stat info {};
  return lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

bool SetMode(const QString& path, int mode) {
  return chmod(QFile::encodeName(path).constData(), mode_t(mode)) == 0;
}

}  // namespace

class OpenRequestsTest : public QObject {
  Q_OBJECT

 private slots:
  // The socket lay in the shared temporary folder under a name anyone could work out: another account could
  // take the name first and be handed the documents.
  void theSocketLiesInAFolderOnlyThisUserMayEnter() {
    QTemporaryDir runtime;
    QTemporaryDir temp;
    QVERIFY(runtime.isValid() && temp.isValid());
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString server = OpenRequests::ServerName(testing::Native(temp.path()));
    qputenv("XDG_RUNTIME_DIR", previous);
    QCOMPARE(QFileInfo(server).absolutePath(), runtime.path());

    // Without a runtime folder of our own: a folder of ours in the temporary folder, that only we may enter.
    const QString own = temp.filePath(QStringLiteral("tallyform-%1").arg(geteuid()));
    QCOMPARE(OpenRequests::PrivateFolder({}, temp.path()), own);
    QCOMPARE(Mode(own), 0700);
    QVERIFY(SetMode(runtime.path(), 0755));
    QCOMPARE(OpenRequests::PrivateFolder(runtime.path(), temp.path()), own);
    // A folder others may enter, or a link in its place, is refused.
    QVERIFY(SetMode(own, 0755));
    QCOMPARE(OpenRequests::PrivateFolder({}, temp.path()), QString());
    QVERIFY(QDir(own).removeRecursively());
    QVERIFY(QFile::link(runtime.path(), own));
    QVERIFY(SetMode(runtime.path(), 0700));
    QCOMPARE(OpenRequests::PrivateFolder({}, temp.path()), QString());

    // What lies at the socket's name but is not a socket of ours is no running program.
    QFile fake(runtime.filePath(QStringLiteral("tallyform-fake")));
    QVERIFY(fake.open(QIODevice::WriteOnly));
    fake.close();
    QVERIFY(!OpenRequests::SendToRunning(fake.fileName(), QStringLiteral("a.enum")));
    QVERIFY(!OpenRequests::SendToRunning({}, QStringLiteral("a.enum")));
  }

  void aRunningProgramTakesTheDocumentsTheDesktopOpens() {
    QTemporaryDir folder;
    const QString server = OpenRequests::ServerName(Native(folder.path()));
    QCOMPARE(OpenRequests::ServerName(Native(folder.path() + QStringLiteral("/."))), server);
    QTemporaryDir other;
    QVERIFY(server != OpenRequests::ServerName(Native(other.path())));
    QVERIFY(!OpenRequests::SendToRunning(server, QStringLiteral("a.enum")));  // nobody runs yet

    OpenRequests running;
    QVERIFY(running.Listen(server));
    OpenRequests second;
    QVERIFY(!second.Listen(server));  // one program per folder takes the requests
    QStringList asked;
    connect(&running, &OpenRequests::openRequested, [&asked](const QString& file) { asked.append(file); });
    // The sender waits for the answer, so the running program's side runs on a thread of its own here.
    bool sent = false;
    std::thread sender([&] {
      sent = OpenRequests::SendToRunning(server, folder.filePath(QStringLiteral("с пробелом.enum")));
    });
    QTRY_COMPARE(asked.size(), 1);
    sender.join();
    QVERIFY(sent);
    QCOMPARE(asked.front(), folder.filePath(QStringLiteral("с пробелом.enum")));
  }
};

int RunOpenRequestsTests(int argc, char** argv) {
  OpenRequestsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "open_requests_test.moc"
