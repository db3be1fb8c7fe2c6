#include "app/document_session.h"

#include <memory>
#include <utility>

#include "document/fill_parameters.h"
#include "text/numbers.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// The sheets a command changes: a copy, so that a command that fails half way leaves the document as it
// was. A fill starts by clearing every sheet but the first, so it needs a copy of the first one only.
document::SheetSet WorkingCopy(const document::SheetSet& sheets, bool first_only) {
  document::SheetSet work(sheets.kind());
  document::SheetArray copy;
  if (first_only) {
    copy.push_back(std::make_unique<document::CTableRows>(sheets.sheet(0)));
  } else {
    copy = document::CopySheets(sheets.sheets());
  }
  work.SwapSheets(copy);
  return work;
}

DocumentChange AllSheets(unsigned aspects) {
  return DocumentChange{aspects, 0, DocumentChange::kToLastSheet, std::nullopt};
}

}  // namespace

DocumentSession::DocumentSession(document::Document document, int number)
    : document_(std::move(document)), number_(number) {
  // A document read from a file keeps its sheets as stored; shown, printed or edited, they are laid out.
  document_.LayOutSheets();
}

std::string DocumentSession::Title() const {
  std::string title = document_.Title();
  if (document_.path().empty() && number_ > 0) title += text::FormatD(number_);
  return title;
}

void DocumentSession::Apply(Command command) {
  const model::DocumentKind kind = document_.kind();
  document::SheetSet work = WorkingCopy(document_.sheets(), std::holds_alternative<commands::Fill>(command));
  std::string editor = document_.editor_name();
  DocumentChange change = AllSheets(DocumentChange::kSettings);
  document::FilledSheets filled;
  elements::ListData handed_data;

  std::visit(
      Overloaded{
          [&](commands::Fill& fill) {
            document::SetFillParameters(work.sheet(0), kind, fill.handed.parameters);
            filled = document::FillSheets(work, fill.handed.data, fill.tools, fill.handed.merge);
            handed_data = std::move(fill.handed.data);
            change =
                AllSheets(DocumentChange::kSheets | DocumentChange::kSettings | DocumentChange::kListData);
          },
          [&](commands::TitleBlock& title) {
            document::CTableRows& settings = work.sheet(0);
            for (const auto& [field, text] : title.fields) settings.SetTitleField(field, text);
            if (title.customer_approval) settings.SetCustomerApproval(*title.customer_approval);
            if (title.heights) document::SetTitleTextHeights(settings, *title.heights);
          },
          [&](commands::EditorName& name) {
            editor = std::move(name.name);
            change = DocumentChange{DocumentChange::kEditor, 1, 0, std::nullopt};
          },
          [&](commands::NumberOfProducts& products) {
            document::SetNumberOfProducts(work, products.sheet, products.products);
            const auto [first, last] = document::SectionSheets(work, products.sheet);
            change = DocumentChange{DocumentChange::kSheets | DocumentChange::kSettings, first, last,
                                    std::nullopt};
          },
          [&](commands::TextHeights& heights) { document::SetTextHeights(work.sheet(0), heights.heights); },
          [&](commands::LineWidths& widths) { document::SetLineWidths(work.sheet(0), widths.widths); },
      },
      command);
  work.LayOut();
  Commit(work, std::move(editor));
  if (filled.report) {
    document_.SetListData(std::move(handed_data));
    document_.SetMismatch(filled.mismatch);
    document_.SetValueReport(std::move(filled.report));
  }
  const bool was_modified = document_.modified();
  document_.SetModified(true);
  Tell(change, was_modified);
}

void DocumentSession::Commit(document::SheetSet& changed, std::string editor) {
  // Only moves from here on: nothing can fail half way.
  State before;
  before.editor = std::move(document_.editor_name_);
  document_.editor_name_ = std::move(editor);
  changed.SwapSheets(before.sheets);
  document_.sheets_.SwapSheets(before.sheets);
  ring_.Push(std::move(before));
}

bool DocumentSession::Step(bool (document::UndoRing<State>::*step)(State&)) {
  State live;
  document_.sheets_.SwapSheets(live.sheets);
  live.editor = std::move(document_.editor_name_);
  const bool done = (ring_.*step)(live);
  document_.sheets_.SwapSheets(live.sheets);
  document_.editor_name_ = std::move(live.editor);
  if (!done) return false;
  const bool was_modified = document_.modified();
  document_.SetModified(true);
  Tell(AllSheets(DocumentChange::kSheets | DocumentChange::kSettings | DocumentChange::kEditor),
       was_modified);
  return true;
}

bool DocumentSession::Undo() {
  return Step(&document::UndoRing<State>::Undo);
}

bool DocumentSession::Redo() {
  return Step(&document::UndoRing<State>::Redo);
}

EnabledCommands DocumentSession::Enabled(const ViewState& view) const {
  const int count = static_cast<int>(document_.sheets().sheet_count());
  const int current = view.current_sheet;
  EnabledCommands enabled;
  enabled.undo = ring_.CanUndo();
  enabled.redo = ring_.CanRedo();
  enabled.paste_rows = view.rows_to_paste;
  enabled.first_sheet = current > 1;
  enabled.previous_sheet = current > 1;
  enabled.next_sheet = current < count;
  enabled.last_sheet = current < count;
  // The element list window gathers a list for any document, a new and empty one too.
  enabled.fill = true;
  enabled.title_block = document_.kind() != model::DocumentKind::kSimpleBill;
  enabled.number_of_products = current >= 1 && document::CanSetNumberOfProducts(
                                                   document_.sheets(), static_cast<std::size_t>(current - 1));
  enabled.text_heights = true;
  enabled.line_widths = true;
  return enabled;
}

void DocumentSession::Save(const std::filesystem::path& path, const std::optional<std::string>& editor,
                           ports::SystemInfo& system) {
  const bool was_modified = document_.modified();
  const bool new_editor = editor && *editor != document_.editor_name();
  if (new_editor) document_.SetEditorName(*editor);
  const unsigned editor_aspect = new_editor ? DocumentChange::kEditor : 0u;
  try {
    document_.Save(path, system);
  } catch (...) {
    if (new_editor) Tell(DocumentChange{DocumentChange::kEditor, 1, 0, std::nullopt}, was_modified);
    throw;
  }
  Tell(DocumentChange{DocumentChange::kSaved | editor_aspect, 1, 0, std::nullopt}, was_modified);
}

void DocumentSession::Tell(DocumentChange change, bool was_modified) {
  if (document_.modified() != was_modified) change.aspects |= DocumentChange::kModified;
  notifier_.Notify(change);
}

}  // namespace tallyform::app
