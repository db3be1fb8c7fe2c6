#pragma once
// The page view: the current sheet of a document, drawn by the sheet drawing on the screen, with zoom,
// paging, the selection click and scrolling. The view state lives in presentation::PageViewState; this
// widget feeds it events and shows what it says.

#include <QAbstractScrollArea>
#include <QCursor>
#include <QString>
#include <cstddef>

#include "presentation/page_view_state.h"
#include "presentation/sheet_view.h"

namespace tallyform::gui {

class DocumentController;

class PageView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  PageView(DocumentController& controller, QString family, QWidget* parent = nullptr);

  DocumentController& controller() const { return controller_; }
  const presentation::PageViewState& state() const { return state_; }
  /// The cursor over the sheet: a magnifier with a plus or a minus in the zoom modes.
  QCursor cursor_shown() const { return viewport()->cursor(); }

  void FirstSheet();
  void PreviousSheet();
  void NextSheet();
  void LastSheet();
  void ToggleZoomInMode();
  void ToggleZoomOutMode();
  void WholeSheet();
  /// Shows the sheet (1-based), as far as the document has it.
  void GoToSheet(int sheet);

  /// Milliseconds the last paint took.
  double last_paint_ms() const { return last_paint_ms_; }
  /// What the last drawing mapped and hit.
  const presentation::SheetView& sheet_view() const { return sheet_view_; }

 signals:
  /// The sheet, the sheet count or the zoom mode changed: status panes and commands follow.
  void stateChanged();
  /// A double click outside the zoom modes on a table cell: the sheet (0-based), the row and the cell.
  void cellDoubleClicked(std::size_t sheet, int row, int cell);
  /// A double click outside the zoom modes on the title block band of the sheet shown.
  void titleBlockDoubleClicked();
  /// A double click outside the zoom modes on the products line of a simple bill's section.
  void productsLineDoubleClicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  /// The viewport's size without scroll bars.
  presentation::ViewSize Room() const;
  void EnsureStarted();
  void SyncSheetCount();
  void UpdateScrollBars();
  void ApplyCentring();
  void Changed();
  void UpdateCursor();

  DocumentController& controller_;
  QString family_;
  presentation::PageViewState state_;
  /// What the last drawing mapped and selected; this view's alone.
  presentation::SheetView sheet_view_;
  double last_paint_ms_ = 0;
  bool drawing_failed_ = false;
  QCursor zoom_in_cursor_;
  QCursor zoom_out_cursor_;
};

}  // namespace tallyform::gui
