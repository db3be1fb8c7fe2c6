#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QSaveFile>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>
#include <exception>

#include "adapters/qt_text.h"
#include "adapters/sheet_font.h"
#include "app/application.h"
#include "app/open_workflow.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/keyboard_locks.h"
#include "gui/page_view.h"
#include "gui/services.h"
#include "gui/widget_prompts.h"
#include "model/document_kind.h"
#include "model/errors.h"
#include "ports/shell.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::gui {
namespace {

constexpr int kEditorPane = 118;
constexpr int kSheetPane = 108;
constexpr int kSheetOfSheetsPane = 109;

QString NativeToQString(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

std::filesystem::path QStringToNative(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The local files of a drop.
QList<QUrl> DroppedFiles(const QMimeData* data) {
  QList<QUrl> files;
  if (data == nullptr || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files.append(url);
  }
  return files;
}

}  // namespace

MainWindow::MainWindow(Services& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      family_(adapters::ChooseSheetFamily()),
      area_(new QMdiArea(this)) {
  setWindowTitle(QStringLiteral("Tallyform"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/tallyform.svg")));
  area_->setViewMode(QMdiArea::SubWindowView);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);
  setAcceptDrops(true);
  recent_ = app::RecentFiles::Load(services_.settings);
  MakeActions();
  MakeMenus();
  MakeToolBar();
  MakeStatusBar();
  connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::OnActivated);
  ShowMenus();
  UpdateCommands();
  UpdatePanes();
}

MainWindow::~MainWindow() {
  // The document windows close while the window is taken down; its menus are gone by then.
  disconnect(area_, nullptr, this, nullptr);
}

QAction* MainWindow::Make(Command command, const QString& text, const QString& status, const QString& icon) {
  auto* action = new QAction(text, this);
  action->setStatusTip(status);
  action->setWhatsThis(status);
  if (!icon.isEmpty()) action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(icon)));
  connect(action, &QAction::triggered, this, [this, command] { Trigger(command); });
  actions_[command] = action;
  return action;
}

void MainWindow::MakeActions() {
  Make(Command::kNew, QStringLiteral("&Новый"), QStringLiteral("Создать новый документ"), "new")
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  Make(Command::kOpen, QStringLiteral("&Открыть..."), QStringLiteral("Открыть существующий документ"), "open")
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  Make(Command::kClose, QStringLiteral("&Закрыть"), QStringLiteral("Закрыть активный документ"));
  Make(Command::kSave, QStringLiteral("&Сохранить"), QStringLiteral("Сохранить активный документ"), "save")
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  Make(Command::kSaveAs, QStringLiteral("Сохранить &как..."),
       QStringLiteral("Сохранить активный документ под новым именем"));
  Make(Command::kPrint, QStringLiteral("&Печать..."), QStringLiteral("Вывести на печать активный документ"),
       "print")
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  Make(Command::kPrintPreview, QStringLiteral("Предвар&ительный просмотр"),
       QStringLiteral("Предварительный просмотр выводимых на принтер листов документа"));
  Make(Command::kPrintSetup, QStringLiteral("П&араметры печати..."),
       QStringLiteral("Выбрать принтер и параметры печати"));
  Make(Command::kExit, QStringLiteral("В&ыход"),
       QStringLiteral("Выйти из программы; будет предложено сохранить документы"));

  Make(Command::kUndo, QStringLiteral("&Отменить"), QStringLiteral("Отменить последнее изменение документа"),
       "undo");
  Make(Command::kRedo, QStringLiteral("&Вернуть"), QStringLiteral("Вернуть отмененное изменение документа"),
       "redo");
  Make(Command::kFill, QStringLiteral("&Заполнить документ"),
       QStringLiteral("Заполнить документ по списку элементов"), "fill");
  Make(Command::kTitleBlock, QStringLiteral("З&аполнить основную надпись"),
       QStringLiteral("Заполнить поля основной надписи"), "titleblock");
  Make(Command::kProducts, QStringLiteral("За&дать количество изделий"),
       QStringLiteral("Задать количество изделий в простой ведомости ПИ"));
  Make(Command::kEditMode, QStringLiteral("&Редактировать документ"),
       QStringLiteral("Вкл/выкл режим редактирования документа"), "edit");
  Make(Command::kChangeEditor, QStringLiteral("&Изменить редактора документа"),
       QStringLiteral("Изменить фамилию и имя редактора документа"), "editor");
  Make(Command::kHistory, QStringLiteral("И&стория документа"),
       QStringLiteral("Показать историю редактирования документа"), "history");
  Make(Command::kFont, QStringLiteral("&Шрифт"), QStringLiteral("Настройка размеров шрифта"));
  Make(Command::kLines, QStringLiteral("&Линии"), QStringLiteral("Настройка толщины линий"));

  Make(Command::kToolbar, QStringLiteral("&Панель инструментов"),
       QStringLiteral("Показать или скрыть панель инструментов"))
      ->setCheckable(true);
  Make(Command::kStatusBar, QStringLiteral("&Строка состояния"),
       QStringLiteral("Показать или скрыть строку состояния"))
      ->setCheckable(true);
  Make(Command::kFirstSheet, QStringLiteral("Перв&ый лист"),
       QStringLiteral("Перейти на первый лист документа"), "first");
  Make(Command::kPreviousSheet, QStringLiteral("Пре&дыдущий лист"),
       QStringLiteral("Перейти на предыдущий лист документа"), "previous");
  Make(Command::kNextSheet, QStringLiteral("С&ледующий лист"),
       QStringLiteral("Перейти на следующий лист документа"), "next");
  Make(Command::kLastSheet, QStringLiteral("После&дний лист"),
       QStringLiteral("Перейти на последний лист документа"), "last");
  Make(Command::kZoomIn, QStringLiteral("&Режим увеличения изображения"),
       QStringLiteral("Вкл/выкл режим увеличения изображения"), "zoomin")
      ->setCheckable(true);
  Make(Command::kZoomOut, QStringLiteral("Р&ежим уменьшения изображения"),
       QStringLiteral("Вкл/выкл режим уменьшения изображения"), "zoomout")
      ->setCheckable(true);
  Make(Command::kWholeSheet, QStringLiteral("&Показать страницу целиком"),
       QStringLiteral("Показать страницу документа целиком"), "wholepage");

  Make(Command::kNextWindow, QStringLiteral("С&ледующее окно"),
       QStringLiteral("Перейти к окну следующего документа"))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
  Make(Command::kPreviousWindow, QStringLiteral("&Предыдущее окно"),
       QStringLiteral("Перейти к окну предыдущего документа"))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
  Make(Command::kAssembly, QStringLiteral("&Подготовка чертежа сборки"),
       QStringLiteral("Подготовить копию платы P-CAD для сборочного чертежа"), "assembly");
  Make(Command::kReport, QStringLiteral("&Показать отчет об ошибках"),
       QStringLiteral("Открыть отчет о несоответствиях номиналов"), "report");
  Make(Command::kHelp, QStringLiteral("&Вызов справки"), QStringLiteral("Показать справку"))
      ->setShortcut(QKeySequence(Qt::Key_F1));
  Make(Command::kContextHelp, QStringLiteral("Справка по элементу"),
       QStringLiteral("Показать справку о нажатой кнопке, меню или окне"), "contexthelp")
      ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
  Make(Command::kAbout, QStringLiteral("&О программе..."),
       QStringLiteral("Показать сведения о программе и номер ее версии"), "about");

  for (int i = 0; i < kRecentFiles; ++i) {
    auto* recent = new QAction(this);
    connect(recent, &QAction::triggered, this, [this, i] { OpenRecent(i); });
    recent_actions_.append(recent);
  }
  // Parts not built yet stay in the menus, disabled.
  for (Command later : {Command::kUndo, Command::kRedo, Command::kTitleBlock, Command::kProducts,
                        Command::kEditMode, Command::kFont, Command::kLines, Command::kAssembly}) {
    actions_[later]->setEnabled(false);
  }
}

void MainWindow::MakeMenus() {
  auto add_recent = [this](QMenu* menu) {
    recent_separators_.append(menu->addSeparator());
    for (QAction* recent : recent_actions_) menu->addAction(recent);
    menu->addSeparator();
  };
  auto goto_and_zoom = [this](QMenu* view) {
    QMenu* go = view->addMenu(QStringLiteral("Пере&йти на"));
    for (Command c :
         {Command::kFirstSheet, Command::kPreviousSheet, Command::kNextSheet, Command::kLastSheet}) {
      go->addAction(action(c));
    }
    QMenu* zoom = view->addMenu(QStringLiteral("&Масштаб"));
    for (Command c : {Command::kZoomIn, Command::kZoomOut, Command::kWholeSheet}) zoom->addAction(action(c));
  };

  // Menu 128: no document.
  file_menu_ = new QMenu(QStringLiteral("&Файл"), this);
  file_menu_->addAction(action(Command::kNew));
  file_menu_->addAction(action(Command::kOpen));
  file_menu_->addSeparator();
  file_menu_->addAction(action(Command::kPrintSetup));
  add_recent(file_menu_);
  file_menu_->addAction(action(Command::kExit));
  auto* service = new QMenu(QStringLiteral("&Сервис"), this);
  service->addAction(action(Command::kAssembly));
  auto* view = new QMenu(QStringLiteral("&Вид"), this);
  view->addAction(action(Command::kToolbar));
  view->addAction(action(Command::kStatusBar));
  auto* help = new QMenu(QStringLiteral("&Справка"), this);
  help->addAction(action(Command::kHelp));
  help->addSeparator();
  help->addAction(action(Command::kAbout));
  menus_without_document_ = {file_menu_, service, view, help};

  // Menu 129: a document window is active.
  document_file_menu_ = new QMenu(QStringLiteral("&Файл"), this);
  for (Command c : {Command::kNew, Command::kOpen, Command::kClose, Command::kSave, Command::kSaveAs}) {
    document_file_menu_->addAction(action(c));
  }
  document_file_menu_->addSeparator();
  for (Command c : {Command::kPrint, Command::kPrintPreview, Command::kPrintSetup}) {
    document_file_menu_->addAction(action(c));
  }
  add_recent(document_file_menu_);
  document_file_menu_->addAction(action(Command::kExit));
  auto* edit = new QMenu(QStringLiteral("&Правка"), this);
  edit->addAction(action(Command::kUndo));
  edit->addAction(action(Command::kRedo));
  auto* document = new QMenu(QStringLiteral("&Документ"), this);
  for (Command c : {Command::kFill, Command::kTitleBlock, Command::kProducts, Command::kEditMode}) {
    document->addAction(action(c));
  }
  document->addSeparator();
  document->addAction(action(Command::kChangeEditor));
  document->addAction(action(Command::kHistory));
  auto* setup = new QMenu(QStringLiteral("&Настройка"), this);
  setup->addAction(action(Command::kFont));
  setup->addAction(action(Command::kLines));
  auto* document_view = new QMenu(QStringLiteral("&Вид"), this);
  document_view->addAction(action(Command::kToolbar));
  document_view->addAction(action(Command::kStatusBar));
  document_view->addSeparator();
  goto_and_zoom(document_view);
  auto* document_service = new QMenu(QStringLiteral("&Сервис"), this);
  document_service->addAction(action(Command::kAssembly));
  document_service->addAction(action(Command::kReport));
  // The documents' windows are always maximised: this menu is how one finds the others.
  window_menu_ = new QMenu(QStringLiteral("&Окно"), this);
  connect(window_menu_, &QMenu::aboutToShow, this, &MainWindow::FillWindowMenu);
  FillWindowMenu();
  auto* document_help = new QMenu(QStringLiteral("&Справка"), this);
  document_help->addAction(action(Command::kHelp));
  document_help->addSeparator();
  document_help->addAction(action(Command::kAbout));
  menus_with_document_ = {document_file_menu_, edit,         document,     setup, document_view,
                          document_service,    window_menu_, document_help};
  UpdateRecentMenu();
}

void MainWindow::MakeToolBar() {
  toolbar_ = addToolBar(QStringLiteral("Стандартная"));
  toolbar_->setObjectName(QStringLiteral("standard"));
  toolbar_->setIconSize(QSize(16, 16));
  toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
  const QList<QList<Command>> groups = {
      {Command::kNew, Command::kOpen, Command::kSave},
      {Command::kPrint},
      {Command::kUndo, Command::kRedo},
      {Command::kFill, Command::kTitleBlock, Command::kEditMode},
      {Command::kChangeEditor, Command::kHistory},
      {Command::kAssembly, Command::kReport},
      {Command::kFirstSheet, Command::kPreviousSheet, Command::kNextSheet, Command::kLastSheet},
      {Command::kZoomIn, Command::kZoomOut, Command::kWholeSheet},
      {Command::kAbout, Command::kContextHelp},
  };
  for (qsizetype g = 0; g < groups.size(); ++g) {
    if (g > 0) toolbar_->addSeparator();
    for (Command c : groups[g]) toolbar_->addAction(action(c));
  }
  action(Command::kToolbar)->setChecked(true);
  connect(toolbar_, &QToolBar::visibilityChanged, action(Command::kToolbar), &QAction::setChecked);
}

void MainWindow::MakeStatusBar() {
  auto pane = [this](int id, int width) {
    auto* label = new QLabel(this);
    label->setMinimumWidth(width);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setEnabled(false);
    statusBar()->addPermanentWidget(label);
    panes_[id] = label;
  };
  pane(kEditorPane, 256);
  pane(kSheetPane, 64);
  pane(kSheetOfSheetsPane, 64);
  for (const char* name : {"CAP", "NUM", "SCRL"}) {
    auto* indicator = new QLabel(QString::fromLatin1(name), this);
    indicator->setEnabled(false);
    statusBar()->addPermanentWidget(indicator);
    lock_indicators_.append(indicator);
  }
  // The lock keys can change in any program, so their states are asked for a few times a second, as long
  // as the windowing system tells them at all.
  UpdateLockIndicators();
  if (QueryLockStates()) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &MainWindow::UpdateLockIndicators);
    timer->start(250);
  }
  // The message pane's idle text; a command's status text covers it while the command is pointed at and
  // uncovers it again afterwards.
  statusBar()->insertWidget(0, new QLabel(QStringLiteral("Готово"), this), 1);
  action(Command::kStatusBar)->setChecked(true);
}

void MainWindow::UpdateLockIndicators() {
  const std::optional<LockStates> locks = QueryLockStates();
  lock_indicators_[0]->setEnabled(locks && locks->caps);
  lock_indicators_[1]->setEnabled(locks && locks->num);
  lock_indicators_[2]->setEnabled(locks && locks->scroll);
}

void MainWindow::ShowMenus() {
  const bool document = ActiveDocument() != nullptr;
  if (document == menus_for_document_ && !menuBar()->actions().isEmpty()) return;
  menus_for_document_ = document;
  menuBar()->clear();
  for (QMenu* menu : document ? menus_with_document_ : menus_without_document_) menuBar()->addMenu(menu);
}

DocumentWindow* MainWindow::ActiveDocument() const {
  return qobject_cast<DocumentWindow*>(area_->activeSubWindow());
}

QList<DocumentWindow*> MainWindow::Documents() const {
  QList<DocumentWindow*> documents;
  for (QMdiSubWindow* window : area_->subWindowList()) {
    if (auto* document = qobject_cast<DocumentWindow*>(window)) documents.append(document);
  }
  return documents;
}

void MainWindow::OnActivated(QMdiSubWindow*) {
  ShowMenus();
  UpdateCommands();
  UpdatePanes();
}

void MainWindow::UpdateCommands() {
  DocumentWindow* active = ActiveDocument();
  const bool document = active != nullptr;
  for (Command c : {Command::kClose, Command::kSave, Command::kSaveAs, Command::kPrint,
                    Command::kPrintPreview, Command::kChangeEditor, Command::kHistory, Command::kReport,
                    Command::kZoomIn, Command::kZoomOut, Command::kWholeSheet}) {
    action(c)->setEnabled(document);
  }
  for (Command c : {Command::kNextWindow, Command::kPreviousWindow}) {
    action(c)->setEnabled(Documents().size() > 1);
  }
  const presentation::PageViewState* state = document ? &active->view().state() : nullptr;
  const app::EnabledCommands enabled =
      document ? active->controller().session().Enabled({state->current_sheet(), false})
               : app::EnabledCommands{};
  action(Command::kFill)->setEnabled(enabled.fill);
  action(Command::kFirstSheet)->setEnabled(enabled.first_sheet);
  action(Command::kPreviousSheet)->setEnabled(enabled.previous_sheet);
  action(Command::kNextSheet)->setEnabled(enabled.next_sheet);
  action(Command::kLastSheet)->setEnabled(enabled.last_sheet);
  action(Command::kZoomIn)->setChecked(state && state->zoom_in_mode());
  action(Command::kZoomOut)->setChecked(state && state->zoom_out_mode());
}

void MainWindow::UpdatePanes() {
  DocumentWindow* active = ActiveDocument();
  QLabel* editor = pane(kEditorPane);
  QLabel* sheet = pane(kSheetPane);
  QLabel* sheets = pane(kSheetOfSheetsPane);
  if (active == nullptr) {
    for (QLabel* label : {editor, sheet, sheets}) {
      label->clear();
      label->setEnabled(false);
    }
    return;
  }
  const QString name = active->controller().EditorName();
  editor->setText(QStringLiteral("Редактировал: %1").arg(name));
  editor->setEnabled(!name.isEmpty());
  const presentation::PageViewState& state = active->view().state();
  const int count = static_cast<int>(active->controller().document().sheets().sheet_count());
  sheet->setText(QStringLiteral("Лист %1").arg(state.current_sheet()));
  sheets->setText(QStringLiteral("%1/%2").arg(state.current_sheet()).arg(count));
  sheet->setEnabled(count > 0);
  sheets->setEnabled(count > 0);
}

DocumentWindow* MainWindow::AddWindow(DocumentWindow* window) {
  area_->addSubWindow(window);
  connect(&window->view(), &PageView::stateChanged, this, [this] {
    UpdateCommands();
    UpdatePanes();
  });
  connect(&window->controller(), &DocumentController::describedChanged, this, [this, window] {
    UpdatePanes();
    if (!window->controller().path().empty()) AddRecent(window->controller().path());
  });
  window->showMaximized();
  area_->setActiveSubWindow(window);
  window->view().setFocus();
  OnActivated(window);
  return window;
}

DocumentWindow* MainWindow::NewDocument(model::DocumentKind kind) {
  services_.application.set_document_kind(kind);
  return AddWindow(new DocumentWindow(app::DocumentSession(document::Document(kind), ++untitled_), services_,
                                      family_, area_));
}

DocumentWindow* MainWindow::OpenDocument(const std::filesystem::path& path) {
  for (DocumentWindow* window : Documents()) {
    if (!window->controller().path().empty() && app::SameFile(window->controller().path(), path)) {
      area_->setActiveSubWindow(window);
      return window;
    }
  }
  try {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app::DocumentSession session = app::OpenDocument(path);
    QApplication::restoreOverrideCursor();
    DocumentWindow* window = AddWindow(new DocumentWindow(std::move(session), services_, family_, area_));
    AddRecent(path);
    return window;
  } catch (const Error& e) {
    QApplication::restoreOverrideCursor();
    services_.prompts.ErrorMessage(e.message());
  } catch (const std::exception& e) {
    QApplication::restoreOverrideCursor();
    services_.prompts.ErrorMessage(adapters::FromQString(QString::fromLocal8Bit(e.what())));
  }
  return nullptr;
}

QStringList MainWindow::RecentFiles() const {
  QStringList files;
  for (const std::filesystem::path& file : recent_.files()) files.append(NativeToQString(file));
  return files;
}

void MainWindow::AddRecent(const std::filesystem::path& path) {
  recent_.Add(path);
  StoreRecent();
}

void MainWindow::StoreRecent() {
  UpdateRecentMenu();
  try {
    recent_.Store(services_.settings);
  } catch (const Error& e) {
    services_.prompts.Warning(e.message());
  }
}

void MainWindow::FillWindowMenu() {
  for (QAction* line : window_menu_->actions()) {
    if (line != action(Command::kNextWindow) && line != action(Command::kPreviousWindow)) line->deleteLater();
  }
  window_menu_->clear();
  window_menu_->addAction(action(Command::kNextWindow));
  window_menu_->addAction(action(Command::kPreviousWindow));
  const QList<DocumentWindow*> documents = Documents();
  if (!documents.isEmpty()) window_menu_->addSeparator();
  const DocumentWindow* active = ActiveDocument();
  for (qsizetype i = 0; i < documents.size(); ++i) {
    DocumentWindow* document = documents[i];
    const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
    QAction* line = window_menu_->addAction(number + document->controller().Title());
    line->setCheckable(true);
    line->setChecked(document == active);
    line->setStatusTip(QStringLiteral("Перейти к окну этого документа"));
    connect(line, &QAction::triggered, this, [this, document] {
      if (Documents().contains(document)) area_->setActiveSubWindow(document);
    });
  }
}

void MainWindow::UpdateRecentMenu() {
  const QStringList files = RecentFiles();
  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* recent = recent_actions_[i];
    if (i < files.size()) {
      recent->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
      recent->setStatusTip(files[i]);
      recent->setVisible(true);
    } else {
      recent->setVisible(false);
    }
  }
  for (QAction* separator : recent_separators_) separator->setVisible(!files.isEmpty());
}

void MainWindow::OpenRecent(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= recent_.files().size()) return;
  const std::filesystem::path file = recent_.files()[static_cast<std::size_t>(index)];
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    services_.prompts.Warning(
        adapters::FromQString(QStringLiteral("Файл %1 не найден; он удален из списка последних файлов.")
                                  .arg(NativeToQString(file))));
    recent_.Remove(static_cast<std::size_t>(index));
    StoreRecent();
    return;
  }
  OpenDocument(file);
}

void MainWindow::Print() {
  DocumentWindow* active = ActiveDocument();
  if (active == nullptr) return;
  const int current = active->view().state().current_sheet();
  const int count = static_cast<int>(active->controller().document().sheets().sheet_count());
  // The print job's name, which a PDF printer also proposes as the file's name.
  printer_.setDocName(QFileInfo(active->controller().Title()).completeBaseName());
  const std::optional<PrintScale> scale = services_.prompts.PrintDialog(printer_, print_scale_, count);
  if (!scale) return;
  print_scale_ = *scale;
  try {
    PrintDocument(active->controller().document().sheets(), printer_, print_scale_,
                  PrintedSheets(printer_, current, count), family_);
  } catch (const Error& e) {
    services_.prompts.ErrorMessage(e.message());
  }
  active->view().viewport()->update();
}

void MainWindow::PrintPreview() {
  DocumentWindow* active = ActiveDocument();
  if (active == nullptr) return;
  const int current = active->view().state().current_sheet();
  printer_.setPrintRange(QPrinter::AllPages);
  services_.prompts.PrintPreview(printer_, [this, active, current](QPrinter* printer) {
    try {
      const document::SheetSet& sheets = active->controller().document().sheets();
      PrintDocument(sheets, *printer, print_scale_,
                    PrintedSheets(*printer, current, static_cast<int>(sheets.sheet_count())), family_);
    } catch (const Error& e) {
      services_.prompts.ErrorMessage(e.message());
    }
  });
  active->view().viewport()->update();
}

void MainWindow::Trigger(Command command) {
  // The commands report their own errors; whatever else escapes one is told here, never past the slot.
  try {
    RunCommand(command);
  } catch (const Error& e) {
    services_.prompts.ErrorMessage(e.message());
  } catch (const std::exception& e) {
    services_.prompts.ErrorMessage(adapters::FromQString(QString::fromLocal8Bit(e.what())));
  }
}

void MainWindow::RunCommand(Command command) {
  DocumentWindow* active = ActiveDocument();
  switch (command) {
    case Command::kNew:
      if (const std::optional<model::DocumentKind> kind =
              services_.prompts.DocumentKind(services_.application.document_kind())) {
        NewDocument(*kind);
      }
      return;
    case Command::kOpen:
      if (const std::optional<std::filesystem::path> file = services_.prompts.OpenFileName())
        OpenDocument(*file);
      return;
    case Command::kPrintSetup:
      services_.prompts.PrinterSetup(printer_);
      return;
    case Command::kExit:
      close();
      return;
    case Command::kToolbar:
      toolbar_->setVisible(action(Command::kToolbar)->isChecked());
      return;
    case Command::kStatusBar:
      statusBar()->setVisible(action(Command::kStatusBar)->isChecked());
      return;
    case Command::kContextHelp:
      QWhatsThis::enterWhatsThisMode();
      return;
    case Command::kHelp:
      ShowGuide();
      return;
    case Command::kAbout:
      services_.prompts.About();
      return;
    case Command::kNextWindow:
      area_->activateNextSubWindow();
      return;
    case Command::kPreviousWindow:
      area_->activatePreviousSubWindow();
      return;
    default:
      break;
  }
  if (active == nullptr) return;
  DocumentController& controller = active->controller();
  PageView& view = active->view();
  switch (command) {
    case Command::kClose:
      active->close();
      break;
    case Command::kSave:
      controller.Save();
      break;
    case Command::kSaveAs:
      controller.SaveAs();
      break;
    case Command::kPrint:
      Print();
      break;
    case Command::kPrintPreview:
      PrintPreview();
      break;
    case Command::kFill:
      controller.Fill();
      break;
    case Command::kChangeEditor:
      controller.ChangeEditor();
      break;
    case Command::kHistory:
      controller.ShowHistory();
      break;
    case Command::kReport:
      controller.ShowReport();
      break;
    case Command::kFirstSheet:
      view.FirstSheet();
      break;
    case Command::kPreviousSheet:
      view.PreviousSheet();
      break;
    case Command::kNextSheet:
      view.NextSheet();
      break;
    case Command::kLastSheet:
      view.LastSheet();
      break;
    case Command::kZoomIn:
      view.ToggleZoomInMode();
      break;
    case Command::kZoomOut:
      view.ToggleZoomOutMode();
      break;
    case Command::kWholeSheet:
      view.WholeSheet();
      break;
    default:
      break;
  }
  UpdateCommands();
  UpdatePanes();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> files = DroppedFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // Opened after the drop has ended, so that a message about a bad file does not hold the file manager.
  QTimer::singleShot(0, this, [this, files] {
    for (const QUrl& url : files) OpenDocument(QStringToNative(url.toLocalFile()));
  });
}

void MainWindow::closeEvent(QCloseEvent* event) {
  for (DocumentWindow* window : Documents()) {
    area_->setActiveSubWindow(window);
    if (!window->close()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void MainWindow::ShowGuide() {
  using namespace tallyform::text::literals;
  // The guide travels inside the program; the desktop's browser needs it as a file, so it is written into
  // the program's folder (again each time, so that it is always this version's) and opened from there.
  const std::filesystem::path path = services_.application.folder() / kGuideFile;
  QFile source(QStringLiteral(":/guide/guide.html"));
  QSaveFile target(QString::fromStdString(path.string()));
  if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly) ||
      target.write(source.readAll()) < 0 || !target.commit()) {
    services_.prompts.ErrorMessage(std::string("Не удается записать файл руководства "_cp) +
                                   text::Cp1251FromUnknown(path.string()) + ".");
    return;
  }
  services_.shell.Open(path);
}

}  // namespace tallyform::gui
