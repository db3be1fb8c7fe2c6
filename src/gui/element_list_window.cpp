#include "gui/element_list_window.h"

#include <QAction>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>

#include "gui/element_dialogs.h"
#include "gui/element_list_model.h"
#include "gui/error_boundary.h"
#include "gui/list_dialogs.h"
#include "gui/wait_cursor.h"
#include "model/attributes.h"

namespace tallyform::gui {
namespace {

// The window's margins, pixels: the list and the buttons stand this far from the edges and apart.
constexpr int kMargin = 9;

}  // namespace

ElementListWindow::ElementListWindow(app::ElementListSession& session, ports::Prompts& prompts,
                                     QWidget* parent)
    : QDialog(parent),
      session_(session),
      prompts_(prompts),
      menu_(new QMenuBar(this)),
      client_(new QWidget(this)),
      list_(new QTableView(client_)),
      model_(new ElementListModel(session, this)),
      fill_(new QPushButton(QStringLiteral("Заполнить"), client_)),
      cancel_(new QPushButton(QStringLiteral("Отмена"), client_)) {
  setWindowTitle(QStringLiteral("Список элементов"));
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menu_);
  layout->addWidget(client_);

  list_->setModel(model_);
  list_->setShowGrid(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
  list_->horizontalHeader()->setHighlightSections(false);
  list_->setWordWrap(false);

  fill_->setDefault(true);
  connect(fill_, &QPushButton::clicked, this, &ElementListWindow::Fill);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  MakeMenu();
  resize(900, 560);
  Refresh();
}

QAction* ElementListWindow::action(Command command) const {
  return actions_.at(command);
}

void ElementListWindow::MakeMenu() {
  const auto add = [this](QMenu* menu, Command command, const QString& text, auto handler) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, handler);
    actions_[command] = action;
  };
  QMenu* elements = menu_->addMenu(QStringLiteral("&Элементы"));
  add(elements, Command::kAdd, QStringLiteral("&Добавить элементы..."), [this] { AddElements(); });
  add(elements, Command::kClose, QStringLiteral("&Закрыть диалог"), [this] { reject(); });
  QMenu* editing = menu_->addMenu(QStringLiteral("&Редактирование"));
  add(editing, Command::kUndo, QStringLiteral("&Отменить"), [this] { Run([this] { session_.Undo(); }); });
  add(editing, Command::kRedo, QStringLiteral("&Вернуть"), [this] { Run([this] { session_.Redo(); }); });
  QMenu* setup = menu_->addMenu(QStringLiteral("&Настройка"));
  add(setup, Command::kDesignations, QStringLiteral("&Обозначение документа"),
      [this] { EditDesignations(); });
  add(setup, Command::kKinds, QStringLiteral("&Виды элементов"), [this] { EditKinds(); });
  add(setup, Command::kRoles, QStringLiteral("&Атрибуты элементов"), [this] { EditRoles(); });
  add(setup, Command::kMapping, QStringLiteral("&Параметры заполнения документа"), [this] { EditMapping(); });
  QMenu* service = menu_->addMenu(QStringLiteral("&Сервис"));
  add(service, Command::kSort, QStringLiteral("С&ортировать"), [this] { Run([this] { session_.Sort(); }); });
  add(service, Command::kJoin, QStringLiteral("Со&единить атрибуты"), [this] { JoinAttributes(); });
  add(service, Command::kReport, QStringLiteral("&Показать отчет об ошибках"),
      [this] { Run([this] { session_.ShowReport(); }); });
}

void ElementListWindow::Run(const std::function<void()>& command) {
  // The dialogs the command asks on its way show the plain cursor (WidgetPrompts).
  Guard(prompts_, [&] {
    const WaitCursor wait;
    command();
  });
  Refresh();
}

void ElementListWindow::Refresh() {
  model_->Refresh();
  action(Command::kUndo)->setEnabled(session_.CanUndo());
  action(Command::kRedo)->setEnabled(session_.CanRedo());
  SizeColumns();
}

void ElementListWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void ElementListWindow::LayOut() {
  const QSize client = client_->size();
  const QSize button = fill_->sizeHint().expandedTo(cancel_->sizeHint());
  fill_->setGeometry(kMargin, client.height() - kMargin - button.height(), button.width(), button.height());
  cancel_->setGeometry(button.width() + 14, client.height() - kMargin - button.height(), button.width(),
                       button.height());
  list_->setGeometry(kMargin, kMargin, client.width() - 2 * kMargin,
                     client.height() - button.height() - 3 * kMargin);
  SizeColumns();
}

void ElementListWindow::SizeColumns() {
  // Every column alike, as wide as the list less a margin allows, once there are two names at least.
  const std::size_t names = session_.data().attribute_names.size();
  if (names < 2) return;
  const int width = (list_->width() - 20) / static_cast<int>(names - 1);
  for (int column = 0; column < model_->columnCount(); ++column) list_->setColumnWidth(column, width);
}

void ElementListWindow::AddElements() {
  AddElementsDialog choice(this);
  if (choice.exec() != QDialog::Accepted) return;
  const app::ElementSource source = choice.source();
  std::optional<std::filesystem::path> file = AskSourceFile(this, source);
  if (!file) return;
  Run([&] { session_.AddElements(source, *file, choice.append()); });
}

void ElementListWindow::EditDesignations() {
  std::optional<archive::StringMap> edited = AskDesignations(this, session_.data().designations);
  if (edited) Run([&] { session_.SetDesignations(std::move(*edited)); });
}

void ElementListWindow::EditKinds() {
  std::optional<std::vector<app::KindRow>> rows = AskKinds(this, session_.KindRows());
  if (rows) Run([&] { session_.SetKinds(*rows); });
}

void ElementListWindow::EditRoles() {
  std::vector<std::string> names(session_.data().attribute_names.begin(),
                                 session_.data().attribute_names.end());
  bool taken = false;
  RolesDialog dialog(
      session_.ProposedRoles(), names,
      [this, &taken](const model::RoleSelection& selection) {
        Guard(prompts_, [&] { taken = session_.AcceptRoles(selection); });
        return taken;
      },
      this);
  dialog.exec();
  Refresh();
}

void ElementListWindow::EditMapping() {
  // A title the kind lacks or numbers out of range keep the dialog open, with the reason said.
  AskMapping(this, session_.ProposedMapping(), session_.OfferedTitles(),
             [this](const model::ColumnMapping& mapping) {
               return Guard(prompts_, [&] { session_.SetMapping(mapping); });
             });
  Refresh();
}

void ElementListWindow::JoinAttributes() {
  std::vector<std::string> names(session_.data().attribute_names.begin(),
                                 session_.data().attribute_names.end());
  std::optional<elements::JoinSpec> join = AskJoin(this, names);
  if (join) Run([&] { session_.Join(*join); });
}

void ElementListWindow::Fill() {
  app::FillActionEnd end = app::FillActionEnd::kBackToWindow;
  Run([&] { end = session_.FillAction(); });
  switch (end) {
    case app::FillActionEnd::kClose:
      reject();
      break;
    case app::FillActionEnd::kFill:
      accept();
      break;
    case app::FillActionEnd::kBackToWindow:
      break;
  }
}

}  // namespace tallyform::gui
