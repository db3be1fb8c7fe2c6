#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "adapters/qt_text.h"
#include "adapters/sheet_font.h"
#include "app/document_session.h"
#include "gui/document_controller.h"
#include "gui/document_window.h"
#include "gui/error_boundary.h"
#include "gui/keyboard_locks.h"
#include "gui/page_view.h"
#include "gui/services.h"
#include "gui/widget_prompts.h"

namespace tallyform::gui {
namespace {

const MenuRow kMenus[] = {
    {menu::kBareFile, "&Файл", 0},
    {menu::kFile, "&Файл", 0},
    {menu::kEdit, "&Правка", 0},
    {menu::kDocument, "&Документ", 0},
    {menu::kSetup, "&Настройка", 0},
    {menu::kBareView, "&Вид", 0},
    {menu::kView, "&Вид", 0},
    {menu::kGoTo, "Пере&йти на", menu::kView},
    {menu::kZoom, "&Масштаб", menu::kView},
    {menu::kBareService, "&Сервис", 0},
    {menu::kService, "&Сервис", 0},
    {menu::kWindow, "&Окно", 0},
    {menu::kHelp, "&Справка", 0},
};

// The status bar's panes after the message pane, with their widths.
struct PaneRow {
  Pane pane;
  int width;
};
constexpr PaneRow kPanes[] = {{Pane::kEditor, 256}, {Pane::kSheet, 64}, {Pane::kSheetOfSheets, 64}};

}  // namespace

std::span<const MenuRow> MenuRows() {
  return kMenus;
}

MainWindow::MainWindow(Services& services, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      family_(adapters::ChooseSheetFamily()),
      area_(new QMdiArea(this)),
      recent_(app::RecentFiles::Load(services.settings)) {
  setWindowTitle(QStringLiteral("Tallyform"));
  setWindowIcon(QIcon(QStringLiteral(":/icons/tallyform.svg")));
  area_->setViewMode(QMdiArea::SubWindowView);
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);
  setAcceptDrops(true);
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

void MainWindow::MakeActions() {
  for (const CommandRow& row : Commands()) {
    auto* action = new QAction(QString::fromUtf8(row.text), this);
    action->setStatusTip(QString::fromUtf8(row.status));
    action->setWhatsThis(QString::fromUtf8(row.status));
    if (row.icon != nullptr) action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(row.icon)));
    if (row.key.key() != Qt::Key_unknown) action->setShortcut(QKeySequence(row.key));
    action->setCheckable(row.check != Check::kNone);
    connect(action, &QAction::triggered, this, [this, &row] { Trigger(row); });
    actions_[row.command] = action;
  }
  for (int i = 0; i < kRecentFiles; ++i) {
    auto* recent = new QAction(this);
    connect(recent, &QAction::triggered, this,
            [this, i] { Guard(services_.prompts, [&] { OpenRecent(i); }); });
    recent_actions_.append(recent);
  }
}

void MainWindow::MakeMenus() {
  for (const MenuRow& row : MenuRows()) menus_[row.bit] = new QMenu(QString::fromUtf8(row.title), this);
  for (const auto& [bit, menu] : menus_) {
    for (const CommandRow& row : Commands()) {
      if ((row.menus & bit) == 0) continue;
      if (row.command == Command::kExit) {
        // The files used last come before "В&ыход", between separators that show only with them.
        recent_separators_.append(menu->addSeparator());
        for (QAction* recent : recent_actions_) menu->addAction(recent);
      }
      if ((row.separated & bit) != 0) menu->addSeparator();
      menu->addAction(action(row.command));
    }
    bool first_submenu = true;
    for (const MenuRow& sub : MenuRows()) {
      if (sub.parent != bit) continue;
      if (first_submenu && !menu->isEmpty()) menu->addSeparator();
      first_submenu = false;
      menu->addMenu(menus_.at(sub.bit));
    }
  }
  // The documents' windows are always maximised: this menu is how one finds the others.
  connect(menus_.at(menu::kWindow), &QMenu::aboutToShow, this, &MainWindow::FillWindowMenu);
  FillWindowMenu();
  UpdateRecentMenu();
}

void MainWindow::MakeToolBar() {
  toolbar_ = addToolBar(QStringLiteral("Стандартная"));
  toolbar_->setObjectName(QStringLiteral("standard"));
  toolbar_->setIconSize(QSize(16, 16));
  toolbar_->setAllowedAreas(Qt::AllToolBarAreas);
  for (const CommandRow& row : Commands()) {
    if ((row.menus & menu::kToolbar) == 0) continue;
    if ((row.separated & menu::kToolbar) != 0) toolbar_->addSeparator();
    toolbar_->addAction(action(row.command));
  }
  connect(toolbar_, &QToolBar::visibilityChanged, this, [this] { UpdateCommands(); });
}

void MainWindow::MakeStatusBar() {
  for (const PaneRow& row : kPanes) {
    auto* label = new QLabel(this);
    label->setMinimumWidth(row.width);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setEnabled(false);
    statusBar()->addPermanentWidget(label);
    panes_[row.pane] = label;
  }
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
  const std::span<const unsigned> bar =
      document ? std::span<const unsigned>(kDocumentBar) : std::span<const unsigned>(kBareBar);
  for (unsigned bit : bar) menuBar()->addMenu(menus_.at(bit));
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
  const presentation::PageViewState* view = active != nullptr ? &active->view().state() : nullptr;
  const app::EnabledCommands session = active != nullptr
                                           ? active->controller().session().Enabled({active->current_sheet()})
                                           : app::EnabledCommands{};
  for (const CommandRow& row : Commands()) {
    bool enabled = false;
    switch (row.enabling) {
      case Enabling::kAlways:
        enabled = true;
        break;
      case Enabling::kDocument:
        enabled = active != nullptr;
        break;
      case Enabling::kSeveralDocuments:
        enabled = Documents().size() > 1;
        break;
      case Enabling::kFill:
        enabled = session.fill;
        break;
      case Enabling::kFirstSheet:
        enabled = session.first_sheet;
        break;
      case Enabling::kPreviousSheet:
        enabled = session.previous_sheet;
        break;
      case Enabling::kNextSheet:
        enabled = session.next_sheet;
        break;
      case Enabling::kLastSheet:
        enabled = session.last_sheet;
        break;
      case Enabling::kUndo:
        enabled = session.undo;
        break;
      case Enabling::kRedo:
        enabled = session.redo;
        break;
      case Enabling::kTitleBlock:
        enabled = session.title_block;
        break;
      case Enabling::kProducts:
        enabled = session.number_of_products;
        break;
      case Enabling::kTextHeights:
        enabled = session.text_heights;
        break;
      case Enabling::kLineWidths:
        enabled = session.line_widths;
        break;
      case Enabling::kPageView:
        enabled = active != nullptr && active->edit_view() == nullptr;
        break;
    }
    QAction* command = action(row.command);
    command->setEnabled(enabled);
    switch (row.check) {
      case Check::kNone:
        break;
      case Check::kToolbar:
        command->setChecked(toolbar_ != nullptr && !toolbar_->isHidden());
        break;
      case Check::kStatusBar:
        command->setChecked(!statusBar()->isHidden());
        break;
      case Check::kZoomInMode:
        command->setChecked(view != nullptr && view->zoom_in_mode());
        break;
      case Check::kZoomOutMode:
        command->setChecked(view != nullptr && view->zoom_out_mode());
        break;
      case Check::kEditMode:
        command->setChecked(active != nullptr && active->edit_view() != nullptr);
        break;
    }
  }
}

void MainWindow::UpdatePanes() {
  DocumentWindow* active = ActiveDocument();
  QLabel* editor = pane(Pane::kEditor);
  QLabel* sheet = pane(Pane::kSheet);
  QLabel* sheets = pane(Pane::kSheetOfSheets);
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
  const int current = active->current_sheet();
  const int count = static_cast<int>(active->controller().document().sheets().sheet_count());
  sheet->setText(QStringLiteral("Лист %1").arg(current));
  sheets->setText(QStringLiteral("%1/%2").arg(current).arg(count));
  sheet->setEnabled(count > 0);
  sheets->setEnabled(count > 0);
}

void MainWindow::Trigger(const CommandRow& row) {
  Guard(services_.prompts, [&] { (this->*row.run)(); });
  UpdateCommands();
  UpdatePanes();
  // Whatever a command showed, the keys reach the document afterwards again.
  if (QApplication::activeModalWidget() == nullptr && QApplication::activePopupWidget() == nullptr &&
      QApplication::focusWidget() == nullptr) {
    activateWindow();
    if (DocumentWindow* active = ActiveDocument()) {
      active->shown_view()->setFocus();
    } else {
      setFocus();
    }
  }
}

DocumentWindow* MainWindow::AddWindow(DocumentWindow* window) {
  area_->addSubWindow(window);
  connect(window, &DocumentWindow::stateChanged, this, [this] {
    UpdateCommands();
    UpdatePanes();
  });
  connect(&window->controller(), &DocumentController::changed, this, [this] { UpdateCommands(); });
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

}  // namespace tallyform::gui
