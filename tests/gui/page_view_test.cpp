// The page view of a document in its window: what is shown of the sheet as the window and the zoom change.

#include "gui/page_view.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"

namespace tallyform::gui {

using testing::Native;
using testing::WhenModal;

class PageViewTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  // Scroll bars that appeared once (a zoom, a window shrunk for a moment) used to stay after the whole
  // page was asked for: they took their room from the window, so the page at the first window's height no
  // longer fitted, and its bottom (and its top when a zoom had scrolled) was cut.
  void wholePageShowsTheWholeSheetWithoutScrollBars() {
    const QString file = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("whole_1.enum"));
    const QString other = desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("other_1.enum"));
    QVERIFY(!file.isEmpty() && !other.isEmpty());
    using Step = std::function<void(MainWindow&, DocumentWindow&)>;
    const std::vector<std::pair<const char*, Step>> steps = {
        {"opened", [](MainWindow&, DocumentWindow&) {}},
        {"+", [](MainWindow&, DocumentWindow& doc) { QTest::keyClick(&doc.view(), Qt::Key_Plus); }},
        {"a zoom click",
         [](MainWindow& window, DocumentWindow& doc) {
           window.action(Command::kZoomIn)->trigger();
           QTest::mouseClick(doc.view().viewport(), Qt::LeftButton, {},
                             doc.view().viewport()->rect().bottomRight() * 3 / 4);
           window.action(Command::kZoomIn)->trigger();
         }},
        {"restored and maximised again",
         [](MainWindow&, DocumentWindow& doc) {
           doc.showNormal();
           QTest::qWait(50);
           doc.showMaximized();
         }},
        {"another document closed",
         [&other](MainWindow& window, DocumentWindow&) {
           window.OpenDocument(Native(other));
           window.action(Command::kClose)->trigger();
         }},
        {"an exit cancelled",
         [&other](MainWindow& window, DocumentWindow& doc) {
           window.OpenDocument(Native(other));
           WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
           doc.controller().Fill();  // offers the report, and leaves the document modified
           WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
           window.close();
         }},
    };
    for (const auto& [after, step] : steps) {
      QVERIFY(desktop_.Start());
      MainWindow& window = desktop_.window();
      DocumentWindow* doc = window.OpenDocument(Native(file));
      QVERIFY(doc != nullptr);
      PageView& view = doc->view();
      QTest::qWait(50);
      step(window, *doc);
      QTest::qWait(50);  // the scroll area shows and hides its bars a moment later
      window.action(Command::kWholeSheet)->trigger();
      QTest::qWait(50);
      QVERIFY2(!view.verticalScrollBar()->isVisible(), after);
      QVERIFY2(!view.horizontalScrollBar()->isVisible(), after);
      QCOMPARE(view.verticalScrollBar()->value(), 0);
      QCOMPARE(view.horizontalScrollBar()->value(), 0);
      const document::SheetSet& sheets = doc->controller().document().sheets();
      QVERIFY2(view.state().PageHeight() <= view.viewport()->height(), after);
      QVERIFY2(
          view.state().PageWidth(sheets.sheet_width(), sheets.sheet_height()) <= view.viewport()->width(),
          after);
    }
  }
};

int RunPageViewTests(int argc, char** argv) {
  PageViewTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "page_view_test.moc"
