#pragma once
// The editable grid: a report-style list over any item model whose cells are edited in place, in a text
// box or a drop-down list that opens over the cell. The dialogs of the element list window show their
// two-column lists in it, and the edit view its table of many columns.

#include <QColor>
#include <QFontMetrics>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <map>
#include <optional>

namespace tallyform::gui {

/// A table view with grid lines, whole-row selection and no row header, whose cells open an in-place editor.
///
/// Which cells open which editor depends on the mode:
/// - kCell: a click highlights a cell; a click on the highlighted cell, a double-click on it, or Enter opens
///   a text box on it. The arrow keys move the highlighted cell while no box is open.
/// - kChoice: a click on a cell after the first in a row that is already selected opens a drop-down list of
///   the choices given by SetChoices.
/// - kPerColumn: clicks and keys as in kCell; each column opens the editor SetColumnEditor gave it (a text
///   box by default), and a column set to kNone is read-only.
/// In kCell and kChoice the first column is never editable. A cell the model does not flag editable never
/// opens an editor either. In every mode Enter opens the current cell, or when that is not editable the next
/// editable cell of its row.
///
/// In an open box: Enter commits; Esc cancels; losing the focus commits; Tab moves to the next editable
/// column (from the last one to the first editable column of the next row), Shift+Tab back (from the first
/// editable column to the last one of the previous row); Left with the cursor at the start of the text moves
/// to the previous editable column of the row, Right at its end to the next; Up and Down move to the same
/// column of the previous or next row; Page Up and Page Down move by the rows a page shows; Ctrl+End moves
/// to the last row. A move commits the box, and opens the box of the cell it reaches; a move that leads
/// nowhere (Tab in the last cell) does nothing. A drop-down list takes Enter, Esc, Tab and Shift+Tab the same
/// way and keeps the other keys for choosing; choosing an item from its list commits it. A text box widens
/// with its text up to the grid's right edge.
///
/// The highlighted cell (the current cell, in kCell and kPerColumn) is drawn in white on kHighlight with a
/// focus frame, its text cut to the column width less kCutMargin pixels (see CutToWidth).
///
/// The parent hears of edits through aboutToChange and changed. While no editor is open, the wheel and
/// right-button presses go to the parent through wheelTurned and contextRequested, and the grid itself
/// neither scrolls nor moves its selection for them. With an editor open, the wheel over the grid commits
/// it and scrolls the grid (a drop-down list under the mouse takes the wheel for choosing), and the right
/// button on the box opens the box's own menu; a press anywhere else takes the focus from the box, which
/// commits it, and then goes to the parent.
class EditableGrid : public QTableView {
  Q_OBJECT
 public:
  enum class Mode { kCell, kChoice, kPerColumn };
  enum class EditorKind { kText, kChoice, kNone };
  /// What a column opens in kPerColumn.
  struct ColumnEditor {
    EditorKind kind = EditorKind::kText;
    /// The items of the drop-down list, for kChoice.
    QStringList choices;
  };

  /// The background of the highlighted cell.
  static inline const QColor kHighlight{0, 42, 114};
  /// The highlighted cell's text is cut to the column width less this many pixels.
  static constexpr int kCutMargin = 10;

  explicit EditableGrid(QWidget* parent = nullptr);

  /// Closes an open editor without committing it.
  void SetMode(Mode mode);
  Mode mode() const { return mode_; }
  /// The drop-down list's items in kChoice.
  void SetChoices(QStringList choices);
  /// The editor of `column` in kPerColumn.
  void SetColumnEditor(int column, ColumnEditor editor);
  /// What a cell of `column` opens in the current mode (kNone for a read-only column).
  EditorKind EditorFor(int column) const;

  /// Makes the cell current and opens its editor (a drop-down list opens dropped down), committing one that
  /// was open. False, with nothing opened, when the cell does not exist or is not editable.
  bool OpenEditor(int row, int column);
  /// Commits and closes an open editor (nothing when none is open). A dialog calls it before it reads the
  /// model on OK, since OK given by a key leaves the focus, and so the box, where it was.
  void CommitEditor() { CloseOpenEditor(true); }
  /// The open text box (QLineEdit) or drop-down list (QComboBox), or null.
  QWidget* open_editor() const { return editor_; }

  /// `text` as the highlighted cell shows it in `width` pixels: whole when it fits, otherwise as many of its
  /// first characters as fit with "..." after them ("..." alone, or less of it, when nothing else fits).
  static QString CutToWidth(const QString& text, const QFontMetrics& metrics, int width);

 signals:
  /// A committed edit is about to change the text of the cell (model row and column, from 0): emitted only
  /// when the text differs, before the model is written. Callers get the model's column (the first column
  /// is 0).
  void aboutToChange(int row, int column);
  /// The cell's new text is in the model (after aboutToChange).
  void changed(int row, int column);
  /// The wheel turned over the grid while no editor was open; `delta` in eighths of a degree, as
  /// QWheelEvent::angleDelta().y().
  void wheelTurned(int delta);
  /// The right button was pressed on the grid while no editor was open, at `global_pos` (screen) over model
  /// row `row` (-1 below the last row).
  void contextRequested(QPoint global_pos, int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  class Delegate;
  friend class Delegate;

  bool Editable(const QModelIndex& index) const;
  bool DrawsHighlight(const QModelIndex& index) const;
  /// Whether a left click on `index` (before it acts) opens its editor.
  bool ClickOpens(const QModelIndex& index) const;
  /// Handles a key pressed in the open editor; false leaves it to the editor.
  bool EditorKey(const QKeyEvent& key);
  /// Where a key moves the open editor: nothing when the key is not a move, an invalid index when the move
  /// leads nowhere.
  std::optional<QModelIndex> EditorTarget(const QKeyEvent& key) const;
  /// The nearest editable cell of `row` after `column` (`step` 1) or before it (-1); invalid when none.
  QModelIndex EditableInRow(int row, int column, int step) const;
  int RowsPerPage() const;
  /// Commits (or with `commit` false cancels) the open editor and closes it.
  void CloseOpenEditor(bool commit);

  Mode mode_ = Mode::kCell;
  QStringList choices_;
  std::map<int, ColumnEditor> column_editors_;
  QPointer<QWidget> editor_;
  /// The cell of the open editor.
  QPersistentModelIndex editing_;
  /// The cell whose left-button press may open its editor on release.
  QPersistentModelIndex pending_open_;
};

}  // namespace tallyform::gui
