#include "gui/element_list_model.h"

#include "adapters/qt_text.h"
#include "app/element_list_session.h"

namespace tallyform::gui {

ElementListModel::ElementListModel(const app::ElementListSession& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session), columns_(session.ColumnNames()) {}

void ElementListModel::Refresh() {
  beginResetModel();
  columns_ = session_.ColumnNames();
  endResetModel();
}

int ElementListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(session_.data().elements.count());
}

int ElementListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ElementListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const auto column = static_cast<std::size_t>(index.column());
  if (row >= session_.data().elements.count() || column >= columns_.size()) return {};
  return adapters::ToQString(session_.data().elements.at(row).Get(columns_[column]));
}

QVariant ElementListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  if (section < 0 || static_cast<std::size_t>(section) >= columns_.size()) return {};
  return adapters::ToQString(columns_[static_cast<std::size_t>(section)]);
}

}  // namespace tallyform::gui
