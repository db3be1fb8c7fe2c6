#pragma once
// The file dialogs of documents: opening one (a menu command's dialog) and the name to save one under (the
// save workflow's, through the prompts).

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

namespace tallyform::gui {

/// The open dialog's choice of a document to open; nullopt when cancelled.
std::optional<std::filesystem::path> AskDocumentToOpen(QWidget* parent);
/// The save dialog, proposing `proposal`; the chosen path, or nullopt when cancelled.
std::optional<std::filesystem::path> AskDocumentToSave(QWidget* parent,
                                                       const std::filesystem::path& proposal);

/// A path as Qt shows it, and back.
QString NativeToQString(const std::filesystem::path& path);
std::filesystem::path QStringToNative(const QString& path);

}  // namespace tallyform::gui
