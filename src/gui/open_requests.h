#pragma once
// Documents the desktop asks to open while the program runs. A double-click on a document starts the
// program with --open FILE; when the program already runs for this user and folder, the new process hands
// the file to it over a local socket and ends, and the running program opens the file in its main window.
// The socket lies in a folder only this user may enter, and only a socket of this user is handed a file:
// no other account can stand in for the running program.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <filesystem>

namespace tallyform::gui {

class OpenRequests : public QObject {
  Q_OBJECT
 public:
  /// The folder of the socket: `runtime` (the value of $XDG_RUNTIME_DIR) when it is a folder of this user
  /// that no one else may enter; otherwise the folder "tallyform-UID" of `temp` (the system's temporary
  /// folder), made with mode 0700 when missing. Empty when that folder is not ours, is a link, or others may
  /// enter it: then nothing is listened on or handed over, and each program opens its own documents.
  static QString PrivateFolder(const QString& runtime, const QString& temp);

  /// The socket's full path for a program folder, in the private folder of $XDG_RUNTIME_DIR and the
  /// temporary folder: one running program per user and folder. Empty when there is no private folder.
  static QString ServerName(const std::filesystem::path& folder);

  /// Hands a file to the program running on `server` (a full path), when that is a socket of this user in a
  /// private folder; false when there is none or it does not answer.
  static bool SendToRunning(const QString& server, const QString& file);

  explicit OpenRequests(QObject* parent = nullptr);

  /// Starts taking requests on `server` (a full path from ServerName()), taking the name over from a
  /// program that has ended without freeing it. False when another running program has it, or `server` is
  /// empty.
  bool Listen(const QString& server);

 signals:
  /// A file the desktop asked to open (an absolute path).
  void openRequested(const QString& file);

 private:
  void Accept();
  QLocalServer server_;
};

}  // namespace tallyform::gui
