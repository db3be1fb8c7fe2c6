#include "gui/page_view.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <utility>

#include "adapters/qt_device.h"
#include "gui/document_controller.h"
#include "gui/error_boundary.h"
#include "presentation/sheet_drawing.h"

namespace tallyform::gui {
namespace {

presentation::Point PointOf(const QPoint& p) {
  return {p.x(), p.y()};
}

// A zoom mode's cursor: the toolbar's magnifier at cursor size, its hot spot in the middle of the lens.
QCursor MagnifierCursor(const QString& icon) {
  constexpr int kSize = 32;
  const QPixmap picture = QIcon(QStringLiteral(":/icons/%1.svg").arg(icon)).pixmap(kSize, kSize);
  if (picture.isNull()) return QCursor(Qt::CrossCursor);
  return QCursor(picture, kSize * 13 / 32, kSize * 13 / 32);
}

}  // namespace

PageView::PageView(DocumentController& controller, QString family, QWidget* parent)
    : QAbstractScrollArea(parent),
      controller_(controller),
      family_(std::move(family)),
      zoom_in_cursor_(MagnifierCursor(QStringLiteral("zoomin"))),
      zoom_out_cursor_(MagnifierCursor(QStringLiteral("zoomout"))) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(true);
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  viewport()->setPalette(palette);
  SyncSheetCount();
  connect(&controller_, &DocumentController::changed, this, [this](const app::DocumentChange& change) {
    if (!change.Touches(app::DocumentChange::kSheets | app::DocumentChange::kSettings)) return;
    drawing_failed_ = false;
    SyncSheetCount();
    Changed();
  });
}

presentation::ViewSize PageView::Room() const {
  const QSize room = maximumViewportSize();
  return {room.width(), room.height()};
}

// The base size is the viewport's size at the first paint, when the window has its laid-out size; without
// the scroll bars, which come and go with the zoom.
void PageView::EnsureStarted() {
  const presentation::ViewSize room = Room();
  if (state_.started() || room.width <= 0 || room.height <= 0) return;
  state_.Start(room);
  SyncSheetCount();
  UpdateScrollBars();
  emit stateChanged();
}

void PageView::SyncSheetCount() {
  state_.SetSheetCount(static_cast<int>(controller_.document().sheets().sheet_count()));
}

void PageView::UpdateScrollBars() {
  const document::SheetSet& sheets = controller_.document().sheets();
  const presentation::ViewSize size = state_.ScrollSize(sheets.sheet_width(), sheets.sheet_height());
  const presentation::ViewSize page = presentation::PageViewState::PageStep(size);
  const presentation::ViewSize line = presentation::PageViewState::LineStep(size);
  // Bars that lie over the viewport take none of its room.
  const bool overlaid = style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, this) != 0;
  const presentation::ViewSize bar = overlaid
                                         ? presentation::ViewSize{}
                                         : presentation::ViewSize{verticalScrollBar()->sizeHint().width(),
                                                                  horizontalScrollBar()->sizeHint().height()};
  const presentation::ScrollBars bars =
      state_.ScrollBarsFor(Room(), bar, sheets.sheet_width(), sheets.sheet_height());
  horizontalScrollBar()->setRange(0, bars.range.width);
  horizontalScrollBar()->setPageStep(page.width);
  horizontalScrollBar()->setSingleStep(line.width);
  verticalScrollBar()->setRange(0, bars.range.height);
  verticalScrollBar()->setPageStep(page.height);
  verticalScrollBar()->setSingleStep(line.height);
}

void PageView::ApplyCentring() {
  const document::SheetSet& sheets = controller_.document().sheets();
  const presentation::Point scroll{horizontalScrollBar()->value(), verticalScrollBar()->value()};
  if (const auto target = state_.TakeCentring(scroll, sheets.sheet_width(), sheets.sheet_height())) {
    horizontalScrollBar()->setValue(target->x);
    verticalScrollBar()->setValue(target->y);
  }
}

void PageView::Changed() {
  UpdateScrollBars();
  viewport()->update();
  UpdateCursor();
  emit stateChanged();
}

void PageView::UpdateCursor() {
  if (state_.zoom_in_mode()) {
    viewport()->setCursor(zoom_in_cursor_);
  } else if (state_.zoom_out_mode()) {
    viewport()->setCursor(zoom_out_cursor_);
  } else {
    viewport()->unsetCursor();
  }
}

void PageView::paintEvent(QPaintEvent*) {
  EnsureStarted();
  if (!state_.started()) return;
  QElapsedTimer timer;
  timer.start();
  SyncSheetCount();
  QPainter painter(viewport());
  const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  painter.translate(-scroll);
  // A sheet that cannot be drawn is said once, after the paint; the next change of the document tries again.
  if (drawing_failed_) return;
  drawing_failed_ = !Guard(
      [this](const std::string& message) { controller_.TellLater(message); },
      [&] {
        adapters::QtDevice device(painter, adapters::QtDevice::Use::kScreen, family_, viewport()->size());
        presentation::ScreenView view{state_.PageHeight(), state_.selection(), PointOf(scroll)};
        presentation::DrawSheet(controller_.document().sheets(), sheet_view_, device, state_.current_sheet(),
                                view);
        state_.selection() = view.selection;
      });
  last_paint_ms_ = static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (state_.started()) UpdateScrollBars();
}

void PageView::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  emit stateChanged();
}

void PageView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  EnsureStarted();
  const bool zoomed = state_.Click(PointOf(event->position().toPoint()));
  if (zoomed) {
    UpdateScrollBars();
    ApplyCentring();
  }
  Changed();
}

void PageView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseDoubleClickEvent(event);
    return;
  }
  // The second press of a double click is a click as well: in a zoom mode it zooms once more, and that is
  // all it does there.
  mousePressEvent(event);
  if (state_.zoom_in_mode() || state_.zoom_out_mode()) return;
  presentation::Point point = PointOf(event->position().toPoint());
  const presentation::Point scroll{horizontalScrollBar()->value(), verticalScrollBar()->value()};
  sheet_view_.SetCurrentSheet(state_.current_sheet());
  const int sheet = state_.current_sheet();
  if (sheet_view_.CellAtPoint(controller_.document().sheets(), point, scroll) != nullptr) {
    emit cellDoubleClicked(static_cast<std::size_t>(sheet - 1), sheet_view_.selected_row(),
                           sheet_view_.selected_column());
  } else if (sheet_view_.products_line_hit()) {
    emit productsLineDoubleClicked();
  } else if (sheet_view_.title_block_hit()) {
    emit titleBlockDoubleClicked();
  }
}

void PageView::keyPressEvent(QKeyEvent* event) {
  EnsureStarted();
  if (event->text() == QStringLiteral("+")) {
    if (state_.ZoomIn()) Changed();
    return;
  }
  if (event->text() == QStringLiteral("-")) {
    if (state_.ZoomOut()) Changed();
    return;
  }
  switch (event->key()) {
    case Qt::Key_PageUp:
      PreviousSheet();
      return;
    case Qt::Key_PageDown:
      NextSheet();
      return;
    case Qt::Key_Left:
      horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return;
    case Qt::Key_Right:
      horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return;
    case Qt::Key_Up:
      verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return;
    case Qt::Key_Down:
      verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return;
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void PageView::wheelEvent(QWheelEvent* event) {
  EnsureStarted();
  const document::SheetSet& sheets = controller_.document().sheets();
  const int scroll_height = state_.ScrollSize(sheets.sheet_width(), sheets.sheet_height()).height;
  switch (state_.Wheel(event->angleDelta().y(), verticalScrollBar()->value(), scroll_height)) {
    case presentation::PageViewState::WheelAction::kNextSheet:
      verticalScrollBar()->setValue(0);
      Changed();
      event->accept();
      return;
    case presentation::PageViewState::WheelAction::kPreviousSheet:
      Changed();
      verticalScrollBar()->setValue(state_.PreviousSheetScrollY(scroll_height));
      event->accept();
      return;
    case presentation::PageViewState::WheelAction::kScroll:
      QAbstractScrollArea::wheelEvent(event);
  }
}

void PageView::FirstSheet() {
  if (state_.First()) Changed();
}

void PageView::PreviousSheet() {
  if (state_.Previous()) Changed();
}

void PageView::NextSheet() {
  if (state_.Next()) Changed();
}

void PageView::LastSheet() {
  if (state_.Last()) Changed();
}

void PageView::GoToSheet(int sheet) {
  EnsureStarted();
  if (state_.GoTo(sheet)) Changed();
}

void PageView::ToggleZoomInMode() {
  state_.ToggleZoomInMode();
  Changed();
}

void PageView::ToggleZoomOutMode() {
  state_.ToggleZoomOutMode();
  Changed();
}

void PageView::WholeSheet() {
  state_.WholeSheet();
  Changed();
}

}  // namespace tallyform::gui
