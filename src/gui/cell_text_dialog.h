#pragma once
// "Редактирование текста ячейки": a cell's text, its alignment and its underline, as a double-click on a
// table cell of the page view opens it.

#include <QDialog>

#include "document/row_edits.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tallyform::gui {

class CellTextDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CellTextDialog(const document::CellTextForm& form, QWidget* parent = nullptr);

  /// What the dialog holds now.
  document::CellTextForm form() const;

  QLineEdit* text() const { return text_; }
  QComboBox* alignment() const { return alignment_; }
  QCheckBox* underline() const { return underline_; }

 private:
  QLineEdit* text_;
  QComboBox* alignment_;
  QCheckBox* underline_;
};

}  // namespace tallyform::gui
