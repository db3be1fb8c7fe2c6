#include "gui/document_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QStackedWidget>
#include <QWindowStateChangeEvent>
#include <utility>

#include "gui/document_controller.h"
#include "gui/edit_view.h"
#include "gui/editable_grid.h"
#include "gui/page_view.h"

namespace tallyform::gui {

DocumentWindow::DocumentWindow(app::DocumentSession session, Services& services, const QString& family,
                               QWidget* parent)
    : QMdiSubWindow(parent),
      controller_(new DocumentController(std::move(session), services, this)),
      views_(new QStackedWidget(this)),
      view_(new PageView(*controller_, family, views_)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(QIcon(QStringLiteral(":/icons/tallyform.svg")));
  views_->addWidget(view_);
  setWidget(views_);
  connect(view_, &PageView::stateChanged, this, &DocumentWindow::stateChanged);
  connect(view_, &PageView::titleBlockDoubleClicked, this,
          [this] { controller_->EditTitleBlock(view_->state().current_sheet()); });
  connect(view_, &PageView::productsLineDoubleClicked, this,
          [this] { controller_->EditNumberOfProducts(view_->state().current_sheet()); });
  connect(view_, &PageView::cellDoubleClicked, controller_, &DocumentController::EditCellText);
  connect(controller_, &DocumentController::describedChanged, this, &DocumentWindow::UpdateTitle);
  connect(controller_, &DocumentController::changed, this, &DocumentWindow::UpdateTitle);
  UpdateTitle();
}

QWidget* DocumentWindow::shown_view() const {
  return edit_view_ != nullptr ? static_cast<QWidget*>(edit_view_) : view_;
}

void DocumentWindow::ToggleEditMode() {
  if (edit_view_ == nullptr) {
    edit_view_ = new EditView(*controller_, view_->state().current_sheet(), views_);
    connect(edit_view_, &EditView::stateChanged, this, &DocumentWindow::stateChanged);
    views_->addWidget(edit_view_);
    views_->setCurrentWidget(edit_view_);
    edit_view_->grid()->setFocus();
  } else {
    const int sheet = edit_view_->current_sheet();
    views_->setCurrentWidget(view_);
    // The rows the edit view cut or copied go with it.
    delete edit_view_;
    edit_view_ = nullptr;
    view_->GoToSheet(sheet);
    view_->setFocus();
  }
  emit stateChanged();
}

int DocumentWindow::current_sheet() const {
  return edit_view_ != nullptr ? edit_view_->current_sheet() : view_->state().current_sheet();
}

void DocumentWindow::FirstSheet() {
  edit_view_ != nullptr ? edit_view_->FirstSheet() : view_->FirstSheet();
}

void DocumentWindow::PreviousSheet() {
  edit_view_ != nullptr ? edit_view_->PreviousSheet() : view_->PreviousSheet();
}

void DocumentWindow::NextSheet() {
  edit_view_ != nullptr ? edit_view_->NextSheet() : view_->NextSheet();
}

void DocumentWindow::LastSheet() {
  edit_view_ != nullptr ? edit_view_->LastSheet() : view_->LastSheet();
}

void DocumentWindow::UpdateTitle() {
  // The title as it stands: the main window shows it as "Tallyform - [title]" while this window is maximised,
  // and Qt would show a "[*]" placeholder there literally.
  setWindowTitle(controller_->Title());
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
  if (!controller_->PrepareClose()) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

void DocumentWindow::changeEvent(QEvent* event) {
  QMdiSubWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || sized_ || mdiArea() == nullptr) return;
  const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
  if (!before.testFlag(Qt::WindowMaximized) || (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
    return;
  // A window shown maximised from the start would go back to the small size it had before it was shown.
  sized_ = true;
  setGeometry(mdiArea()->viewport()->rect());
}

}  // namespace tallyform::gui
