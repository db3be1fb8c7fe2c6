// The main window's documents and files: new and opened documents, the recent-file list, the window menu,
// and documents dropped on the window.

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <system_error>

#include "adapters/qt_text.h"
#include "app/application.h"
#include "app/open_workflow.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/error_boundary.h"
#include "gui/main_window.h"
#include "gui/services.h"
#include "gui/wait_cursor.h"
#include "gui/widget_prompts.h"
#include "model/errors.h"

namespace tallyform::gui {
namespace {

// The local files of a drop.
QList<QUrl> DroppedFiles(const QMimeData* data) {
  QList<QUrl> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.append(url);
  }
  return files;
}

}  // namespace

DocumentWindow* MainWindow::NewDocument(model::DocumentKind kind) {
  services_.application.set_document_kind(kind);
  return AddWindow(new DocumentWindow(app::DocumentSession(document::Document(kind), ++untitled_), services_,
                                      family_, area_));
}

DocumentWindow* MainWindow::OpenDocument(const std::filesystem::path& path) {
  for (DocumentWindow* window : Documents()) {
    if (!window->controller().path().empty() && app::SameFile(window->controller().path(), path)) {
      area_->setActiveSubWindow(window);
      return window;
    }
  }
  DocumentWindow* window = nullptr;
  Guard(services_.prompts, [&] {
    std::optional<app::DocumentSession> session;
    {
      const WaitCursor wait;
      session.emplace(app::OpenDocument(path));
    }
    window = AddWindow(new DocumentWindow(std::move(*session), services_, family_, area_));
    AddRecent(path);
  });
  return window;
}

QStringList MainWindow::RecentFiles() const {
  QStringList files;
  for (const std::filesystem::path& file : recent_.files()) files.append(adapters::PathToQString(file));
  return files;
}

void MainWindow::AddRecent(const std::filesystem::path& path) {
  recent_.Add(path);
  StoreRecent();
}

void MainWindow::StoreRecent() {
  UpdateRecentMenu();
  // The list in the menus is right whether or not the settings could keep it; the user hears why not.
  Guard(services_.prompts, [&] { recent_.Store(services_.settings); });
}

void MainWindow::UpdateRecentMenu() {
  const QStringList files = RecentFiles();
  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* recent = recent_actions_[i];
    if (i < files.size()) {
      recent->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
      recent->setStatusTip(files[i]);
      recent->setVisible(true);
    } else {
      recent->setVisible(false);
    }
  }
  for (QAction* separator : recent_separators_) separator->setVisible(!files.isEmpty());
}

void MainWindow::OpenRecent(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= recent_.files().size()) return;
  const std::filesystem::path file = recent_.files()[static_cast<std::size_t>(index)];
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    services_.prompts.Warning(
        adapters::FromQString(QStringLiteral("Файл %1 не найден; он удален из списка последних файлов.")
                                  .arg(adapters::PathToQString(file))));
    recent_.Remove(static_cast<std::size_t>(index));
    StoreRecent();
    return;
  }
  OpenDocument(file);
}

void MainWindow::FillWindowMenu() {
  QMenu* menu = menus_.at(menu::kWindow);
  QAction* next = action(Command::kNextWindow);
  QAction* previous = action(Command::kPreviousWindow);
  for (QAction* line : menu->actions()) {
    if (line != next && line != previous) line->deleteLater();
  }
  menu->clear();
  menu->addAction(next);
  menu->addAction(previous);
  const QList<DocumentWindow*> documents = Documents();
  if (!documents.isEmpty()) menu->addSeparator();
  const DocumentWindow* active = ActiveDocument();
  for (qsizetype i = 0; i < documents.size(); ++i) {
    DocumentWindow* document = documents[i];
    const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
    QAction* line = menu->addAction(number + document->controller().Title());
    line->setCheckable(true);
    line->setChecked(document == active);
    line->setStatusTip(QStringLiteral("Перейти к окну этого документа"));
    connect(line, &QAction::triggered, this, [this, document] {
      if (Documents().contains(document)) area_->setActiveSubWindow(document);
    });
  }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> files = DroppedFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // Opened after the drop has ended, so that a message about a bad file does not hold the file manager.
  QTimer::singleShot(0, this, [this, files] {
    for (const QUrl& url : files) OpenDocument(adapters::QStringToPath(url.toLocalFile()));
  });
}

}  // namespace tallyform::gui
