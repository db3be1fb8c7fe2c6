// The main window's commands: the table every menu, the toolbar, the enabling and the dispatch are made
// from, and the command each row runs.

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QStatusBar>
#include <QToolBar>
#include <QWhatsThis>
#include <optional>
#include <string>

#include "app/application.h"
#include "app/assembly_drawing.h"
#include "gui/assembly_dialogs.h"
#include "gui/dialogs.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/error_boundary.h"
#include "gui/file_dialogs.h"
#include "gui/main_window.h"
#include "gui/page_view.h"
#include "gui/print_dialogs.h"
#include "gui/services.h"
#include "model/errors.h"
#include "model/file_writing.h"
#include "ports/prompts.h"
#include "ports/shell.h"
#include "text/literal.h"

namespace tallyform::gui {
namespace {

using namespace menu;
using namespace tallyform::text::literals;
constexpr QKeyCombination kNoKey{};
// The toolbar's groups, each after a separator.
constexpr unsigned kBar = kToolbar;
constexpr unsigned kNewGroup = kToolbar;

}  // namespace

std::span<const CommandRow> MainWindow::Commands() {
  using C = Command;
  using E = Enabling;
  using K = Check;
  using W = MainWindow;
  // Rows in the order the menus and the toolbar show them.
  static const CommandRow kRows[] = {
      {C::kNew, "&Новый", "Создать новый документ", "new", Qt::CTRL | Qt::Key_N, kFile | kBareFile | kBar, 0,
       E::kAlways, K::kNone, &W::NewCommand},
      {C::kOpen, "&Открыть...", "Открыть существующий документ", "open", Qt::CTRL | Qt::Key_O,
       kFile | kBareFile | kBar, 0, E::kAlways, K::kNone, &W::OpenCommand},
      {C::kClose, "&Закрыть", "Закрыть активный документ", nullptr, kNoKey, kFile, 0, E::kDocument, K::kNone,
       &W::CloseCommand},
      {C::kSave, "&Сохранить", "Сохранить активный документ", "save", Qt::CTRL | Qt::Key_S, kFile | kBar, 0,
       E::kDocument, K::kNone, &W::SaveCommand},
      {C::kSaveAs, "Сохранить &как...", "Сохранить активный документ под новым именем", nullptr, kNoKey,
       kFile, 0, E::kDocument, K::kNone, &W::SaveAsCommand},
      {C::kPrint, "&Печать...", "Вывести на печать активный документ", "print", Qt::CTRL | Qt::Key_P,
       kFile | kBar, kFile | kNewGroup, E::kDocument, K::kNone, &W::PrintCommand},
      {C::kPrintPreview, "Предвар&ительный просмотр",
       "Предварительный просмотр выводимых на принтер листов документа", nullptr, kNoKey, kFile, 0,
       E::kDocument, K::kNone, &W::PrintPreviewCommand},
      {C::kPrintSetup, "П&араметры печати...", "Выбрать принтер и параметры печати", nullptr, kNoKey,
       kFile | kBareFile, kBareFile, E::kAlways, K::kNone, &W::PrintSetupCommand},
      {C::kExit, "В&ыход", "Выйти из программы; будет предложено сохранить документы", nullptr, kNoKey,
       kFile | kBareFile, kFile | kBareFile, E::kAlways, K::kNone, &W::ExitCommand},
      {C::kUndo, "&Отменить", "Отменить последнее изменение документа", "undo", kNoKey, kEdit | kBar,
       kNewGroup, E::kUndo, K::kNone, &W::UndoCommand},
      {C::kRedo, "&Вернуть", "Вернуть отмененное изменение документа", "redo", kNoKey, kEdit | kBar, 0,
       E::kRedo, K::kNone, &W::RedoCommand},
      {C::kFill, "&Заполнить документ", "Заполнить документ по списку элементов", "fill", kNoKey,
       kDocument | kBar, kNewGroup, E::kFill, K::kNone, &W::FillCommand},
      {C::kTitleBlock, "З&аполнить основную надпись", "Заполнить поля основной надписи", "titleblock", kNoKey,
       kDocument | kBar, 0, E::kTitleBlock, K::kNone, &W::TitleBlockCommand},
      {C::kProducts, "За&дать количество изделий", "Задать количество изделий в простой ведомости ПИ",
       nullptr, kNoKey, kDocument, 0, E::kProducts, K::kNone, &W::ProductsCommand},
      {C::kEditMode, "&Редактировать документ", "Вкл/выкл режим редактирования документа", "edit", kNoKey,
       kDocument | kBar, 0, E::kDocument, K::kEditMode, &W::EditModeCommand},
      {C::kChangeEditor, "&Изменить редактора документа", "Изменить фамилию и имя редактора документа",
       "editor", kNoKey, kDocument | kBar, kDocument | kNewGroup, E::kDocument, K::kNone,
       &W::ChangeEditorCommand},
      {C::kHistory, "И&стория документа", "Показать историю редактирования документа", "history", kNoKey,
       kDocument | kBar, 0, E::kDocument, K::kNone, &W::HistoryCommand},
      {C::kFont, "&Шрифт", "Настройка размеров шрифта", nullptr, kNoKey, kSetup, 0, E::kTextHeights, K::kNone,
       &W::FontCommand},
      {C::kLines, "&Линии", "Настройка толщины линий", nullptr, kNoKey, kSetup, 0, E::kLineWidths, K::kNone,
       &W::LinesCommand},
      {C::kToolbar, "&Панель инструментов", "Показать или скрыть панель инструментов", nullptr, kNoKey,
       kView | kBareView, 0, E::kAlways, K::kToolbar, &W::ToolbarCommand},
      {C::kStatusBar, "&Строка состояния", "Показать или скрыть строку состояния", nullptr, kNoKey,
       kView | kBareView, 0, E::kAlways, K::kStatusBar, &W::StatusBarCommand},
      {C::kFirstSheet, "Перв&ый лист", "Перейти на первый лист документа", "first", kNoKey, kGoTo | kBar,
       kNewGroup, E::kFirstSheet, K::kNone, &W::FirstSheetCommand},
      {C::kPreviousSheet, "Пре&дыдущий лист", "Перейти на предыдущий лист документа", "previous", kNoKey,
       kGoTo | kBar, 0, E::kPreviousSheet, K::kNone, &W::PreviousSheetCommand},
      {C::kNextSheet, "С&ледующий лист", "Перейти на следующий лист документа", "next", kNoKey, kGoTo | kBar,
       0, E::kNextSheet, K::kNone, &W::NextSheetCommand},
      {C::kLastSheet, "После&дний лист", "Перейти на последний лист документа", "last", kNoKey, kGoTo | kBar,
       0, E::kLastSheet, K::kNone, &W::LastSheetCommand},
      {C::kZoomIn, "&Режим увеличения изображения", "Вкл/выкл режим увеличения изображения", "zoomin", kNoKey,
       kZoom | kBar, kNewGroup, E::kPageView, K::kZoomInMode, &W::ZoomInCommand},
      {C::kZoomOut, "Р&ежим уменьшения изображения", "Вкл/выкл режим уменьшения изображения", "zoomout",
       kNoKey, kZoom | kBar, 0, E::kPageView, K::kZoomOutMode, &W::ZoomOutCommand},
      {C::kWholeSheet, "&Показать страницу целиком", "Показать страницу документа целиком", "wholepage",
       kNoKey, kZoom | kBar, 0, E::kPageView, K::kNone, &W::WholeSheetCommand},
      {C::kNextWindow, "С&ледующее окно", "Перейти к окну следующего документа", nullptr,
       Qt::CTRL | Qt::Key_F6, kWindow, 0, E::kSeveralDocuments, K::kNone, &W::NextWindowCommand},
      {C::kPreviousWindow, "&Предыдущее окно", "Перейти к окну предыдущего документа", nullptr,
       Qt::CTRL | Qt::SHIFT | Qt::Key_F6, kWindow, 0, E::kSeveralDocuments, K::kNone,
       &W::PreviousWindowCommand},
      {C::kAssembly, "&Подготовка чертежа сборки", "Переименование RefDes2 в чертеже сборки", "assembly",
       kNoKey, kService | kBareService | kBar, kNewGroup, E::kAlways, K::kNone, &W::AssemblyCommand},
      {C::kReport, "&Показать отчет об ошибках", "Открыть отчет о несоответствиях номиналов", "report",
       kNoKey, kService | kBar, 0, E::kDocument, K::kNone, &W::ReportCommand},
      {C::kHelp, "&Вызов справки", "Показать справку", nullptr, Qt::Key_F1, kHelp, 0, E::kAlways, K::kNone,
       &W::HelpCommand},
      {C::kAbout, "&О программе...", "Показать сведения о программе и номер ее версии", "about", kNoKey,
       kHelp | kBar, kHelp | kNewGroup, E::kAlways, K::kNone, &W::AboutCommand},
      {C::kContextHelp, "Справка по элементу", "Показать справку о нажатой кнопке, меню или окне",
       "contexthelp", Qt::SHIFT | Qt::Key_F1, kBar, 0, E::kAlways, K::kNone, &W::ContextHelpCommand},
  };
  return kRows;
}

void MainWindow::NewCommand() {
  KindChoiceDialog dialog(services_.application.document_kind(), this);
  if (dialog.exec() != QDialog::Accepted || !dialog.kind()) return;
  NewDocument(*dialog.kind());
}

void MainWindow::OpenCommand() {
  if (const std::optional<std::filesystem::path> file = AskDocumentToOpen(this)) OpenDocument(*file);
}

void MainWindow::CloseCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->close();
}

void MainWindow::SaveCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().Save();
}

void MainWindow::SaveAsCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().SaveAs();
}

void MainWindow::PrintCommand() {
  DocumentWindow* active = ActiveDocument();
  if (active == nullptr) return;
  const int current = active->current_sheet();
  const int count = static_cast<int>(active->controller().document().sheets().sheet_count());
  NamePrintJob(printer_, active->controller().Title());
  PrintDialog dialog(printer_, print_scale_, count, this);
  if (dialog.exec() != QDialog::Accepted) return;
  print_scale_ = dialog.scale();
  PrintDocument(active->controller().document().sheets(), printer_, print_scale_,
                PrintedSheets(printer_, current, count), family_);
}

void MainWindow::PrintPreviewCommand() {
  DocumentWindow* active = ActiveDocument();
  if (active == nullptr) return;
  const int current = active->current_sheet();
  NamePrintJob(printer_, active->controller().Title());
  printer_.setPrintRange(QPrinter::AllPages);
  ShowPrintPreview(this, printer_, [this, active, current](QPrinter* printer) {
    Guard(services_.prompts, [&] {
      const document::SheetSet& sheets = active->controller().document().sheets();
      PrintDocument(sheets, *printer, print_scale_,
                    PrintedSheets(*printer, current, static_cast<int>(sheets.sheet_count())), family_);
    });
  });
}

void MainWindow::PrintSetupCommand() {
  ShowPrinterSetup(this, printer_);
}

void MainWindow::ExitCommand() {
  close();
}

void MainWindow::FillCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().Fill();
}

void MainWindow::UndoCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().Undo();
}

void MainWindow::RedoCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().Redo();
}

void MainWindow::TitleBlockCommand() {
  if (DocumentWindow* active = ActiveDocument()) {
    active->controller().EditTitleBlock(active->current_sheet());
  }
}

void MainWindow::ProductsCommand() {
  if (DocumentWindow* active = ActiveDocument()) {
    active->controller().EditNumberOfProducts(active->current_sheet());
  }
}

void MainWindow::FontCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().EditTextHeights();
}

void MainWindow::LinesCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().EditLineWidths();
}

void MainWindow::ChangeEditorCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().ChangeEditor();
}

void MainWindow::HistoryCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().ShowHistory();
}

void MainWindow::AssemblyCommand() {
  // The active window owns the dialogs and the progress bar: the document's window, or this one.
  QWidget* owner = ActiveDocument() != nullptr ? static_cast<QWidget*>(ActiveDocument()) : centralWidget();
  const std::optional<std::filesystem::path> board = services_.prompts.OpenFileName(
      std::string("Открыть файл печатной платы"_cp), std::string("PCB файл (*.pcb)|*.pcb||"_cp));
  if (!board) return;
  WindowProgress progress(owner);
  app::PrepareAssemblyDrawing(*board, services_.application.dbx(), services_.prompts, progress);
}

void MainWindow::ReportCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->controller().ShowReport();
}

void MainWindow::ToolbarCommand() {
  toolbar_->setVisible(action(Command::kToolbar)->isChecked());
}

void MainWindow::StatusBarCommand() {
  statusBar()->setVisible(action(Command::kStatusBar)->isChecked());
}

void MainWindow::FirstSheetCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->FirstSheet();
}

void MainWindow::PreviousSheetCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->PreviousSheet();
}

void MainWindow::NextSheetCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->NextSheet();
}

void MainWindow::LastSheetCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->LastSheet();
}

void MainWindow::EditModeCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->ToggleEditMode();
}

void MainWindow::ZoomInCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->view().ToggleZoomInMode();
}

void MainWindow::ZoomOutCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->view().ToggleZoomOutMode();
}

void MainWindow::WholeSheetCommand() {
  if (DocumentWindow* active = ActiveDocument()) active->view().WholeSheet();
}

void MainWindow::NextWindowCommand() {
  area_->activateNextSubWindow();
}

void MainWindow::PreviousWindowCommand() {
  area_->activatePreviousSubWindow();
}

void MainWindow::HelpCommand() {
  // The guide travels inside the program; the desktop's browser needs it as a file, so it is written into
  // the program's folder (again each time, so that it is always this version's) and opened from there.
  const std::filesystem::path path = services_.application.folder() / kGuideFile;
  QFile source(QStringLiteral(":/guide/guide.html"));
  if (!source.open(QIODevice::ReadOnly)) {
    throw UnreadableFile(std::string("Руководство пользователя не найдено в программе."_cp));
  }
  const QByteArray guide = source.readAll();
  model::WriteFileReplacing(path,
                            std::string_view(guide.constData(), static_cast<std::size_t>(guide.size())));
  services_.shell.Open(path);
}

void MainWindow::ContextHelpCommand() {
  QWhatsThis::enterWhatsThisMode();
}

void MainWindow::AboutCommand() {
  AboutDialog(this).exec();
}

}  // namespace tallyform::gui
