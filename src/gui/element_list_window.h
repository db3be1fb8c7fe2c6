#pragma once
// The element list window ("Список элементов"): a modal window over an element list session, with its menu,
// the list of elements and the buttons "Заполнить" and "Отмена". Every command forwards to the session and
// shows the list again; the window closes with success only when "Заполнить" hands a list over.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <map>

#include "app/element_list_session.h"

class QAction;
class QMenuBar;
class QPushButton;
class QTableView;

namespace tallyform::ports {
class Prompts;
}  // namespace tallyform::ports

namespace tallyform::gui {

class ElementListModel;

class ElementListWindow : public QDialog {
  Q_OBJECT
 public:
  /// The commands of the window's menu.
  enum class Command {
    kAdd,
    kClose,
    kUndo,
    kRedo,
    kDesignations,
    kKinds,
    kRoles,
    kMapping,
    kSort,
    kJoin,
    kReport,
  };

  /// `prompts` tells the errors of the commands.
  ElementListWindow(app::ElementListSession& session, ports::Prompts& prompts, QWidget* parent = nullptr);

  QAction* action(Command command) const;
  QTableView* list() const { return list_; }
  ElementListModel& model() const { return *model_; }
  QPushButton* fill_button() const { return fill_; }
  QPushButton* cancel_button() const { return cancel_; }

  /// "Заполнить": the fill action; the window closes with success when the list is handed over, closes
  /// without when the list is empty, and stays otherwise.
  void Fill();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void MakeMenu();
  /// Runs a command of the session through the error boundary, with the wait cursor, then shows the list
  /// and the enabling again.
  void Run(const std::function<void()>& command);
  void Refresh();
  void LayOut();
  void SizeColumns();

  void AddElements();
  void EditDesignations();
  void EditKinds();
  void EditRoles();
  void EditMapping();
  void JoinAttributes();

  app::ElementListSession& session_;
  ports::Prompts& prompts_;
  QMenuBar* menu_;
  QWidget* client_;
  QTableView* list_;
  ElementListModel* model_;
  QPushButton* fill_;
  QPushButton* cancel_;
  std::map<Command, QAction*> actions_;
};

}  // namespace tallyform::gui
