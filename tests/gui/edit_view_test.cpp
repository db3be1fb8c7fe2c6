// The edit view along a whole editing road: a list of elements opened, edit mode on, a long name typed so
// that it wraps into new rows, rows cut and pasted across a sheet's end, the last sheet emptied row by row
// until it goes, changes undone through the menu, and the document saved, opened again and found the same.

#include "gui/edit_view.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "document/document.h"
#include "gui/cell_text_dialog.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/editable_grid.h"
#include "gui/gui_test_support.h"
#include "gui/main_window.h"
#include "gui/page_view.h"
#include "text/cp1251.h"

namespace tallyform::gui {

using testing::Native;
using testing::WhenModal;

namespace {

// Every sheet's texts, sheet by sheet and row by row, with the row counts: what a reader of the document
// sees, without the layout.
std::vector<std::string> Texts(const document::Document& document) {
  std::vector<std::string> texts;
  for (std::size_t s = 0; s < document.sheets().sheet_count(); ++s) {
    const document::CTableRows& sheet = document.sheets().sheet(s);
    texts.push_back("sheet " + std::to_string(s) + " rows " + std::to_string(sheet.row_count()));
    for (std::size_t r = 0; r < sheet.row_count(); ++r) {
      std::string line;
      for (std::size_t c = 0; c < sheet.rows()[r].cell_count(); ++c) line += sheet.cell(r, c).text() + "|";
      texts.push_back(line);
    }
  }
  return texts;
}

// The names (cell 2 of a list of elements) that are not empty, in reading order.
std::vector<std::string> Names(const document::Document& document) {
  std::vector<std::string> names;
  for (std::size_t s = 0; s < document.sheets().sheet_count(); ++s) {
    const document::CTableRows& sheet = document.sheets().sheet(s);
    for (std::size_t r = 0; r < sheet.row_count(); ++r) {
      if (!sheet.cell(r, 2).text().empty()) names.push_back(sheet.cell(r, 2).text());
    }
  }
  return names;
}

QPoint RowPoint(EditableGrid* grid, int row) {
  return grid->visualRect(grid->model()->index(row, 0)).center();
}

// A left click on a line's number, as a user selects it (and arms the context menu).
void Click(EditView& view, int row, Qt::KeyboardModifiers modifiers = {}) {
  QTest::mouseClick(view.grid()->viewport(), Qt::LeftButton, modifiers, RowPoint(view.grid(), row));
}

// The context menu opened on a line by the right button, and one of its commands chosen.
void FromMenu(EditView& view, int row, EditView::RowCommand command) {
  QTest::mousePress(view.grid()->viewport(), Qt::RightButton, {}, RowPoint(view.grid(), row));
  QTest::mouseRelease(view.grid()->viewport(), Qt::RightButton, {}, RowPoint(view.grid(), row));
  QVERIFY(view.context_menu()->isVisible());
  QCOMPARE(view.menu_row(), row);
  view.action(command)->trigger();
  view.context_menu()->close();
}

// The rows of the sheet shown whose name is not empty.
std::vector<int> NamedRows(const EditView& view) {
  std::vector<int> rows;
  const document::CTableRows& sheet =
      view.controller().document().sheets().sheet(static_cast<std::size_t>(view.current_sheet() - 1));
  for (std::size_t r = 0; r < sheet.row_count(); ++r) {
    if (!sheet.cell(r, 2).text().empty()) rows.push_back(static_cast<int>(r));
  }
  return rows;
}

}  // namespace

class EditViewTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  void editsAListOfElementsAlongTheWholeRoad() {
    const QString file = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("list_1.enum"));
    QVERIFY(!file.isEmpty());
    QVERIFY(desktop_.Start());
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    const document::Document& document = doc->controller().document();
    const int sheets = static_cast<int>(document.sheets().sheet_count());
    QVERIFY(sheets >= 2);

    // A double-click on a cell of the sheet: the cell text dialog, whose OK sets text, alignment and
    // underline as one step.
    PageView& page = doc->view();
    QTRY_VERIFY(page.sheet_view().page_height() > 0);
    const document::CCell& noted = document.sheets().sheet(0).cell(1, 4);
    const document::Rect box_mm = noted.rect();
    WhenModal<CellTextDialog>([](CellTextDialog* dialog) {
      dialog->text()->setText(QStringLiteral("Подбирается"));
      dialog->alignment()->setCurrentIndex(2);
      dialog->underline()->setChecked(true);
      dialog->accept();
    });
    const presentation::Point middle =
        page.sheet_view().MapPoint((box_mm.left + box_mm.right) / 2.0, (box_mm.top + box_mm.bottom) / 2.0);
    QTest::mouseDClick(page.viewport(), Qt::LeftButton, {}, QPoint(middle.x, middle.y));
    const document::CCell& written = document.sheets().sheet(0).cell(1, 4);
    QCOMPARE(QString::fromStdString(text::ToUtf8(written.text())), QStringLiteral("Подбирается"));
    QVERIFY(written.IsUnderlined());
    QCOMPARE(written.Alignment(), document::kAlignRight);
    QVERIFY(doc->controller().modified());

    QAction* edit_mode = desktop_.window().action(Command::kEditMode);
    QVERIFY(edit_mode->isEnabled());
    edit_mode->trigger();
    QVERIFY(edit_mode->isChecked());
    EditView* view = doc->edit_view();
    QVERIFY(view != nullptr);
    QVERIFY(view->isVisible());
    QVERIFY(!desktop_.window().action(Command::kZoomIn)->isEnabled());
    QCOMPARE(view->grid()->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Наименование"));
    QCOMPARE(view->grid()->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(desktop_.window().pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/%1").arg(sheets));

    // A long name in place: it wraps into rows of its own, the rows below move down, nothing is lost.
    const std::vector<int> named = NamedRows(*view);
    QVERIFY(named.size() > 3);
    const int edited = named[1];
    const std::vector<std::string> names_before = Names(document);
    const QString long_name = QStringLiteral(
        "Резистор С2-33Н-0,25-10 кОм-5% с очень длинным наименованием, которое не помещается в одну строку "
        "графы и переносится на следующие строки");
    QVERIFY(view->grid()->OpenEditor(edited, 3));
    auto* box = qobject_cast<QLineEdit*>(view->grid()->open_editor());
    QVERIFY(box != nullptr);
    box->setText(long_name);
    QTest::keyClick(box, Qt::Key_Return);
    const document::CTableRows& first = document.sheets().sheet(0);
    std::string joined;
    int lines = 0;
    for (std::size_t r = static_cast<std::size_t>(edited); r < first.row_count() && lines < 10;
         ++r, ++lines) {
      if (r > static_cast<std::size_t>(edited) && !first.cell(r, 1).text().empty()) break;
      joined += first.cell(r, 2).text();
    }
    QVERIFY(lines >= 2);
    QCOMPARE(QString::fromStdString(text::ToUtf8(joined)).left(long_name.size()), long_name);
    const std::vector<std::string> names_after = Names(document);
    QVERIFY(names_after.size() >= names_before.size() + 1);
    QCOMPARE(names_after.back(), names_before.back());  // the last name moved down, not lost
    QVERIFY(desktop_.window().action(Command::kUndo)->isEnabled());

    // A resistor's name edited to a value off the series of its tolerance: the question once the box has
    // closed, and the document's mismatch raised.
    int resistor = -1;
    for (std::size_t r = 0; r < first.row_count() && resistor < 0; ++r) {
      if (first.cell(r, 1).text() == "R5") resistor = static_cast<int>(r);
    }
    QVERIFY(resistor >= 0);
    QString asked;
    WhenModal<QMessageBox>([&asked](QMessageBox* question) {
      asked = question->text();
      question->button(QMessageBox::No)->click();
    });
    QVERIFY(view->grid()->OpenEditor(resistor, 3));
    box = qobject_cast<QLineEdit*>(view->grid()->open_editor());
    box->setText(QStringLiteral("С2-33Н-0,25-4,3 кОм-10%"));
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_VERIFY(!asked.isEmpty());
    QVERIFY(asked.startsWith(QStringLiteral("Номинал резистора в отредактированной ячейке")));
    QVERIFY(document.mismatch());

    // Two lines cut from the end of the first sheet and pasted at the top of the second.
    const std::vector<int> on_first = NamedRows(*view);
    const int a = on_first[on_first.size() - 2];
    const int b = on_first.back();
    const std::string cut_a = first.cell(static_cast<std::size_t>(a), 2).text();
    Click(*view, a);
    Click(*view, b, Qt::ShiftModifier);
    FromMenu(*view, b, EditView::RowCommand::kCut);
    QCOMPARE(doc->controller().session().row_clipboard().size(), std::size_t(b - a + 1));
    desktop_.window().action(Command::kNextSheet)->trigger();
    QCOMPARE(view->current_sheet(), 2);
    QCOMPARE(desktop_.window().pane(Pane::kSheet)->text(), QStringLiteral("Лист 2"));
    Click(*view, 0);
    QVERIFY(view->context_menu()->isHidden());
    FromMenu(*view, 0, EditView::RowCommand::kPaste);
    QVERIFY(doc->controller().session().row_clipboard().empty());
    QCOMPARE(document.sheets().sheet(1).cell(0, 2).text(), cut_a);
    QCOMPARE(Names(document).size(), names_after.size());

    // The last sheet emptied line by line: it goes, and the view shows the sheet before it.
    const int count = static_cast<int>(document.sheets().sheet_count());
    desktop_.window().action(Command::kLastSheet)->trigger();
    QCOMPARE(view->current_sheet(), count);
    for (int guard = 0; guard < 200 && static_cast<int>(document.sheets().sheet_count()) == count; ++guard) {
      Click(*view, 0);
      FromMenu(*view, 0, EditView::RowCommand::kDelete);
    }
    QCOMPARE(static_cast<int>(document.sheets().sheet_count()), count - 1);
    QCOMPARE(view->current_sheet(), count - 1);
    QCOMPARE(desktop_.window().pane(Pane::kSheetOfSheets)->text(), QStringLiteral("%1/%1").arg(count - 1));

    // Five changes, then the menu's undo: four steps back, each to the state before its change.
    desktop_.window().action(Command::kFirstSheet)->trigger();
    std::vector<std::vector<std::string>> states{Texts(document)};
    for (int change = 0; change < 5; ++change) {
      Click(*view, change);
      FromMenu(*view, change, EditView::RowCommand::kInsert);
      states.push_back(Texts(document));
    }
    QAction* undo = desktop_.window().action(Command::kUndo);
    for (int step = 4; step >= 1; --step) {
      QVERIFY(undo->isEnabled());
      undo->trigger();
      QVERIFY(Texts(document) == states[static_cast<std::size_t>(step)]);
    }
    QVERIFY(!undo->isEnabled());
    QVERIFY(desktop_.window().action(Command::kRedo)->isEnabled());

    // Edit mode off: the page view shows the sheet the edit view showed; saved and opened again, the
    // document has the same sheets.
    desktop_.window().action(Command::kLastSheet)->trigger();
    edit_mode->trigger();
    QVERIFY(doc->edit_view() == nullptr);
    QVERIFY(!edit_mode->isChecked());
    QCOMPARE(doc->view().state().current_sheet(), static_cast<int>(document.sheets().sheet_count()));
    const std::vector<std::string> kept = Texts(document);
    // The values found off their series are offered first.
    WhenModal<QMessageBox>([](QMessageBox* question) { question->button(QMessageBox::No)->click(); });
    WhenModal<QFileDialog>([](QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); });
    QTimer::singleShot(0, [] { WhenModal<EditorDialog>([](EditorDialog* dialog) { dialog->accept(); }); });
    desktop_.window().action(Command::kSave)->trigger();
    const QString saved = desktop_.home().filePath(QStringLiteral("list_2.enum"));
    QVERIFY(QFileInfo::exists(saved));
    desktop_.window().action(Command::kClose)->trigger();
    QTRY_COMPARE(desktop_.window().Documents().size(), 0);
    DocumentWindow* reopened = desktop_.window().OpenDocument(Native(saved));
    QVERIFY(reopened != nullptr);
    QVERIFY(Texts(reopened->controller().document()) == kept);
  }
};

int RunEditViewTests(int argc, char** argv) {
  EditViewTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "edit_view_test.moc"
