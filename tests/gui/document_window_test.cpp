// The window of a document inside the main window.

#include "gui/document_window.h"

#include <QMdiArea>
#include <QTest>

#include "gui/gui_test_support.h"

namespace tallyform::gui {

class DocumentWindowTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  // A document window, made maximised, had no size of its own to go back to: restored, it shrank to a small
  // box in the corner of the area.
  void aRestoredWindowKeepsMostOfTheArea() {
    QVERIFY(desktop_.Start());
    MainWindow& window = desktop_.window();
    DocumentWindow* doc = window.NewDocument(model::DocumentKind::kElementList);
    QVERIFY(doc != nullptr && doc->isMaximized());
    doc->showNormal();
    QTest::qWait(50);
    QVERIFY(!doc->isMaximized());
    const QRect area = window.area()->viewport()->rect();
    const QString shown = QStringLiteral("%1 x %2 in %3 x %4")
                              .arg(doc->width())
                              .arg(doc->height())
                              .arg(area.width())
                              .arg(area.height());
    QVERIFY2(doc->width() >= area.width() * 3 / 4 && doc->height() >= area.height() * 3 / 4,
             qPrintable(shown));
    QVERIFY2(area.contains(doc->geometry()), qPrintable(shown));
    // A size the user gave it is kept.
    const QRect own(20, 10, 500, 400);
    doc->setGeometry(own);
    doc->showMaximized();
    doc->showNormal();
    QCOMPARE(doc->geometry(), own);
  }
};

int RunDocumentWindowTests(int argc, char** argv) {
  DocumentWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "document_window_test.moc"
