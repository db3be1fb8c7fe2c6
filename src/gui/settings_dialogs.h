#pragma once
// The dialogs of a document's settings: the title block fields, the text heights, the line widths and the
// number of products of a section. Each shows a core value and on OK hands the edited value to `take`,
// which gives it to the document's session and says whether it was taken; while it is not (a value out of
// range, which the session refuses and the error boundary tells), the dialog stays open. Cancel hands
// nothing.
//
// Number fields show heights and widths as "%g" and numbers as "%d", and take only what reads whole as a
// number: a decimal comma becomes a point as it is typed, since the core's reading would stop at it.

#include <QDialog>
#include <array>
#include <functional>

#include "document/settings_edits.h"

class QCheckBox;
class QLineEdit;

namespace tallyform::gui {

class TitleHeightsGroup;

/// "Поля основной надписи документа". The fields are named after the keys of the title block fields
/// (document::TitleFieldKey) and the heights after their settings ("designation_height", ...).
class TitleBlockDialog : public QDialog {
  Q_OBJECT
 public:
  using Take = std::function<bool(const document::TitleBlockForm&)>;
  TitleBlockDialog(const document::TitleBlockForm& opened, Take take, QWidget* parent = nullptr);

  /// The form as the fields stand.
  document::TitleBlockForm form() const;
  /// The field of a title block field; nullptr for the document name, which the fill writes.
  QLineEdit* field(document::TitleField field) const { return fields_[static_cast<std::size_t>(field)]; }
  /// "Изменить": enables "Лист:" and "Листов:" while ticked.
  QCheckBox* change_box() const { return change_; }
  QCheckBox* approval_box() const { return approval_; }

 public slots:
  void accept() override;

 private:
  std::array<QLineEdit*, document::kTitleFieldCount> fields_{};
  QCheckBox* change_;
  QCheckBox* approval_;
  TitleHeightsGroup* heights_;
  Take take_;
};

/// "Размеры шрифта": the four title block heights and the table cells' height.
class TextHeightsDialog : public QDialog {
  Q_OBJECT
 public:
  using Take = std::function<bool(const document::TextHeights&)>;
  TextHeightsDialog(const document::TextHeights& opened, Take take, QWidget* parent = nullptr);
  document::TextHeights heights() const;

 public slots:
  void accept() override;

 private:
  TitleHeightsGroup* title_;
  QLineEdit* table_;
  Take take_;
};

/// "Толщина линий": the main and the thin line width.
class LineWidthsDialog : public QDialog {
  Q_OBJECT
 public:
  using Take = std::function<bool(const document::LineWidths&)>;
  LineWidthsDialog(const document::LineWidths& opened, Take take, QWidget* parent = nullptr);
  document::LineWidths widths() const;

 public slots:
  void accept() override;

 private:
  QLineEdit* main_;
  QLineEdit* thin_;
  Take take_;
};

/// "Количество изделий": the number of products of a section.
class ProductsDialog : public QDialog {
  Q_OBJECT
 public:
  using Take = std::function<bool(int)>;
  ProductsDialog(int opened, Take take, QWidget* parent = nullptr);
  int products() const;
  QLineEdit* field() const { return field_; }

 public slots:
  void accept() override;

 private:
  QLineEdit* field_;
  Take take_;
};

}  // namespace tallyform::gui
