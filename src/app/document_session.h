#pragma once
// The session of one open document: the one way the document changes. Every change is a command value
// handed to Apply, which takes the same road each time: the state before the change goes into the undo
// ring, the change is made, the sheets are laid out, the document is marked modified and the listeners
// are told what changed and where. A change that fails leaves the document, the ring and the listeners as
// they were. Undo and redo go through the session too; everyone else holds the document const.
//
// A change puts new sheet tables in place of the old ones: a reference to a table (or a row, or a cell)
// holds until the next change, undo or redo; the sheet set itself stays.
//
// The undo ring keeps the sheets (every table, row and cell, with the settings of the first sheet) and the
// editor's name. The element list is not part of it: undoing a fill gives back the earlier sheets, while
// the list keeps what was handed to the fill. Nor is the row clipboard, which cutting and copying rows
// fill and pasting empties, nor the value check report an edited name goes through.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/document_change.h"
#include "document/document.h"
#include "document/fill_sheets.h"
#include "document/row_edits.h"
#include "document/settings_edits.h"
#include "document/undo_ring.h"
#include "elements/element_order.h"
#include "elements/list_data.h"
#include "model/fill_parameters.h"

namespace tallyform::ports {
class SystemInfo;
}  // namespace tallyform::ports

namespace tallyform::app {

/// What the element list window hands to the fill: the list and its side data, the two fill parameters,
/// and how a simple bill lists the elements of several files.
struct FillHandOver {
  elements::ListData data;
  model::FillParameters parameters;
  elements::MergeChoice merge = elements::MergeChoice::kSeparateLists;
};

/// The commands a session applies. Each is one undoable step. Texts are code page 1251.
namespace commands {

/// "Заполнить документ": the handed list and parameters become the document's, and the sheets are filled
/// from them again (title block, settings and history stay).
struct Fill {
  FillHandOver handed;
  document::FillTools tools;
};

/// Title block fields of the settings table, each set to its text; the customer approval flag and the
/// title block's text heights too when given.
struct TitleBlock {
  document::TitleFieldValues fields;
  std::optional<bool> customer_approval;
  std::optional<document::TitleTextHeights> heights;
};

/// "&Изменить редактора документа": the document's editor name.
struct EditorName {
  std::string name;
};

/// The number of products of the simple bill's section that starts on `sheet` (0-based), its quantities
/// rescaled (document::SetNumberOfProducts).
struct NumberOfProducts {
  std::size_t sheet = 0;
  int products = 1;
};

/// The five text heights of the font size dialog.
struct TextHeights {
  document::TextHeights heights;
};

/// The two line widths.
struct LineWidths {
  document::LineWidths widths;
};

// The row commands address rows by a 0-based sheet index and a 0-based row on that sheet; a row that does
// not exist is tallyform::BadUsage. Rows flow across sheets and sheets come and go as document/row_edits.h
// says; afterwards the first sheet's sheet number and count follow the number of sheets
// (document::FollowSheetCount).

/// "Вставить пустую строку": an empty row before the row.
struct InsertRow {
  std::size_t sheet = 0;
  int row = 0;
};

/// "Удалить строку"; sheets left empty at the end go.
struct DeleteRow {
  std::size_t sheet = 0;
  int row = 0;
};

/// "Вырезать строки": the rows of the sheet (ascending, each once) are appended to the row clipboard in
/// that order and deleted; sheets left empty at the end go, once all are cut.
struct CutRows {
  std::size_t sheet = 0;
  std::vector<int> rows;
};

/// "Копировать строки": the rows (ascending, each once) are appended to the row clipboard. A step of its
/// own, although no sheet changes.
struct CopyRows {
  std::size_t sheet = 0;
  std::vector<int> rows;
};

/// "Вставить строки": the row clipboard's rows go in before the row, and the clipboard is emptied. An empty
/// clipboard is tallyform::BadUsage.
struct PasteRows {
  std::size_t sheet = 0;
  int row = 0;
};

/// A new text for a cell: with `attributes` not given, the edit view's in-place edit
/// (document::EditCell); given, the cell text dialog's OK with that word (document::SetCellText). A new
/// name in a list of elements (cell 2) of a resistor or capacitor (by the designator in cell 1 of the row)
/// is checked as a filled one is, with the section file of the sheet: the document's report, made from
/// `tools` when the document has none, forgets what it said of the element and keeps the new result; a value
/// off its series raises the document's mismatch flag and Apply says so (Applied::value_off).
struct CellText {
  std::size_t sheet = 0;
  int row = 0;
  int cell = 0;
  std::string text;
  std::optional<std::uint32_t> attributes;
  document::FillTools tools;
};

}  // namespace commands

using Command = std::variant<commands::EditorName, commands::TitleBlock, commands::NumberOfProducts,
                             commands::TextHeights, commands::LineWidths, commands::Fill, commands::InsertRow,
                             commands::DeleteRow, commands::CutRows, commands::CopyRows, commands::PasteRows,
                             commands::CellText>;

/// Which value an edited cell put off its series.
enum class ValueOff { kNone, kResistor, kCapacitor };

/// What a command found that its caller may want to ask about.
struct Applied {
  /// The edited name's value is off its series: the caller asks ValueOffQuestion and may show the report.
  ValueOff value_off = ValueOff::kNone;
};

/// The question asked when an edited cell's value is off its series, lines joined with "\n" (code page
/// 1251): "Номинал резистора в отредактированной ячейке" (or "конденсатора"), "не соответствует его заданной
/// точности.", "Показать отчет?". Empty for ValueOff::kNone.
std::string ValueOffQuestion(ValueOff off);

/// What a view of the document shows, as far as the enabling of commands depends on it.
struct ViewState {
  /// The sheet shown, 1-based.
  int current_sheet = 1;
};

/// The document commands that can be given now.
struct EnabledCommands {
  bool undo = false;
  bool redo = false;
  bool paste_rows = false;
  bool first_sheet = false;
  bool previous_sheet = false;
  bool next_sheet = false;
  bool last_sheet = false;
  bool fill = false;
  bool title_block = false;
  bool number_of_products = false;
  bool text_heights = false;
  bool line_widths = false;
  friend bool operator==(const EnabledCommands&, const EnabledCommands&) = default;
};

class DocumentSession {
 public:
  /// A session on a new document or one just read (see OpenDocument): its sheets laid out, nothing to undo.
  /// `number` is the number a document never saved carries in its title ("Enumeration1"); 0 for none.
  explicit DocumentSession(document::Document document, int number = 0);
  DocumentSession(DocumentSession&&) = default;
  DocumentSession& operator=(DocumentSession&&) = default;
  DocumentSession(const DocumentSession&) = delete;
  DocumentSession& operator=(const DocumentSession&) = delete;

  const document::Document& document() const { return document_; }
  /// The document's name: its file's name, or "Enumeration" with its number before it is first saved
  /// (code page 1251).
  std::string Title() const;

  /// Applies the command as one undoable step (see the top of this file). The command's errors
  /// (tallyform::Error, std::bad_alloc) leave everything as it was, the row clipboard too.
  Applied Apply(Command command);
  /// Goes back to the state before the last change, or forward again; false, changing nothing, when there
  /// is nothing to undo or redo. A step done marks the document modified and tells the listeners.
  bool Undo();
  bool Redo();
  const document::RingIndices& undo_indices() const { return ring_.indices(); }

  /// The rows cut and copied since the last paste, in the order they went in.
  const document::RowClipboard& row_clipboard() const { return row_clipboard_; }
  /// Empties the row clipboard (the edit view closes) and tells the listeners; no undo step, and the
  /// document stays as it is.
  void ClearRowClipboard();

  /// Which commands are possible for a view showing `view`: undo and redo by the ring; pasting rows while
  /// the row clipboard holds rows; the sheet moves by the sheet shown; filling always (the element list
  /// window gathers the list); the title block for lists of elements and bills; the number of products on a
  /// sheet of a simple bill that starts a section with products; the text heights and line widths always.
  EnabledCommands Enabled(const ViewState& view) const;

  /// Saving, as the document's save step: the editor name becomes `editor` when given (the editor dialog's
  /// OK), then the document is written to `path` with a new history record. No undo step; the document is
  /// no longer modified. A file that cannot be written is tallyform::UnreadableFile naming it and leaves
  /// the file and the document as they were, but for the editor name.
  void Save(const std::filesystem::path& path, const std::optional<std::string>& editor,
            ports::SystemInfo& system);

  /// Calls `listener` with every change of the document until the subscription ends.
  [[nodiscard]] Subscription Subscribe(ChangeListener listener) {
    return notifier_.Subscribe(std::move(listener));
  }

 private:
  // What the undo ring keeps of the document.
  struct State {
    document::SheetArray sheets;
    std::string editor;
  };

  /// Makes `changed` and `editor` the document's, keeping what they replace in the undo ring.
  void Commit(document::SheetSet& changed, std::string editor);
  bool Step(bool (document::UndoRing<State>::*step)(State&));
  void Tell(DocumentChange change, bool was_modified);

  document::Document document_;
  int number_ = 0;
  document::UndoRing<State> ring_;
  document::RowClipboard row_clipboard_;
  ChangeNotifier notifier_;
};

}  // namespace tallyform::app
