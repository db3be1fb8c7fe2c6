#pragma once
// Random runs of the row commands of a document session (inserting, deleting, cutting, copying and pasting
// rows, editing cells in place and through the cell text dialog with texts that wrap, often at sheet ends),
// each step checked against what the command promises, for the property test and the fuzz target alike:
//
//   - no row holding text is lost, duplicated or moved out of order: in reading order those rows stay as they
//     were but for what the command says (a deleted or cut row goes, pasted rows come in at their place);
//     an edit changes the edited row, and its further lines come in rows of their own after it, in order;
//   - every sheet keeps its row count, added sheets have the following sheets' count, a document never has
//     no sheets, and a delete or cut leaves no empty sheet at the end;
//   - the first sheet's sheet number and count follow the number of sheets;
//   - cut and copy append to the row clipboard, paste empties it, and the paste command is enabled while it
//     holds rows;
//   - a command that fails changes nothing (sheets, clipboard, undo ring) and tells nobody; one that
//     succeeds is told once;
//   - undo gives back the sheets as they were before the command, byte for byte, and redo those after it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/document_session.h"
#include "archive/archive.h"
#include "document/row_edits.h"
#include "document/sheet_flow.h"
#include "document/text_fitting.h"
#include "model/errors.h"
#include "support/random_designs.h"
#include "text/numbers.h"

namespace tallyform::testing {

/// The sheets as the file stores them.
inline std::string SheetBytes(const document::SheetSet& sheets) {
  archive::ArchiveWriter writer;
  document::WriteSheetTables(writer, sheets.sheets());
  return writer.Take();
}

class RowCommandRun {
 public:
  RowCommandRun(app::DocumentSession& session, const document::FillTools& tools)
      : session_(session),
        tools_(tools),
        subscription_(
            session.Subscribe([this](const app::DocumentChange& change) { told_.push_back(change); })) {
    document::SheetSet probe(session.document().kind());
    following_rows_ = probe.AddSheet(model::LayoutOf(probe.kind()).following_top_offset).row_count();
  }

  /// Gives one random command and checks what it did.
  void Step(Choices& choices) {
    const document::SheetSet& sheets = session_.document().sheets();
    const std::string before = SheetBytes(sheets);
    const document::RowClipboard clipboard_before = session_.row_clipboard();
    const document::RingIndices indices_before = session_.undo_indices();
    std::vector<std::size_t> row_counts;
    for (const auto& sheet : sheets.sheets()) row_counts.push_back(sheet->row_count());

    order_ = Order(sheets);
    clipboard_ = clipboard_before;
    edit_.reset();
    const std::size_t sheet = choices.Below(sheets.sheet_count());
    const int row = Row(choices, sheet);
    const int option = static_cast<int>(choices.Below(9));
    bool must_fail = false;
    app::Command command = app::commands::InsertRow{sheet, row};
    switch (option) {
      case 0:
        break;
      case 1:
        Take(Linear(sheet, row));
        command = app::commands::DeleteRow{sheet, row};
        break;
      case 2:
      case 3: {
        const std::vector<int> rows = Rows(choices, sheet);
        for (int r : rows) {
          clipboard_.push_back(document::CopyRow(sheets, sheet, r));
          if (option == 2) Take(Linear(sheet, r));
        }
        if (option == 2) {
          command = app::commands::CutRows{sheet, rows};
        } else {
          command = app::commands::CopyRows{sheet, rows};
        }
        break;
      }
      case 4:
        must_fail = clipboard_.empty();
        Put(Linear(sheet, row), clipboard_);
        clipboard_.clear();
        command = app::commands::PasteRows{sheet, row};
        break;
      case 5:
      case 6:
        expected_ = Counts(*order_);
        order_.reset();
        command = Edit(choices, sheet, row, option == 6);
        break;
      default:
        must_fail = true;
        switch (choices.Below(3)) {
          case 0:
            command = app::commands::InsertRow{sheet, static_cast<int>(row_counts[sheet])};
            break;
          case 1:
            command = app::commands::DeleteRow{sheets.sheet_count(), 0};
            break;
          default:
            command = app::commands::CutRows{sheet, {row, row}};
        }
    }

    const std::string what = "command " + std::to_string(command.index()) + " on sheet " +
                             std::to_string(sheet) + " row " + std::to_string(row) + ": ";
    told_.clear();
    bool failed = false;
    try {
      session_.Apply(std::move(command));
    } catch (const BadUsage&) {
      failed = true;
    }
    if (failed != must_fail) Fail(what + (failed ? "failed" : "did not fail"));
    if (failed) {
      if (SheetBytes(sheets) != before || session_.row_clipboard() != clipboard_before ||
          !(session_.undo_indices() == indices_before) || !told_.empty())
        Fail(what + "failed but changed something");
      return;
    }
    if (told_.size() != 1) Fail(what + "told " + std::to_string(told_.size()) + " times");
    if (option != 3 && !told_.empty() && !told_.front().TouchesSheet(sheet))
      Fail(what + "not told the sheet");
    CheckSheets(what, row_counts, option == 1 || option == 2);
    if (session_.row_clipboard() != clipboard_) Fail(what + "left another clipboard");
    if (session_.Enabled({1}).paste_rows == clipboard_.empty()) Fail(what + "paste enabled wrongly");

    if (choices.OneIn(3)) {
      const std::string after = SheetBytes(sheets);
      if (!session_.Undo() || SheetBytes(sheets) != before) Fail(what + "undo did not restore the sheets");
      if (!session_.Redo() || SheetBytes(sheets) != after) Fail(what + "redo did not restore the sheets");
      if (session_.row_clipboard() != clipboard_) Fail(what + "undo changed the clipboard");
    }
  }

  /// The promises broken so far, one line each.
  const std::vector<std::string>& violations() const { return problems_; }

 private:
  // Rows holding text, counted by their contents.
  using RowCounts = std::map<std::string, int>;
  // Rows holding text in reading order, each with its place among all rows.
  using RowOrder = std::vector<std::pair<std::size_t, std::string>>;

  static std::string Key(const document::ClipboardRow& row) {
    std::string key;
    for (const document::ClipboardCell& cell : row)
      key += cell.text + '\x1f' + std::to_string(cell.attributes) + '\x1e';
    return key;
  }
  static bool HasText(const document::ClipboardRow& row) {
    return std::any_of(row.begin(), row.end(), [](const auto& cell) { return !cell.text.empty(); });
  }
  static RowOrder Order(const document::SheetSet& sheets) {
    RowOrder order;
    std::size_t place = 0;
    for (std::size_t s = 0; s < sheets.sheet_count(); ++s) {
      for (std::size_t r = 0; r < sheets.sheet(s).row_count(); ++r, ++place) {
        const document::ClipboardRow row = document::CopyRow(sheets, s, static_cast<int>(r));
        if (HasText(row)) order.emplace_back(place, Key(row));
      }
    }
    return order;
  }
  std::size_t Linear(std::size_t sheet, int row) const {
    std::size_t place = static_cast<std::size_t>(row);
    for (std::size_t s = 0; s < sheet; ++s) place += session_.document().sheets().sheet(s).row_count();
    return place;
  }
  // The row at a place goes; the rows come in before a place.
  void Take(std::size_t place) {
    std::erase_if(*order_, [&](const auto& entry) { return entry.first == place; });
  }
  void Put(std::size_t place, const document::RowClipboard& rows) {
    auto at =
        std::find_if(order_->begin(), order_->end(), [&](const auto& entry) { return entry.first >= place; });
    for (const document::ClipboardRow& row : rows) {
      if (HasText(row)) at = std::next(order_->insert(at, {place, Key(row)}));
    }
  }
  static std::vector<std::string> Keys(const RowOrder& order) {
    std::vector<std::string> keys;
    for (const auto& entry : order) keys.push_back(entry.second);
    return keys;
  }
  static RowCounts Counts(const RowOrder& order) {
    RowCounts counts;
    for (const auto& entry : order) ++counts[entry.second];
    return counts;
  }

  void Count(const document::ClipboardRow& row, int change) {
    if (!HasText(row)) return;
    if ((expected_[Key(row)] += change) == 0) expected_.erase(Key(row));
  }
  void Fail(std::string problem) { problems_.push_back(std::move(problem)); }

  // A row of the sheet, often one of the last, where texts meet the sheet's end.
  int Row(Choices& choices, std::size_t sheet) const {
    const int rows = static_cast<int>(session_.document().sheets().sheet(sheet).row_count());
    if (!choices.OneIn(3)) return static_cast<int>(choices.Below(static_cast<std::size_t>(rows)));
    const int tail = document::SheetTail(session_.document().sheets());
    return std::max(0, rows - 1 - choices.Between(0, std::min(rows - 1, tail + 3)));
  }
  // One to three rows of the sheet, ascending.
  std::vector<int> Rows(Choices& choices, std::size_t sheet) const {
    std::vector<int> rows;
    for (int n = choices.Between(1, 3); n > 0; --n) rows.push_back(Row(choices, sheet));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
  }

  // A cell edit, and what it should write: the edited row's new contents and the further lines' rows.
  app::Command Edit(Choices& choices, std::size_t sheet, int row, bool dialog) {
    const document::SheetSet& sheets = session_.document().sheets();
    const model::DocumentKind kind = sheets.kind();
    const document::ClipboardRow old = document::CopyRow(sheets, sheet, row);
    const int cell =
        choices.OneIn(2) ? document::NameCell(kind) : static_cast<int>(choices.Below(old.size()));
    const int lengths[] = {0, 12, 80, 300, 900};
    const int length = lengths[choices.Below(5)];
    const std::string text = length == 0 ? std::string() : detail::Words(choices, choices.Between(1, length));
    std::optional<std::uint32_t> attributes;
    if (dialog) {
      const document::CellTextForm form{text, choices.Between(0, 2), choices.OneIn(2)};
      attributes = form.Attributes(old[static_cast<std::size_t>(cell)].attributes);
    }

    Edited edit{{sheet, row}, cell, {}};
    std::uint32_t word =
        (attributes ? *attributes : old[static_cast<std::size_t>(cell)].attributes) | document::kTableText;
    if (!dialog && kind == model::DocumentKind::kSimpleBill && cell == 0) {
      edit.lines = {old[0].text.empty() ? std::string() : std::string("1")};
      word = old[0].attributes;
    } else if (!dialog && !document::WrapsCell(kind, cell)) {
      edit.lines = {text};
    } else {
      const double height = sheets.sheet(0).settings().table_text;
      const double width = sheets.sheet(sheet).column_widths()[static_cast<std::size_t>(cell)];
      const ports::TextMeasurer& measurer = tools_.measurer.get();
      edit.lines = document::Fits(measurer, height, width, text)
                       ? std::vector<std::string>{text}
                       : document::Split(measurer, height, width, text);
    }
    document::ClipboardRow edited = old;
    edited[static_cast<std::size_t>(cell)] = {edit.lines[0], word};
    Count(old, -1);
    Count(edited, +1);
    for (std::size_t i = 1; i < edit.lines.size(); ++i) {
      document::ClipboardRow alone(old.size());
      alone[static_cast<std::size_t>(cell)] = {edit.lines[i], word};
      Count(alone, +1);
    }
    edit_ = std::move(edit);
    return app::commands::CellText{sheet, row, cell, text, attributes, tools_};
  }

  void CheckSheets(const std::string& what, const std::vector<std::size_t>& row_counts, bool removes) {
    const document::SheetSet& sheets = session_.document().sheets();
    const std::size_t count = sheets.sheet_count();
    if (count == 0) return Fail(what + "left no sheet");
    for (std::size_t s = 0; s < count; ++s) {
      const std::size_t rows = s < row_counts.size() ? row_counts[s] : following_rows_;
      if (sheets.sheet(s).row_count() != rows) Fail(what + "sheet " + std::to_string(s) + " has other rows");
    }
    const RowOrder order = Order(sheets);
    if (order_ ? Keys(order) != Keys(*order_) : Counts(order) != expected_)
      Fail(what + "lost, duplicated or moved rows");
    if (removes && count > 1 && !HasAnyText(sheets.sheet(count - 1))) Fail(what + "left an empty last sheet");
    const document::CTableRows& first = sheets.sheet(0);
    if (first.title_field(document::TitleField::kSheetNumber) != (count > 1 ? "1" : "") ||
        first.title_field(document::TitleField::kSheetCount) != text::FormatD(static_cast<long long>(count)))
      Fail(what + "left the sheet fields behind the sheet count");
    if (edit_) CheckLines(what, sheets);
  }
  static bool HasAnyText(const document::CTableRows& sheet) {
    for (const document::CRow& row : sheet.rows()) {
      for (const document::CCell& cell : row.cells()) {
        if (!cell.IsEmpty()) return true;
      }
    }
    return false;
  }
  // The edited cell holds the first line, and the others follow it in reading order in its column.
  void CheckLines(const std::string& what, const document::SheetSet& sheets) {
    const auto column = static_cast<std::size_t>(edit_->cell);
    document::RowPosition at = edit_->at;
    if (sheets.sheet(at.sheet).cell(static_cast<std::size_t>(at.row), column).text() != edit_->lines[0])
      return Fail(what + "did not write the first line into the cell");
    std::size_t next = 1;
    for (std::size_t s = at.sheet; s < sheets.sheet_count() && next < edit_->lines.size(); ++s) {
      const std::size_t from = s == at.sheet ? static_cast<std::size_t>(at.row) + 1 : 0;
      for (std::size_t r = from; r < sheets.sheet(s).row_count() && next < edit_->lines.size(); ++r) {
        if (sheets.sheet(s).cell(r, column).text() == edit_->lines[next]) ++next;
      }
    }
    if (next != edit_->lines.size()) Fail(what + "did not write the lines in order");
  }

  struct Edited {
    document::RowPosition at;
    int cell = 0;
    std::vector<std::string> lines;
  };

  app::DocumentSession& session_;
  document::FillTools tools_;
  std::vector<app::DocumentChange> told_;
  app::Subscription subscription_;
  std::size_t following_rows_ = 0;
  RowCounts expected_;
  std::optional<RowOrder> order_;
  document::RowClipboard clipboard_;
  std::optional<Edited> edit_;
  std::vector<std::string> problems_;
};

/// Fills a document of the kind from designs made up from `choices` and gives it `steps` random row
/// commands; returns the promises broken.
inline std::vector<std::string> RunRowCommands(Choices& choices, model::DocumentKind kind,
                                               elements::MergeChoice merge, const document::FillTools& tools,
                                               int steps) {
  const std::vector<GeneratedDesign> designs = GenerateDesigns(choices);
  app::DocumentSession session = FillDesigns(designs, kind, merge, GenerateParameters(choices, kind), tools);
  RowCommandRun run(session, tools);
  for (int step = 0; step < steps && run.violations().empty(); ++step) run.Step(choices);
  return run.violations();
}

}  // namespace tallyform::testing
