// Printing documents: the scale of the sheets on the paper and the file a PDF printer proposes.

#include "gui/printing.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "adapters/sheet_font.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"

namespace tallyform::gui {

using testing::Native;
using testing::WhenModal;

namespace {

// The share of the page's height that holds ink, on the first page of a PDF file; -1 when poppler's tools
// are missing.
double InkedHeight(const QString& pdf) {
  QProcess raster;
  raster.start(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"),
                                            QStringLiteral("20"), QStringLiteral("-singlefile"), pdf, pdf});
  if (!raster.waitForFinished(30000) || raster.exitCode() != 0) return -1;
  const QImage page(pdf + QStringLiteral(".pgm"));
  int top = page.height();
  int bottom = -1;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (qGray(page.pixel(x, y)) < 128) {
        top = std::min(top, y);
        bottom = y;
      }
    }
  }
  return bottom < top ? 0 : double(bottom - top + 1) / page.height();
}

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  // Fitted to the printable area, an A3 landscape sheet on A4 portrait paper came out at half its size,
  // upright across the top of the page: turned a quarter, it fills the page.
  void aSheetFittedToThePaperIsTurnedWhenItComesOutLarger() {
    const SheetFit a3_on_a4 = FitSheet({420, 297}, {190, 277});
    QVERIFY(a3_on_a4.turned);
    QCOMPARE(a3_on_a4.scale, 190.0 / 297);
    QCOMPARE(FitSheet({210, 297}, {190, 277}).turned, false);
    QCOMPARE(FitSheet({210, 297}, {277, 190}).turned, true);
    QCOMPARE(FitSheet({210, 297}, {400, 400}).scale, 1.0);  // never enlarged

    const QString bill = desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("fitted_1.enum"));
    QVERIFY(!bill.isEmpty());
    const document::Document document = document::Document::FromFile(Native(bill));
    const QString pdf = desktop_.home().filePath(QStringLiteral("fitted.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    PrintDocument(document.sheets(), printer, PrintScale::kFitPrintable, {1, 1},
                  adapters::ChooseSheetFamily());
    const double inked = InkedHeight(pdf);
    if (inked < 0) QSKIP("pdftoppm is not available");
    QVERIFY2(inked > 0.8, qPrintable(QString::number(inked)));
  }

  // Printing at the true size set the sheet's paper on the printer, which then kept it (without margins)
  // for every print after.
  void theTrueSizeLeavesThePrintersPaperAsChosen() {
    const QString bill = desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("true_1.enum"));
    QVERIFY(!bill.isEmpty());
    const document::Document document = document::Document::FromFile(Native(bill));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(desktop_.home().filePath(QStringLiteral("true.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    const QPageLayout chosen = printer.pageLayout();
    PrintDocument(document.sheets(), printer, PrintScale::kTrueSize, {1, 1}, adapters::ChooseSheetFamily());
    QVERIFY(printer.pageLayout().isEquivalentTo(chosen));
    QCOMPARE(printer.pageLayout().mode(), chosen.mode());
  }

  // The documents share one printer, which kept the file the last print went to: printing another document
  // proposed to write over the first one's PDF.
  void eachDocumentProposesAPdfOfItsOwn() {
    const QString first = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("first_1.enum"));
    const QString second =
        desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("АБВГ.468157.001ПЭ3_1.enum"));
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QVERIFY(desktop_.Start());
    MainWindow& window = desktop_.window();
    QVERIFY(window.OpenDocument(Native(first)) != nullptr);
    const QString folder = desktop_.home().filePath(QStringLiteral("printed"));
    QVERIFY(QDir().mkpath(folder));
    WhenModal<QPrintDialog>([folder](QPrintDialog* dialog) {
      dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
      dialog->printer()->setOutputFileName(folder + QStringLiteral("/first.pdf"));
      dialog->done(QDialog::Accepted);
    });
    window.action(Command::kPrint)->trigger();
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/first.pdf")));

    QVERIFY(window.OpenDocument(Native(second)) != nullptr);
    QString proposed;
    QString job;
    WhenModal<QPrintDialog>([&proposed, &job](QPrintDialog* dialog) {
      proposed = dialog->printer()->outputFileName();
      job = dialog->printer()->docName();
      dialog->reject();
    });
    window.action(Command::kPrint)->trigger();
    QCOMPARE(proposed, folder + QStringLiteral("/АБВГ.468157.001ПЭ3_1.pdf"));
    QCOMPARE(job, QStringLiteral("АБВГ.468157.001ПЭ3_1.enum"));
  }

  void printsTheChosenSheetsToAPdfPrinter() {
    const QString file = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("print_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    const int sheets = static_cast<int>(doc->controller().document().sheets().sheet_count());
    QVERIFY(sheets >= 2);

    // The range asked for in the dialog, cut to the document; the current sheet; every sheet.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 99);
    QCOMPARE(PrintedSheets(printer, 1, sheets), (SheetRange{2, sheets}));
    printer.setPrintRange(QPrinter::CurrentPage);
    QCOMPARE(PrintedSheets(printer, 2, sheets), (SheetRange{2, 2}));
    printer.setPrintRange(QPrinter::AllPages);
    QCOMPARE(PrintedSheets(printer, 2, sheets), (SheetRange{1, sheets}));
    QCOMPARE(PrintedSheets(printer, 1, 0).last, 0);

    const auto print = [&](const QString& pdf, QPrinter::PrintRange range, int from, int to) {
      WhenModal<QPrintDialog>([pdf, range, from, to, sheets](QPrintDialog* dialog) {
        QVERIFY(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        QCOMPARE(dialog->maxPage(), sheets);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        dialog->printer()->setPrintRange(range);
        dialog->printer()->setFromTo(from, to);
        dialog->done(QDialog::Accepted);
      });
      desktop_.window().action(Command::kPrint)->trigger();
    };
    // The printer set-up chooses and prints nothing: its button says so.
    QString setup_button;
    WhenModal<QPrintDialog>([&setup_button](QPrintDialog* dialog) {
      for (QDialogButtonBox* buttons : dialog->findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) setup_button = ok->text();
      }
      dialog->reject();
    });
    desktop_.window().action(Command::kPrintSetup)->trigger();
    QCOMPARE(setup_button, QStringLiteral("OK"));

    const QString all = desktop_.home().filePath(QStringLiteral("all.pdf"));
    const QString second = desktop_.home().filePath(QStringLiteral("second.pdf"));
    print(all, QPrinter::AllPages, 0, 0);
    print(second, QPrinter::PageRange, 2, 2);
    QVERIFY(QFileInfo(all).size() > QFileInfo(second).size());
    QVERIFY(QFileInfo(second).size() > 1000);

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {all});
    if (!info.waitForFinished(30000) || info.exitCode() != 0) QSKIP("pdfinfo is not available");
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\b").arg(sheets))),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("595 x 842 pts (A4)")), qPrintable(text));  // true size
    info.start(QStringLiteral("pdfinfo"), {second});
    QVERIFY(info.waitForFinished(30000));
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                .contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));
  }
};

int RunPrintingTests(int argc, char** argv) {
  PrintingTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "printing_test.moc"
