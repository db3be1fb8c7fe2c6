#pragma once
// The small dialogs of the element list window that need no editable grid: where to add elements from, and
// which attribute plays which role. Each shows a core value and gives back the edited one.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "app/element_list_session.h"
#include "model/list_choices.h"

class QCheckBox;
class QComboBox;

namespace tallyform::gui {

/// "Добавление элементов": the source ("Добавить элементы из", the first one chosen) and whether to add to
/// the list ("Добавить в существующий список", cleared).
class AddElementsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AddElementsDialog(QWidget* parent = nullptr);
  app::ElementSource source() const;
  bool append() const;
  QComboBox* sources() const { return sources_; }
  QCheckBox* append_box() const { return append_; }

 private:
  QComboBox* sources_;
  QCheckBox* append_;
};

/// The file dialog of a source: its filter, with "Все файлы (*)" too; nothing when cancelled.
std::optional<std::filesystem::path> AskSourceFile(QWidget* parent, app::ElementSource source);

/// "Атрибуты элементов": four drop-down lists over the attribute names. OK hands the choices to `accept`,
/// which says whether they are taken; while they are not the dialog stays open.
class RolesDialog : public QDialog {
  Q_OBJECT
 public:
  RolesDialog(const model::RoleSelection& current, const std::vector<std::string>& names,
              std::function<bool(const model::RoleSelection&)> take, QWidget* parent = nullptr);
  model::RoleSelection selection() const;
  /// The lists: designator, name, value, supply document.
  const std::vector<QComboBox*>& lists() const { return lists_; }

 public slots:
  void accept() override;

 private:
  std::vector<QComboBox*> lists_;
  std::function<bool(const model::RoleSelection&)> take_;
};

}  // namespace tallyform::gui
