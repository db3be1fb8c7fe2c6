#include "gui/widget_prompts.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "adapters/qt_text.h"
#include "gui/dialogs.h"

namespace tallyform::gui {
namespace {

const QString kFilter = QStringLiteral("Enum Files(*.enum)");

QString NativeToQString(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

std::filesystem::path QStringToNative(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool Ask(QWidget* parent, QMessageBox::Icon icon, const QString& title, const std::string& text) {
  QMessageBox box(icon, title, adapters::ToQString(text), QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  return box.exec() == QMessageBox::Yes;
}

void Tell(QWidget* parent, QMessageBox::Icon icon, const QString& title, const std::string& text) {
  QMessageBox box(icon, title, adapters::ToQString(text), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void WidgetPrompts::Warning(const std::string& text) {
  Tell(parent_, QMessageBox::Warning, QStringLiteral("Внимание"), text);
}

void WidgetPrompts::ErrorMessage(const std::string& text) {
  Tell(parent_, QMessageBox::Critical, QStringLiteral("Tallyform"), text);
}

void WidgetPrompts::Information(const std::string& text) {
  Tell(parent_, QMessageBox::Information, QStringLiteral("Tallyform"), text);
}

bool WidgetPrompts::Question(const std::string& text) {
  return Ask(parent_, QMessageBox::Question, QStringLiteral("Вопрос"), text);
}

bool WidgetPrompts::WarningQuestion(const std::string& text) {
  return Ask(parent_, QMessageBox::Warning, QStringLiteral("Tallyform"), text);
}

std::optional<std::filesystem::path> WidgetPrompts::SaveFileName(const std::filesystem::path& proposal) {
  QFileDialog dialog(parent_, QStringLiteral("Сохранить как"), NativeToQString(proposal), kFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("enum"));
  dialog.selectFile(NativeToQString(proposal));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QStringToNative(dialog.selectedFiles().front());
}

std::optional<std::string> WidgetPrompts::EditorName(const std::string& proposal) {
  EditorDialog dialog(adapters::ToQString(proposal), parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return adapters::FromQString(dialog.name());
}

std::optional<std::size_t> WidgetPrompts::SortChoice(const std::string& text,
                                                     const std::vector<std::string>& choices,
                                                     std::size_t current) {
  QDialog dialog(parent_);
  dialog.setWindowTitle(QStringLiteral("Сортировка"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(adapters::ToQString(text), &dialog));
  QButtonGroup group(&dialog);
  for (std::size_t i = 0; i < choices.size(); ++i) {
    auto* button = new QRadioButton(adapters::ToQString(choices[i]), &dialog);
    button->setChecked(i == current);
    group.addButton(button, static_cast<int>(i));
    layout->addWidget(button);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted || group.checkedId() < 0) return std::nullopt;
  return static_cast<std::size_t>(group.checkedId());
}

std::optional<model::DocumentKind> WidgetPrompts::DocumentKind(model::DocumentKind current) {
  KindChoiceDialog dialog(current, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.kind();
}

std::optional<std::filesystem::path> WidgetPrompts::OpenFileName() {
  const QString file = QFileDialog::getOpenFileName(parent_, QStringLiteral("Открыть"), {}, kFilter);
  if (file.isEmpty()) return std::nullopt;
  return QStringToNative(file);
}

void WidgetPrompts::History(const std::vector<document::HistoryRecord>& history) {
  HistoryDialog dialog(history, parent_);
  dialog.exec();
}

WidgetPrompts::SaveChanges WidgetPrompts::AskSaveChanges(const QString& title) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tallyform"),
                  QStringLiteral("Сохранить изменения в %1?").arg(title),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return SaveChanges::kSave;
    case QMessageBox::No:
      return SaveChanges::kDiscard;
    default:
      return SaveChanges::kCancel;
  }
}

std::optional<PrintScale> WidgetPrompts::PrintDialog(QPrinter& printer, PrintScale current, int sheet_count) {
  // Each print starts with every sheet chosen.
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  QPrintDialog dialog(&printer, parent_);
  dialog.setWindowTitle(QStringLiteral("Печать"));
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, sheet_count > 1);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, sheet_count > 1);
  dialog.setMinMax(1, std::max(1, sheet_count));
  auto* tab = new QWidget;
  tab->setWindowTitle(QStringLiteral("Масштаб"));
  auto* true_size = new QRadioButton(QStringLiteral("Листы в натуральную величину"), tab);
  auto* fit = new QRadioButton(QStringLiteral("Вписать в область печати"), tab);
  (current == PrintScale::kTrueSize ? true_size : fit)->setChecked(true);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(true_size);
  layout->addWidget(fit);
  layout->addStretch();
  dialog.setOptionTabs({tab});
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return fit->isChecked() ? PrintScale::kFitPrintable : PrintScale::kTrueSize;
}

void WidgetPrompts::PrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& paint) {
  QPrintPreviewDialog dialog(&printer, parent_);
  dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
  dialog.exec();
}

void WidgetPrompts::PrinterSetup(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  dialog.setWindowTitle(QStringLiteral("Параметры печати"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  // The set-up only chooses: its button says so rather than "Печать".
  for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>()) {
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  }
  dialog.exec();
}

void WidgetPrompts::About() {
  AboutDialog dialog(parent_);
  dialog.exec();
}

}  // namespace tallyform::gui
