#pragma once
// The window of one open document inside the main window: always maximised, titled after the document,
// holding its controller and its page view. Restored, it fills the area. Closing a modified document offers
// to save it first.

#include <QMdiSubWindow>
#include <QString>

class QStackedWidget;

#include "app/document_session.h"

namespace tallyform::gui {

class DocumentController;
class EditView;
class PageView;
struct Services;

class DocumentWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  DocumentWindow(app::DocumentSession session, Services& services, const QString& family,
                 QWidget* parent = nullptr);

  DocumentController& controller() const { return *controller_; }
  PageView& view() const { return *view_; }

  /// "&Редактировать документ": the edit view takes the page view's place at the sheet it showed, or gives
  /// it back at the sheet it shows.
  void ToggleEditMode();
  /// The edit view while the document is edited, otherwise null.
  EditView* edit_view() const { return edit_view_; }
  /// The view shown (the edit view or the page view), which takes the keys.
  QWidget* shown_view() const;

  /// The sheet the shown view shows (1-based), and the sheet moves on it.
  int current_sheet() const;
  void FirstSheet();
  void PreviousSheet();
  void NextSheet();
  void LastSheet();

 signals:
  /// The shown view's sheet, the sheet count, the zoom mode or the edit mode changed.
  void stateChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateTitle();

  /// False until the window is first restored from maximised: until then it has no size of its own to go
  /// back to, and takes the whole area.
  bool sized_ = false;

  DocumentController* controller_;
  QStackedWidget* views_;
  PageView* view_;
  EditView* edit_view_ = nullptr;
};

}  // namespace tallyform::gui
