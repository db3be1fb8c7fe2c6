// With TALLYFORM_SCREENSHOTS naming a folder, the windows and dialogs a user meets are saved there as PNG,
// to look at as a user would (run it under Xvfb for a real screen).

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include "app/element_list_session.h"
#include "document/document.h"
#include "gui/assembly_dialogs.h"
#include "gui/cell_text_dialog.h"
#include "gui/dialogs.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/edit_view.h"
#include "gui/editable_grid.h"
#include "gui/element_dialogs.h"
#include "gui/element_list_window.h"
#include "gui/gui_test_support.h"
#include "gui/list_dialogs.h"
#include "gui/main_window.h"
#include "gui/settings_dialogs.h"
#include "gui/splash_screen.h"

namespace tallyform::gui {

using testing::Native;
using testing::WhenModal;

class ScreenshotsTest : public QObject {
  Q_OBJECT

 private:
  testing::TestDesktop desktop_;

 private slots:
  void cleanup() { desktop_.Stop(); }

  void screenshots() {
    const QString folder = qEnvironmentVariable("TALLYFORM_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("TALLYFORM_SCREENSHOTS is not set");
    QDir().mkpath(folder);
    const QString list =
        desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("Усилитель ПЭ3_1.enum"));
    const QString bill =
        desktop_.FilledDocument(QStringLiteral("bill"), QStringLiteral("Усилитель ВП_1.enum"));
    QVERIFY(!list.isEmpty() && !bill.isEmpty());
    QVERIFY(desktop_.Start());
    desktop_.window().resize(1280, 900);
    QVERIFY(desktop_.window().OpenDocument(Native(list)) != nullptr);
    QTest::qWait(200);
    QVERIFY(desktop_.window().grab().save(folder + QStringLiteral("/main-window-list.png")));
    QVERIFY(desktop_.window().OpenDocument(Native(bill)) != nullptr);
    QTest::qWait(200);
    QVERIFY(desktop_.window().grab().save(folder + QStringLiteral("/main-window-bill.png")));

    // The file menu with the two documents among the recent files.
    QMenu* file_menu = desktop_.window().menuBar()->actions().front()->menu();
    file_menu->popup(
        desktop_.window().menuBar()->mapToGlobal(QPoint(0, desktop_.window().menuBar()->height())));
    QVERIFY(QTest::qWaitForWindowExposed(file_menu));
    QTest::qWait(100);
    QVERIFY(file_menu->grab().save(folder + QStringLiteral("/menu-file.png")));
    file_menu->close();

    // The dialogs, each as it opens.
    const auto shoot = [&](QDialog& dialog, const QString& name) {
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      QTest::qWait(100);
      QVERIFY(dialog.grab().save(folder + QStringLiteral("/") + name));
      dialog.close();
    };
    KindChoiceDialog kinds(model::DocumentKind::kElementList, &desktop_.window());
    shoot(kinds, QStringLiteral("dialog-kind.png"));
    EditorDialog editor(QStringLiteral("Петров П."), &desktop_.window());
    shoot(editor, QStringLiteral("dialog-editor.png"));
    HistoryDialog history(document::Document::FromFile(Native(bill)).history(), &desktop_.window());
    shoot(history, QStringLiteral("dialog-history.png"));
    AboutDialog about(&desktop_.window());
    shoot(about, QStringLiteral("dialog-about.png"));
    const document::Document listed = document::Document::FromFile(Native(list));
    const document::CTableRows& settings = listed.settings_table();
    TitleBlockDialog title(document::TitleBlockForm::Open(settings, 1, listed.sheets().sheet_count()), {},
                           &desktop_.window());
    shoot(title, QStringLiteral("dialog-title-block.png"));
    TextHeightsDialog fonts(document::TextHeightsOf(settings), {}, &desktop_.window());
    shoot(fonts, QStringLiteral("dialog-fonts.png"));
    LineWidthsDialog lines(document::LineWidthsOf(settings), {}, &desktop_.window());
    shoot(lines, QStringLiteral("dialog-lines.png"));
    ProductsDialog products(1, {}, &desktop_.window());
    shoot(products, QStringLiteral("dialog-products.png"));

    // Two editable grids as the designation map and the join dialog show them: a highlighted cell whose text
    // is cut with "...", and a text box open and widened to its text.
    QDialog grids(&desktop_.window());
    auto* layout = new QVBoxLayout(&grids);
    QStandardItemModel designations(0, 2);
    designations.setHorizontalHeaderLabels(
        {QStringLiteral("Имя файла"), QStringLiteral("Обозначение документа")});
    designations.appendRow({new QStandardItem(QStringLiteral("/home/petrov/amplifier.sch")),
                            new QStandardItem(QStringLiteral("АБВГ.468732.001 Усилитель мощности"))});
    designations.appendRow({new QStandardItem(QStringLiteral("/home/petrov/power.sch")),
                            new QStandardItem(QStringLiteral("АБВГ.436611.002"))});
    designations.appendRow(
        {new QStandardItem(QStringLiteral("/home/petrov/display.pcb")), new QStandardItem()});
    auto* designation_grid = new EditableGrid(&grids);
    designation_grid->setModel(&designations);
    designation_grid->setColumnWidth(0, 200);
    designation_grid->setColumnWidth(1, 200);
    layout->addWidget(new QLabel(QStringLiteral("Обозначение документа")));
    layout->addWidget(designation_grid);
    QStandardItemModel joins(0, 2);
    joins.setHorizontalHeaderLabels({QStringLiteral("Атрибут"), QStringLiteral("Текст")});
    joins.appendRow({new QStandardItem(QStringLiteral("Type")), new QStandardItem(QStringLiteral(" "))});
    joins.appendRow({new QStandardItem(QStringLiteral("Value")), new QStandardItem(QStringLiteral(" ± "))});
    joins.appendRow({new QStandardItem(QStringLiteral("Tolerance")), new QStandardItem()});
    auto* join_grid = new EditableGrid(&grids);
    join_grid->setModel(&joins);
    join_grid->SetMode(EditableGrid::Mode::kPerColumn);
    join_grid->SetColumnEditor(0, {EditableGrid::EditorKind::kChoice, {"Type", "Value", "Tolerance", "ТУ"}});
    join_grid->setColumnWidth(0, 150);
    join_grid->setColumnWidth(1, 150);
    layout->addWidget(new QLabel(QStringLiteral("Соединение атрибутов")));
    layout->addWidget(join_grid);
    grids.resize(520, 330);
    grids.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grids));
    designation_grid->setCurrentIndex(designations.index(0, 1));
    QVERIFY(join_grid->OpenEditor(2, 1));
    auto* box = qobject_cast<QLineEdit*>(join_grid->open_editor());
    QVERIFY(box != nullptr);
    box->setText(QStringLiteral(", ТУ по ОСТ 11-074.009-78"));
    QTest::qWait(100);
    QVERIFY(grids.grab().save(folder + QStringLiteral("/editable-grid.png")));
    grids.close();

    // The print dialog with its scale tab, and the print preview of the bill, each grabbed while it is up.
    const auto shoot_modal = [&](auto* dialog, const QString& name) {
      QTest::qWait(300);
      QVERIFY(dialog->grab().save(folder + QStringLiteral("/") + name));
      dialog->reject();
    };
    WhenModal<QPrintDialog>([&](QPrintDialog* dialog) {
      // Opened out, with the scale tab chosen.
      for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text().contains(QStringLiteral(">>"))) button->click();
      }
      for (QTabWidget* tabs : dialog->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
          if (tabs->tabText(i) == QStringLiteral("Масштаб")) tabs->setCurrentIndex(i);
        }
      }
      shoot_modal(dialog, QStringLiteral("dialog-print.png"));
    });
    desktop_.window().action(Command::kPrint)->trigger();
    WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* dialog) {
      dialog->resize(1100, 800);
      shoot_modal(dialog, QStringLiteral("dialog-preview.png"));
    });
    desktop_.window().action(Command::kPrintPreview)->trigger();
    WhenModal<QPrintDialog>(
        [&](QPrintDialog* dialog) { shoot_modal(dialog, QStringLiteral("dialog-setup.png")); });
    desktop_.window().action(Command::kPrintSetup)->trigger();

    SplashScreen* splash = ShowSplash(60000);
    QVERIFY(splash != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QVERIFY(splash->grab().save(folder + QStringLiteral("/splash.png")));
    QTest::keyClick(splash, Qt::Key_Escape);  // any key closes it
    QTRY_VERIFY(!splash->isVisible());
  }

  // The element list window over the list of a real design (a sample when there is one, else the example)
  // and each of its dialogs.
  void elementListWindowAndItsDialogs() {
    const QString folder = qEnvironmentVariable("TALLYFORM_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("TALLYFORM_SCREENSHOTS is not set");
    QDir().mkpath(folder);
    QString design = QStringLiteral(TALLYFORM_SAMPLES "/TurboFMpro.sch");
    if (!QFileInfo::exists(design)) design = QStringLiteral(TALLYFORM_EXAMPLES "/amplifier.sch");
    QVERIFY(desktop_.Start());
    const document::Document empty(model::DocumentKind::kPurchasedBill);
    app::ElementListSession session(desktop_.application(), empty, desktop_.prompts(), desktop_.shell());
    WhenModal<DesignationsDialog>([](DesignationsDialog* dialog) { dialog->accept(); });
    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    session.AddElements(app::ElementSource::kAsciiDesign, Native(design), false);
    QTest::qWait(100);

    const auto shoot = [&](QWidget& widget, const QString& name) {
      widget.show();
      QVERIFY(QTest::qWaitForWindowExposed(&widget));
      QTest::qWait(150);
      QVERIFY(widget.grab().save(folder + QStringLiteral("/") + name));
      widget.close();
    };
    ElementListWindow window(session, desktop_.prompts(), &desktop_.window());
    window.resize(1000, 560);
    shoot(window, QStringLiteral("element-list-window.png"));
    AddElementsDialog add(&desktop_.window());
    add.sources()->setCurrentIndex(2);
    shoot(add, QStringLiteral("dialog-add-elements.png"));
    DesignationsDialog designations(session.data().designations, &desktop_.window());
    shoot(designations, QStringLiteral("dialog-designations.png"));
    KindsDialog kinds(session.KindRows(), &desktop_.window());
    shoot(kinds, QStringLiteral("dialog-kinds.png"));
    const std::vector<std::string> names(session.data().attribute_names.begin(),
                                         session.data().attribute_names.end());
    RolesDialog roles(session.ProposedRoles(), names, {}, &desktop_.window());
    shoot(roles, QStringLiteral("dialog-roles.png"));
    MappingDialog mapping(session.ProposedMapping(), session.OfferedTitles(), {}, &desktop_.window());
    shoot(mapping, QStringLiteral("dialog-mapping.png"));
    JoinDialog join(names, &desktop_.window());
    join.result()->setCurrentIndex(join.result()->findText(QStringLiteral("Type")));
    join.add_button()->click();
    auto* rows = static_cast<QStandardItemModel*>(join.grid()->model());
    rows->item(0, 0)->setText(QStringLiteral("Value"));
    rows->item(0, 1)->setText(QStringLiteral(" "));
    shoot(join, QStringLiteral("dialog-join.png"));
  }

  // The edit view over the list of elements of the example, and the cell text dialog.
  void editViewAndTheCellTextDialog() {
    const QString folder = qEnvironmentVariable("TALLYFORM_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("TALLYFORM_SCREENSHOTS is not set");
    QDir().mkpath(folder);
    const QString list = desktop_.FilledDocument(QStringLiteral("list"), QStringLiteral("amplifier_1.enum"));
    QVERIFY(!list.isEmpty());
    QVERIFY(desktop_.Start());
    desktop_.window().resize(1280, 900);
    DocumentWindow* doc = desktop_.window().OpenDocument(Native(list));
    QVERIFY(doc != nullptr);
    desktop_.window().action(Command::kEditMode)->trigger();
    EditView* view = doc->edit_view();
    QVERIFY(view != nullptr);
    view->grid()->setCurrentIndex(view->grid()->model()->index(4, 3));
    QTest::qWait(200);
    QVERIFY(desktop_.window().grab().save(folder + QStringLiteral("/edit-view.png")));

    const document::CCell& cell = doc->controller().document().sheets().sheet(0).cell(4, 2);
    CellTextDialog dialog(document::CellTextForm::Open(cell.text(), cell.attributes()), &desktop_.window());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::qWait(100);
    QVERIFY(dialog.grab().save(folder + QStringLiteral("/dialog-cell-text.png")));
    dialog.close();

    // The properties of RefDes2 over the layers and styles of a board.
    RefDes2Dialog refdes2(
        {QStringLiteral("Top"), QStringLiteral("Bottom"), QStringLiteral("Top Silk"),
         QStringLiteral("Top Assy")},
        {QStringLiteral("(Default)"), QStringLiteral("small")},
        {QStringLiteral("TOP"), QStringLiteral("BOTTOM"), QStringLiteral("LEFT"), QStringLiteral("RIGHT"),
         QStringLiteral("CENTER"), QStringLiteral("LOWER_LEFT"), QStringLiteral("LOWER_RIGHT"),
         QStringLiteral("UPPER_LEFT"), QStringLiteral("UPPER_RIGHT")},
        4, &desktop_.window());
    refdes2.show();
    QVERIFY(QTest::qWaitForWindowExposed(&refdes2));
    QTest::qWait(100);
    QVERIFY(refdes2.grab().save(folder + QStringLiteral("/dialog-refdes2.png")));
  }
};

int RunScreenshotsTests(int argc, char** argv) {
  ScreenshotsTest test;
  return QTest::qExec(&test, argc, argv);
}

}  // namespace tallyform::gui

#include "screenshots_test.moc"
