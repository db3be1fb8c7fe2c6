#pragma once
// Folders and local sockets that belong to this user alone, as the programs need them from the system: the
// folder of the desktop program's request socket and the runtime folder Qt asks for. POSIX checks owners and
// modes; on Windows a user's temporary folder is his by its access list and a local socket is a named pipe,
// no file, so there the checks hold by themselves.

#include <QString>

namespace tallyform::adapters {

/// Whether `path` is a folder (not a link to one) of this user that no one else may enter.
bool IsPrivateFolder(const QString& path);

/// Whether `server` (a full path) is a socket of this user in a private folder.
bool IsOwnSocket(const QString& server);

/// The folder "tallyform-UID" of `temp`, made with mode 0700 when missing (on Windows "tallyform" in the
/// user's own temporary folder); empty when it cannot be made, is not ours, is a link or others may enter.
QString OwnFolderIn(const QString& temp);

/// Gives Qt a runtime folder when $XDG_RUNTIME_DIR is unset: a private folder in the temporary folder, so
/// that Qt does not warn about it. Nothing on Windows, where Qt does not use one.
void EnsureRuntimeFolder();

}  // namespace tallyform::adapters
