#include "gui/edit_view.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "adapters/qt_text.h"
#include "app/document_session.h"
#include "document/document.h"
#include "gui/document_controller.h"
#include "gui/editable_grid.h"
#include "presentation/edit_view_columns.h"

namespace tallyform::gui {
namespace {

// The least width of a column that is not sized by its texts, pixels.
constexpr int kPlainWidth = 70;

}  // namespace

SheetRowsModel::SheetRowsModel(DocumentController& controller, QObject* parent)
    : QAbstractTableModel(parent), controller_(controller), kind_(controller.document().kind()) {}

const document::CTableRows* SheetRowsModel::Table() const {
  const document::SheetSet& sheets = controller_.document().sheets();
  if (sheet_ < 1 || static_cast<std::size_t>(sheet_) > sheets.sheet_count()) return nullptr;
  return &sheets.sheet(static_cast<std::size_t>(sheet_ - 1));
}

void SheetRowsModel::ShowSheet(int sheet) {
  beginResetModel();
  sheet_ = sheet;
  const document::CTableRows* table = Table();
  rows_ = table != nullptr ? static_cast<int>(table->row_count()) : 0;
  endResetModel();
}

void SheetRowsModel::Refresh() {
  const document::CTableRows* table = Table();
  const int rows = table != nullptr ? static_cast<int>(table->row_count()) : 0;
  if (rows != rows_) {
    ShowSheet(sheet_);
    return;
  }
  // Every sheet keeps its rows through a change: the lines stay, their texts are read again.
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1));
}

int SheetRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int SheetRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(presentation::EditViewColumns(kind_).size());
}

QVariant SheetRowsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const document::CTableRows* table = Table();
  if (table == nullptr || index.row() >= rows_) return {};
  const int cell = presentation::EditViewColumns(kind_)[static_cast<std::size_t>(index.column())].cell;
  if (cell == presentation::kRowNumber) return QString::number(index.row() + 1);
  const auto row = static_cast<std::size_t>(index.row());
  if (static_cast<std::size_t>(cell) >= table->rows()[row].cell_count()) return QString();
  return adapters::ToQString(table->cell(row, static_cast<std::size_t>(cell)).text());
}

QVariant SheetRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  const std::span<const presentation::EditViewColumn> columns = presentation::EditViewColumns(kind_);
  if (section < 0 || static_cast<std::size_t>(section) >= columns.size()) return {};
  return QString::fromUtf8(columns[static_cast<std::size_t>(section)].heading);
}

Qt::ItemFlags SheetRowsModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() &&
      presentation::EditViewColumns(kind_)[static_cast<std::size_t>(index.column())].cell !=
          presentation::kRowNumber) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
}

bool SheetRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  const int cell = presentation::EditViewColumns(kind_)[static_cast<std::size_t>(index.column())].cell;
  if (cell == presentation::kRowNumber) return false;
  return controller_.EditCell(static_cast<std::size_t>(sheet_ - 1), index.row(), cell,
                              adapters::FromQString(value.toString()));
}

EditView::EditView(DocumentController& controller, int sheet, QWidget* parent)
    : QWidget(parent),
      controller_(controller),
      model_(controller),
      grid_(new EditableGrid(this)),
      menu_(new QMenu(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  grid_->setModel(&model_);
  grid_->SetMode(EditableGrid::Mode::kCell);
  // Several lines may be selected for cutting and copying.
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid_->viewport()->installEventFilter(this);
  grid_->horizontalHeader()->setStretchLastSection(true);

  static constexpr const char* kTexts[] = {"Вырезать строки", "Копировать строки", "Вставить строки",
                                           "Вставить пустую строку", "Удалить строку"};
  for (std::size_t i = 0; i < std::size(kTexts); ++i) {
    QAction* command = menu_->addAction(QString::fromUtf8(kTexts[i]));
    const auto row_command = static_cast<RowCommand>(i);
    connect(command, &QAction::triggered, this, [this, row_command] { Run(row_command); });
    actions_.push_back(command);
    if (row_command == RowCommand::kPaste) menu_->addSeparator();
  }

  connect(grid_, &EditableGrid::contextRequested, this, &EditView::OnContextRequested);
  connect(grid_, &EditableGrid::wheelTurned, this, [this](int delta) {
    // Towards the user the next sheet, away the previous one.
    if (delta < 0) NextSheet();
    if (delta > 0) PreviousSheet();
  });
  connect(grid_, &EditableGrid::changed, this, &EditView::OnCellChanged);
  connect(&controller_, &DocumentController::changed, this, &EditView::OnChanged);
  ShowSheet(std::max(1, sheet));
}

EditView::~EditView() {
  controller_.ClearRowClipboard();
}

int EditView::sheet_count() const {
  return static_cast<int>(controller_.document().sheets().sheet_count());
}

void EditView::ShowSheet(int sheet) {
  const int shown = std::clamp(sheet, 1, std::max(1, sheet_count()));
  if (shown == model_.sheet() && model_.rowCount() > 0) return;
  model_.ShowSheet(shown);
  menu_row_ = -1;
  SizeColumns();
  emit stateChanged();
}

void EditView::SizeColumns() {
  // The columns the kind names are as wide as their texts (the highlighted cell keeps room for its cut),
  // the others as wide as their headings; the last one takes what is left of the view.
  const std::span<const presentation::EditViewColumn> columns =
      presentation::EditViewColumns(controller_.document().kind());
  QHeaderView* header = grid_->horizontalHeader();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int column = static_cast<int>(i);
    int width = std::max(header->sectionSizeHint(column), presentation::kLeastWidth);
    if (columns[i].fits_contents) {
      grid_->resizeColumnToContents(column);
      width = std::max(width, grid_->columnWidth(column) + EditableGrid::kCutMargin);
    } else {
      width = std::max(width, kPlainWidth);
    }
    grid_->setColumnWidth(column, width);
  }
}

void EditView::OnChanged(const app::DocumentChange&) {
  const int before = model_.sheet();
  if (before > sheet_count()) {
    ShowSheet(sheet_count());
  } else {
    model_.Refresh();
    SizeColumns();
  }
  emit stateChanged();
}

void EditView::OnCellChanged(int, int) {
  SizeColumns();
}

bool EditView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    menu_armed_ = true;
  }
  return QWidget::eventFilter(watched, event);
}

void EditView::OnContextRequested(QPoint global_pos, int row) {
  // The menu comes up only after a left click has armed it.
  if (!menu_armed_) return;
  menu_armed_ = false;
  menu_row_ = row;
  action(RowCommand::kPaste)->setEnabled(!controller_.session().row_clipboard().empty());
  menu_->popup(global_pos);
}

std::vector<int> EditView::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : grid_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void EditView::Run(RowCommand command) {
  const auto sheet = static_cast<std::size_t>(current_sheet() - 1);
  std::vector<int> rows = SelectedRows();
  const bool several = rows.size() >= 2 && (command == RowCommand::kCut || command == RowCommand::kCopy);
  if (!several) {
    if (menu_row_ < 0) return;
    rows.assign(1, menu_row_);
  }
  switch (command) {
    case RowCommand::kCut:
      controller_.Apply(app::commands::CutRows{sheet, rows});
      break;
    case RowCommand::kCopy:
      controller_.Apply(app::commands::CopyRows{sheet, rows});
      break;
    case RowCommand::kPaste:
      if (controller_.session().row_clipboard().empty()) return;
      controller_.Apply(app::commands::PasteRows{sheet, rows.front()});
      break;
    case RowCommand::kInsert:
      controller_.Apply(app::commands::InsertRow{sheet, rows.front()});
      break;
    case RowCommand::kDelete:
      controller_.Apply(app::commands::DeleteRow{sheet, rows.front()});
      break;
  }
  grid_->clearSelection();
}

}  // namespace tallyform::gui
