#pragma once
// One open document and the commands that change it. The controller owns the document and is the only
// thing in the GUI that changes it; the views read it and redraw when told. Every command catches the
// core's errors and reports them through the prompts, so no exception leaves a slot.

#include <QObject>
#include <QString>
#include <filesystem>

#include "document/document.h"

namespace tallyform::gui {

struct Services;

class DocumentController : public QObject {
  Q_OBJECT
 public:
  /// `number` is the number a document never saved carries in its title ("Enumeration1", ...).
  DocumentController(document::Document document, Services& services, int number, QObject* parent = nullptr);

  const document::Document& document() const { return document_; }
  /// The sheet set as the sheet drawing takes it: drawing remembers its mapping there for the hit test.
  const document::SheetSet& SheetsForDrawing() const { return document_.sheets(); }

  /// The window's title: the file's name, or "Enumeration" with the document's number before it is saved.
  QString Title() const;
  /// The editor's name as the status bar shows it (empty when there is none).
  QString EditorName() const;
  bool modified() const { return document_.modified(); }
  const std::filesystem::path& path() const { return document_.path(); }

  /// The save and save-as commands; true when the document was written.
  bool Save();
  bool SaveAs();
  /// "&Изменить редактора документа".
  void ChangeEditor();
  /// "И&стория документа".
  void ShowHistory();
  /// "&Показать отчет об ошибках".
  void ShowReport();
  /// "&Заполнить документ": the document's own list filled again; the report is offered when values are
  /// off their series.
  void Fill();
  /// Asked before the window closes: a modified document offers to be saved. False keeps it open.
  bool PrepareClose();

 signals:
  /// The sheets changed: views redraw and take the sheet count again.
  void changed();
  /// The title, the modified mark or the editor's name changed.
  void describedChanged();

 private:
  /// The save command (false) or the save-as command (true) through the core save workflow.
  bool RunSave(bool new_name);
  template <typename Command>
  bool Guard(Command&& command);

  document::Document document_;
  Services& services_;
  int number_;
};

}  // namespace tallyform::gui
