// The settings dialogs of a document as a user meets them: from the menus and by double clicks on the
// sheet, each OK one step of the document's history, refused values told while the dialog stays open.

#include "gui/settings_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <functional>
#include <string>

#include "adapters/qt_text.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"
#include "gui/page_view.h"
#include "presentation/title_block.h"

namespace tallyform::gui {
namespace {

using document::TitleField;
using testing::Native;
using testing::WhenModal;

QLineEdit* Named(QWidget* dialog, const char* name) {
  return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Types into a field as a user does, through its validator; QTest types ASCII only, so Cyrillic is set.
void Type(QLineEdit* field, const QString& text) {
  field->clear();
  for (const QChar c : text) {
    if (c.unicode() >= 0x80) {
      field->setText(text);
      return;
    }
  }
  QTest::keyClicks(field, text);
}

// Accepts a dialog whose value the session refuses: the error is answered, and whether the dialog stayed
// open and what the error said are noted. `fix` then puts a good value in and OK closes the dialog.
void AcceptRefused(QDialog* dialog, bool& stayed, QString& told, const std::function<void()>& fix) {
  WhenModal<QMessageBox>([&told](QMessageBox* box) {
    told = box->text();
    box->accept();
  });
  dialog->accept();
  stayed = dialog->isVisible();
  fix();
  dialog->accept();
}

// A window point of the sheet shown, from sheet millimetres.
QPoint SheetPoint(const PageView& view, double x_mm, double y_mm) {
  const presentation::Point p = view.sheet_view().MapPoint(x_mm, y_mm);
  return {p.x, p.y};
}

}  // namespace

class SettingsDialogsTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  // A list of elements takes five changes from the menus and a double click, and four undos through the
  // menu bring back the oldest state the history keeps; a simple bill rescales its quantities from a
  // double click on its products line.
  void theSettingsDialogsAreStepsOfTheDocumentsHistory() {
    const QString list = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("list_1.enum"));
    const QString simple = desktop_.FilledDocument(QStringLiteral("simple"), QStringLiteral("simple_1.enum"));
    QVERIFY(!list.isEmpty() && !simple.isEmpty());
    QVERIFY(desktop_.Start());
    MainWindow& window = desktop_.window();
    DocumentWindow* doc = window.OpenDocument(Native(list));
    QVERIFY(doc != nullptr);
    const auto settings = [doc]() -> const document::CTableRows& {
      return doc->controller().document().settings_table();
    };
    const auto field = [&settings](TitleField f) { return adapters::ToQString(settings().title_field(f)); };
    const int sheets = static_cast<int>(doc->controller().document().sheets().sheet_count());
    QVERIFY(sheets > 1);
    QVERIFY(!window.action(Command::kUndo)->isEnabled());
    QVERIFY(!window.action(Command::kProducts)->isEnabled());
    window.action(Command::kNextSheet)->trigger();

    // 1. The title block: the sheet fields show the sheet shown and the count, and only "Изменить" lets
    // them be changed.
    QStringList opened;
    bool sheet_fields_enabled[2] = {true, false};
    WhenModal<TitleBlockDialog>([&](TitleBlockDialog* dialog) {
      opened << dialog->field(TitleField::kSheetNumber)->text()
             << dialog->field(TitleField::kSheetCount)->text();
      sheet_fields_enabled[0] = dialog->field(TitleField::kSheetCount)->isEnabled();
      dialog->change_box()->click();
      sheet_fields_enabled[1] = dialog->field(TitleField::kSheetCount)->isEnabled();
      dialog->field(TitleField::kSheetCount)->clear();
      Type(dialog->field(TitleField::kDesignation), QStringLiteral("АБВГ.468157.001ПЭ3"));
      dialog->accept();
    });
    window.action(Command::kTitleBlock)->trigger();
    QCOMPARE(opened, QStringList({QStringLiteral("2"), QString::number(sheets)}));
    QVERIFY(!sheet_fields_enabled[0] && sheet_fields_enabled[1]);
    QCOMPARE(field(TitleField::kDesignation), QStringLiteral("АБВГ.468157.001ПЭ3"));
    QCOMPARE(field(TitleField::kSheetCount), QString());
    QVERIFY(window.action(Command::kUndo)->isEnabled());

    // 2. The fonts: a height out of range is told with its range, and the dialog stays for a better one.
    bool stayed = false;
    QString told;
    WhenModal<TextHeightsDialog>([&](TextHeightsDialog* dialog) {
      Type(Named(dialog, "cell_height"), QStringLiteral("60"));
      AcceptRefused(dialog, stayed, told,
                    [dialog] { Type(Named(dialog, "cell_height"), QStringLiteral("3.5")); });
    });
    window.action(Command::kFont)->trigger();
    QVERIFY(stayed);
    QVERIFY2(told.contains(QStringLiteral("от 1 до 40 мм")), qPrintable(told));
    QCOMPARE(settings().settings().table_text, 3.5);

    // 3. The lines: a decimal comma becomes the point the value is read with.
    QString typed;
    WhenModal<LineWidthsDialog>([&typed](LineWidthsDialog* dialog) {
      Type(Named(dialog, "main_line"), QStringLiteral("0,35"));
      typed = Named(dialog, "main_line")->text();
      dialog->accept();
    });
    window.action(Command::kLines)->trigger();
    QCOMPARE(typed, QStringLiteral("0.35"));
    QCOMPARE(settings().settings().main_line, 0.35);

    // 4. A double click on the title block opens its dialog.
    PageView& view = doc->view();
    QTRY_VERIFY(view.sheet_view().page_height() > 0);
    const document::SheetSet& set = doc->controller().document().sheets();
    const document::Rect block = presentation::TitleBlockOutline(set.sheet_width(), set.sheet_height(), true);
    WhenModal<TitleBlockDialog>([](TitleBlockDialog* dialog) {
      Type(dialog->field(TitleField::kDevelopedBy), QStringLiteral("Иванов"));
      dialog->accept();
    });
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {},
                       SheetPoint(view, (block.left + block.right) / 2.0, (block.top + block.bottom) / 2.0));
    QCOMPARE(field(TitleField::kDevelopedBy), QStringLiteral("Иванов"));

    // Cancel changes nothing and is no step; 5. the thin lines.
    const int steps = doc->controller().session().undo_indices().undo_steps();
    WhenModal<TextHeightsDialog>([](TextHeightsDialog* dialog) {
      Type(Named(dialog, "cell_height"), QStringLiteral("7"));
      dialog->reject();
    });
    window.action(Command::kFont)->trigger();
    QCOMPARE(settings().settings().table_text, 3.5);
    QCOMPARE(doc->controller().session().undo_indices().undo_steps(), steps);
    WhenModal<LineWidthsDialog>([](LineWidthsDialog* dialog) {
      Type(Named(dialog, "thin_line"), QStringLiteral("0.1"));
      dialog->accept();
    });
    window.action(Command::kLines)->trigger();
    QCOMPARE(settings().settings().thin_line, 0.1);

    // Four undos reach the state after the first change, the oldest the history keeps.
    for (int i = 0; i < 4; ++i) {
      QVERIFY(window.action(Command::kUndo)->isEnabled());
      window.action(Command::kUndo)->trigger();
    }
    QVERIFY(!window.action(Command::kUndo)->isEnabled());
    QCOMPARE(field(TitleField::kDesignation), QStringLiteral("АБВГ.468157.001ПЭ3"));
    QCOMPARE(field(TitleField::kDevelopedBy), QString());
    QCOMPARE(settings().settings().table_text, 4.0);
    QCOMPARE(settings().settings().main_line, 0.5);
    QVERIFY(window.action(Command::kRedo)->isEnabled());
    window.action(Command::kRedo)->trigger();
    QCOMPARE(settings().settings().table_text, 3.5);

    // The simple bill: no title block dialog; its products line rescales the section's quantities.
    DocumentWindow* bill = window.OpenDocument(Native(simple));
    QVERIFY(bill != nullptr);
    QVERIFY(!window.action(Command::kTitleBlock)->isEnabled());
    QVERIFY(window.action(Command::kProducts)->isEnabled());
    const document::CTableRows& first = bill->controller().document().sheets().sheet(0);
    std::size_t row = 0;
    while (row < first.row_count() && first.cell(row, 3).IsEmpty()) ++row;
    QVERIFY(row < first.row_count());
    const int quantity = first.cell(row, 3).text().empty() ? 0 : std::stoi(first.cell(row, 3).text());
    QString shown;
    WhenModal<ProductsDialog>([&](ProductsDialog* dialog) {
      shown = dialog->field()->text();
      Type(dialog->field(), QStringLiteral("-1"));
      AcceptRefused(dialog, stayed, told, [dialog] { Type(dialog->field(), QStringLiteral("3")); });
    });
    stayed = false;
    PageView& bill_view = bill->view();
    QTRY_VERIFY(bill_view.sheet_view().page_height() > 0);
    QTest::mouseDClick(bill_view.viewport(), Qt::LeftButton, {},
                       SheetPoint(bill_view, bill->controller().document().sheets().sheet_width() / 2.0, 9));
    QCOMPARE(shown, QStringLiteral("1"));
    QVERIFY(stayed);
    const document::CTableRows& rescaled = bill->controller().document().sheets().sheet(0);
    QCOMPARE(rescaled.number_of_products(), 3);
    QCOMPARE(std::stoi(rescaled.cell(row, 3).text()), 3 * quantity);
  }
};

int RunSettingsDialogsTests(int argc, char** argv) {
  SettingsDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "settings_dialogs_test.moc"
