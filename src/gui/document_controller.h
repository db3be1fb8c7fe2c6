#pragma once
// One open document in its session and the window commands on it. The document changes only through the
// session; the controller passes the session's notifications on as Qt signals, from which the views and the
// main window refresh. Every command catches the core's errors and reports them through the prompts, so no
// exception leaves a slot.

#include <QObject>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>

#include "app/document_session.h"
#include "document/document.h"

namespace tallyform::gui {

struct Services;

class DocumentController : public QObject {
  Q_OBJECT
 public:
  /// The session's document is shown from now on; its number is the number a document never saved
  /// carries in its title ("Enumeration1", ...).
  DocumentController(app::DocumentSession session, Services& services, QObject* parent = nullptr);

  const app::DocumentSession& session() const { return session_; }
  const document::Document& document() const { return session_.document(); }

  /// The window's title: the file's name, or "Enumeration" with the document's number before it is saved.
  QString Title() const;
  /// The editor's name as the status bar shows it (empty when there is none).
  QString EditorName() const;
  bool modified() const { return document().modified(); }
  const std::filesystem::path& path() const { return document().path(); }

  /// The save and save-as commands; true when the document was written.
  bool Save();
  bool SaveAs();
  /// "&Изменить редактора документа".
  void ChangeEditor();
  /// "И&стория документа".
  void ShowHistory();
  /// "&Показать отчет об ошибках".
  void ShowReport();
  /// "&Заполнить документ": the element list window over copies of the document's list; what it hands
  /// back fills the document as one command of the session, and the report is offered when values are off
  /// their series.
  void Fill();
  /// "З&аполнить основную надпись" for the sheet shown (1-based): the title block dialog, whose OK is one
  /// step of the session. Nothing where the session does not enable it (a simple bill).
  void EditTitleBlock(int current_sheet);
  /// "&Шрифт" and "&Линии": the text heights and the line widths.
  void EditTextHeights();
  void EditLineWidths();
  /// "За&дать количество изделий" on the section that starts on the sheet shown (1-based), its quantities
  /// rescaled. Nothing where the session does not enable it, nor on a section whose number of products is
  /// below 1.
  void EditNumberOfProducts(int current_sheet);
  /// "&Отменить" and "&Вернуть": one step back or forward on the session's ring.
  void Undo();
  void Redo();
  /// Applies a command to the document's session; false, with the error told, when it failed.
  bool Apply(app::Command command);
  /// The edit view's in-place edit of a cell (sheet 0-based): the text as typed, fitted or split over
  /// rows, and for a name in a list of elements the value check with its question.
  bool EditCell(std::size_t sheet, int row, int cell, std::string text);
  /// The cell text dialog ("Редактирование текста ячейки") on a cell (sheet 0-based); its OK sets the
  /// text and the text attributes.
  void EditCellText(std::size_t sheet, int row, int cell);
  /// The edit view closed: the rows it had cut or copied are forgotten.
  void ClearRowClipboard() { session_.ClearRowClipboard(); }

  /// Asked before the window closes: a modified document offers to be saved. False keeps it open.
  bool PrepareClose();
  /// Shows an error message (code page 1251) once the event loop is back, for work that must not open a
  /// dialog while it runs.
  void TellLater(const std::string& message);

 signals:
  /// The document changed (the session's notification): views redraw what it touched.
  void changed(const app::DocumentChange& change);
  /// The title, the modified mark or the editor's name changed.
  void describedChanged();

 private:
  /// The save command (false) or the save-as command (true) through the core save workflow.
  bool RunSave(bool new_name);
  app::EnabledCommands EnabledOn(int current_sheet) const;
  /// A cell edit through the session; the value check's question when the edited name's value is off its
  /// series, asked once the event loop is back when `ask_later`.
  bool ApplyCellText(app::commands::CellText edit, bool ask_later = false);
  /// The window the controller's own dialogs are centred on: the main window.
  QWidget* DialogParent() const;

  app::DocumentSession session_;
  Services& services_;
  app::Subscription subscription_;
};

}  // namespace tallyform::gui
