#pragma once
// The window of one open document inside the main window: always maximised, titled after the document,
// holding its controller and its page view. Restored, it fills the area. Closing a modified document offers
// to save it first.

#include <QMdiSubWindow>
#include <QString>

#include "app/document_session.h"

namespace tallyform::gui {

class DocumentController;
class PageView;
struct Services;

class DocumentWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  DocumentWindow(app::DocumentSession session, Services& services, const QString& family,
                 QWidget* parent = nullptr);

  DocumentController& controller() const { return *controller_; }
  PageView& view() const { return *view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateTitle();

  /// False until the window is first restored from maximised: until then it has no size of its own to go
  /// back to, and takes the whole area.
  bool sized_ = false;

  DocumentController* controller_;
  PageView* view_;
};

}  // namespace tallyform::gui
