// Preparing and filling a list of elements of 20,000 elements with the Qt measurer: joining neighbours into
// ranges, counting group rows, and writing every element into the sheets with fitting, splitting and the
// value check; and the same as a command of a document's session, with its undo and redo.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "adapters/qt_text_measurer.h"
#include "app/document_session.h"
#include "document/designator_ranges.h"
#include "document/fill_list.h"
#include "document/sheet_set.h"
#include "elements/default_headings.h"
#include "model/element_kinds.h"
#include "support/generated_board.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform;

constexpr std::size_t kElements = 20000;

using Board = bench::GeneratedBoard;

Board& TheBoard() {
  static Board board(kElements, "fill");
  static const bool headed = [] {
    elements::ApplyDefaultHeadings(board.data().headings, board.data().roles,
                                   model::DocumentKind::kElementList);
    return true;
  }();
  (void)headed;
  return board;
}

void BM_PrepareAndFillList(benchmark::State& state) {
  Board& board = TheBoard();
  const adapters::QtTextMeasurer measurer;
  const document::FillServices services{measurer, board.kinds(), board.check()};
  document::SheetSet sheets(model::DocumentKind::kElementList);
  std::size_t rows = 0;
  for (auto _ : state) {
    elements::ComponentList copy = board.data().elements;
    bool mismatch = false;
    {
      valuecheck::ReportRun run(board.check());
      board.check().ClearReport();
      document::PrepareList(copy, board.data().roles);
      document::FillList(sheets, copy, board.data().headings, services, mismatch);
    }
    rows = copy.count();
    benchmark::DoNotOptimize(mismatch);
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["sheets"] = static_cast<double>(sheets.sheet_count());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kElements));
}
BENCHMARK(BM_PrepareAndFillList)->Unit(benchmark::kMillisecond);

// The preparation alone, on the bills' road too (ordering and merging).
void BM_PreparePurchasedItems(benchmark::State& state) {
  Board& board = TheBoard();
  for (auto _ : state) {
    elements::ComponentList copy = board.data().elements;
    document::JoinDesignators(copy, board.data().roles, false);
    document::OrderAndMergePurchased(copy, board.data().roles);
    benchmark::DoNotOptimize(copy.count());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kElements));
}
BENCHMARK(BM_PreparePurchasedItems)->Unit(benchmark::kMillisecond);

// The same fill as a command of a document's session, as every front end runs it: the handed list copied
// into the command, the sheets filled on a copy of the first, laid out, and the state before kept in the
// undo ring. Against BM_PrepareAndFillList, what the one road costs.
void BM_FillCommandThroughSession(benchmark::State& state) {
  Board& board = TheBoard();
  const adapters::QtTextMeasurer measurer;
  const auto series = std::make_shared<const valuecheck::ValueSeries>();
  const std::filesystem::path report = std::filesystem::temp_directory_path() / "tallyform-bench-session.log";
  app::DocumentSession session(document::Document(model::DocumentKind::kElementList));
  for (auto _ : state) {
    session.Apply(app::commands::Fill{{board.data(), {}, elements::MergeChoice::kSeparateLists},
                                      {measurer, board.kinds(), series, report}});
  }
  std::filesystem::remove(report);
  state.counters["sheets"] = static_cast<double>(session.document().sheets().sheet_count());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kElements));
}
BENCHMARK(BM_FillCommandThroughSession)->Unit(benchmark::kMillisecond);

// Undo and redo of that fill: the ring exchanges the sheets, copying nothing.
void BM_UndoAndRedoAFill(benchmark::State& state) {
  Board& board = TheBoard();
  const adapters::QtTextMeasurer measurer;
  const auto series = std::make_shared<const valuecheck::ValueSeries>();
  const std::filesystem::path report = std::filesystem::temp_directory_path() / "tallyform-bench-undo.log";
  app::DocumentSession session(document::Document(model::DocumentKind::kElementList));
  session.Apply(app::commands::Fill{{board.data(), {}, elements::MergeChoice::kSeparateLists},
                                    {measurer, board.kinds(), series, report}});
  for (auto _ : state) {
    session.Undo();
    session.Redo();
  }
  std::filesystem::remove(report);
  state.counters["sheets"] = static_cast<double>(session.document().sheets().sheet_count());
}
BENCHMARK(BM_UndoAndRedoAFill)->Unit(benchmark::kMicrosecond);

}  // namespace
