#include "gui/element_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "adapters/qt_text.h"
#include "gui/dialogs.h"
#include "gui/file_dialogs.h"

namespace tallyform::gui {
namespace {

std::optional<std::string> Chosen(const QComboBox* list) {
  if (list->currentIndex() < 0) return std::nullopt;
  return adapters::FromQString(list->currentText());
}

}  // namespace

AddElementsDialog::AddElementsDialog(QWidget* parent)
    : QDialog(parent), sources_(new QComboBox(this)), append_(new QCheckBox(this)) {
  setWindowTitle(QStringLiteral("Добавление элементов"));
  sources_->addItems({QStringLiteral("Файла SCH (через приложение P-CAD Schematic)"),
                      QStringLiteral("Файла PCB (через приложение P-CAD PCB)"),
                      QStringLiteral("Файла SCH, PCB (ASCII формат)"), QStringLiteral("Файла ENUM")});
  sources_->setCurrentIndex(0);
  append_->setText(QStringLiteral("Добавить в существующий список"));
  auto* label = new QLabel(QStringLiteral("Добавить элементы из"), this);
  label->setBuddy(sources_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(sources_);
  layout->addWidget(append_);
  layout->addWidget(OkCancel(this));
}

app::ElementSource AddElementsDialog::source() const {
  return static_cast<app::ElementSource>(std::max(0, sources_->currentIndex()));
}

bool AddElementsDialog::append() const {
  return append_->isChecked();
}

std::optional<std::filesystem::path> AskSourceFile(QWidget* parent, app::ElementSource source) {
  QString filter;
  switch (source) {
    case app::ElementSource::kPcadSchematic:
      filter = QStringLiteral("SCH файл (*.sch)");
      break;
    case app::ElementSource::kPcadBoard:
      filter = QStringLiteral("PCB файл (*.pcb)");
      break;
    case app::ElementSource::kAsciiDesign:
      filter = QStringLiteral("SCH файл (*.sch);;PCB файл (*.pcb)");
      break;
    case app::ElementSource::kSavedDocument:
      filter = QStringLiteral("ENUM файлы (*.enum)");
      break;
  }
  const QString file = QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть"), {},
                                                    filter + QStringLiteral(";;Все файлы (*)"));
  if (file.isEmpty()) return std::nullopt;
  return adapters::QStringToPath(file);
}

RolesDialog::RolesDialog(const model::RoleSelection& current, const std::vector<std::string>& names,
                         std::function<bool(const model::RoleSelection&)> take, QWidget* parent)
    : QDialog(parent), take_(std::move(take)) {
  setWindowTitle(QStringLiteral("Атрибуты элементов"));
  QStringList items;
  for (const std::string& name : names) items.append(adapters::ToQString(name));
  const std::optional<std::string>* chosen[] = {&current.designator, &current.name, &current.value,
                                                &current.supply_document};
  const QString labels[] = {QStringLiteral("Позиционное обозначение элемента:"),
                            QStringLiteral("Наименование элемента (устройства):"),
                            QStringLiteral("Номинал элемента:"),
                            QStringLiteral("Обозначение докумета, на основании которого элемент применен:")};
  auto* layout = new QVBoxLayout(this);
  for (int i = 0; i < 4; ++i) {
    auto* list = new QComboBox(this);
    list->addItems(items);
    list->setCurrentIndex(chosen[i]->has_value() ? list->findText(adapters::ToQString(**chosen[i])) : -1);
    list->setMinimumContentsLength(24);
    auto* label = new QLabel(labels[i], this);
    label->setBuddy(list);
    layout->addWidget(label);
    layout->addWidget(list);
    lists_.push_back(list);
  }
  layout->addWidget(OkCancel(this));
}

model::RoleSelection RolesDialog::selection() const {
  return {Chosen(lists_[0]), Chosen(lists_[1]), Chosen(lists_[2]), Chosen(lists_[3])};
}

void RolesDialog::accept() {
  if (take_ && !take_(selection())) return;
  QDialog::accept();
}

}  // namespace tallyform::gui
