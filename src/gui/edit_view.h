#pragma once
// The edit view: the rows of one sheet of a document as lines of the editable grid, a column per cell the
// document's kind lets the user edit, with the row operations in a context menu. It shows the document and
// hands every change to the document's session; its own state is the sheet shown, the row the context menu
// was opened on and whether a left click has armed that menu.

#include <QAbstractTableModel>
#include <QWidget>
#include <cstddef>
#include <vector>

#include "app/document_change.h"
#include "model/document_kind.h"

class QAction;
class QMenu;

namespace tallyform::document {
class CTableRows;
}  // namespace tallyform::document

namespace tallyform::gui {

class DocumentController;
class EditableGrid;

/// The rows of one sheet: the row's number on the sheet in the first column, the kind's cells in the others.
/// Writing a cell hands the text to the document's session as an in-place cell edit.
class SheetRowsModel : public QAbstractTableModel {
 public:
  explicit SheetRowsModel(DocumentController& controller, QObject* parent = nullptr);

  /// Shows the sheet (1-based).
  void ShowSheet(int sheet);
  int sheet() const { return sheet_; }
  /// The document changed: the rows shown are read again.
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  const document::CTableRows* Table() const;

  DocumentController& controller_;
  model::DocumentKind kind_;
  int sheet_ = 1;
  int rows_ = 0;
};

class EditView : public QWidget {
  Q_OBJECT
 public:
  /// The row operations of the context menu.
  enum class RowCommand { kCut, kCopy, kPaste, kInsert, kDelete };

  /// An edit view of the controller's document showing `sheet` (1-based, lowered to the sheet count).
  EditView(DocumentController& controller, int sheet, QWidget* parent = nullptr);
  /// The row clipboard lives as long as the view.
  ~EditView() override;

  DocumentController& controller() const { return controller_; }
  EditableGrid* grid() const { return grid_; }
  QMenu* context_menu() const { return menu_; }
  QAction* action(RowCommand command) const { return actions_[static_cast<std::size_t>(command)]; }

  /// The sheet shown (1-based) and the document's sheet count.
  int current_sheet() const { return model_.sheet(); }
  int sheet_count() const;
  void FirstSheet() { ShowSheet(1); }
  void PreviousSheet() { ShowSheet(current_sheet() - 1); }
  void NextSheet() { ShowSheet(current_sheet() + 1); }
  void LastSheet() { ShowSheet(sheet_count()); }

  /// Gives a row command as the context menu does: on the selected lines when two or more are selected
  /// (cut and copy), otherwise on the line the menu was opened on. Nothing happens, and no step is recorded,
  /// when there is no such line.
  void Run(RowCommand command);
  /// The line the context menu acts on (its row on the sheet), or -1.
  int menu_row() const { return menu_row_; }

 signals:
  /// The sheet shown or the sheet count changed: the status panes and the sheet commands follow.
  void stateChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowSheet(int sheet);
  void OnChanged(const app::DocumentChange& change);
  void OnContextRequested(QPoint global_pos, int row);
  void OnCellChanged(int row, int column);
  /// The selected lines' rows, ascending.
  std::vector<int> SelectedRows() const;
  void SizeColumns();

  DocumentController& controller_;
  SheetRowsModel model_;
  EditableGrid* grid_;
  QMenu* menu_;
  std::vector<QAction*> actions_;
  int menu_row_ = -1;
  bool menu_armed_ = false;
};

}  // namespace tallyform::gui
