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
// the list keeps what was handed to the fill.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "app/document_change.h"
#include "document/document.h"
#include "document/fill_sheets.h"
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

}  // namespace commands

using Command = std::variant<commands::EditorName, commands::TitleBlock, commands::NumberOfProducts,
                             commands::TextHeights, commands::LineWidths, commands::Fill>;

/// What a view of the document shows, as far as the enabling of commands depends on it.
struct ViewState {
  /// The sheet shown, 1-based.
  int current_sheet = 1;
  /// The edit view's row clipboard holds rows.
  bool rows_to_paste = false;
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
  /// (tallyform::Error, std::bad_alloc) leave everything as it was.
  void Apply(Command command);
  /// Goes back to the state before the last change, or forward again; false, changing nothing, when there
  /// is nothing to undo or redo. A step done marks the document modified and tells the listeners.
  bool Undo();
  bool Redo();
  const document::RingIndices& undo_indices() const { return ring_.indices(); }

  /// Which commands are possible for a view showing `view`: undo and redo by the ring; pasting rows while
  /// the view has rows to paste; the sheet moves by the sheet shown; filling always (the element list
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
  ChangeNotifier notifier_;
};

}  // namespace tallyform::app
