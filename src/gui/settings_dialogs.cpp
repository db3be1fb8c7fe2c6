#include "gui/settings_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QValidator>
#include <string>

#include "adapters/qt_text.h"
#include "gui/dialogs.h"
#include "text/numbers.h"

namespace tallyform::gui {

using document::TitleField;

namespace {

// Takes what the core reads whole as a number, and what is on its way to one.
class NumberValidator : public QValidator {
 public:
  NumberValidator(bool integer, QObject* parent) : QValidator(parent), integer_(integer) {}

  State validate(QString& input, int&) const override {
    if (!integer_) input.replace(QLatin1Char(','), QLatin1Char('.'));
    switch (text::ClassifyNumberEntry(input.toStdString(), integer_)) {
      case text::NumberEntry::kNumber:
        return Acceptable;
      case text::NumberEntry::kUnfinished:
        return Intermediate;
      case text::NumberEntry::kNotNumber:
        break;
    }
    return Invalid;
  }

 private:
  bool integer_;
};

QLineEdit* NumberField(const std::string& shown, bool integer, const char* name, QWidget* parent) {
  auto* field = new QLineEdit(QString::fromStdString(shown), parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setValidator(new NumberValidator(integer, field));
  field->setMaximumWidth(80);
  return field;
}

QLineEdit* LengthField(double mm, const char* name, QWidget* parent) {
  return NumberField(text::FormatG(mm), false, name, parent);
}

double Length(const QLineEdit* field) {
  return text::Strtod(field->text().toStdString());
}

void FocusFirst(QLineEdit* field) {
  field->setFocus();
  field->selectAll();
}

}  // namespace

/// The four heights of the title block's texts, which the title block and the font size dialogs share.
class TitleHeightsGroup : public QGroupBox {
 public:
  TitleHeightsGroup(const QString& title, const document::TitleTextHeights& heights, QWidget* parent)
      : QGroupBox(title, parent),
        designation_(LengthField(heights.designation, "designation_height", this)),
        product_name_(LengthField(heights.product_name, "product_name_height", this)),
        enterprise_(LengthField(heights.enterprise, "enterprise_height", this)),
        other_(LengthField(heights.other, "other_height", this)) {
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("«Обозначение документа»:"), designation_);
    form->addRow(QStringLiteral("«Наименование изделия»:"), product_name_);
    form->addRow(QStringLiteral("«Индекс предприятия»:"), enterprise_);
    form->addRow(QStringLiteral("Другие ячейки:"), other_);
  }

  document::TitleTextHeights heights() const {
    return {Length(designation_), Length(product_name_), Length(enterprise_), Length(other_)};
  }
  QLineEdit* first() const { return designation_; }

 private:
  QLineEdit* designation_;
  QLineEdit* product_name_;
  QLineEdit* enterprise_;
  QLineEdit* other_;
};

TitleBlockDialog::TitleBlockDialog(const document::TitleBlockForm& opened, Take take, QWidget* parent)
    : QDialog(parent),
      change_(new QCheckBox(QStringLiteral("Изменить"), this)),
      approval_(new QCheckBox(QStringLiteral("Документ утверждается заказчиком"), this)),
      heights_(new TitleHeightsGroup(QStringLiteral("Высота текста в ячейках, мм:"), opened.heights, this)),
      take_(std::move(take)) {
  setWindowTitle(QStringLiteral("Поля основной надписи документа"));
  for (std::size_t f = 0; f < document::kTitleFieldCount; ++f) {
    if (static_cast<TitleField>(f) == TitleField::kDocumentName) continue;
    auto* field = new QLineEdit(adapters::ToQString(opened.fields[f]), this);
    field->setObjectName(QString::fromLatin1(document::TitleFieldKey(static_cast<TitleField>(f))));
    fields_[f] = field;
  }
  for (TitleField f : {TitleField::kLetter1, TitleField::kLetter2, TitleField::kLetter3,
                       TitleField::kExtraSignatureLabel, TitleField::kSheetNumber, TitleField::kSheetCount}) {
    field(f)->setMaximumWidth(f == TitleField::kExtraSignatureLabel ? 110 : 50);
  }

  auto* signatures = new QFormLayout;
  signatures->addRow(QStringLiteral("Разработал:"), field(TitleField::kDevelopedBy));
  signatures->addRow(QStringLiteral("Проверил:"), field(TitleField::kCheckedBy));
  signatures->addRow(field(TitleField::kExtraSignatureLabel), field(TitleField::kExtraSignatureName));
  signatures->addRow(QStringLiteral("Нормо-контроллер:"), field(TitleField::kInspector));
  signatures->addRow(QStringLiteral("Утвердил:"), field(TitleField::kApprovedBy));

  auto* letters = new QHBoxLayout;
  for (TitleField f : {TitleField::kLetter1, TitleField::kLetter2, TitleField::kLetter3})
    letters->addWidget(field(f));
  letters->addStretch();
  auto* sheets = new QHBoxLayout;
  sheets->addWidget(field(TitleField::kSheetNumber));
  sheets->addWidget(new QLabel(QStringLiteral("Листов:"), this));
  sheets->addWidget(field(TitleField::kSheetCount));
  sheets->addWidget(change_);
  sheets->addStretch();
  auto* document = new QFormLayout;
  document->addRow(QStringLiteral("Обозначение документа:"), field(TitleField::kDesignation));
  document->addRow(QStringLiteral("Наименование изделия:"), field(TitleField::kProductName));
  document->addRow(QStringLiteral("Первичное применение:"), field(TitleField::kFirstUse));
  document->addRow(QStringLiteral("Литера:"), letters);
  document->addRow(QStringLiteral("Лист:"), sheets);
  document->addRow(QStringLiteral("Наименование (индекс) предприятия:"), field(TitleField::kEnterprise));

  // The sheet fields show the document's own numbers and stay as stored unless "Изменить" is ticked.
  const auto enable_sheets = [this] {
    field(TitleField::kSheetNumber)->setEnabled(change_->isChecked());
    field(TitleField::kSheetCount)->setEnabled(change_->isChecked());
  };
  change_->setObjectName(QStringLiteral("change_sheet_fields"));
  change_->setChecked(opened.change_sheet_fields);
  connect(change_, &QCheckBox::toggled, this, enable_sheets);
  enable_sheets();
  approval_->setObjectName(QStringLiteral("customer_approval"));
  approval_->setChecked(opened.customer_approval);

  auto* columns = new QHBoxLayout;
  columns->addLayout(signatures);
  columns->addSpacing(16);
  columns->addLayout(document, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(heights_);
  layout->addWidget(approval_);
  layout->addWidget(OkCancel(this));
  FocusFirst(field(TitleField::kDevelopedBy));
}

document::TitleBlockForm TitleBlockDialog::form() const {
  document::TitleBlockForm form;
  for (std::size_t f = 0; f < document::kTitleFieldCount; ++f) {
    if (fields_[f] != nullptr) form.fields[f] = adapters::FromQString(fields_[f]->text());
  }
  form.customer_approval = approval_->isChecked();
  form.heights = heights_->heights();
  form.change_sheet_fields = change_->isChecked();
  return form;
}

void TitleBlockDialog::accept() {
  if (take_ && !take_(form())) return;
  QDialog::accept();
}

TextHeightsDialog::TextHeightsDialog(const document::TextHeights& opened, Take take, QWidget* parent)
    : QDialog(parent),
      title_(new TitleHeightsGroup(QStringLiteral("Высота текста в ячейках основной надписи, мм:"),
                                   opened.title, this)),
      table_(LengthField(opened.table, "cell_height", this)),
      take_(std::move(take)) {
  setWindowTitle(QStringLiteral("Размеры шрифта"));
  auto* table = new QGroupBox(QStringLiteral("Высота текста в таблице, мм"), this);
  auto* table_form = new QFormLayout(table);
  table_form->addRow(QStringLiteral("Ячейки таблицы:"), table_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(table);
  layout->addWidget(OkCancel(this));
  FocusFirst(title_->first());
}

document::TextHeights TextHeightsDialog::heights() const {
  return {title_->heights(), Length(table_)};
}

void TextHeightsDialog::accept() {
  if (take_ && !take_(heights())) return;
  QDialog::accept();
}

LineWidthsDialog::LineWidthsDialog(const document::LineWidths& opened, Take take, QWidget* parent)
    : QDialog(parent),
      main_(LengthField(opened.main, "main_line", this)),
      thin_(LengthField(opened.thin, "thin_line", this)),
      take_(std::move(take)) {
  setWindowTitle(QStringLiteral("Толщина линий"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Толщина основных линий, мм:"), main_);
  form->addRow(QStringLiteral("Толщина вспомогательных линий, мм:"), thin_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
  FocusFirst(main_);
}

document::LineWidths LineWidthsDialog::widths() const {
  return {Length(main_), Length(thin_)};
}

void LineWidthsDialog::accept() {
  if (take_ && !take_(widths())) return;
  QDialog::accept();
}

ProductsDialog::ProductsDialog(int opened, Take take, QWidget* parent)
    : QDialog(parent),
      field_(NumberField(text::FormatD(opened), true, "products", this)),
      take_(std::move(take)) {
  setWindowTitle(QStringLiteral("Количество изделий"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Количество изделий:"), field_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this));
  FocusFirst(field_);
}

int ProductsDialog::products() const {
  return text::Atoi(field_->text().toStdString());
}

void ProductsDialog::accept() {
  if (take_ && !take_(products())) return;
  QDialog::accept();
}

}  // namespace tallyform::gui
