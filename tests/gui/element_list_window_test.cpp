// The element list window along the whole road of a user: a new document, a schematic added and a board
// appended, undo and redo, a designation, a kind, the roles, the columns, a join and the sort with its
// choice, then the fill and its sheets; and a window opened again and cancelled, which changes nothing.

#include "gui/element_list_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/editable_grid.h"
#include "gui/element_dialogs.h"
#include "gui/element_list_model.h"
#include "gui/gui_test_support.h"
#include "gui/list_dialogs.h"
#include "gui/main_window.h"
#include "gui/page_view.h"
#include "model/attributes.h"
#include "text/cp1251.h"

namespace tallyform::gui {

using testing::ChooseKind;
using testing::WhenModal;

namespace {

const QString kSchematic = QStringLiteral(TALLYFORM_EXAMPLES "/amplifier.sch");
const QString kBoard = QStringLiteral(TALLYFORM_EXAMPLES "/amplifier.pcb");

// Answers the next "Добавление элементов" with a source and the append box, the file dialog with `file`,
// the designation dialog with `designation` for the file's row, and "Нет" to the mismatch question.
void AddFile(int source, bool append, const QString& file, const QString& designation) {
  WhenModal<AddElementsDialog>([=](AddElementsDialog* dialog) {
    dialog->sources()->setCurrentIndex(source);
    dialog->append_box()->setChecked(append);
    WhenModal<QFileDialog>([=](QFileDialog* files) {
      WhenModal<DesignationsDialog>([=](DesignationsDialog* designations) {
        auto* model = static_cast<QStandardItemModel*>(designations->grid()->model());
        for (int row = 0; row < model->rowCount(); ++row) {
          if (model->item(row, 0)->text().endsWith(QFileInfo(file).fileName())) {
            model->item(row, 1)->setText(designation);
          }
        }
        WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
        designations->accept();
      });
      testing::TypeFileName(files, file);
    });
    dialog->accept();
  });
}

// Takes the sort choice as it stands.
void AcceptSortChoice() {
  WhenModal<QDialog>([](QDialog* sort) { sort->accept(); }, QStringLiteral("Сортировка"));
}

}  // namespace

class ElementListWindowTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

  // Opens the element list window of the active document and runs `work` in it once it is up.
  void InWindow(const std::function<void(ElementListWindow&)>& work) {
    bool ran = false;
    WhenModal<ElementListWindow>([&](ElementListWindow* window) {
      work(*window);
      ran = true;
      if (window->isVisible()) window->reject();
    });
    desktop_.window().action(Command::kFill)->trigger();
    QVERIFY(ran);
  }

 private slots:
  void cleanup() { desktop_.Stop(); }

  void gathersPreparesAndFillsAlongTheWholeRoad() {
    QVERIFY(desktop_.Start());
    ChooseKind(2);  // a simple bill: two files bring the sort choice
    desktop_.window().action(Command::kNew)->trigger();
    DocumentWindow* doc = desktop_.window().ActiveDocument();
    QVERIFY(doc != nullptr);
    QVERIFY(desktop_.window().action(Command::kFill)->isEnabled());

    InWindow([&](ElementListWindow& window) {
      QCOMPARE(window.windowTitle(), QStringLiteral("Список элементов"));
      QVERIFY(!window.action(ElementListWindow::Command::kUndo)->isEnabled());
      QVERIFY(!window.action(ElementListWindow::Command::kRedo)->isEnabled());
      QCOMPARE(window.model().rowCount(), 0);

      AddFile(2, false, kSchematic, QStringLiteral("АБВГ.468731.001"));
      window.action(ElementListWindow::Command::kAdd)->trigger();
      const int schematic_rows = window.model().rowCount();
      QVERIFY(schematic_rows > 10);
      for (int column = 0; column < window.model().columnCount(); ++column) {
        QVERIFY(window.model().headerData(column, Qt::Horizontal).toString() != QStringLiteral("Количество"));
      }
      // Columns all alike: (list width - 20) / (names - 1).
      QCOMPARE(window.list()->columnWidth(0), (window.list()->width() - 20) / (window.model().columnCount()));
      QVERIFY(!window.action(ElementListWindow::Command::kUndo)->isEnabled());  // a fresh history

      AddFile(2, true, kBoard, QStringLiteral("АБВГ.468731.002"));
      window.action(ElementListWindow::Command::kAdd)->trigger();
      QVERIFY(window.model().rowCount() > schematic_rows);
      QVERIFY(window.action(ElementListWindow::Command::kUndo)->isEnabled());
      window.action(ElementListWindow::Command::kUndo)->trigger();
      QCOMPARE(window.model().rowCount(), schematic_rows);
      QVERIFY(window.action(ElementListWindow::Command::kRedo)->isEnabled());
      window.action(ElementListWindow::Command::kRedo)->trigger();
      QVERIFY(window.model().rowCount() > schematic_rows);

      // The kinds: the resistors' group renamed.
      WhenModal<KindsDialog>([](KindsDialog* dialog) {
        auto* model = static_cast<QStandardItemModel*>(dialog->grid()->model());
        for (int row = 0; row < model->rowCount(); ++row) {
          if (model->item(row, 0)->text() == QStringLiteral("R")) {
            model->item(row, 2)->setText(QStringLiteral("Резисторы постоянные"));
          }
        }
        dialog->accept();
      });
      window.action(ElementListWindow::Command::kKinds)->trigger();

      // The roles as proposed; the value list emptied first is refused with a warning and the dialog stays.
      WhenModal<RolesDialog>([](RolesDialog* dialog) {
        const int value = dialog->lists()[2]->currentIndex();
        dialog->lists()[2]->setCurrentIndex(-1);
        WhenModal<QMessageBox>([](QMessageBox* box) { box->accept(); });
        dialog->accept();
        QVERIFY(dialog->isVisible());
        dialog->lists()[2]->setCurrentIndex(value);
        AcceptSortChoice();
        dialog->accept();
      });
      window.action(ElementListWindow::Command::kRoles)->trigger();

      // A join: "Type" takes ", " and the package after it.
      WhenModal<JoinDialog>([](JoinDialog* dialog) {
        QVERIFY(!dialog->add_button()->isEnabled());
        dialog->result()->setCurrentIndex(dialog->result()->findText(QStringLiteral("Type")));
        QVERIFY(dialog->add_button()->isEnabled());
        dialog->add_button()->click();
        auto* model = static_cast<QStandardItemModel*>(dialog->grid()->model());
        model->item(0, 0)->setText(QStringLiteral("Pattern"));
        model->item(0, 1)->setText(QStringLiteral(", "));
        dialog->substitute()->setChecked(true);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Заменяемая подстрока"));
        dialog->link()->setChecked(true);
        dialog->accept();
      });
      window.action(ElementListWindow::Command::kJoin)->trigger();
      QVERIFY(window.action(ElementListWindow::Command::kUndo)->isEnabled());

      // The columns: two empty rows between groups.
      WhenModal<MappingDialog>([](MappingDialog* dialog) {
        dialog->gap()->setText(QStringLiteral("2"));
        dialog->accept();
      });
      window.action(ElementListWindow::Command::kMapping)->trigger();

      // Fill: the column mapping once more, the sort choice for two files, then the sheets.
      WhenModal<MappingDialog>([](MappingDialog* dialog) {
        QCOMPARE(dialog->gap()->text(), QStringLiteral("2"));
        AcceptSortChoice();
        dialog->accept();
      });
      WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
      window.fill_button()->click();
    });

    const document::Document& filled = doc->controller().document();
    QVERIFY(doc->controller().modified());
    QVERIFY(filled.data().elements.count() > 10);
    QCOMPARE(filled.fill_parameters().gap, 2);
    QCOMPARE(filled.data().designations.size(), std::size_t{2});
    // The kinds dialog renamed the resistors' group in the list handed over.
    bool renamed = false;
    for (const auto& element : filled.data().elements.storage()) {
      renamed |= element->Get(model::kGroup) == text::FromUtf8("Резисторы постоянные");
    }
    QVERIFY(renamed);
    QVERIFY(doc->view().state().sheet_count() >= 2);
    bool written = false;
    for (const document::CRow& row : filled.settings_table().rows()) written |= !row.cell(1).IsEmpty();
    QVERIFY(written);

    // Opened again and cancelled: the document stays exactly as it was.
    const std::string before = filled.ToBytes({});
    InWindow([](ElementListWindow& window) {
      QVERIFY(window.model().rowCount() > 10);
      QVERIFY(!window.action(ElementListWindow::Command::kUndo)->isEnabled());
      AcceptSortChoice();  // one list this time
      window.action(ElementListWindow::Command::kSort)->trigger();
      window.cancel_button()->click();
    });
    QCOMPARE(doc->controller().document().ToBytes({}), before);
  }

  void fillsEveryKindAsTheCommandLineDoes_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("list") << 0 << QStringLiteral("list");
    QTest::newRow("bill") << 1 << QStringLiteral("bill");
    QTest::newRow("simple") << 2 << QStringLiteral("simple");
  }

  // The window's road with every answer as it stands fills the sheets the command-line program fills from
  // the same design, row for row.
  void fillsEveryKindAsTheCommandLineDoes() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    const QString file = desktop_.FilledDocument(name, name + QStringLiteral(".enum"));
    QVERIFY(!file.isEmpty());
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const document::Document expected =
        document::Document::FromBytes(std::string_view(bytes.data(), bytes.size()));

    QVERIFY(desktop_.Start());
    ChooseKind(kind);
    desktop_.window().action(Command::kNew)->trigger();
    DocumentWindow* doc = desktop_.window().ActiveDocument();
    QVERIFY(doc != nullptr);
    InWindow([&](ElementListWindow& window) {
      AddFile(2, false, kSchematic, QString());
      window.action(ElementListWindow::Command::kAdd)->trigger();
      QVERIFY(window.model().rowCount() > 10);
      WhenModal<MappingDialog>([](MappingDialog* dialog) { dialog->accept(); });
      WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
      window.fill_button()->click();
      QVERIFY(!window.isVisible());
    });

    const document::Document& filled = doc->controller().document();
    QCOMPARE(int(filled.kind()), kind);
    QCOMPARE(filled.sheets().sheet_count(), expected.sheets().sheet_count());
    const auto& rows = filled.settings_table().rows();
    const auto& expected_rows = expected.settings_table().rows();
    QCOMPARE(rows.size(), expected_rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
      QCOMPARE(rows[r].cell_count(), expected_rows[r].cell_count());
      for (std::size_t c = 0; c < rows[r].cell_count(); ++c) {
        QCOMPARE(rows[r].cell(c).text(), expected_rows[r].cell(c).text());
      }
    }
  }

  // An empty list: "Заполнить" closes the window and fills nothing; a design the P-CAD link cannot open
  // is said with the link's status; a file that cannot be read is told and changes nothing.
  void anEmptyListClosesAndBadSourcesChangeNothing() {
    QVERIFY(desktop_.Start());
    ChooseKind(0);
    desktop_.window().action(Command::kNew)->trigger();
    DocumentWindow* doc = desktop_.window().ActiveDocument();
    InWindow([](ElementListWindow& window) {
      QString said;
      WhenModal<AddElementsDialog>([&said](AddElementsDialog* dialog) {  // P-CAD Schematic
        WhenModal<QFileDialog>([&said](QFileDialog* files) {
          WhenModal<DesignationsDialog>([&said](DesignationsDialog* designations) {
            WhenModal<QMessageBox>([&said](QMessageBox* box) {
              said = box->windowTitle() + QLatin1Char('|') + box->text();
              box->accept();
            });
            designations->accept();
          });
          testing::TypeFileName(files, kBoard);  // a board is no schematic for the design link
        });
        dialog->accept();
      });
      window.action(ElementListWindow::Command::kAdd)->trigger();
      QCOMPARE(said, QStringLiteral("Ошибка P-CAD|Невозможно открыть файл P-CAD."));

      WhenModal<AddElementsDialog>([](AddElementsDialog* dialog) {
        dialog->sources()->setCurrentIndex(3);
        WhenModal<QFileDialog>([](QFileDialog* files) {
          testing::TypeFileName(files, kSchematic);  // not a saved document
        });
        dialog->accept();
      });
      WhenModal<QMessageBox>([&said](QMessageBox* box) {
        said = box->text();
        box->accept();
      });
      window.action(ElementListWindow::Command::kAdd)->trigger();
      QVERIFY(said.contains(QStringLiteral("Непредвиденный формат файла")));
      QCOMPARE(window.model().rowCount(), 0);

      window.fill_button()->click();
      QVERIFY(!window.isVisible());
      QCOMPARE(window.result(), int(QDialog::Rejected));
    });
    QVERIFY(!doc->controller().modified());
  }
};

int RunElementListWindowTests(int argc, char** argv) {
  ElementListWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "element_list_window_test.moc"
