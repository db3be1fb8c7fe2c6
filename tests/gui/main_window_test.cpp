// The main window as a user meets it: its menus and commands, new and opened documents, the window menu,
// the recent files and documents dropped on it; real widgets on the offscreen platform, every modal dialog
// answered as it opens.

#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QUrl>
#include <set>

#include "gui/dialogs.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"
#include "gui/keyboard_locks.h"
#include "gui/page_view.h"

namespace tallyform::gui {
namespace {

using testing::ChooseKind;
using testing::Native;
using testing::WhenModal;

QStringList MenuTitles(QMainWindow& window) {
  QStringList titles;
  for (QAction* menu : window.menuBar()->actions()) titles.append(menu->text());
  return titles;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  // Every command has one row, and the menus and the toolbar are made from the rows.
  void everyCommandIsOneRowOfTheTable() {
    std::set<Command> commands;
    for (const CommandRow& row : MainWindow::Commands()) {
      QVERIFY2(commands.insert(row.command).second, row.text);
      QVERIFY2(row.menus != 0 && (row.separated & ~row.menus) == 0, row.text);
      QVERIFY2(row.run != nullptr, row.text);
    }
    QCOMPARE(commands.size(), std::size_t{static_cast<int>(Command::kAbout) + 1});
    QVERIFY(desktop_.Start());
    for (const CommandRow& row : MainWindow::Commands()) {
      QCOMPARE(desktop_.window().action(row.command)->text(), QString::fromUtf8(row.text));
      QCOMPARE(desktop_.window().action(row.command)->statusTip(), QString::fromUtf8(row.status));
    }
  }

  void helpOpensTheShippedGuideFromTheProgramFolder() {
    QVERIFY(desktop_.Start());
    desktop_.shell().opened.clear();
    QVERIFY(desktop_.window().action(Command::kHelp)->isEnabled());
    QCOMPARE(desktop_.window().action(Command::kHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    desktop_.window().action(Command::kHelp)->trigger();
    QCOMPARE(desktop_.shell().opened.size(), std::size_t{1});
    const std::filesystem::path guide = Native(desktop_.home().path()) / kGuideFile;
    QCOMPARE(desktop_.shell().opened[0], guide);
    QFile file(QString::fromStdString(guide.string()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* expected : {"Перечень элементов", "Ведомость покупных изделий", "Page Down", "Ctrl+S"}) {
      QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }
  }

  void startsEmptyWithTheMenusOfNoDocument() {
    QVERIFY(desktop_.Start());
    QCOMPARE(MenuTitles(desktop_.window()), (QStringList{"&Файл", "&Сервис", "&Вид", "&Справка"}));
    QVERIFY(desktop_.window().ActiveDocument() == nullptr);
    QVERIFY(desktop_.window().action(Command::kNew)->isEnabled());
    QVERIFY(!desktop_.window().action(Command::kSave)->isEnabled());
    QVERIFY(!desktop_.window().action(Command::kNextSheet)->isEnabled());
    QVERIFY(!desktop_.window().pane(Pane::kEditor)->isEnabled());
    QVERIFY(!desktop_.window().pane(Pane::kSheet)->isEnabled());
    QCOMPARE(desktop_.window().action(Command::kNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QVERIFY(desktop_.window().action(Command::kAssembly)->isEnabled());  // a board needs no document
    // The message pane says "Готово" between the status texts of the commands pointed at.
    QLabel* idle = nullptr;
    for (QLabel* label : desktop_.window().statusBar()->findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("Готово")) idle = label;
    }
    QVERIFY(idle != nullptr && idle->isVisible());
    desktop_.window().action(Command::kOpen)->showStatusText(desktop_.window().menuBar());
    QCOMPARE(desktop_.window().statusBar()->currentMessage(),
             QStringLiteral("Открыть существующий документ"));
    QVERIFY(!idle->isVisible());
    desktop_.window().statusBar()->clearMessage();
    QVERIFY(idle->isVisible());
    // Without a windowing system to ask, the lock indicators stay greyed.
    QCOMPARE(desktop_.window().LockIndicators().size(), 3);
    if (!QueryLockStates()) {
      for (QLabel* indicator : desktop_.window().LockIndicators()) QVERIFY(!indicator->isEnabled());
    }
    QVERIFY(std::filesystem::exists(desktop_.application().ElementNamesPath()));
  }

  void newMakesADocumentOfEachKindInItsOwnMaximisedNumberedWindow() {
    QVERIFY(desktop_.Start());
    for (int kind = 0; kind < 3; ++kind) {
      ChooseKind(kind);
      desktop_.window().action(Command::kNew)->trigger();
      DocumentWindow* active = desktop_.window().ActiveDocument();
      QVERIFY(active != nullptr);
      QCOMPARE(static_cast<int>(active->controller().document().kind()), kind);
      QVERIFY(active->isMaximized());
      QCOMPARE(active->windowTitle(), QStringLiteral("Enumeration%1").arg(kind + 1));
      QCOMPARE(desktop_.window().windowTitle(), QStringLiteral("Tallyform - [Enumeration%1]").arg(kind + 1));
      QCOMPARE(static_cast<int>(desktop_.application().document_kind()), kind);
    }
    QCOMPARE(desktop_.window().Documents().size(), 3);
    QCOMPARE(MenuTitles(desktop_.window()), (QStringList{"&Файл", "&Правка", "&Документ", "&Настройка",
                                                         "&Вид", "&Сервис", "&Окно", "&Справка"}));
    QCOMPARE(desktop_.window().pane(Pane::kSheet)->text(), QStringLiteral("Лист 1"));
    QCOMPARE(desktop_.window().pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/1"));
    QVERIFY(!desktop_.window().pane(Pane::kEditor)->isEnabled());  // no editor before the first save
    QVERIFY(!desktop_.window().action(Command::kNextSheet)->isEnabled());
    QVERIFY(desktop_.window().action(Command::kSave)->isEnabled());

    // "Отмена" in the kind choice makes nothing.
    WhenModal<KindChoiceDialog>([](KindChoiceDialog* dialog) { dialog->reject(); });
    desktop_.window().action(Command::kNew)->trigger();
    QCOMPARE(desktop_.window().Documents().size(), 3);

    // A new document fills from the list its element list window gathers: the command is there for it.
    QVERIFY(desktop_.window().action(Command::kFill)->isEnabled());
  }

  void theWindowMenuListsTheDocumentsAndSwitchesBetweenThem() {
    QVERIFY(desktop_.Start());
    ChooseKind(0);
    desktop_.window().action(Command::kNew)->trigger();
    QVERIFY(!desktop_.window().action(Command::kNextWindow)->isEnabled());  // one document: nowhere to go
    ChooseKind(1);
    desktop_.window().action(Command::kNew)->trigger();
    QVERIFY(desktop_.window().action(Command::kNextWindow)->isEnabled());
    QCOMPARE(desktop_.window().ActiveDocument()->windowTitle(), QStringLiteral("Enumeration2"));

    QMenu* menu = nullptr;
    for (QAction* item : desktop_.window().menuBar()->actions()) {
      if (item->text() == QStringLiteral("&Окно")) menu = item->menu();
    }
    QVERIFY(menu != nullptr);
    emit menu->aboutToShow();
    QStringList lines;
    QAction* first = nullptr;
    for (QAction* item : menu->actions()) {
      if (item->isCheckable()) {
        lines.append(item->text() + (item->isChecked() ? QStringLiteral(" *") : QString()));
        if (first == nullptr) first = item;
      }
    }
    QCOMPARE(lines, (QStringList{"&1 Enumeration1", "&2 Enumeration2 *"}));
    first->trigger();
    QCOMPARE(desktop_.window().ActiveDocument()->windowTitle(), QStringLiteral("Enumeration1"));
    QVERIFY(desktop_.window().ActiveDocument()->isMaximized());
    desktop_.window().action(Command::kNextWindow)->trigger();
    QCOMPARE(desktop_.window().ActiveDocument()->windowTitle(), QStringLiteral("Enumeration2"));
    QCOMPARE(desktop_.window().windowTitle(), QStringLiteral("Tallyform - [Enumeration2]"));

    desktop_.window().action(Command::kClose)->trigger();
    QTRY_COMPARE(desktop_.window().Documents().size(), 1);
    QVERIFY(!desktop_.window().action(Command::kNextWindow)->isEnabled());
    QCOMPARE(desktop_.window().ActiveDocument()->windowTitle(), QStringLiteral("Enumeration1"));
  }

  void editKeysReachTextFieldsAndNeverTheDocument() {
    const QString file = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("keys_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    PageView& view = doc->view();
    view.setFocus();
    const std::size_t sheets = doc->controller().document().sheets().sheet_count();
    QTest::keyClick(&view, Qt::Key_PageDown);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_X),
          QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_V),
          QKeySequence(Qt::ALT | Qt::Key_Backspace), QKeySequence(Qt::SHIFT | Qt::Key_Delete),
          QKeySequence(Qt::SHIFT | Qt::Key_Insert)}) {
      QTest::keySequence(&desktop_.window(), keys);
      QTest::keySequence(&view, keys);
    }
    QVERIFY(!doc->controller().modified());
    QCOMPARE(doc->controller().document().sheets().sheet_count(), sheets);
    QCOMPARE(view.state().current_sheet(), 2);
    // No command of the program answers to them.
    for (QAction* action : desktop_.window().findChildren<QAction*>()) {
      for (const QKeySequence& keys : action->shortcuts()) {
        QVERIFY2(keys != QKeySequence(Qt::CTRL | Qt::Key_Z) && keys != QKeySequence(Qt::CTRL | Qt::Key_X) &&
                     keys != QKeySequence(Qt::CTRL | Qt::Key_C) && keys != QKeySequence(Qt::CTRL | Qt::Key_V),
                 qPrintable(action->text()));
      }
    }

    // In a text field they cut, paste and undo.
    EditorDialog dialog(QStringLiteral("Петров П."), &desktop_.window());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* field = dialog.field();
    QCOMPARE(field->selectedText(), QStringLiteral("Петров П."));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(field->text(), QString());
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_V));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(field->text(), QStringLiteral("Петров П.Петров П."));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(field->text(), QStringLiteral("Петров П."));
    dialog.reject();
    QVERIFY(!doc->controller().modified());
  }

  void documentsDroppedOnTheWindowOpen() {
    const QString list = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("dropped_1.enum"));
    const QString bill =
        desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("dropped-bill_1.enum"));
    QVERIFY(!list.isEmpty() && !bill.isEmpty());
    QVERIFY(desktop_.Start());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(list), QUrl::fromLocalFile(bill),
                  QUrl(QStringLiteral("https://example.org/a.enum"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop_.window(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&desktop_.window(), &drop);
    QTRY_COMPARE(desktop_.window().Documents().size(), 2);
    QCOMPARE(desktop_.window().ActiveDocument()->windowTitle(), QStringLiteral("dropped-bill_1.enum"));

    // Text that names no file is not taken.
    QMimeData text;
    text.setText(QStringLiteral("dropped_1.enum"));
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(&desktop_.window(), &refused);
    QVERIFY(!refused.isAccepted());
  }

  void damagedOrUnreadableFilesAreReportedAndOpenNothing() {
    QVERIFY(desktop_.Start());
    const QString garbage = desktop_.home().filePath(QStringLiteral("garbage_1.enum"));
    const QString cut = desktop_.home().filePath(QStringLiteral("cut_1.enum"));
    const QString list = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("whole_1.enum"));
    QVERIFY(!list.isEmpty());
    {
      QFile file(garbage);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(3000, '\x7f'));
      QFile whole(list);
      QVERIFY(whole.open(QIODevice::ReadOnly));
      QFile part(cut);
      QVERIFY(part.open(QIODevice::WriteOnly));
      part.write(whole.read(whole.size() / 2));
    }
    const QStringList before = desktop_.window().RecentFiles();
    for (const QString& bad :
         {garbage, cut, desktop_.home().path(), desktop_.home().filePath(QStringLiteral("missing_1.enum"))}) {
      QString told;
      WhenModal<QMessageBox>([&told](QMessageBox* box) {
        told = box->text();
        box->accept();
      });
      QVERIFY(desktop_.window().OpenDocument(Native(bad)) == nullptr);
      // The message names the file, as the command line's does.
      QVERIFY2(told.contains(bad), qPrintable(told));
      QVERIFY(desktop_.window().Documents().isEmpty());
      QCOMPARE(desktop_.window().RecentFiles(), before);
    }
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the wait cursor is gone again
  }

  void aRecentFileThatIsGoneIsReportedAndRemoved() {
    const QString kept =
        desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("Перечень усилителя_1.enum"));
    QVERIFY(!kept.isEmpty());
    {
      // As an earlier version wrote the list, through Qt's settings.
      QSettings settings(QFile::decodeName(app::SettingsFile::In(Native(desktop_.home().path())).c_str()),
                         QSettings::IniFormat);
      settings.remove(QStringLiteral("Recent File List"));
      settings.setValue(QStringLiteral("Recent File List/File1"),
                        desktop_.home().filePath(QStringLiteral("gone_1.enum")));
      settings.setValue(QStringLiteral("Recent File List/File2"), kept);
    }
    QVERIFY(desktop_.Start());
    QCOMPARE(desktop_.window().RecentFiles().size(), 2);
    QAction* first = nullptr;
    for (QAction* item : desktop_.window().menuBar()->actions().front()->menu()->actions()) {
      if (item->text().startsWith(QStringLiteral("&1 "))) first = item;
    }
    QVERIFY(first != nullptr);
    QCOMPARE(first->text(), QStringLiteral("&1 gone_1.enum"));
    QAction* second = nullptr;
    for (QAction* item : desktop_.window().menuBar()->actions().front()->menu()->actions()) {
      if (item->text().startsWith(QStringLiteral("&2 "))) second = item;
    }
    QVERIFY(second != nullptr);
    QCOMPARE(second->text(), QStringLiteral("&2 Перечень усилителя_1.enum"));
    bool warned = false;
    WhenModal<QMessageBox>([&warned](QMessageBox* box) {
      warned = box->text().contains(QStringLiteral("gone_1.enum"));
      box->accept();
    });
    first->trigger();
    QVERIFY(warned);
    QCOMPARE(desktop_.window().RecentFiles(), QStringList{kept});
    QVERIFY(desktop_.window().Documents().isEmpty());

    // The file kept, named in Cyrillic in a Cyrillic folder, opens from the menu under its own name.
    QAction* kept_item = nullptr;
    for (QAction* item : desktop_.window().menuBar()->actions().front()->menu()->actions()) {
      if (item->text().startsWith(QStringLiteral("&1 "))) kept_item = item;
    }
    QVERIFY(kept_item != nullptr);
    QCOMPARE(kept_item->text(), QStringLiteral("&1 Перечень усилителя_1.enum"));
    kept_item->trigger();
    QCOMPARE(desktop_.window().Documents().size(), 1);
    QVERIFY2(desktop_.window().Documents().front()->windowTitle().contains(
                 QStringLiteral("Перечень усилителя_1.enum")),
             qPrintable(desktop_.window().Documents().front()->windowTitle()));
  }
};

}  // namespace tallyform::gui

#include "main_window_test.moc"

namespace tallyform::gui {
int RunMainWindowTests(int argc, char** argv) {
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}
}  // namespace tallyform::gui
