#include "gui/file_dialogs.h"

#include <QFile>
#include <QFileDialog>

namespace tallyform::gui {
namespace {

const QString kFilter = QStringLiteral("Enum Files(*.enum)");

}  // namespace

QString NativeToQString(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

std::filesystem::path QStringToNative(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::optional<std::filesystem::path> AskDocumentToOpen(QWidget* parent) {
  const QString file = QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть"), {}, kFilter);
  if (file.isEmpty()) return std::nullopt;
  return QStringToNative(file);
}

std::optional<std::filesystem::path> AskDocumentToSave(QWidget* parent,
                                                       const std::filesystem::path& proposal) {
  QFileDialog dialog(parent, QStringLiteral("Сохранить как"), NativeToQString(proposal), kFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("enum"));
  dialog.selectFile(NativeToQString(proposal));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QStringToNative(dialog.selectedFiles().front());
}

}  // namespace tallyform::gui
