// The file dialogs of documents, answered as a user answers them.

#include "gui/file_dialogs.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/gui_test_support.h"

namespace tallyform::gui {

using testing::Native;
using testing::WhenModal;

class FileDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // A name typed with dots (a designation) was saved without ".enum": the file dialog adds its suffix only
  // to a name that has none.
  void fileDialogsKeepTheDocumentSuffix() {
    QTemporaryDir folder;
    const auto save_as = [&](const QString& typed) {
      WhenModal<QFileDialog>([typed](QFileDialog* dialog) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->clear();
        for (const QChar c : typed)
          QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, c, Qt::NoModifier);
        QTest::keyClick(name, Qt::Key_Return);
      });
      const auto chosen =
          AskDocumentToSave(nullptr, Native(folder.filePath(QStringLiteral("Enumeration1.enum"))));
      return chosen ? QFile::decodeName(chosen->c_str()) : QString();
    };
    QCOMPARE(save_as(QStringLiteral("АБВГ.468157.001ПЭ3")),
             folder.filePath(QStringLiteral("АБВГ.468157.001ПЭ3.enum")));
    // With the suffix the name is that of a file already there: the dialog asks before it is replaced.
    QFile existing(folder.filePath(QStringLiteral("АБВГ.468157.001ПЭ3.enum")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString asked;
    WhenModal<QMessageBox>([&asked](QMessageBox* box) {
      asked = box->text();
      box->button(QMessageBox::Yes)->click();
    });
    QCOMPARE(save_as(QStringLiteral("АБВГ.468157.001ПЭ3")), existing.fileName());
    QVERIFY2(asked.contains(QStringLiteral("АБВГ.468157.001ПЭ3.enum")), qPrintable(asked));
    QCOMPARE(save_as(QStringLiteral("plain")), folder.filePath(QStringLiteral("plain.enum")));
    QCOMPARE(save_as(QStringLiteral("kept.ENUM")), folder.filePath(QStringLiteral("kept.ENUM")));
    QCOMPARE(WithDocumentSuffix(QStringLiteral("a.enum.bak")), QStringLiteral("a.enum.bak.enum"));

    QStringList filters;
    WhenModal<QFileDialog>([&filters](QFileDialog* dialog) {
      filters = dialog->nameFilters();
      dialog->reject();
    });
    QVERIFY(!AskDocumentToOpen(nullptr));
    QCOMPARE(filters, (QStringList{"Enum Files(*.enum)", "Все файлы (*)"}));
  }
};

int RunFileDialogsTests(int argc, char** argv) {
  FileDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "file_dialogs_test.moc"
