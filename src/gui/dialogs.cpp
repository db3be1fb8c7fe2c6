#include "gui/dialogs.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "adapters/qt_text.h"
#include "document/document.h"
#include "model/document_kind.h"

namespace tallyform::gui {

QDialogButtonBox* OkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QString VersionText() {
  return QStringLiteral("Версия ") + QStringLiteral(TALLYFORM_VERSION);
}

KindChoiceDialog::KindChoiceDialog(std::optional<model::DocumentKind> current, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Выбор документа"));
  for (int kind = 0; kind < model::kDocumentKindCount; ++kind) {
    list_->addItem(adapters::ToQString(model::LayoutOf(static_cast<model::DocumentKind>(kind)).title));
  }
  if (current) list_->setCurrentRow(static_cast<int>(*current));
  list_->setMinimumWidth(list_->sizeHintForColumn(0) + 40);
  list_->setFixedHeight(list_->sizeHintForRow(0) * list_->count() + 2 * list_->frameWidth() + 4);
  connect(list_, &QListWidget::itemDoubleClicked, this, &KindChoiceDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(OkCancel(this));
}

std::optional<model::DocumentKind> KindChoiceDialog::kind() const {
  const QList<QListWidgetItem*> chosen = list_->selectedItems();
  if (chosen.isEmpty()) return std::nullopt;
  return model::DocumentKindFromNumber(list_->row(chosen.front()));
}

void KindChoiceDialog::accept() {
  if (!kind()) return;
  QDialog::accept();
}

EditorDialog::EditorDialog(const QString& proposal, QWidget* parent)
    : QDialog(parent), field_(new QLineEdit(proposal, this)) {
  setWindowTitle(QStringLiteral("Документ редактировал"));
  auto* label = new QLabel(QStringLiteral("Фамилия и имя:"), this);
  label->setBuddy(field_);
  field_->setMinimumWidth(280);
  field_->selectAll();
  field_->setFocus();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(field_);
  layout->addWidget(OkCancel(this));
}

QString EditorDialog::name() const {
  return field_->text();
}

HistoryDialog::HistoryDialog(const std::vector<document::HistoryRecord>& history, QWidget* parent)
    : QDialog(parent), list_(new QTreeWidget(this)) {
  setWindowTitle(QStringLiteral("История редактирования документа"));
  list_->setRootIsDecorated(false);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setAllColumnsShowFocus(true);
  list_->setTextElideMode(Qt::ElideMiddle);  // a long path keeps its file name in view
  list_->viewport()->installEventFilter(this);
  list_->setHeaderLabels({QStringLiteral("Имя файла"), QStringLiteral("Редактировал"),
                          QStringLiteral("Время последней модификации"), QStringLiteral("Компьютер")});
  for (const document::HistoryRecord& record : history) {
    list_->addTopLevelItem(
        new QTreeWidgetItem({adapters::ToQString(record.file), adapters::ToQString(record.editor),
                             adapters::ToQString(record.time), adapters::ToQString(record.computer)}));
  }
  list_->header()->setStretchLastSection(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(OkCancel(this));
  resize(920, 300);  // each column wide enough for its heading
}

bool HistoryDialog::eventFilter(QObject* watched, QEvent* event) {
  // The list's own viewport: the dialog's resize comes before its layout has sized the list.
  if (watched == list_->viewport() && event->type() == QEvent::Resize) SizeColumns();
  return QDialog::eventFilter(watched, event);
}

void HistoryDialog::SizeColumns() {
  // Each column takes 7/29 of the list's width.
  const int width = list_->viewport()->width();
  for (int column = 0; column < list_->columnCount(); ++column) list_->setColumnWidth(column, width * 7 / 29);
}

SaveChanges AskSaveChanges(QWidget* parent, const QString& title) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tallyform"),
                  QStringLiteral("Сохранить изменения в %1?").arg(title),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
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

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("О программе"));
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(QStringLiteral(":/icons/tallyform.svg")).pixmap(48, 48));
  auto* text = new QLabel(QStringLiteral("Tallyform. ") + VersionText(), this);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addSpacing(12);
  row->addWidget(text, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

}  // namespace tallyform::gui
