// The page view of a document in its window: what is shown of the sheet as the window and the zoom change.

#include "gui/page_view.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "adapters/sheet_font.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"
#include "gui/printing.h"
#include "support/random_designs.h"

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
           testing::FillAsItStands();
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

  void pagesAndZoomsAFilledDocument() {
    const QString file = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("list_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    QCOMPARE(doc->windowTitle(), QStringLiteral("list_1.enum"));
    QCOMPARE(desktop_.window().windowTitle(), QStringLiteral("Tallyform - [list_1.enum]"));
    const int sheets = static_cast<int>(doc->controller().document().sheets().sheet_count());
    QVERIFY(sheets >= 2);
    QCOMPARE(desktop_.window().pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/%1").arg(sheets));
    QCOMPARE(desktop_.window().pane(Pane::kEditor)->text(), QStringLiteral("Редактировал: Петров П."));
    QVERIFY(desktop_.window().pane(Pane::kEditor)->isEnabled());

    // The sheet is drawn: the window holds more than the grey around the sheet and the white of the paper.
    PageView& view = doc->view();
    const QImage shown = view.viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); y += 2) {
      for (int x = 0; x < shown.width(); x += 2) dark += qGray(shown.pixel(x, y)) < 64;
    }
    QVERIFY(dark > 100);

    QVERIFY(desktop_.window().action(Command::kNextSheet)->isEnabled());
    QVERIFY(!desktop_.window().action(Command::kPreviousSheet)->isEnabled());
    QTest::keyClick(&view, Qt::Key_PageDown);
    QCOMPARE(view.state().current_sheet(), 2);
    QCOMPARE(desktop_.window().pane(Pane::kSheet)->text(), QStringLiteral("Лист 2"));
    desktop_.window().action(Command::kLastSheet)->trigger();
    QCOMPARE(view.state().current_sheet(), sheets);
    QVERIFY(!desktop_.window().action(Command::kNextSheet)->isEnabled());
    QTest::keyClick(&view, Qt::Key_PageUp);
    QCOMPARE(view.state().current_sheet(), sheets - 1);
    desktop_.window().action(Command::kFirstSheet)->trigger();
    QCOMPARE(desktop_.window().pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/%1").arg(sheets));

    // Zoom-in mode: a click zooms and centres; the page grows beyond the window and can be scrolled.
    QCOMPARE(view.cursor_shown().shape(), Qt::ArrowCursor);
    desktop_.window().action(Command::kZoomIn)->trigger();
    QVERIFY(desktop_.window().action(Command::kZoomIn)->isChecked());
    QCOMPARE(view.cursor_shown().shape(), Qt::BitmapCursor);
    const QImage zoom_in_cursor = view.cursor_shown().pixmap().toImage();
    for (int i = 0; i < 3; ++i) {
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.viewport()->rect().center());
    }
    QCOMPARE(view.state().zoom_step(), 3);
    QVERIFY(view.verticalScrollBar()->maximum() > 0);
    desktop_.window().action(Command::kZoomOut)->trigger();
    QVERIFY(!desktop_.window().action(Command::kZoomIn)->isChecked());
    QCOMPARE(view.cursor_shown().shape(), Qt::BitmapCursor);
    QVERIFY(view.cursor_shown().pixmap().toImage() != zoom_in_cursor);
    QTest::keyClick(&view, Qt::Key_Minus);
    QCOMPARE(view.state().zoom_step(), 2);
    desktop_.window().action(Command::kWholeSheet)->trigger();
    QCOMPARE(view.state().zoom_step(), 0);
    desktop_.window().action(Command::kZoomOut)->trigger();  // off again: the plain cursor
    QCOMPARE(view.cursor_shown().shape(), Qt::ArrowCursor);

    // Opening the same file again shows its window instead of a second one.
    QCOMPARE(desktop_.window().OpenDocument(Native(file)), doc);
    QCOMPARE(desktop_.window().Documents().size(), 1);
  }

  // Documents of every kind filled from made-up designs, opened and read through as a user would: every
  // sheet by Page Down and by the wheel and back, the whole zoom range, printed at both scales. After each
  // step the panes, the enabled sheet commands and the sheet shown must agree with the document.
  void generatedDocumentsOfEveryKindReadThroughZoomedAndPrinted() {
    QVERIFY(desktop_.Start());
    testing::FakeFillPorts ports(Native(desktop_.home().path()) / "generated-errors.log");
    const document::FillTools tools{desktop_.measurer(), ports.kinds, ports.series,
                                    ports.check.report_path()};
    const QString family = adapters::ChooseSheetFamily();
    int documents = 0;
    int most_sheets = 0;
    for (std::uint32_t seed = 1; seed <= 5; ++seed) {
      testing::SeededChoices choices(seed);
      const std::vector<testing::GeneratedDesign> designs = testing::GenerateDesigns(choices);
      for (const model::DocumentKind kind :
           {model::DocumentKind::kElementList, model::DocumentKind::kPurchasedBill,
            model::DocumentKind::kSimpleBill}) {
        app::DocumentSession session =
            testing::FillDesigns(designs, kind, elements::MergeChoice::kSeparateLists,
                                 testing::GenerateParameters(choices, kind), tools);
        const document::Document& filled = session.document();
        const int count = static_cast<int>(filled.sheets().sheet_count());
        const QString label =
            QStringLiteral("seed %1, kind %2, %3 sheets").arg(seed).arg(int(kind)).arg(count);
        const std::filesystem::path file =
            Native(desktop_.home().path()) /
            ("generated" + std::to_string(seed) + "-" + std::to_string(int(kind)) + "_1.enum");
        session.Save(file, std::nullopt, desktop_.system());
        DocumentWindow* doc = desktop_.window().OpenDocument(file);
        QVERIFY2(doc != nullptr, qPrintable(label));
        PageView& view = doc->view();
        QCOMPARE(static_cast<int>(doc->controller().document().sheets().sheet_count()), count);
        QCOMPARE(doc->controller().document().fill_parameters().gap, filled.fill_parameters().gap);
        ++documents;
        most_sheets = std::max(most_sheets, count);

        const auto agrees = [&](int sheet) {
          QCOMPARE(view.state().current_sheet(), sheet);
          QCOMPARE(view.state().sheet_count(), count);
          QCOMPARE(desktop_.window().pane(Pane::kSheet)->text(), QStringLiteral("Лист %1").arg(sheet));
          QCOMPARE(desktop_.window().pane(Pane::kSheetOfSheets)->text(),
                   QStringLiteral("%1/%2").arg(sheet).arg(count));
          QCOMPARE(desktop_.window().action(Command::kNextSheet)->isEnabled(), sheet != count);
          QCOMPARE(desktop_.window().action(Command::kPreviousSheet)->isEnabled(), sheet != 1);
          QCOMPARE(desktop_.window().action(Command::kFirstSheet)->isEnabled(), sheet > 1);
          QCOMPARE(desktop_.window().action(Command::kLastSheet)->isEnabled(), sheet < count);
        };
        // Page Down to the end and one more, which stays; Page Up back to the start.
        for (int sheet = 1; sheet <= count; ++sheet) {
          agrees(sheet);
          view.viewport()->repaint();
          QTest::keyClick(&view, Qt::Key_PageDown);
        }
        agrees(count);
        for (int sheet = count; sheet >= 1; --sheet) {
          agrees(sheet);
          QTest::keyClick(&view, Qt::Key_PageUp);
        }
        agrees(1);

        // Zoomed in, the wheel scrolls down each sheet and then turns to the next, to the last one; up again
        // to the first.
        QTest::keyClick(&view, Qt::Key_Plus);
        QTest::keyClick(&view, Qt::Key_Plus);
        const auto wheel = [&](int delta) {
          const QPointF at = view.viewport()->rect().center();
          QWheelEvent event(at, view.viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
          QApplication::sendEvent(view.viewport(), &event);
        };
        for (int turns = 0; turns < 60 * count && view.state().current_sheet() < count; ++turns) wheel(-120);
        agrees(count);
        for (int turns = 0; turns < 60 * count &&
                            (view.state().current_sheet() > 1 || view.verticalScrollBar()->value() > 0);
             ++turns) {
          wheel(120);
        }
        agrees(1);
        QCOMPARE(view.verticalScrollBar()->value(), 0);

        // The whole zoom range by the keys, drawn at both ends.
        for (int i = 0; i < 15; ++i) QTest::keyClick(&view, Qt::Key_Plus);
        QCOMPARE(view.state().zoom_step(), presentation::PageViewState::kMaxZoomStep);
        view.viewport()->repaint();
        for (int i = 0; i < 20; ++i) QTest::keyClick(&view, Qt::Key_Minus);
        QCOMPARE(view.state().zoom_step(), presentation::PageViewState::kMinZoomStep);
        view.viewport()->repaint();
        desktop_.window().action(Command::kWholeSheet)->trigger();
        QCOMPARE(view.state().zoom_step(), 0);

        // Printed: one page per sheet at either scale; nothing printed changes the document.
        for (const PrintScale scale : {PrintScale::kTrueSize, PrintScale::kFitPrintable}) {
          const QString pdf = desktop_.home().filePath(QStringLiteral("generated.pdf"));
          QFile::remove(pdf);
          QPrinter printer(QPrinter::HighResolution);
          printer.setOutputFormat(QPrinter::PdfFormat);
          printer.setOutputFileName(pdf);
          PrintDocument(doc->controller().document().sheets(), printer, scale, {1, count}, family);
          QVERIFY2(QFileInfo(pdf).size() > 1000 * count, qPrintable(label));
        }
        QVERIFY(!doc->controller().modified());
        doc->close();
        QTRY_COMPARE(desktop_.window().Documents().size(), 0);
      }
    }
    QCOMPARE(documents, 15);
    QVERIFY(most_sheets >= 4);  // the designs run over several sheets
  }
};

int RunPageViewTests(int argc, char** argv) {
  PageViewTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "page_view_test.moc"
