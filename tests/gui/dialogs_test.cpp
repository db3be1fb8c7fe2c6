// The program's own small dialogs, as a user meets them.

#include "gui/dialogs.h"

#include <QListWidget>
#include <QTest>

#include "model/document_kind.h"

namespace tallyform::gui {

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void kindChoiceNeedsALineAndTakesADoubleClick() {
    KindChoiceDialog dialog(std::nullopt);
    dialog.show();
    QCOMPARE(dialog.list()->count(), 3);
    QCOMPARE(dialog.list()->item(2)->text(), QStringLiteral("Ведомость покупных изделий (простая)"));
    dialog.accept();
    QVERIFY(dialog.isVisible());  // OK without a line keeps it open
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QListWidgetItem* bill = dialog.list()->item(1);
    const QRect rect = dialog.list()->visualItemRect(bill);
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.kind() == model::DocumentKind::kPurchasedBill);
  }
};

int RunDialogsTests(int argc, char** argv) {
  DialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "dialogs_test.moc"
