#pragma once
// The file dialogs of documents: opening one (a menu command's dialog) and the name to save one under (the
// save workflow's, through the prompts).

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

namespace tallyform::gui {

/// The name a document is saved under: `file` with ".enum" added unless it ends with it, in any case. (The
/// file dialog adds its suffix only to a name without a dot, and designations are full of them:
/// "АБВГ.468157.001ПЭ3" becomes "АБВГ.468157.001ПЭ3.enum".)
QString WithDocumentSuffix(const QString& file);

/// The open dialog's choice of a document to open (documents, or every file); nullopt when cancelled.
std::optional<std::filesystem::path> AskDocumentToOpen(QWidget* parent);
/// The save dialog, proposing `proposal`; the chosen path with the document suffix (WithDocumentSuffix),
/// or nullopt when cancelled. A file of that name already there is replaced only when the user says so.
std::optional<std::filesystem::path> AskDocumentToSave(QWidget* parent,
                                                       const std::filesystem::path& proposal);

}  // namespace tallyform::gui
