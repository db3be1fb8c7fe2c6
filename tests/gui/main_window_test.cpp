// The desktop program's windows as a user meets them: real widgets on the offscreen platform, every modal
// dialog answered as it opens.

#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "adapters/qt_system_info.h"
#include "adapters/qt_text_measurer.h"
#include "adapters/sheet_font.h"
#include "app/application.h"
#include "app/settings_file.h"
#include "gui/desktop.h"
#include "gui/dialogs.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/gui_test_support.h"
#include "gui/keyboard_locks.h"
#include "gui/open_requests.h"
#include "gui/page_view.h"
#include "gui/printing.h"
#include "gui/services.h"
#include "gui/splash_screen.h"
#include "gui/widget_prompts.h"
#include "support/fake_ports.h"
#include "support/random_designs.h"

namespace tallyform::gui {
namespace {

using testing::ChooseKind;
using testing::Native;
using testing::WhenModal;

QStringList MenuTitles(QMainWindow& window) {
  QStringList titles;
  for (QAction* menu : window.menuBar()->actions()) titles.append(menu->text());
  return titles;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  // A fresh program folder and main window for each test.
  void Start() {
    window_.reset();
    application_ = std::make_unique<app::Application>(Native(home_->path()));
    settings_ = std::make_unique<app::SettingsFile>(app::SettingsFile::In(Native(home_->path())));
    services_ = std::make_unique<Services>(
        Services{*application_, prompts_, *settings_, system_, shell_, *measurer_});
    window_ = std::make_unique<MainWindow>(*services_);
    prompts_.SetParent(window_.get());
    window_->resize(1000, 800);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  // A list of elements filled by the command-line program from the example design, with one history record.
  QString FilledDocument(const QString& kind, const QString& name) {
    const QString out = home_->filePath(name);
    QProcess cli;
    cli.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    cli.start(QStringLiteral(TALLYFORM_CLI),
              {QStringLiteral("fill"), QStringLiteral("--kind"), kind,
               QStringLiteral(TALLYFORM_EXAMPLES) + QStringLiteral("/amplifier.sch"), QStringLiteral("-o"),
               out, QStringLiteral("--editor"), QStringLiteral("Петров П.")});
    cli.waitForFinished(60000);
    return cli.exitCode() == 0 ? out : QString();
  }

  std::unique_ptr<QTemporaryDir> home_;
  std::unique_ptr<app::Application> application_;
  std::unique_ptr<app::SettingsFile> settings_;
  adapters::QtSystemInfo system_;
  // Records what the desktop would be asked to open instead of opening it.
  testing::FakeShell shell_;
  std::unique_ptr<adapters::QtTextMeasurer> measurer_;
  WidgetPrompts prompts_;
  std::unique_ptr<Services> services_;
  std::unique_ptr<MainWindow> window_;

 private slots:
  void initTestCase() {
    home_ = std::make_unique<QTemporaryDir>();
    QVERIFY(home_->isValid());
    qputenv("TALLYFORM_HOME", QFile::encodeName(home_->path()));
    measurer_ = std::make_unique<adapters::QtTextMeasurer>();
  }

  void cleanup() { window_.reset(); }

  void helpOpensTheShippedGuideFromTheProgramFolder() {
    Start();
    shell_.opened.clear();
    QVERIFY(window_->action(Command::kHelp)->isEnabled());
    QCOMPARE(window_->action(Command::kHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    window_->action(Command::kHelp)->trigger();
    QCOMPARE(shell_.opened.size(), std::size_t{1});
    const std::filesystem::path guide = Native(home_->path()) / kGuideFile;
    QCOMPARE(shell_.opened[0], guide);
    QFile file(QString::fromStdString(guide.string()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* expected : {"Перечень элементов", "Ведомость покупных изделий", "Page Down", "Ctrl+S"}) {
      QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    }
  }

  void startsUpInOrderMainWindowFirstThenKindsThenShown() {
    QTemporaryDir folder;
    const std::filesystem::path path = Native(folder.path());
    Desktop desktop(path);
    // The main window exists before the kinds are loaded, and it is not shown yet.
    QVERIFY(!desktop.window().isVisible());
    QVERIFY(!desktop.application().started());
    QVERIFY(!std::filesystem::exists(path / "ElementNames.map"));
    desktop.StartUp(/*splash=*/false);
    QVERIFY(desktop.application().started());
    QVERIFY(std::filesystem::exists(path / "ElementNames.map"));
    QVERIFY(desktop.window().isVisible());
    QVERIFY(desktop.window().isMaximized());
    QVERIFY(desktop.window().ActiveDocument() == nullptr);
  }

  void theDesktopEntryStartsFromTheMenuWithoutAFile() {
    // "tallyform --open %f" from the menu has no file: a plain start, not a command-line error.
    QCOMPARE(WithoutEmptyOpen({"tallyform", "--open"}), QStringList{"tallyform"});
    QCOMPARE(WithoutEmptyOpen({"tallyform", "--nosplash", "--open="}),
             (QStringList{"tallyform", "--nosplash"}));
    QCOMPARE(WithoutEmptyOpen({"tallyform", "--open", "a.enum"}),
             (QStringList{"tallyform", "--open", "a.enum"}));
    QCOMPARE(WithoutEmptyOpen({"tallyform"}), QStringList{"tallyform"});
    QFile entry(QStringLiteral(TALLYFORM_SOURCE_DIR) + QStringLiteral("/resources/tallyform.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(entry.readAll()).contains(QStringLiteral("\nExec=tallyform --open %f\n")));
  }

  void aRunningProgramTakesTheDocumentsTheDesktopOpens() {
    QTemporaryDir folder;
    const QString server = OpenRequests::ServerName(Native(folder.path()));
    QCOMPARE(OpenRequests::ServerName(Native(folder.path() + QStringLiteral("/."))), server);
    QVERIFY(server != OpenRequests::ServerName(Native(home_->path())));
    QVERIFY(!OpenRequests::SendToRunning(server, QStringLiteral("a.enum")));  // nobody runs yet

    OpenRequests running;
    QVERIFY(running.Listen(server));
    OpenRequests second;
    QVERIFY(!second.Listen(server));  // one program per folder takes the requests
    QStringList asked;
    connect(&running, &OpenRequests::openRequested, [&asked](const QString& file) { asked.append(file); });
    // The sender waits for the answer, so the running program's side runs on a thread of its own here.
    bool sent = false;
    std::thread sender([&] {
      sent = OpenRequests::SendToRunning(server, folder.filePath(QStringLiteral("с пробелом.enum")));
    });
    QTRY_COMPARE(asked.size(), 1);
    sender.join();
    QVERIFY(sent);
    QCOMPARE(asked.front(), folder.filePath(QStringLiteral("с пробелом.enum")));
  }

  void startsEmptyWithTheMenusOfNoDocument() {
    Start();
    QCOMPARE(MenuTitles(*window_), (QStringList{"&Файл", "&Сервис", "&Вид", "&Справка"}));
    QVERIFY(window_->ActiveDocument() == nullptr);
    QVERIFY(window_->action(Command::kNew)->isEnabled());
    QVERIFY(!window_->action(Command::kSave)->isEnabled());
    QVERIFY(!window_->action(Command::kNextSheet)->isEnabled());
    QVERIFY(!window_->pane(Pane::kEditor)->isEnabled());
    QVERIFY(!window_->pane(Pane::kSheet)->isEnabled());
    QCOMPARE(window_->action(Command::kNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QVERIFY(!window_->action(Command::kAssembly)->isEnabled());  // not built yet: present, disabled
    // The message pane says "Готово" between the status texts of the commands pointed at.
    QLabel* idle = nullptr;
    for (QLabel* label : window_->statusBar()->findChildren<QLabel*>()) {
      if (label->text() == QStringLiteral("Готово")) idle = label;
    }
    QVERIFY(idle != nullptr && idle->isVisible());
    window_->action(Command::kOpen)->showStatusText(window_->menuBar());
    QCOMPARE(window_->statusBar()->currentMessage(), QStringLiteral("Открыть существующий документ"));
    QVERIFY(!idle->isVisible());
    window_->statusBar()->clearMessage();
    QVERIFY(idle->isVisible());
    // Without a windowing system to ask, the lock indicators stay greyed.
    QCOMPARE(window_->LockIndicators().size(), 3);
    if (!QueryLockStates()) {
      for (QLabel* indicator : window_->LockIndicators()) QVERIFY(!indicator->isEnabled());
    }
    QVERIFY(std::filesystem::exists(application_->ElementNamesPath()));
  }

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

  void newMakesADocumentOfEachKindInItsOwnMaximisedNumberedWindow() {
    Start();
    for (int kind = 0; kind < 3; ++kind) {
      ChooseKind(kind);
      window_->action(Command::kNew)->trigger();
      DocumentWindow* active = window_->ActiveDocument();
      QVERIFY(active != nullptr);
      QCOMPARE(static_cast<int>(active->controller().document().kind()), kind);
      QVERIFY(active->isMaximized());
      QCOMPARE(active->windowTitle(), QStringLiteral("Enumeration%1").arg(kind + 1));
      QCOMPARE(window_->windowTitle(), QStringLiteral("Tallyform - [Enumeration%1]").arg(kind + 1));
      QCOMPARE(static_cast<int>(application_->document_kind()), kind);
    }
    QCOMPARE(window_->Documents().size(), 3);
    QCOMPARE(MenuTitles(*window_), (QStringList{"&Файл", "&Правка", "&Документ", "&Настройка", "&Вид",
                                                "&Сервис", "&Окно", "&Справка"}));
    QCOMPARE(window_->pane(Pane::kSheet)->text(), QStringLiteral("Лист 1"));
    QCOMPARE(window_->pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/1"));
    QVERIFY(!window_->pane(Pane::kEditor)->isEnabled());  // no editor before the first save
    QVERIFY(!window_->action(Command::kNextSheet)->isEnabled());
    QVERIFY(window_->action(Command::kSave)->isEnabled());

    // "Отмена" in the kind choice makes nothing.
    WhenModal<KindChoiceDialog>([](KindChoiceDialog* dialog) { dialog->reject(); });
    window_->action(Command::kNew)->trigger();
    QCOMPARE(window_->Documents().size(), 3);

    // A new document has no list to fill from: the command waits for one (it once said that the files
    // read held no elements, though none had been read).
    QVERIFY(!window_->action(Command::kFill)->isEnabled());
  }

  void theWindowMenuListsTheDocumentsAndSwitchesBetweenThem() {
    Start();
    ChooseKind(0);
    window_->action(Command::kNew)->trigger();
    QVERIFY(!window_->action(Command::kNextWindow)->isEnabled());  // one document: nowhere to go
    ChooseKind(1);
    window_->action(Command::kNew)->trigger();
    QVERIFY(window_->action(Command::kNextWindow)->isEnabled());
    QCOMPARE(window_->ActiveDocument()->windowTitle(), QStringLiteral("Enumeration2"));

    QMenu* menu = nullptr;
    for (QAction* item : window_->menuBar()->actions()) {
      if (item->text() == QStringLiteral("&Окно")) menu = item->menu();
    }
    QVERIFY(menu != nullptr);
    emit menu->aboutToShow();
    QStringList lines;
    QAction* first = nullptr;
    for (QAction* item : menu->actions()) {
      if (item->isCheckable()) {
        lines.append(item->text() + (item->isChecked() ? QStringLiteral(" *") : QString()));
        if (first == nullptr) first = item;
      }
    }
    QCOMPARE(lines, (QStringList{"&1 Enumeration1", "&2 Enumeration2 *"}));
    first->trigger();
    QCOMPARE(window_->ActiveDocument()->windowTitle(), QStringLiteral("Enumeration1"));
    QVERIFY(window_->ActiveDocument()->isMaximized());
    window_->action(Command::kNextWindow)->trigger();
    QCOMPARE(window_->ActiveDocument()->windowTitle(), QStringLiteral("Enumeration2"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tallyform - [Enumeration2]"));

    window_->action(Command::kClose)->trigger();
    QTRY_COMPARE(window_->Documents().size(), 1);
    QVERIFY(!window_->action(Command::kNextWindow)->isEnabled());
    QCOMPARE(window_->ActiveDocument()->windowTitle(), QStringLiteral("Enumeration1"));
  }

  void pagesAndZoomsAFilledDocument() {
    const QString file = FilledDocument(QStringLiteral("list"), QStringLiteral("list_1.enum"));
    QVERIFY(!file.isEmpty());
    Start();
    DocumentWindow* doc = window_->OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    QCOMPARE(doc->windowTitle(), QStringLiteral("list_1.enum"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tallyform - [list_1.enum]"));
    const int sheets = static_cast<int>(doc->controller().document().sheets().sheet_count());
    QVERIFY(sheets >= 2);
    QCOMPARE(window_->pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/%1").arg(sheets));
    QCOMPARE(window_->pane(Pane::kEditor)->text(), QStringLiteral("Редактировал: Петров П."));
    QVERIFY(window_->pane(Pane::kEditor)->isEnabled());

    // The sheet is drawn: the window holds more than the grey around the sheet and the white of the paper.
    PageView& view = doc->view();
    const QImage shown = view.viewport()->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); y += 2) {
      for (int x = 0; x < shown.width(); x += 2) dark += qGray(shown.pixel(x, y)) < 64;
    }
    QVERIFY(dark > 100);

    QVERIFY(window_->action(Command::kNextSheet)->isEnabled());
    QVERIFY(!window_->action(Command::kPreviousSheet)->isEnabled());
    QTest::keyClick(&view, Qt::Key_PageDown);
    QCOMPARE(view.state().current_sheet(), 2);
    QCOMPARE(window_->pane(Pane::kSheet)->text(), QStringLiteral("Лист 2"));
    window_->action(Command::kLastSheet)->trigger();
    QCOMPARE(view.state().current_sheet(), sheets);
    QVERIFY(!window_->action(Command::kNextSheet)->isEnabled());
    QTest::keyClick(&view, Qt::Key_PageUp);
    QCOMPARE(view.state().current_sheet(), sheets - 1);
    window_->action(Command::kFirstSheet)->trigger();
    QCOMPARE(window_->pane(Pane::kSheetOfSheets)->text(), QStringLiteral("1/%1").arg(sheets));

    // Zoom-in mode: a click zooms and centres; the page grows beyond the window and can be scrolled.
    QCOMPARE(view.cursor_shown().shape(), Qt::ArrowCursor);
    window_->action(Command::kZoomIn)->trigger();
    QVERIFY(window_->action(Command::kZoomIn)->isChecked());
    QCOMPARE(view.cursor_shown().shape(), Qt::BitmapCursor);
    const QImage zoom_in_cursor = view.cursor_shown().pixmap().toImage();
    for (int i = 0; i < 3; ++i) {
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.viewport()->rect().center());
    }
    QCOMPARE(view.state().zoom_step(), 3);
    QVERIFY(view.verticalScrollBar()->maximum() > 0);
    window_->action(Command::kZoomOut)->trigger();
    QVERIFY(!window_->action(Command::kZoomIn)->isChecked());
    QCOMPARE(view.cursor_shown().shape(), Qt::BitmapCursor);
    QVERIFY(view.cursor_shown().pixmap().toImage() != zoom_in_cursor);
    QTest::keyClick(&view, Qt::Key_Minus);
    QCOMPARE(view.state().zoom_step(), 2);
    window_->action(Command::kWholeSheet)->trigger();
    QCOMPARE(view.state().zoom_step(), 0);
    window_->action(Command::kZoomOut)->trigger();  // off again: the plain cursor
    QCOMPARE(view.cursor_shown().shape(), Qt::ArrowCursor);

    // Opening the same file again shows its window instead of a second one.
    QCOMPARE(window_->OpenDocument(Native(file)), doc);
    QCOMPARE(window_->Documents().size(), 1);
  }

  void savesUnderTheNextVersionWithTheEditorAndShowsTheHistory() {
    const QString file = FilledDocument(QStringLiteral("bill"), QStringLiteral("bill_1.enum"));
    QVERIFY(!file.isEmpty());
    Start();
    DocumentWindow* doc = window_->OpenDocument(Native(file));
    QVERIFY(doc != nullptr);

    // Save offers bill_2.enum; the editor dialog proposes a name, and the typed one is kept.
    QString proposed;
    WhenModal<QFileDialog>([&proposed](QFileDialog* dialog) {
      proposed = dialog->selectedFiles().value(0);
      static_cast<QDialog*>(dialog)->accept();
    });
    QTimer::singleShot(0, [] {
      WhenModal<EditorDialog>([](EditorDialog* dialog) {
        dialog->field()->setText(QStringLiteral("Иванов И."));
        dialog->accept();
      });
    });
    window_->action(Command::kSave)->trigger();
    const QString saved = home_->filePath(QStringLiteral("bill_2.enum"));
    QCOMPARE(proposed, saved);
    QVERIFY(QFileInfo::exists(saved));
    QCOMPARE(doc->windowTitle(), QStringLiteral("bill_2.enum"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tallyform - [bill_2.enum]"));
    QCOMPARE(window_->pane(Pane::kEditor)->text(), QStringLiteral("Редактировал: Иванов И."));
    QCOMPARE(window_->RecentFiles().value(0), saved);

    window_->action(Command::kClose)->trigger();
    QTRY_COMPARE(window_->Documents().size(), 0);
    QCOMPARE(MenuTitles(*window_).size(), 4);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tallyform"));

    DocumentWindow* reopened = window_->OpenDocument(Native(saved));
    QVERIFY(reopened != nullptr);
    QCOMPARE(static_cast<int>(reopened->controller().document().kind()), 1);
    QStringList editors;
    WhenModal<HistoryDialog>([&editors](HistoryDialog* dialog) {
      for (int i = 0; i < dialog->list()->topLevelItemCount(); ++i) {
        editors.append(dialog->list()->topLevelItem(i)->text(1));
      }
      dialog->accept();
    });
    window_->action(Command::kHistory)->trigger();
    QCOMPARE(editors, (QStringList{"Петров П.", "Иванов И."}));
  }

  void fillsAgainAndAsksToSaveBeforeClosing() {
    const QString file = FilledDocument(QStringLiteral("simple"), QStringLiteral("simple_1.enum"));
    QVERIFY(!file.isEmpty());
    Start();
    DocumentWindow* doc = window_->OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    const std::size_t sheets = doc->controller().document().sheets().sheet_count();
    // The example's values are partly off their series: the report is offered.
    bool offered = false;
    WhenModal<QMessageBox>([&offered](QMessageBox* box) {
      offered = box->text().contains(QStringLiteral("Показать отчет?"));
      box->button(QMessageBox::No)->click();
    });
    window_->action(Command::kFill)->trigger();
    QVERIFY(offered);
    QVERIFY(doc->controller().modified());
    QCOMPARE(doc->controller().document().sheets().sheet_count(), sheets);

    bool asked = false;
    WhenModal<QMessageBox>([&asked](QMessageBox* box) {
      asked = true;
      box->button(QMessageBox::Cancel)->click();
    });
    window_->action(Command::kClose)->trigger();
    QVERIFY(asked);
    QCOMPARE(window_->Documents().size(), 1);  // "Отмена" keeps it open

    WhenModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    window_->action(Command::kClose)->trigger();
    QTRY_COMPARE(window_->Documents().size(), 0);
  }

  void editKeysReachTextFieldsAndNeverTheDocument() {
    const QString file = FilledDocument(QStringLiteral("list"), QStringLiteral("keys_1.enum"));
    QVERIFY(!file.isEmpty());
    Start();
    DocumentWindow* doc = window_->OpenDocument(Native(file));
    QVERIFY(doc != nullptr);
    PageView& view = doc->view();
    view.setFocus();
    const std::size_t sheets = doc->controller().document().sheets().sheet_count();
    QTest::keyClick(&view, Qt::Key_PageDown);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_X),
          QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_V),
          QKeySequence(Qt::ALT | Qt::Key_Backspace), QKeySequence(Qt::SHIFT | Qt::Key_Delete),
          QKeySequence(Qt::SHIFT | Qt::Key_Insert)}) {
      QTest::keySequence(window_.get(), keys);
      QTest::keySequence(&view, keys);
    }
    QVERIFY(!doc->controller().modified());
    QCOMPARE(doc->controller().document().sheets().sheet_count(), sheets);
    QCOMPARE(view.state().current_sheet(), 2);
    // No command of the program answers to them.
    for (QAction* action : window_->findChildren<QAction*>()) {
      for (const QKeySequence& keys : action->shortcuts()) {
        QVERIFY2(keys != QKeySequence(Qt::CTRL | Qt::Key_Z) && keys != QKeySequence(Qt::CTRL | Qt::Key_X) &&
                     keys != QKeySequence(Qt::CTRL | Qt::Key_C) && keys != QKeySequence(Qt::CTRL | Qt::Key_V),
                 qPrintable(action->text()));
      }
    }

    // In a text field they cut, paste and undo.
    EditorDialog dialog(QStringLiteral("Петров П."), window_.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* field = dialog.field();
    QCOMPARE(field->selectedText(), QStringLiteral("Петров П."));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(field->text(), QString());
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_V));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(field->text(), QStringLiteral("Петров П.Петров П."));
    QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(field->text(), QStringLiteral("Петров П."));
    dialog.reject();
    QVERIFY(!doc->controller().modified());
  }

  // Documents of every kind filled from made-up designs, opened and read through as a user would: every
  // sheet by Page Down and by the wheel and back, the whole zoom range, printed at both scales. After each
  // step the panes, the enabled sheet commands and the sheet shown must agree with the document.
  void generatedDocumentsOfEveryKindReadThroughZoomedAndPrinted() {
    Start();
    testing::FakeFillPorts ports(Native(home_->path()) / "generated-errors.log");
    const document::FillTools tools{*measurer_, ports.kinds, ports.series, ports.check.report_path()};
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
        const std::filesystem::path file = Native(home_->path()) / ("generated" + std::to_string(seed) + "-" +
                                                                    std::to_string(int(kind)) + "_1.enum");
        session.Save(file, std::nullopt, system_);
        DocumentWindow* doc = window_->OpenDocument(file);
        QVERIFY2(doc != nullptr, qPrintable(label));
        PageView& view = doc->view();
        QCOMPARE(static_cast<int>(doc->controller().document().sheets().sheet_count()), count);
        QCOMPARE(doc->controller().document().fill_parameters().gap, filled.fill_parameters().gap);
        ++documents;
        most_sheets = std::max(most_sheets, count);

        const auto agrees = [&](int sheet) {
          QCOMPARE(view.state().current_sheet(), sheet);
          QCOMPARE(view.state().sheet_count(), count);
          QCOMPARE(window_->pane(Pane::kSheet)->text(), QStringLiteral("Лист %1").arg(sheet));
          QCOMPARE(window_->pane(Pane::kSheetOfSheets)->text(),
                   QStringLiteral("%1/%2").arg(sheet).arg(count));
          QCOMPARE(window_->action(Command::kNextSheet)->isEnabled(), sheet != count);
          QCOMPARE(window_->action(Command::kPreviousSheet)->isEnabled(), sheet != 1);
          QCOMPARE(window_->action(Command::kFirstSheet)->isEnabled(), sheet > 1);
          QCOMPARE(window_->action(Command::kLastSheet)->isEnabled(), sheet < count);
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
        window_->action(Command::kWholeSheet)->trigger();
        QCOMPARE(view.state().zoom_step(), 0);

        // Printed: one page per sheet at either scale; nothing printed changes the document.
        for (const PrintScale scale : {PrintScale::kTrueSize, PrintScale::kFitPrintable}) {
          const QString pdf = home_->filePath(QStringLiteral("generated.pdf"));
          QFile::remove(pdf);
          QPrinter printer(QPrinter::HighResolution);
          printer.setOutputFormat(QPrinter::PdfFormat);
          printer.setOutputFileName(pdf);
          PrintDocument(doc->controller().document().sheets(), printer, scale, {1, count}, family);
          QVERIFY2(QFileInfo(pdf).size() > 1000 * count, qPrintable(label));
        }
        QVERIFY(!doc->controller().modified());
        doc->close();
        QTRY_COMPARE(window_->Documents().size(), 0);
      }
    }
    QCOMPARE(documents, 15);
    QVERIFY(most_sheets >= 4);  // the designs run over several sheets
  }

  void printsTheChosenSheetsToAPdfPrinter() {
    const QString file = FilledDocument(QStringLiteral("list"), QStringLiteral("print_1.enum"));
    QVERIFY(!file.isEmpty());
    Start();
    DocumentWindow* doc = window_->OpenDocument(Native(file));
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
      window_->action(Command::kPrint)->trigger();
    };
    // The printer set-up chooses and prints nothing: its button says so.
    QString setup_button;
    WhenModal<QPrintDialog>([&setup_button](QPrintDialog* dialog) {
      for (QDialogButtonBox* buttons : dialog->findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) setup_button = ok->text();
      }
      dialog->reject();
    });
    window_->action(Command::kPrintSetup)->trigger();
    QCOMPARE(setup_button, QStringLiteral("OK"));

    const QString all = home_->filePath(QStringLiteral("all.pdf"));
    const QString second = home_->filePath(QStringLiteral("second.pdf"));
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

  // With TALLYFORM_SCREENSHOTS naming a folder, the main window with a list of elements and with a bill of
  // purchased items is saved there as PNG, to look at as a user would (run it under Xvfb for a real screen).
  void screenshots() {
    const QString folder = qEnvironmentVariable("TALLYFORM_SCREENSHOTS");
    if (folder.isEmpty()) QSKIP("TALLYFORM_SCREENSHOTS is not set");
    QDir().mkpath(folder);
    const QString list = FilledDocument(QStringLiteral("list"), QStringLiteral("amplifier_1.enum"));
    const QString bill = FilledDocument(QStringLiteral("bill"), QStringLiteral("amplifier-bill_1.enum"));
    QVERIFY(!list.isEmpty() && !bill.isEmpty());
    Start();
    window_->resize(1280, 900);
    QVERIFY(window_->OpenDocument(Native(list)) != nullptr);
    QTest::qWait(200);
    QVERIFY(window_->grab().save(folder + QStringLiteral("/main-window-list.png")));
    QVERIFY(window_->OpenDocument(Native(bill)) != nullptr);
    QTest::qWait(200);
    QVERIFY(window_->grab().save(folder + QStringLiteral("/main-window-bill.png")));

    // The dialogs, each as it opens.
    const auto shoot = [&](QDialog& dialog, const QString& name) {
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      QTest::qWait(100);
      QVERIFY(dialog.grab().save(folder + QStringLiteral("/") + name));
      dialog.close();
    };
    KindChoiceDialog kinds(model::DocumentKind::kElementList, window_.get());
    shoot(kinds, QStringLiteral("dialog-kind.png"));
    EditorDialog editor(QStringLiteral("Петров П."), window_.get());
    shoot(editor, QStringLiteral("dialog-editor.png"));
    HistoryDialog history(document::Document::FromFile(Native(bill)).history(), window_.get());
    shoot(history, QStringLiteral("dialog-history.png"));
    AboutDialog about(window_.get());
    shoot(about, QStringLiteral("dialog-about.png"));

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
    window_->action(Command::kPrint)->trigger();
    WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* dialog) {
      dialog->resize(1100, 800);
      shoot_modal(dialog, QStringLiteral("dialog-preview.png"));
    });
    window_->action(Command::kPrintPreview)->trigger();
    WhenModal<QPrintDialog>(
        [&](QPrintDialog* dialog) { shoot_modal(dialog, QStringLiteral("dialog-setup.png")); });
    window_->action(Command::kPrintSetup)->trigger();

    SplashScreen* splash = ShowSplash(60000);
    QVERIFY(splash != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(splash));
    QVERIFY(splash->grab().save(folder + QStringLiteral("/splash.png")));
    QTest::keyClick(splash, Qt::Key_Escape);  // any key closes it
    QTRY_VERIFY(!splash->isVisible());
  }

  void documentsDroppedOnTheWindowOpen() {
    const QString list = FilledDocument(QStringLiteral("list"), QStringLiteral("dropped_1.enum"));
    const QString bill = FilledDocument(QStringLiteral("bill"), QStringLiteral("dropped-bill_1.enum"));
    QVERIFY(!list.isEmpty() && !bill.isEmpty());
    Start();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(list), QUrl::fromLocalFile(bill),
                  QUrl(QStringLiteral("https://example.org/a.enum"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    QTRY_COMPARE(window_->Documents().size(), 2);
    QCOMPARE(window_->ActiveDocument()->windowTitle(), QStringLiteral("dropped-bill_1.enum"));

    // Text that names no file is not taken.
    QMimeData text;
    text.setText(QStringLiteral("dropped_1.enum"));
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window_.get(), &refused);
    QVERIFY(!refused.isAccepted());
  }

  void damagedOrUnreadableFilesAreReportedAndOpenNothing() {
    Start();
    const QString garbage = home_->filePath(QStringLiteral("garbage_1.enum"));
    const QString cut = home_->filePath(QStringLiteral("cut_1.enum"));
    const QString list = FilledDocument(QStringLiteral("list"), QStringLiteral("whole_1.enum"));
    QVERIFY(!list.isEmpty());
    {
      QFile file(garbage);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(3000, '\x7f'));
      QFile whole(list);
      QVERIFY(whole.open(QIODevice::ReadOnly));
      QFile part(cut);
      QVERIFY(part.open(QIODevice::WriteOnly));
      part.write(whole.read(whole.size() / 2));
    }
    const QStringList before = window_->RecentFiles();
    for (const QString& bad :
         {garbage, cut, home_->path(), home_->filePath(QStringLiteral("missing_1.enum"))}) {
      QString told;
      WhenModal<QMessageBox>([&told](QMessageBox* box) {
        told = box->text();
        box->accept();
      });
      QVERIFY(window_->OpenDocument(Native(bad)) == nullptr);
      QVERIFY2(!told.isEmpty(), qPrintable(bad));
      QVERIFY(window_->Documents().isEmpty());
      QCOMPARE(window_->RecentFiles(), before);
    }
    QVERIFY(QApplication::overrideCursor() == nullptr);  // the wait cursor is gone again
  }

  void aRecentFileThatIsGoneIsReportedAndRemoved() {
    const QString kept = FilledDocument(QStringLiteral("list"), QStringLiteral("kept_1.enum"));
    QVERIFY(!kept.isEmpty());
    {
      // As an earlier version wrote the list, through Qt's settings.
      QSettings settings(QFile::decodeName(app::SettingsFile::In(Native(home_->path())).c_str()),
                         QSettings::IniFormat);
      settings.remove(QStringLiteral("Recent File List"));
      settings.setValue(QStringLiteral("Recent File List/File1"),
                        home_->filePath(QStringLiteral("gone_1.enum")));
      settings.setValue(QStringLiteral("Recent File List/File2"), kept);
    }
    Start();
    QCOMPARE(window_->RecentFiles().size(), 2);
    QAction* first = nullptr;
    for (QAction* item : window_->menuBar()->actions().front()->menu()->actions()) {
      if (item->text().startsWith(QStringLiteral("&1 "))) first = item;
    }
    QVERIFY(first != nullptr);
    QCOMPARE(first->text(), QStringLiteral("&1 gone_1.enum"));
    bool warned = false;
    WhenModal<QMessageBox>([&warned](QMessageBox* box) {
      warned = box->text().contains(QStringLiteral("gone_1.enum"));
      box->accept();
    });
    first->trigger();
    QVERIFY(warned);
    QCOMPARE(window_->RecentFiles(), QStringList{kept});
    QVERIFY(window_->Documents().isEmpty());
  }
};

}  // namespace tallyform::gui

#include "main_window_test.moc"

namespace tallyform::gui {
int RunMainWindowTests(int argc, char** argv) {
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}
}  // namespace tallyform::gui
