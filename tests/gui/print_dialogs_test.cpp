// The dialogs of the print commands.

#include "gui/print_dialogs.h"

#include <QLabel>
#include <QPrinter>
#include <QTabWidget>
#include <QTest>

namespace tallyform::gui {

class PrintDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // "Листы в натуральную величину" prints each sheet on paper of its own size, whatever paper the printer
  // has; the dialog did not say so.
  void thePrintDialogSaysWhatPaperTheTrueSizeTakes() {
    QPrinter printer;
    PrintDialog dialog(printer, PrintScale::kTrueSize, 2);
    QString notes;
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>()) {
      for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) != QStringLiteral("Масштаб")) continue;
        for (QLabel* label : tabs->widget(i)->findChildren<QLabel*>()) notes += label->text();
      }
    }
    QVERIFY2(notes.contains(QStringLiteral("на бумаге своего формата")), qPrintable(notes));
  }
};

int RunPrintDialogsTests(int argc, char** argv) {
  PrintDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "print_dialogs_test.moc"
