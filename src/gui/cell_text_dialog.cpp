#include "gui/cell_text_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "adapters/qt_text.h"
#include "gui/dialogs.h"

namespace tallyform::gui {

CellTextDialog::CellTextDialog(const document::CellTextForm& form, QWidget* parent)
    : QDialog(parent),
      text_(new QLineEdit(this)),
      alignment_(new QComboBox(this)),
      underline_(new QCheckBox(QStringLiteral("Подчеркнуть текст"), this)) {
  setWindowTitle(QStringLiteral("Редактирование текста ячейки"));
  text_->setText(adapters::ToQString(form.text));
  text_->setMinimumWidth(360);
  alignment_->addItems({QStringLiteral("По левому краю ячейки"), QStringLiteral("По центру ячейки"),
                        QStringLiteral("По правому краю ячейки")});
  alignment_->setCurrentIndex(form.alignment);
  underline_->setChecked(form.underline);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Текст:"), text_);
  fields->addRow(QStringLiteral("Выравнивание:"), alignment_);
  fields->addRow(QString(), underline_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(OkCancel(this));
  text_->setFocus();
}

document::CellTextForm CellTextDialog::form() const {
  document::CellTextForm form;
  form.text = adapters::FromQString(text_->text());
  form.alignment = alignment_->currentIndex();
  form.underline = underline_->isChecked();
  return form;
}

}  // namespace tallyform::gui
