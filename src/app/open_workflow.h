#pragma once
// Opening a document file, as every front end does it: the desktop program's "&Открыть...", and the
// command line's dump and render.

#include <filesystem>

#include "app/document_session.h"

namespace tallyform::app {

/// Reads the document file into a session, its sheets laid out as a window shows them. A missing or
/// unreadable file is tallyform::UnreadableFile and a damaged one tallyform::DamagedFile; both messages
/// name the file.
DocumentSession OpenDocument(const std::filesystem::path& path);

}  // namespace tallyform::app
