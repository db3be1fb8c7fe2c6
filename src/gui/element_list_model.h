#pragma once
// The element list window's list as a Qt model: one row per element of the window's session, one column
// per attribute name but "Количество". Rows are served as the view asks for them, so a list of thousands
// of elements opens at once. The model only shows; the session changes the list.

#include <QAbstractTableModel>
#include <string>
#include <vector>

namespace tallyform::app {
class ElementListSession;
}  // namespace tallyform::app

namespace tallyform::gui {

class ElementListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ElementListModel(const app::ElementListSession& session, QObject* parent = nullptr);

  /// Takes the session's list and columns again (after every command of the window).
  void Refresh();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const app::ElementListSession& session_;
  std::vector<std::string> columns_;
};

}  // namespace tallyform::gui
