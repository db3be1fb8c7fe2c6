// One document in its window and the commands on it: saving, the history, filling again, the report, and
// closing a modified document.

#include "gui/document_controller.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "adapters/qt_text.h"
#include "app/value_report.h"
#include "gui/dialogs.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"
#include "gui/main_window.h"
#include "gui/page_view.h"

namespace tallyform::gui {

using testing::ChooseKind;
using testing::Native;
using testing::WhenModal;

class DocumentControllerTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  void savesUnderTheNextVersionWithTheEditorAndShowsTheHistory() {
    const QString file = desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("bill_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);

    // Save offers bill_2.enum; the editor dialog proposes a name, and the typed one is kept.
    QString proposed;
    WhenModal<QFileDialog>([&proposed](QFileDialog* dialog) {
      proposed = dialog->selectedFiles().value(0);
      static_cast<QDialog*>(dialog)->accept();
    });
    QTimer::singleShot(0, [] {
      WhenModal<EditorDialog>([](EditorDialog* dialog) {
        dialog->field()->setText(QStringLiteral("Иванов И."));
        dialog->accept();
      });
    });
    desktop_.window().action(Command::kSave)->trigger();
    const QString saved = desktop_.home().filePath(QStringLiteral("bill_2.enum"));
    QCOMPARE(proposed, saved);
    QVERIFY(QFileInfo::exists(saved));
    QCOMPARE(doc->windowTitle(), QStringLiteral("bill_2.enum"));
    QCOMPARE(desktop_.window().windowTitle(), QStringLiteral("Tallyform - [bill_2.enum]"));
    QCOMPARE(desktop_.window().pane(Pane::kEditor)->text(), QStringLiteral("Редактировал: Иванов И."));
    QCOMPARE(desktop_.window().RecentFiles().value(0), saved);

    desktop_.window().action(Command::kClose)->trigger();
    QTRY_COMPARE(desktop_.window().Documents().size(), 0);
    QCOMPARE(desktop_.window().menuBar()->actions().size(), 4);
    QCOMPARE(desktop_.window().windowTitle(), QStringLiteral("Tallyform"));

    DocumentWindow* reopened = desktop_.window().OpenDocument(Native(saved));
    QVERIFY(reopened != nullptr);
    QCOMPARE(static_cast<int>(reopened->controller().document().kind()), 1);
    QStringList editors;
    WhenModal<HistoryDialog>([&editors](HistoryDialog* dialog) {
      for (int i = 0; i < dialog->list()->topLevelItemCount(); ++i) {
        editors.append(dialog->list()->topLevelItem(i)->text(1));
      }
      dialog->accept();
    });
    desktop_.window().action(Command::kHistory)->trigger();
    QCOMPARE(editors, (QStringList{"Петров П.", "Иванов И."}));
  }

  void fillsAgainAndAsksToSaveBeforeClosing() {
    const QString file = desktop_.FilledDocument(QStringLiteral("simple"), QStringLiteral("simple_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    const std::size_t sheets = doc->controller().document().sheets().sheet_count();
    // Filled again from its own list, as it stands in the element list window. The example's values are
    // partly off their series: the report is offered.
    testing::FillAsItStands();
    bool offered = false;
    WhenModal<QMessageBox>([&offered](QMessageBox* box) {
      offered = box->text().contains(QStringLiteral("Показать отчет?"));
      box->button(QMessageBox::No)->click();
    });
    desktop_.window().action(Command::kFill)->trigger();
    QVERIFY(offered);
    QVERIFY(doc->controller().modified());
    QCOMPARE(doc->controller().document().sheets().sheet_count(), sheets);

    bool asked = false;
    WhenModal<QMessageBox>([&asked](QMessageBox* box) {
      asked = true;
      box->button(QMessageBox::Cancel)->click();
    });
    desktop_.window().action(Command::kClose)->trigger();
    QVERIFY(asked);
    QCOMPARE(desktop_.window().Documents().size(), 1);  // "Отмена" keeps it open

    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    desktop_.window().action(Command::kClose)->trigger();
    QTRY_COMPARE(desktop_.window().Documents().size(), 0);
  }

  // A new document's save once proposed "Enumeration.enum" for the window titled "Enumeration2".
  void aNewDocumentProposesItsNumberedTitle() {
    QVERIFY(desktop_.Start());
    for (int kind : {0, 1}) {
      ChooseKind(kind);
      desktop_.window().action(Command::kNew)->trigger();
    }
    QCOMPARE(desktop_.window().ActiveDocument()->windowTitle(), QStringLiteral("Enumeration2"));
    QString proposed;
    WhenModal<QFileDialog>([&proposed](QFileDialog* dialog) {
      proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
      dialog->reject();
    });
    desktop_.window().action(Command::kSave)->trigger();
    QCOMPARE(proposed, QStringLiteral("Enumeration2.enum"));
  }

  // The report asked for before any existed did nothing visible, and the keys were dead afterwards.
  void theReportSaysWhenThereIsNoneAndTheKeysReachTheDocumentAfterwards() {
    const QString file = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("report_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(QFile::remove(desktop_.home().filePath(QStringLiteral("errors.log"))));
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    QVERIFY(doc->controller().document().sheets().sheet_count() >= 2);
    desktop_.shell().opened.clear();
    QString told;
    WhenModal<QMessageBox>([&told](QMessageBox* box) {
      told = box->text();
      box->accept();
    });
    desktop_.window().action(Command::kReport)->trigger();
    QCOMPARE(told, adapters::ToQString(app::kNoReportYet));
    QVERIFY(desktop_.shell().opened.empty());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&doc->view()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
    QCOMPARE(doc->view().state().current_sheet(), 2);

    // Once a fill has made the document's own report, that report is what opens.
    testing::FillAsItStands();
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    desktop_.window().action(Command::kFill)->trigger();
    desktop_.window().action(Command::kReport)->trigger();
    QCOMPARE(desktop_.shell().opened.size(), std::size_t{1});
    QVERIFY(QFileInfo::exists(desktop_.home().filePath(QStringLiteral("errors.log"))));
  }

  // The views follow the session: a change of the editor reaches the pane and the window's title bar, a
  // fill the page view's sheet count.
  void theViewsFollowTheSessionsNotifications() {
    const QString file = desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("follow_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    WhenModal<EditorDialog>([](EditorDialog* dialog) {
      dialog->field()->setText(QStringLiteral("Сидоров С."));
      dialog->accept();
    });
    desktop_.window().action(Command::kChangeEditor)->trigger();
    QCOMPARE(desktop_.window().pane(Pane::kEditor)->text(), QStringLiteral("Редактировал: Сидоров С."));
    QVERIFY(doc->controller().modified());
    QCOMPARE(doc->view().state().sheet_count(),
             static_cast<int>(doc->controller().document().sheets().sheet_count()));
  }
};

int RunDocumentControllerTests(int argc, char** argv) {
  DocumentControllerTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "document_controller_test.moc"
