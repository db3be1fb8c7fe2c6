#include "gui/print_dialogs.h"

#include <QDialogButtonBox>
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
  layout->addWidget(true_size_);
  layout->addWidget(fit_);
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
