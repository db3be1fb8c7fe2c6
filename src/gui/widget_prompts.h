#pragma once
// Every dialog and message box of the desktop program: the core's questions (ports::Prompts) and the few
// the window commands need of their own (kind choice, open file, history, saving changes, printing, about).
// Nothing else in the GUI opens a dialog, so tests can answer them all in one place.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/printing.h"
#include "model/document_kind.h"
#include "ports/prompts.h"

class QPrinter;

namespace tallyform::document {
struct HistoryRecord;
}  // namespace tallyform::document

namespace tallyform::gui {

class WidgetPrompts : public ports::Prompts {
 public:
  /// Dialogs are centred on `parent` (the main window), which may be set later.
  explicit WidgetPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void Warning(const std::string& text) override;
  void ErrorMessage(const std::string& text) override;
  void Information(const std::string& text) override;
  bool Question(const std::string& text) override;
  bool WarningQuestion(const std::string& text) override;
  std::optional<std::filesystem::path> SaveFileName(const std::filesystem::path& proposal) override;
  std::optional<std::string> EditorName(const std::string& proposal) override;
  std::optional<std::size_t> SortChoice(const std::string& text, const std::vector<std::string>& choices,
                                        std::size_t current) override;

  /// "Выбор документа"; the chosen kind, or nullopt for "Отмена".
  std::optional<model::DocumentKind> DocumentKind(model::DocumentKind current);
  /// The open file dialog for documents; nullopt when cancelled.
  std::optional<std::filesystem::path> OpenFileName();
  /// The history dialog of a document.
  void History(const std::vector<document::HistoryRecord>& history);
  enum class SaveChanges { kSave, kDiscard, kCancel };
  /// Asked when a modified document closes; `title` is the document's name (UTF-16).
  SaveChanges AskSaveChanges(const QString& title);
  /// The print dialog, with a tab for the scale of the sheets; the sheets to print (all, a range of the
  /// document's `sheet_count` sheets, or the current one) are left on the printer. The scale chosen, or
  /// nullopt when the user did not print.
  std::optional<PrintScale> PrintDialog(QPrinter& printer, PrintScale current, int sheet_count);
  /// The print preview of `paint`, which draws the pages on the printer it is given.
  void PrintPreview(QPrinter& printer, const std::function<void(QPrinter*)>& paint);
  /// The printer set-up dialog ("П&араметры печати...").
  void PrinterSetup(QPrinter& printer);
  /// "О программе".
  void About();

 private:
  QPointer<QWidget> parent_;
};

}  // namespace tallyform::gui
