#include "gui/assembly_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QVBoxLayout>

#include "gui/dialogs.h"

namespace tallyform::gui {

RefDes2Dialog::RefDes2Dialog(const QStringList& layers, const QStringList& styles,
                             const QStringList& justifications, int centre, QWidget* parent)
    : QDialog(parent),
      layers_(new QComboBox(this)),
      styles_(new QComboBox(this)),
      justifications_(new QComboBox(this)),
      replace_(new QCheckBox(QStringLiteral("Заменить существующий атрибут RefDes2"), this)) {
  setWindowTitle(QStringLiteral("Свойства атрибута RefDes2"));
  layers_->addItems(layers);
  styles_->addItems(styles);
  justifications_->addItems(justifications);
  layers_->setCurrentIndex(layers.isEmpty() ? -1 : 0);
  styles_->setCurrentIndex(styles.isEmpty() ? -1 : 0);
  justifications_->setCurrentIndex(centre);
  for (QComboBox* list : {layers_, styles_, justifications_}) list->setMinimumWidth(220);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Слой:"), layers_);
  fields->addRow(QStringLiteral("Стиль текста:"), styles_);
  fields->addRow(QStringLiteral("Выравнивание:"), justifications_);
  fields->addRow(QString(), replace_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(OkCancel(this));
}

int RefDes2Dialog::layer() const {
  return layers_->currentIndex();
}

int RefDes2Dialog::style() const {
  return styles_->currentIndex();
}

int RefDes2Dialog::justification() const {
  return justifications_->currentIndex();
}

bool RefDes2Dialog::replace() const {
  return replace_->isChecked();
}

void RefDes2Dialog::accept() {
  const char* missing = nullptr;
  if (layer() < 0) {
    missing = "Не выбран слой.";
  } else if (style() < 0) {
    missing = "Не выбран стиль текста.";
  } else if (justification() < 0) {
    missing = "Не выбрано выравнивание.";
  }
  if (missing != nullptr) {
    QMessageBox::warning(this, QStringLiteral("Внимание"), QString::fromUtf8(missing));
    return;
  }
  QDialog::accept();
}

WindowProgress::~WindowProgress() {
  Finish();
}

void WindowProgress::Start(int maximum) {
  Finish();
  bar_ = new QProgressBar(window_);
  const QRect area = window_->contentsRect();
  bar_->setGeometry(area.left() + area.width() / 4, area.top() + (area.height() - 30) / 2, area.width() / 2,
                    30);
  bar_->setRange(0, maximum);
  bar_->setValue(0);
  bar_->show();
  bar_->raise();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowProgress::Step() {
  if (bar_ == nullptr) return;
  if (bar_->value() < bar_->maximum()) bar_->setValue(bar_->value() + 1);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void WindowProgress::Finish() {
  delete bar_;
  bar_ = nullptr;
}

}  // namespace tallyform::gui
