#pragma once
// The element list window's work apart from its widgets: gathering and preparing a document's element list
// before the document is filled.
//
// The session works on copies of the document's element data (the list and its side data, the roles, the
// designation and heading maps), its fill parameters and its mismatch flag, so that closing the window
// without filling discards every change; "Заполнить" hands copies back as one fill command of the document's
// session. Appended reads and joins are undoable in a ring of five lists of its own. What the window asks
// midway (the designations of a design just chosen, the roles, the column mapping, the sort choice, the
// mismatch question) goes through the prompts. Texts are code page 1251.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/document_session.h"
#include "document/undo_ring.h"
#include "elements/component_list.h"
#include "elements/element_order.h"
#include "elements/list_data.h"
#include "elements/roles.h"
#include "model/document_kind.h"
#include "model/fill_parameters.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::ports {
class Prompts;
class Shell;
}  // namespace tallyform::ports

namespace tallyform::app {

using namespace tallyform::text::literals;

class Application;

/// Where "&Добавить элементы..." takes elements from, in the order the dialog offers them.
enum class ElementSource {
  kPcadSchematic,  ///< a schematic opened through the P-CAD design link
  kPcadBoard,      ///< a board opened through the P-CAD design link
  kAsciiDesign,    ///< a P-CAD ASCII design file (".sch", ".pcb")
  kSavedDocument,  ///< the element data of a saved document (".enum")
};

/// One row of the kinds dialog ("Виды элементов в документе").
struct KindRow {
  std::string code;
  std::string singular;
  std::string plural;
  friend bool operator==(const KindRow&, const KindRow&) = default;
};

/// How "Заполнить" ends.
enum class FillActionEnd {
  kClose,         ///< the list is empty: the window closes and nothing is filled
  kBackToWindow,  ///< a dialog was cancelled, or a role the fill needs is missing: the window stays
  kFill,          ///< the list is ready: HandOver() goes to the document's fill
};

class ElementListSession {
 public:
  /// A session over copies of the document's element data, fill parameters and mismatch flag. The list
  /// counts as sorted when it has attribute names; the merge choice is separate lists; the ring holds the
  /// list as its only state.
  ElementListSession(Application& application, const document::Document& document, ports::Prompts& prompts,
                     ports::Shell& shell);

  model::DocumentKind kind() const { return kind_; }
  const elements::ListData& data() const { return data_; }
  const model::FillParameters& parameters() const { return parameters_; }
  bool mismatch() const { return mismatch_; }
  bool sorted() const { return sorted_; }
  elements::MergeChoice merge() const { return merge_; }
  /// The attribute names the list shows as columns: every name but "Количество", in order.
  std::vector<std::string> ColumnNames() const;

  bool CanUndo() const { return ring_.CanUndo(); }
  bool CanRedo() const { return ring_.CanRedo(); }
  /// Steps back or forward through the lists of appended reads and joins; false when there is nothing to
  /// go to. The list is no longer taken as sorted afterwards.
  bool Undo();
  bool Redo();

  /// "&Добавить элементы...", once the source and its file are chosen. With `append` the list read is added
  /// to the list (an undoable step); without it the list read replaces the list, the designation map and the
  /// history. A design file gets its entry in the designation map and the designation dialog is shown
  /// (Prompts::Designations); a saved document brings its own entries. Then the roles are reset to the
  /// defaults, the source is read, values off their series are offered in the report (Prompts), an empty
  /// heading map gets the kind's defaults, and the list is no longer sorted. The source is read completely
  /// before anything changes: a file that cannot be read (tallyform::UnreadableFile, DamagedFile) leaves the
  /// list, the maps, the roles and the history as they were. A P-CAD source reads the design file `path`
  /// through the application's design link (ReadDesignThroughDbx, with its close question); a design the
  /// link cannot open has its status shown and changes nothing.
  void AddElements(ElementSource source, const std::filesystem::path& path, bool append);

  /// "&Обозначение документа": the map becomes the dialog's; every element's "Куда входит" is set from it by
  /// the element's "Файл" (empty when the file has no entry).
  void SetDesignations(archive::StringMap designations);

  /// The kinds dialog's rows: one per kind prefix of the list, in byte order of the code, with the names
  /// the kinds hold for exactly that code (empty when none).
  std::vector<KindRow> KindRows() const;
  /// The kinds dialog's OK: each row whose names are not both empty is set into the application's kinds,
  /// which are written to the kinds file (a file that cannot be written is a warning); then every element
  /// whose prefix is now a kind takes its plural name as "Group" (an empty name is never taken).
  void SetKinds(const std::vector<KindRow>& rows);

  /// What the roles dialog shows on opening.
  elements::RoleSelection ProposedRoles() const;
  /// The roles dialog's OK: false, with the warning shown, while a role has no choice (the dialog stays
  /// open); otherwise the list is sorted again (asking the sort choice when it needs it) and the heading map
  /// gets the kind's defaults.
  bool AcceptRoles(const elements::RoleSelection& selection);

  /// What the column mapping dialog shows on opening, and the titles it offers (the empty title first).
  elements::ColumnMapping ProposedMapping() const;
  std::vector<std::string> OfferedTitles() const;
  /// The column mapping dialog's OK (tallyform::BadUsage for a title the kind lacks or parameters out of
  /// range; then nothing changed).
  void SetMapping(const elements::ColumnMapping& mapping);

  /// "Со&единить атрибуты": an undoable step, then the join.
  void Join(const elements::JoinSpec& spec);
  /// "С&ортировать": the sort choice when a simple bill holds several files, then the sort.
  void Sort();
  /// "&Показать отчет об ошибках": the report of what this window read, or the report file there is.
  void ShowReport();

  /// "Заполнить": the fill action on the window's list (app::PrepareFill), asking the roles while the list
  /// lacks a role's attribute, then the column mapping, then the sort choice. What the dialogs change stays
  /// in the window.
  FillActionEnd FillAction();
  /// What "Заполнить" hands to the document: copies of the list data, the fill parameters, the merge choice.
  FillHandOver HandOver() const;

 private:
  void StartHistory();

  Application& application_;
  ports::Prompts& prompts_;
  ports::Shell& shell_;
  model::DocumentKind kind_;
  elements::ListData data_;
  model::FillParameters parameters_;
  bool mismatch_ = false;
  bool sorted_ = false;
  bool read_ = false;  // something was read here, so the check below has a report of its own
  elements::MergeChoice merge_ = elements::MergeChoice::kSeparateLists;
  valuecheck::ValueCheck check_;
  document::UndoRing<elements::ComponentList> ring_;
};

}  // namespace tallyform::app
