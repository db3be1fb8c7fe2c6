#include "gui/print_dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tallyform::gui {

PrintDialog::PrintDialog(QPrinter& printer, PrintScale scale, int sheet_count, QWidget* parent)
    : QPrintDialog(&printer, parent) {
  // Each print starts with every sheet chosen.
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  setWindowTitle(QStringLiteral("Печать"));
  setOption(QAbstractPrintDialog::PrintPageRange, sheet_count > 1);
  setOption(QAbstractPrintDialog::PrintCurrentPage, sheet_count > 1);
  setMinMax(1, std::max(1, sheet_count));
  auto* tab = new QWidget;
  tab->setWindowTitle(QStringLiteral("Масштаб"));
  true_size_ = new QRadioButton(QStringLiteral("Листы в натуральную величину"), tab);
  fit_ = new QRadioButton(QStringLiteral("Вписать в область печати"), tab);
  (scale == PrintScale::kTrueSize ? true_size_ : fit_)->setChecked(true);
  auto* layout = new QVBoxLayout(tab);
  // What each choice does with the paper, under it.
  const auto add = [tab, layout](QRadioButton* choice, const QString& note) {
    auto* label = new QLabel(note, tab);
    label->setWordWrap(true);
    label->setContentsMargins(choice->sizeHint().height(), 0, 0, 0);
    layout->addWidget(choice);
    layout->addWidget(label);
  };
  add(true_size_, QStringLiteral("Каждый лист печатается без полей на бумаге своего формата: листы А4 — на "
                                 "А4 книжной ориентации, листы А3 — на А3 альбомной. Бумага, выбранная для "
                                 "принтера, при этом не используется."));
  add(fit_, QStringLiteral("Листы печатаются на бумаге, выбранной для принтера, уменьшенными до ее области "
                           "печати; лист, который так выходит крупнее, поворачивается."));
  layout->addStretch();
  setOptionTabs({tab});
}

PrintScale PrintDialog::scale() const {
  return fit_->isChecked() ? PrintScale::kFitPrintable : PrintScale::kTrueSize;
}

void ShowPrintPreview(QWidget* parent, QPrinter& printer, const std::function<void(QPrinter*)>& paint) {
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
  dialog.exec();
}

void ShowPrinterSetup(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Параметры печати"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  // The set-up only chooses: its button says so rather than "Печать".
  for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  }
  dialog.exec();
}

}  // namespace tallyform::gui
