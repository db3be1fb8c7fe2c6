#pragma once
// The dialogs of the element list window that edit a list in an editable grid: the designations of the
// designs, the element kinds, the column mapping with the fill parameters, and the joining of attributes.
// Each shows a core value and gives back the edited one; texts are code page 1251 in the values.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/element_list_session.h"
#include "archive/archive.h"
#include "elements/roles.h"
#include "model/list_choices.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;

namespace tallyform::gui {

class EditableGrid;

/// "Обозначение документа": one row per design ("Имя файла"), its designation edited in place.
class DesignationsDialog : public QDialog {
  Q_OBJECT
 public:
  DesignationsDialog(const archive::StringMap& designations, QWidget* parent = nullptr);
  archive::StringMap designations() const;
  EditableGrid* grid() const { return grid_; }

 public slots:
  void accept() override;

 private:
  EditableGrid* grid_;
  QStandardItemModel* model_;
};

/// "Виды элементов в документе": one row per kind prefix, the singular and plural names edited in place.
class KindsDialog : public QDialog {
  Q_OBJECT
 public:
  KindsDialog(const std::vector<app::KindRow>& rows, QWidget* parent = nullptr);
  std::vector<app::KindRow> rows() const;
  EditableGrid* grid() const { return grid_; }

 public slots:
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  EditableGrid* grid_;
  QStandardItemModel* model_;
};

/// "Параметры заполнения документа": the column each attribute goes into, chosen among the kind's titles,
/// and the empty rows between groups and at the end of a sheet. OK hands the mapping to `take` when given,
/// which says whether it is taken; while it is not the dialog stays open.
class MappingDialog : public QDialog {
  Q_OBJECT
 public:
  MappingDialog(const model::ColumnMapping& mapping, const std::vector<std::string>& titles,
                std::function<bool(const model::ColumnMapping&)> take = {}, QWidget* parent = nullptr);
  model::ColumnMapping mapping() const;
  EditableGrid* grid() const { return grid_; }
  QLineEdit* gap() const { return gap_; }
  QLineEdit* tail() const { return tail_; }

 public slots:
  void accept() override;

 private:
  EditableGrid* grid_;
  QStandardItemModel* model_;
  QLineEdit* gap_;
  QLineEdit* tail_;
  std::function<bool(const model::ColumnMapping&)> take_;
};

/// "Соединение атрибутов": the method, the result attribute and the rows of attributes with their texts.
class JoinDialog : public QDialog {
  Q_OBJECT
 public:
  JoinDialog(const std::vector<std::string>& names, QWidget* parent = nullptr);
  elements::JoinSpec join() const;
  EditableGrid* grid() const { return grid_; }
  QComboBox* result() const { return result_; }
  QRadioButton* link() const { return link_; }
  QRadioButton* substitute() const { return substitute_; }
  QPushButton* add_button() const { return add_; }
  QPushButton* remove_button() const { return remove_; }
  QPushButton* up_button() const { return up_; }
  QPushButton* down_button() const { return down_; }

 public slots:
  void accept() override;

 private:
  void UpdateHeadings();
  void UpdateButtons();
  void MoveSelected(int step);

  QRadioButton* link_;
  QRadioButton* substitute_;
  QComboBox* result_;
  EditableGrid* grid_;
  QStandardItemModel* model_;
  QPushButton* add_;
  QPushButton* remove_;
  QPushButton* up_;
  QPushButton* down_;
};

/// The dialogs opened and answered: the edited value, or nothing for "Отмена".
std::optional<archive::StringMap> AskDesignations(QWidget* parent, const archive::StringMap& designations);
std::optional<std::vector<app::KindRow>> AskKinds(QWidget* parent, const std::vector<app::KindRow>& rows);
std::optional<model::ColumnMapping> AskMapping(QWidget* parent, const model::ColumnMapping& mapping,
                                               const std::vector<std::string>& titles,
                                               std::function<bool(const model::ColumnMapping&)> take = {});
std::optional<elements::JoinSpec> AskJoin(QWidget* parent, const std::vector<std::string>& names);

}  // namespace tallyform::gui
