#pragma once
// Documents the desktop asks to open while the program runs. A double-click on a document starts the
// program with --open FILE; when the program already runs for this user and folder, the new process hands
// the file to it over a local socket and ends, and the running program opens the file in its main window.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <filesystem>

namespace tallyform::gui {

class OpenRequests : public QObject {
  Q_OBJECT
 public:
  /// The socket's name for a program folder: one running program per user and folder.
  static QString ServerName(const std::filesystem::path& folder);

  /// Hands a file to the program running on `server`; false when none answers.
  static bool SendToRunning(const QString& server, const QString& file);

  explicit OpenRequests(QObject* parent = nullptr);

  /// Starts taking requests on `server`, taking the name over from a program that has ended without
  /// freeing it. False when another running program has it.
  bool Listen(const QString& server);

 signals:
  /// A file the desktop asked to open (an absolute path).
  void openRequested(const QString& file);

 private:
  void Accept();
  QLocalServer server_;
};

}  // namespace tallyform::gui
