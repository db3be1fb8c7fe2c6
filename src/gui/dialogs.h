#pragma once
// The program's own small dialogs: the document kind choice, the editor's name, the document's history, the
// question before a modified document closes, and the about box. They show and collect values; the
// commands that open them hand what they collect to the core.

#include <QDialog>
#include <QString>
#include <optional>
#include <vector>

#include "model/document_kind.h"

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace tallyform::document {
struct HistoryRecord;
}  // namespace tallyform::document

namespace tallyform::gui {

/// The "OK" and "Отмена" buttons of a dialog, wired to accept and reject it.
QDialogButtonBox* OkCancel(QDialog* dialog);

/// "Версия 1.0": the program's version as the about box and the splash screen show it (the version both
/// programs print for --version).
QString VersionText();

/// "Выбор документа": the three document kinds in a list. OK without a chosen line keeps the dialog open; a
/// double-click on a line acts as OK.
class KindChoiceDialog : public QDialog {
  Q_OBJECT
 public:
  /// `current` is the kind marked when the dialog opens.
  explicit KindChoiceDialog(std::optional<model::DocumentKind> current, QWidget* parent = nullptr);
  /// The kind of the chosen line, or nothing.
  std::optional<model::DocumentKind> kind() const;
  QListWidget* list() const { return list_; }

 public slots:
  void accept() override;

 private:
  QListWidget* list_;
};

/// "Документ редактировал": the editor's name, proposed, focused and selected as a whole.
class EditorDialog : public QDialog {
  Q_OBJECT
 public:
  EditorDialog(const QString& proposal, QWidget* parent = nullptr);
  QString name() const;
  QLineEdit* field() const { return field_; }

 private:
  QLineEdit* field_;
};

/// "История редактирования документа": one line per save, oldest first, in four equal columns.
class HistoryDialog : public QDialog {
  Q_OBJECT
 public:
  HistoryDialog(const std::vector<document::HistoryRecord>& history, QWidget* parent = nullptr);
  QTreeWidget* list() const { return list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SizeColumns();
  QTreeWidget* list_;
};

/// What to do with a modified document that is closing.
enum class SaveChanges { kSave, kDiscard, kCancel };
/// "Сохранить изменения в TITLE?" with Yes, No and Cancel; `title` is the document's name.
SaveChanges AskSaveChanges(QWidget* parent, const QString& title);

/// "О программе": the program's icon, its name and version, and OK.
class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tallyform::gui
