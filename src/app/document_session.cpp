#include "app/document_session.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

#include "document/fill_parameters.h"
#include "model/errors.h"
#include "model/messages.h"
#include "text/literal.h"
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

using namespace tallyform::text::literals;

DocumentChange AllSheets(unsigned aspects) {
  return DocumentChange{aspects, 0, DocumentChange::kToLastSheet, std::nullopt};
}

// The rows of a sheet from `row` on changed, and with `onwards` every sheet after it too; otherwise the
// one row.
DocumentChange RowsChanged(const document::SheetSet& sheets, std::size_t sheet, int row, bool onwards) {
  const auto first = static_cast<std::size_t>(row);
  const std::size_t last = onwards ? sheets.sheet(sheet).row_count() - 1 : first;
  return DocumentChange{DocumentChange::kSheets, sheet, onwards ? DocumentChange::kToLastSheet : sheet,
                        std::pair(first, last)};
}

// The rows a cut or copy names: on the sheet, ascending, each once.
void CheckRowList(const document::SheetSet& sheets, std::size_t sheet, const std::vector<int>& rows) {
  const bool ascending = std::adjacent_find(rows.begin(), rows.end(), std::greater_equal<>()) == rows.end();
  if (rows.empty() || !ascending) {
    throw BadUsage(std::string("Строки для вырезания или копирования не выбраны."_cp));
  }
  for (int row : rows) document::CopyRow(sheets, sheet, row);  // BadUsage for a row that is not there
}

// The cell of a list of elements that holds the designators of its row.
constexpr std::size_t kDesignatorCell = 1;

// The value check of an edited name, run once the edit has succeeded.
struct NameCheck {
  valuecheck::ComponentClass cls;
  std::string designator;
  std::string name;
  std::string file;
  document::FillTools tools;
};

// The report forgets what it said of the element and checks its new name, the value taken out of it.
ValueOff CheckName(valuecheck::ValueCheck& report, NameCheck& check) {
  report.ForgetEntries(check.cls, check.designator);
  if (report.Check(check.cls, check.designator, std::move(check.name), std::string(), std::move(check.file)))
    return ValueOff::kNone;
  return check.cls == valuecheck::ComponentClass::kResistor ? ValueOff::kResistor : ValueOff::kCapacitor;
}

}  // namespace

std::string ValueOffQuestion(ValueOff off) {
  if (off == ValueOff::kNone) return {};
  std::string question(off == ValueOff::kResistor ? "Номинал резистора"_cp : "Номинал конденсатора"_cp);
  question += " в отредактированной ячейке\nне соответствует его заданной точности.\n"_cp;
  question += model::kShowReportQuestion;
  return question;
}

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

Applied DocumentSession::Apply(Command command) {
  const model::DocumentKind kind = document_.kind();
  document::SheetSet work = WorkingCopy(document_.sheets(), std::holds_alternative<commands::Fill>(command));
  std::string editor = document_.editor_name();
  DocumentChange change = AllSheets(DocumentChange::kSettings);
  document::FilledSheets filled;
  elements::ListData handed_data;
  // What the row commands change besides the sheets, taken over only once the command has succeeded.
  const std::size_t sheets_before = work.sheet_count();
  bool rows_edited = false;
  std::optional<document::RowClipboard> clipboard;
  std::optional<NameCheck> name_check;

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
          [&](commands::InsertRow& insert) {
            document::InsertRows(work, insert.sheet, insert.row, 1);
            change = RowsChanged(work, insert.sheet, insert.row, true);
            rows_edited = true;
          },
          [&](commands::DeleteRow& remove) {
            document::DeleteRow(work, remove.sheet, remove.row);
            change = RowsChanged(work, remove.sheet, remove.row, true);
            document::RemoveEmptyLastSheets(work);
            rows_edited = true;
          },
          [&](commands::CutRows& cut) {
            CheckRowList(work, cut.sheet, cut.rows);
            clipboard = row_clipboard_;
            // Each cut moves the rows below it up by one.
            int cut_so_far = 0;
            for (int row : cut.rows) {
              clipboard->push_back(document::CopyRow(work, cut.sheet, row - cut_so_far));
              document::DeleteRow(work, cut.sheet, row - cut_so_far);
              ++cut_so_far;
            }
            change = RowsChanged(work, cut.sheet, cut.rows.front(), true);
            change.aspects |= DocumentChange::kRowClipboard;
            // Only now: a sheet emptied by one cut still holds the rows the next one names.
            document::RemoveEmptyLastSheets(work);
            rows_edited = true;
          },
          [&](commands::CopyRows& copy) {
            CheckRowList(work, copy.sheet, copy.rows);
            clipboard = row_clipboard_;
            for (int row : copy.rows) clipboard->push_back(document::CopyRow(work, copy.sheet, row));
            change = DocumentChange{DocumentChange::kRowClipboard, 1, 0, std::nullopt};
          },
          [&](commands::PasteRows& paste) {
            if (row_clipboard_.empty()) throw BadUsage(std::string("Нет строк для вставки."_cp));
            document::PasteRows(work, paste.sheet, paste.row, row_clipboard_);
            clipboard.emplace();
            change = RowsChanged(work, paste.sheet, paste.row, true);
            change.aspects |= DocumentChange::kRowClipboard;
            rows_edited = true;
          },
          [&](commands::CellText& edit) {
            const ports::TextMeasurer& measurer = edit.tools.measurer.get();
            const int lines = edit.attributes ? document::SetCellText(work, edit.sheet, edit.row, edit.cell,
                                                                      edit.text, *edit.attributes, measurer)
                                              : document::EditCell(work, edit.sheet, edit.row, edit.cell,
                                                                   edit.text, measurer);
            change = RowsChanged(work, edit.sheet, edit.row, lines > 1);
            rows_edited = true;
            if (kind != model::DocumentKind::kElementList || edit.cell != document::NameCell(kind)) return;
            const document::CTableRows& table = work.sheet(edit.sheet);
            std::string designator = table.cell(static_cast<std::size_t>(edit.row), kDesignatorCell).text();
            if (const auto cls = valuecheck::CheckedClass(designator)) {
              name_check = NameCheck{*cls, std::move(designator), std::move(edit.text), table.section_file(),
                                     edit.tools};
            }
          },
      },
      command);
  if (rows_edited) {
    const document::CTableRows& first = work.sheet(0);
    const std::string number = first.title_field(document::TitleField::kSheetNumber);
    const std::string count = first.title_field(document::TitleField::kSheetCount);
    document::FollowSheetCount(work, sheets_before);
    if (first.title_field(document::TitleField::kSheetNumber) != number ||
        first.title_field(document::TitleField::kSheetCount) != count) {
      change.aspects |= DocumentChange::kSettings;
    }
  }
  work.LayOut();
  Applied applied;
  std::unique_ptr<valuecheck::ValueCheck> new_report;
  if (name_check) {
    // A document opened from a file has no report of a fill yet: the edit starts one.
    valuecheck::ValueCheck* report = document_.value_report_.get();
    if (report == nullptr) {
      new_report =
          std::make_unique<valuecheck::ValueCheck>(name_check->tools.series, name_check->tools.report_path);
      report = new_report.get();
    }
    applied.value_off = CheckName(*report, *name_check);
  }
  Commit(work, std::move(editor));
  if (new_report) document_.SetValueReport(std::move(new_report));
  if (applied.value_off != ValueOff::kNone) document_.SetMismatch(true);
  if (filled.report) {
    document_.SetListData(std::move(handed_data));
    document_.SetMismatch(filled.mismatch);
    document_.SetValueReport(std::move(filled.report));
  }
  if (clipboard) row_clipboard_ = std::move(*clipboard);
  const bool was_modified = document_.modified();
  document_.SetModified(true);
  Tell(change, was_modified);
  return applied;
}

void DocumentSession::ClearRowClipboard() {
  if (row_clipboard_.empty()) return;
  row_clipboard_.clear();
  Tell(DocumentChange{DocumentChange::kRowClipboard, 1, 0, std::nullopt}, document_.modified());
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
  enabled.paste_rows = !row_clipboard_.empty();
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
