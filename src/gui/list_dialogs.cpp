#include "gui/list_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "adapters/qt_text.h"
#include "gui/dialogs.h"
#include "gui/editable_grid.h"
#include "text/numbers.h"

namespace tallyform::gui {
namespace {

// A row of cells: the first read-only, as every grid's key column is.
QList<QStandardItem*> Row(const QStringList& texts) {
  QList<QStandardItem*> row;
  for (qsizetype i = 0; i < texts.size(); ++i) {
    auto* item = new QStandardItem(texts[i]);
    if (i == 0) item->setEditable(false);
    row.append(item);
  }
  return row;
}

std::string Text(const QStandardItemModel& model, int row, int column) {
  const QStandardItem* item = model.item(row, column);
  return item != nullptr ? adapters::FromQString(item->text()) : std::string();
}

EditableGrid* MakeGrid(QWidget* parent, QStandardItemModel* model) {
  auto* grid = new EditableGrid(parent);
  grid->setModel(model);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->setMinimumSize(520, 220);
  return grid;
}

}  // namespace

DesignationsDialog::DesignationsDialog(const archive::StringMap& designations, QWidget* parent)
    : QDialog(parent), model_(new QStandardItemModel(0, 2, this)) {
  setWindowTitle(QStringLiteral("Обозначение документа"));
  model_->setHorizontalHeaderLabels({QStringLiteral("Имя файла"), QStringLiteral("Обозначение документа")});
  for (const auto& [file, designation] : designations) {
    model_->appendRow(Row({adapters::ToQString(file), adapters::ToQString(designation)}));
  }
  grid_ = MakeGrid(this, model_);
  grid_->SetMode(EditableGrid::Mode::kCell);
  grid_->horizontalHeader()->resizeSection(0, 320);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addWidget(OkCancel(this));
  resize(760, 320);
}

void DesignationsDialog::accept() {
  grid_->CommitEditor();  // a box left open by the key that gave OK
  QDialog::accept();
}

archive::StringMap DesignationsDialog::designations() const {
  archive::StringMap map;
  for (int row = 0; row < model_->rowCount(); ++row) map[Text(*model_, row, 0)] = Text(*model_, row, 1);
  return map;
}

KindsDialog::KindsDialog(const std::vector<app::KindRow>& rows, QWidget* parent)
    : QDialog(parent), model_(new QStandardItemModel(0, 3, this)) {
  setWindowTitle(QStringLiteral("Виды элементов в документе"));
  model_->setHorizontalHeaderLabels({QStringLiteral("Поз.обозначение"), QStringLiteral("Название элемента"),
                                     QStringLiteral("Группа элементов (мн.ч.)")});
  for (const app::KindRow& row : rows) {
    model_->appendRow(Row(
        {adapters::ToQString(row.code), adapters::ToQString(row.singular), adapters::ToQString(row.plural)}));
  }
  grid_ = MakeGrid(this, model_);
  grid_->SetMode(EditableGrid::Mode::kCell);
  grid_->horizontalHeader()->setStretchLastSection(false);
  grid_->viewport()->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addWidget(OkCancel(this));
  resize(640, 360);
}

bool KindsDialog::eventFilter(QObject* watched, QEvent* event) {
  // The list's own viewport, which has its size only once the layout has placed the list: the code takes
  // 5/22 of it, each name 4/11.
  if (watched == grid_->viewport() && event->type() == QEvent::Resize) {
    const int width = grid_->viewport()->width();
    grid_->setColumnWidth(0, width * 5 / 22);
    grid_->setColumnWidth(1, width * 4 / 11);
    grid_->setColumnWidth(2, width * 4 / 11);
  }
  return QDialog::eventFilter(watched, event);
}

void KindsDialog::accept() {
  grid_->CommitEditor();
  QDialog::accept();
}

std::vector<app::KindRow> KindsDialog::rows() const {
  std::vector<app::KindRow> rows;
  for (int row = 0; row < model_->rowCount(); ++row) {
    rows.push_back({Text(*model_, row, 0), Text(*model_, row, 1), Text(*model_, row, 2)});
  }
  return rows;
}

MappingDialog::MappingDialog(const model::ColumnMapping& mapping, const std::vector<std::string>& titles,
                             std::function<bool(const model::ColumnMapping&)> take, QWidget* parent)
    : QDialog(parent),
      model_(new QStandardItemModel(0, 2, this)),
      gap_(new QLineEdit(QString::number(mapping.parameters.gap), this)),
      tail_(new QLineEdit(QString::number(mapping.parameters.tail), this)),
      take_(std::move(take)) {
  setWindowTitle(QStringLiteral("Параметры заполнения документа"));
  model_->setHorizontalHeaderLabels({QStringLiteral("Атрибут элемента"), QStringLiteral("Колонка таблицы")});
  for (const model::HeadingRow& row : mapping.rows) {
    model_->appendRow(Row({adapters::ToQString(row.attribute), adapters::ToQString(row.title)}));
  }
  QStringList choices;
  for (const std::string& title : titles) choices.append(adapters::ToQString(title));
  grid_ = MakeGrid(this, model_);
  grid_->SetMode(EditableGrid::Mode::kChoice);
  grid_->SetChoices(choices);
  grid_->horizontalHeader()->resizeSection(0, 240);
  auto* numbers = new QFormLayout;
  numbers->addRow(QStringLiteral("Количество пустых строк  между группами элементов:"), gap_);
  numbers->addRow(QStringLiteral("Количество пустых строк в конце листа:"), tail_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addLayout(numbers);
  layout->addWidget(OkCancel(this));
  resize(620, 420);
  gap_->setFocus();
  gap_->selectAll();
}

model::ColumnMapping MappingDialog::mapping() const {
  model::ColumnMapping mapping;
  for (int row = 0; row < model_->rowCount(); ++row) {
    mapping.rows.push_back({Text(*model_, row, 0), Text(*model_, row, 1)});
  }
  // Read as the C library reads a number: what does not begin with one is 0.
  mapping.parameters.gap = text::Atoi(adapters::FromQString(gap_->text()));
  mapping.parameters.tail = text::Atoi(adapters::FromQString(tail_->text()));
  return mapping;
}

void MappingDialog::accept() {
  grid_->CommitEditor();
  if (take_ && !take_(mapping())) return;
  QDialog::accept();
}

JoinDialog::JoinDialog(const std::vector<std::string>& names, QWidget* parent)
    : QDialog(parent),
      link_(new QRadioButton(QStringLiteral("Связывание атрибутов"), this)),
      substitute_(new QRadioButton(QStringLiteral("Подстановка атрибутов"), this)),
      result_(new QComboBox(this)),
      model_(new QStandardItemModel(0, 2, this)),
      add_(new QPushButton(QStringLiteral("Добавить"), this)),
      remove_(new QPushButton(QStringLiteral("Удалить"), this)),
      up_(new QPushButton(QStringLiteral("Вверх"), this)),
      down_(new QPushButton(QStringLiteral("Вниз"), this)) {
  setWindowTitle(QStringLiteral("Соединение атрибутов"));
  QStringList attributes;
  for (const std::string& name : names) attributes.append(adapters::ToQString(name));
  link_->setChecked(true);
  auto* method = new QGroupBox(QStringLiteral("Метод соединения:"), this);
  auto* method_layout = new QHBoxLayout(method);
  method_layout->addWidget(link_);
  method_layout->addWidget(substitute_);
  result_->addItems(attributes);
  result_->setCurrentIndex(-1);
  grid_ = MakeGrid(this, model_);
  grid_->SetMode(EditableGrid::Mode::kPerColumn);
  grid_->SetColumnEditor(0, {EditableGrid::EditorKind::kChoice, attributes});
  grid_->SetColumnEditor(1, {EditableGrid::EditorKind::kText, {}});
  grid_->horizontalHeader()->resizeSection(0, 240);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {add_, remove_, up_, down_}) buttons->addWidget(button);
  buttons->addStretch();
  auto* rows = new QHBoxLayout;
  rows->addWidget(grid_, 1);
  rows->addLayout(buttons);
  auto* result_row = new QFormLayout;
  result_row->addRow(QStringLiteral("Итоговый атрибут:"), result_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(method);
  layout->addLayout(result_row);
  layout->addWidget(new QLabel(QStringLiteral("Присоединяемые атрибуты:"), this));
  layout->addLayout(rows);
  layout->addWidget(OkCancel(this));
  resize(660, 420);

  connect(link_, &QRadioButton::toggled, this, &JoinDialog::UpdateHeadings);
  connect(result_, &QComboBox::currentIndexChanged, this, &JoinDialog::UpdateButtons);
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &JoinDialog::UpdateButtons);
  connect(add_, &QPushButton::clicked, this, [this] {
    // A new row starts with a single space as its attribute, chosen and focused.
    model_->appendRow({new QStandardItem(QStringLiteral(" ")), new QStandardItem(QString())});
    grid_->selectRow(model_->rowCount() - 1);
    grid_->setFocus();
  });
  connect(remove_, &QPushButton::clicked, this, [this] {
    const QModelIndex current = grid_->currentIndex();
    if (current.isValid()) model_->removeRow(current.row());
    UpdateButtons();
  });
  connect(up_, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveSelected(1); });
  UpdateHeadings();
  UpdateButtons();
}

void JoinDialog::UpdateHeadings() {
  if (link_->isChecked()) {
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Присоединяемый атрибут"), QStringLiteral("Разделитель")});
  } else {
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Подставляемый атрибут"), QStringLiteral("Заменяемая подстрока")});
  }
}

void JoinDialog::UpdateButtons() {
  const bool selected = grid_->selectionModel()->hasSelection();
  add_->setEnabled(result_->currentIndex() >= 0);
  remove_->setEnabled(selected);
  up_->setEnabled(selected);
  down_->setEnabled(selected);
}

void JoinDialog::MoveSelected(int step) {
  const QModelIndex current = grid_->currentIndex();
  if (!current.isValid()) return;
  const int row = current.row();
  const int target = row + step;
  if (target < 0 || target >= model_->rowCount()) return;  // the first stays first, the last last
  const QList<QStandardItem*> items = model_->takeRow(row);
  model_->insertRow(target, items);
  grid_->selectRow(target);
  grid_->setCurrentIndex(model_->index(target, current.column()));
}

elements::JoinSpec JoinDialog::join() const {
  elements::JoinSpec spec;
  spec.result = adapters::FromQString(result_->currentText());
  spec.method = link_->isChecked() ? elements::JoinMethod::kLink : elements::JoinMethod::kSubstitute;
  for (int row = 0; row < model_->rowCount(); ++row) {
    spec.rows.push_back({Text(*model_, row, 0), Text(*model_, row, 1)});
  }
  return spec;
}

void JoinDialog::accept() {
  grid_->CommitEditor();
  if (result_->currentIndex() < 0) return;  // without a result attribute there is nothing to join into
  QDialog::accept();
}

std::optional<archive::StringMap> AskDesignations(QWidget* parent, const archive::StringMap& designations) {
  DesignationsDialog dialog(designations, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.designations();
}

std::optional<std::vector<app::KindRow>> AskKinds(QWidget* parent, const std::vector<app::KindRow>& rows) {
  KindsDialog dialog(rows, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.rows();
}

std::optional<model::ColumnMapping> AskMapping(QWidget* parent, const model::ColumnMapping& mapping,
                                               const std::vector<std::string>& titles,
                                               std::function<bool(const model::ColumnMapping&)> take) {
  MappingDialog dialog(mapping, titles, std::move(take), parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.mapping();
}

std::optional<elements::JoinSpec> AskJoin(QWidget* parent, const std::vector<std::string>& names) {
  JoinDialog dialog(names, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.join();
}

}  // namespace tallyform::gui
