#include "gui/document_window.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QWindowStateChangeEvent>
#include <utility>

#include "gui/document_controller.h"
#include "gui/page_view.h"

namespace tallyform::gui {

DocumentWindow::DocumentWindow(app::DocumentSession session, Services& services, const QString& family,
                               QWidget* parent)
    : QMdiSubWindow(parent),
      controller_(new DocumentController(std::move(session), services, this)),
      view_(new PageView(*controller_, family, this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(QIcon(QStringLiteral(":/icons/tallyform.svg")));
  setWidget(view_);
  connect(view_, &PageView::titleBlockDoubleClicked, this,
          [this] { controller_->EditTitleBlock(view_->state().current_sheet()); });
  connect(view_, &PageView::productsLineDoubleClicked, this,
          [this] { controller_->EditNumberOfProducts(view_->state().current_sheet()); });
  connect(controller_, &DocumentController::describedChanged, this, &DocumentWindow::UpdateTitle);
  connect(controller_, &DocumentController::changed, this, &DocumentWindow::UpdateTitle);
  UpdateTitle();
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
