// Assembly drawing preparation from the desktop: the board chosen in the file dialog, the RefDes2 properties
// dialog over the copy's layers and styles, and the copy written beside the board, which itself stays as it
// was; a second run asks before it overwrites the copy.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "gui/assembly_dialogs.h"
#include "gui/gui_test_support.h"
#include "gui/main_window.h"

namespace tallyform::gui {

using testing::WhenModal;

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the file dialog with `board` and the properties dialog as `choose` says, and notes the message
// the run ends with.
void AnswerRun(const QString& board, const std::function<void(RefDes2Dialog*)>& choose, QString& said) {
  WhenModal<QFileDialog>([board](QFileDialog* files) { testing::TypeFileName(files, board); });
  WhenModal<RefDes2Dialog>([choose, &said](RefDes2Dialog* dialog) {
    choose(dialog);
    WhenModal<QMessageBox>([&said](QMessageBox* box) {
      said = box->text();
      box->accept();
    });
    dialog->accept();
  });
}

}  // namespace

class AssemblyTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  void preparesACopyOfTheBoardAndAsksBeforeOverwritingIt() {
    const QString board = desktop_.home().filePath(QStringLiteral("amplifier.pcb"));
    QVERIFY(QFile::copy(QStringLiteral(TALLYFORM_EXAMPLES "/amplifier.pcb"), board));
    const QByteArray original = Bytes(board);
    QVERIFY(desktop_.Start());
    QAction* command = desktop_.window().action(Command::kAssembly);
    QVERIFY(command->isEnabled());  // also without a document

    QString said;
    QString justification;
    int layers = 0;
    AnswerRun(
        board,
        [&](RefDes2Dialog* dialog) {
          layers = dialog->layers()->count();
          justification = dialog->justifications()->currentText();
        },
        said);
    command->trigger();
    QCOMPARE(said, QStringLiteral("Обработка завершена."));
    QVERIFY(layers > 0);
    QCOMPARE(justification, QStringLiteral("CENTER"));
    const QString copy = desktop_.home().filePath(QStringLiteral("amplifier_SB.pcb"));
    QVERIFY(Bytes(copy).contains("RefDes2"));
    QCOMPARE(Bytes(board), original);

    // Again: "Нет" keeps the copy, and replacing moves every RefDes2 to the last layer.
    WhenModal<QMessageBox>([](QMessageBox* box) {
      QVERIFY(box->text().contains(QStringLiteral("уже существует")));
      box->button(QMessageBox::No)->click();
    });
    said.clear();
    AnswerRun(
        board,
        [](RefDes2Dialog* dialog) {
          dialog->layers()->setCurrentIndex(dialog->layers()->count() - 1);
          dialog->replace_box()->setChecked(true);
        },
        said);
    const QByteArray first = Bytes(copy);
    command->trigger();
    QCOMPARE(said, QStringLiteral("Обработка завершена."));
    QVERIFY(Bytes(copy) != first);
    QCOMPARE(Bytes(board), original);
  }
};

int RunAssemblyTests(int argc, char** argv) {
  AssemblyTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "assembly_test.moc"
