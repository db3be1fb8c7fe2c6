#include "gui/editable_grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>
#include <optional>
#include <utility>

namespace tallyform::gui {

// Opens the editor a column calls for, writes a commit into the model between the grid's two signals, draws
// the highlighted cell, and hands the keys of an open editor to the grid first.
class EditableGrid::Delegate : public QStyledItemDelegate {
 public:
  explicit Delegate(EditableGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    QWidget* editor = nullptr;
    switch (grid_.EditorFor(index.column())) {
      case EditorKind::kText: {
        auto* box = new QLineEdit(parent);
        connect(box, &QLineEdit::textChanged, &grid_, [grid = &grid_] { grid->updateEditorGeometries(); });
        editor = box;
        break;
      }
      case EditorKind::kChoice: {
        auto* list = new QComboBox(parent);
        list->addItems(grid_.mode_ == Mode::kChoice ? grid_.choices_
                                                    : grid_.column_editors_.at(index.column()).choices);
        connect(list, &QComboBox::activated, &grid_, [grid = &grid_, list] {
          if (grid->editor_ == list) grid->CloseOpenEditor(true);
        });
        editor = list;
        break;
      }
      case EditorKind::kNone:
        return nullptr;
    }
    grid_.editor_ = editor;
    grid_.editing_ = index;
    return editor;
  }

  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    if (grid_.editor_ == editor) {
      grid_.editor_ = nullptr;
      grid_.editing_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* box = qobject_cast<QLineEdit*>(editor)) box->setText(text);
    if (auto* list = qobject_cast<QComboBox*>(editor)) list->setCurrentIndex(list->findText(text));
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
    QString text;
    if (auto* box = qobject_cast<QLineEdit*>(editor)) text = box->text();
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
      // A cell whose text is none of the choices keeps it until one is chosen.
      if (list->currentIndex() < 0) return;
      text = list->currentText();
    }
    if (text == index.data(Qt::EditRole).toString()) return;
    const int row = index.row();
    const int column = index.column();
    emit grid_.aboutToChange(row, column);
    if (model->setData(index, text, Qt::EditRole)) emit grid_.changed(row, column);
  }

  // The cell's own rectangle, or for a text box as wide as its text needs, up to the grid's right edge.
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex&) const override {
    QRect rect = option.rect;
    if (auto* box = qobject_cast<QLineEdit*>(editor)) {
      // The box's least width holds its frame, its margins and a character more.
      const int wanted = box->fontMetrics().horizontalAdvance(box->text()) + box->minimumSizeHint().width();
      const int room = editor->parentWidget()->width() - rect.left();
      rect.setWidth(std::max(rect.width(), std::min(wanted, room)));
    }
    editor->setGeometry(rect);
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!grid_.DrawsHighlight(index)) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    painter->save();
    painter->fillRect(option.rect, kHighlight);
    const int width = grid_.columnWidth(index.column()) - kCutMargin;
    const QString text = CutToWidth(index.data(Qt::DisplayRole).toString(), option.fontMetrics, width);
    painter->setFont(option.font);
    painter->setPen(Qt::white);
    const QRect text_rect = option.rect.adjusted(kCutMargin / 2, 0, -kCutMargin / 2, 0);
    painter->drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    QPen frame(Qt::white);
    frame.setStyle(Qt::DotLine);
    painter->setPen(frame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
  }

  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && object == grid_.editor_ &&
        grid_.EditorKey(static_cast<const QKeyEvent&>(*event))) {
      return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

 private:
  EditableGrid& grid_;
};

EditableGrid::EditableGrid(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new Delegate(*this));
  setSelectionBehavior(SelectRows);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setTabKeyNavigation(false);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
}

void EditableGrid::SetMode(Mode mode) {
  CloseOpenEditor(false);
  mode_ = mode;
  viewport()->update();
}

void EditableGrid::SetChoices(QStringList choices) {
  choices_ = std::move(choices);
}

void EditableGrid::SetColumnEditor(int column, ColumnEditor editor) {
  column_editors_[column] = std::move(editor);
}

EditableGrid::EditorKind EditableGrid::EditorFor(int column) const {
  switch (mode_) {
    case Mode::kCell:
      return column == 0 ? EditorKind::kNone : EditorKind::kText;
    case Mode::kChoice:
      return column == 0 ? EditorKind::kNone : EditorKind::kChoice;
    case Mode::kPerColumn:
      break;
  }
  const auto found = column_editors_.find(column);
  return found == column_editors_.end() ? EditorKind::kText : found->second.kind;
}

bool EditableGrid::OpenEditor(int row, int column) {
  if (model() == nullptr) return false;
  const QPersistentModelIndex index = model()->index(row, column, rootIndex());
  if (!Editable(index)) return false;
  CloseOpenEditor(true);
  pending_open_ = QPersistentModelIndex();
  // The commit's listeners may have changed the model.
  if (!Editable(index)) return false;
  setCurrentIndex(index);
  scrollTo(index);
  if (!QAbstractItemView::edit(index, AllEditTriggers, nullptr)) return false;
  if (auto* list = qobject_cast<QComboBox*>(editor_.data())) list->showPopup();
  return true;
}

QString EditableGrid::CutToWidth(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const QString dots = QStringLiteral("...");
  const auto fits = [&](qsizetype count) {
    return metrics.horizontalAdvance(text.left(count) + dots) <= width;
  };
  if (!fits(0)) {
    QString part = dots;
    while (!part.isEmpty() && metrics.horizontalAdvance(part) > width) part.chop(1);
    return part;
  }
  // The longest beginning that fits with the dots: fits(low) holds, fits(high) does not.
  qsizetype low = 0;
  qsizetype high = text.size();
  while (high - low > 1) {
    const qsizetype middle = (low + high) / 2;
    (fits(middle) ? low : high) = middle;
  }
  return text.left(low) + dots;
}

bool EditableGrid::Editable(const QModelIndex& index) const {
  if (!index.isValid() || isColumnHidden(index.column())) return false;
  if (EditorFor(index.column()) == EditorKind::kNone) return false;
  const Qt::ItemFlags flags = index.flags();
  return flags.testFlag(Qt::ItemIsEditable) && flags.testFlag(Qt::ItemIsEnabled);
}

bool EditableGrid::DrawsHighlight(const QModelIndex& index) const {
  return mode_ != Mode::kChoice && index.isValid() && index == currentIndex();
}

bool EditableGrid::ClickOpens(const QModelIndex& index) const {
  if (!Editable(index)) return false;
  if (mode_ == Mode::kChoice) return selectionModel()->isRowSelected(index.row(), index.parent());
  return index == currentIndex();
}

bool EditableGrid::EditorKey(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      CloseOpenEditor(true);
      return true;
    case Qt::Key_Escape:
      CloseOpenEditor(false);
      return true;
    default:
      break;
  }
  const auto* box = qobject_cast<const QLineEdit*>(editor_.data());
  const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
  // A drop-down list keeps its other keys for choosing.
  if (box == nullptr && !tab) return false;
  if (key.key() == Qt::Key_Left && box->cursorPosition() != 0) return false;
  if (key.key() == Qt::Key_Right && box->cursorPosition() != box->text().size()) return false;
  const std::optional<QModelIndex> target = EditorTarget(key);
  if (!target) return false;
  if (target->isValid()) {
    const QPersistentModelIndex to = *target;
    CloseOpenEditor(true);
    OpenEditor(to.row(), to.column());
  }
  return true;
}

std::optional<QModelIndex> EditableGrid::EditorTarget(const QKeyEvent& key) const {
  const int row = editing_.row();
  const int column = editing_.column();
  const int rows = model()->rowCount(rootIndex());
  const int columns = model()->columnCount(rootIndex());
  const auto same_column = [&](int to) {
    to = std::clamp(to, 0, rows - 1);
    const QModelIndex index = model()->index(to, column, rootIndex());
    return to != row && Editable(index) ? index : QModelIndex();
  };
  const bool back = key.key() == Qt::Key_Backtab || key.modifiers().testFlag(Qt::ShiftModifier);
  switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      QModelIndex next = EditableInRow(row, column, back ? -1 : 1);
      for (int r = row + (back ? -1 : 1); !next.isValid() && r >= 0 && r < rows; r += back ? -1 : 1) {
        next = EditableInRow(r, back ? columns : -1, back ? -1 : 1);
      }
      return next;
    }
    case Qt::Key_Left:
      return EditableInRow(row, column, -1);
    case Qt::Key_Right:
      return EditableInRow(row, column, 1);
    case Qt::Key_Up:
      return same_column(row - 1);
    case Qt::Key_Down:
      return same_column(row + 1);
    case Qt::Key_PageUp:
      return same_column(row - RowsPerPage());
    case Qt::Key_PageDown:
      return same_column(row + RowsPerPage());
    case Qt::Key_End:
      if (key.modifiers().testFlag(Qt::ControlModifier)) return same_column(rows - 1);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

QModelIndex EditableGrid::EditableInRow(int row, int column, int step) const {
  const int columns = model()->columnCount(rootIndex());
  for (int c = column + step; c >= 0 && c < columns; c += step) {
    const QModelIndex index = model()->index(row, c, rootIndex());
    if (Editable(index)) return index;
  }
  return {};
}

int EditableGrid::RowsPerPage() const {
  const int row_height = std::max(1, verticalHeader()->defaultSectionSize());
  return std::max(1, viewport()->height() / row_height);
}

void EditableGrid::CloseOpenEditor(bool commit) {
  QWidget* editor = editor_;
  if (editor == nullptr) return;
  if (commit) commitData(editor);
  // The commit's listeners may have closed it already.
  if (editor_ == editor) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void EditableGrid::keyPressEvent(QKeyEvent* event) {
  // Keys an open editor leaves unused move nothing under it.
  if (editor_ != nullptr) {
    event->accept();
    return;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && model() != nullptr) {
    const QModelIndex current = currentIndex();
    const QModelIndex target =
        Editable(current) ? current : EditableInRow(current.row(), current.column(), 1);
    if (current.isValid() && target.isValid()) {
      OpenEditor(target.row(), target.column());
      event->accept();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void EditableGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && editor_ == nullptr) {
    emit contextRequested(event->globalPosition().toPoint(), indexAt(event->position().toPoint()).row());
    event->accept();
    return;
  }
  const QModelIndex hit = indexAt(event->position().toPoint());
  pending_open_ = event->button() == Qt::LeftButton && ClickOpens(hit) ? hit : QModelIndex();
  QTableView::mousePressEvent(event);
}

void EditableGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableView::mouseReleaseEvent(event);
  const QPersistentModelIndex pending = std::exchange(pending_open_, QPersistentModelIndex());
  if (event->button() == Qt::LeftButton && pending.isValid() &&
      indexAt(event->position().toPoint()) == pending) {
    OpenEditor(pending.row(), pending.column());
  }
}

// The second press of a double-click on the cell the first one highlighted opens it, as a second click does.
void EditableGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex hit = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && editor_ == nullptr && ClickOpens(hit)) {
    OpenEditor(hit.row(), hit.column());
    event->accept();
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
}

void EditableGrid::wheelEvent(QWheelEvent* event) {
  if (editor_ == nullptr) {
    emit wheelTurned(event->angleDelta().y());
    event->accept();
    return;
  }
  // A box scrolled out of view would lose the focus and commit anyway; it does so before the scroll.
  CloseOpenEditor(true);
  QTableView::wheelEvent(event);
}

}  // namespace tallyform::gui
