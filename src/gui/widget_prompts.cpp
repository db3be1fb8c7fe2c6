#include "gui/widget_prompts.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "adapters/qt_text.h"
#include "gui/assembly_dialogs.h"
#include "gui/dialogs.h"
#include "gui/element_dialogs.h"
#include "gui/file_dialogs.h"
#include "gui/list_dialogs.h"
#include "gui/wait_cursor.h"

namespace tallyform::gui {
namespace {

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
  const NormalCursor normal;
  Tell(parent_, QMessageBox::Warning, QStringLiteral("Внимание"), text);
}

void WidgetPrompts::ErrorMessage(const std::string& text) {
  const NormalCursor normal;
  Tell(parent_, QMessageBox::Critical, QStringLiteral("Tallyform"), text);
}

void WidgetPrompts::Information(const std::string& text) {
  const NormalCursor normal;
  Tell(parent_, QMessageBox::Information, QStringLiteral("Tallyform"), text);
}

bool WidgetPrompts::Question(const std::string& text) {
  const NormalCursor normal;
  return Ask(parent_, QMessageBox::Question, QStringLiteral("Вопрос"), text);
}

bool WidgetPrompts::WarningQuestion(const std::string& text) {
  const NormalCursor normal;
  return Ask(parent_, QMessageBox::Warning, QStringLiteral("Tallyform"), text);
}

void WidgetPrompts::TitledMessage(ports::MessageIcon icon, const std::string& title,
                                  const std::string& text) {
  const NormalCursor normal;
  Tell(parent_, icon == ports::MessageIcon::kInformation ? QMessageBox::Information : QMessageBox::Warning,
       adapters::ToQString(title), text);
}

bool WidgetPrompts::TitledQuestion(const std::string& title, const std::string& text) {
  const NormalCursor normal;
  QMessageBox box(QMessageBox::Question, adapters::ToQString(title), adapters::ToQString(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::filesystem::path> WidgetPrompts::OpenFileName(const std::string& title,
                                                                 const std::string& filter) {
  const NormalCursor normal;
  // "Text|patterns|Text|patterns||" becomes Qt's "Text (patterns);;Text (patterns)".
  QStringList parts = adapters::ToQString(filter).split(QLatin1Char('|'), Qt::SkipEmptyParts);
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters << (parts[i].contains(parts[i + 1])
                    ? parts[i]
                    : parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
  }
  filters << QStringLiteral("Все файлы (*)");
  const QString file =
      QFileDialog::getOpenFileName(parent_, adapters::ToQString(title), QString(),
                                   filters.join(QStringLiteral(";;")), nullptr, QFileDialog::ReadOnly);
  if (file.isEmpty()) return std::nullopt;
  return adapters::QStringToPath(file);
}

std::optional<model::RefDes2Choice> WidgetPrompts::RefDes2Properties(const model::RefDes2Offer& offer) {
  const NormalCursor normal;
  QStringList layers;
  for (const model::RefDes2Layer& layer : offer.layers) layers << adapters::ToQString(layer.name);
  QStringList styles;
  for (const std::string& style : offer.text_styles) styles << adapters::ToQString(style);
  QStringList justifications;
  for (const model::Justification& justification : model::kRefDes2Justifications) {
    justifications << QString::fromLatin1(justification.text.data(),
                                          static_cast<qsizetype>(justification.text.size()));
  }
  RefDes2Dialog dialog(layers, styles, justifications, static_cast<int>(model::kRefDes2DefaultJustification),
                       parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  model::RefDes2Choice choice;
  choice.layer_id = offer.layers[static_cast<std::size_t>(dialog.layer())].id;
  choice.text_style = dialog.style();
  choice.justification = model::kRefDes2Justifications[static_cast<std::size_t>(dialog.justification())].code;
  choice.replace = dialog.replace();
  return choice;
}

std::optional<std::filesystem::path> WidgetPrompts::SaveFileName(const std::filesystem::path& proposal) {
  const NormalCursor normal;
  return AskDocumentToSave(parent_, proposal);
}

std::optional<std::string> WidgetPrompts::EditorName(const std::string& proposal) {
  const NormalCursor normal;
  EditorDialog dialog(adapters::ToQString(proposal), parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return adapters::FromQString(dialog.name());
}

std::optional<std::size_t> WidgetPrompts::SortChoice(const std::string& text,
                                                     const std::vector<std::string>& choices,
                                                     std::size_t current) {
  const NormalCursor normal;
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

std::optional<std::map<std::string, std::string>> WidgetPrompts::Designations(
    const std::map<std::string, std::string>& map) {
  const NormalCursor normal;
  return AskDesignations(parent_, map);
}

std::optional<model::RoleSelection> WidgetPrompts::RoleChoice(const model::RoleSelection& current,
                                                              const std::vector<std::string>& names) {
  const NormalCursor normal;
  RolesDialog dialog(current, names, {}, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selection();
}

std::optional<model::ColumnMapping> WidgetPrompts::Mapping(const model::ColumnMapping& proposed,
                                                           const std::vector<std::string>& titles) {
  const NormalCursor normal;
  return AskMapping(parent_, proposed, titles);
}

}  // namespace tallyform::gui
