#include "gui/file_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "adapters/qt_text.h"

namespace tallyform::gui {
namespace {

const QString kSuffix = QStringLiteral("enum");
const QString kFilter = QStringLiteral("Enum Files(*.enum)");
const QString kAllFiles = QStringLiteral("Все файлы (*)");

// The save dialog of documents. A typed name that lacks the document's suffix gets it after the dialog, so
// the question about replacing a file is asked here about the file that will be written, not by the file
// dialog about the name as typed.
class DocumentSaveDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    const QString typed = files.size() == 1 ? files.front() : QString();
    const QString named = WithDocumentSuffix(typed);
    if (typed.isEmpty() || named == typed || QFileInfo(typed).isDir()) {
      QFileDialog::accept();
      return;
    }
    if (QFileInfo::exists(named) && !MayReplace(QFileInfo(named).fileName())) return;
    setOption(QFileDialog::DontConfirmOverwrite, true);
    QFileDialog::accept();
    setOption(QFileDialog::DontConfirmOverwrite, false);
  }

 private:
  bool MayReplace(const QString& name) {
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    QStringLiteral("Файл %1 уже существует.\nЗаменить его?").arg(name),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    return box.exec() == QMessageBox::Yes;
  }
};

}  // namespace

QString WithDocumentSuffix(const QString& file) {
  if (file.endsWith(QLatin1Char('.') + kSuffix, Qt::CaseInsensitive)) return file;
  return file + (file.endsWith(QLatin1Char('.')) ? kSuffix : QLatin1Char('.') + kSuffix);
}

std::optional<std::filesystem::path> AskDocumentToOpen(QWidget* parent) {
  const QString file = QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть"), {},
                                                    kFilter + QStringLiteral(";;") + kAllFiles);
  if (file.isEmpty()) return std::nullopt;
  return adapters::QStringToPath(file);
}

std::optional<std::filesystem::path> AskDocumentToSave(QWidget* parent,
                                                       const std::filesystem::path& proposal) {
  DocumentSaveDialog dialog(parent, QStringLiteral("Сохранить как"), adapters::PathToQString(proposal),
                            kFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(kSuffix);
  dialog.selectFile(adapters::PathToQString(proposal));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  // Again here, for a dialog of the desktop's own that does not call accept().
  return adapters::QStringToPath(WithDocumentSuffix(dialog.selectedFiles().front()));
}

}  // namespace tallyform::gui
