// Preparing and filling a list of elements of 20,000 elements with the Qt measurer: joining neighbours into
// ranges, counting group rows, and writing every element into the sheets with fitting, splitting and the
// value check.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "adapters/qt_text_measurer.h"
#include "design_generator.h"
#include "document/designator_ranges.h"
#include "document/element_kinds.h"
#include "document/fill_list.h"
#include "elements/ascii_reader.h"
#include "elements/default_headings.h"
#include "presentation/sheet_set.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform;

constexpr std::size_t kElements = 20000;

// A generated board read once, with the program's files in a folder of their own.
class Board {
 public:
  Board()
      : folder_(std::filesystem::temp_directory_path() /
                ("tallyform-bench-fill-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    kinds_.FillBuiltIn();
    check_ = std::make_unique<valuecheck::ValueCheck>(folder_ / "errors.log");
    bench::DesignOptions options;
    options.components = kElements;
    elements::AsciiReader reader(kinds_, *check_);
    bool mismatch = false;
    reader.ReadBytes(bench::GenerateDesign(options), "D:\\Projects\\Generated\\board.pcb", false, data_,
                     mismatch);
    elements::ApplyDefaultHeadings(data_.headings, data_.roles, document::DocumentKind::kElementList);
  }
  ~Board() {
    check_.reset();
    std::filesystem::remove_all(folder_);
  }

  const elements::ListData& data() const { return data_; }
  const document::ElementKinds& kinds() const { return kinds_; }
  valuecheck::ValueCheck& check() { return *check_; }

 private:
  std::filesystem::path folder_;
  document::ElementKinds kinds_;
  std::unique_ptr<valuecheck::ValueCheck> check_;
  elements::ListData data_;
};

Board& TheBoard() {
  static Board board;
  return board;
}

void BM_PrepareAndFillList(benchmark::State& state) {
  Board& board = TheBoard();
  const adapters::QtTextMeasurer measurer;
  const document::FillServices services{measurer, board.kinds(), board.check()};
  presentation::SheetSet sheets(document::DocumentKind::kElementList);
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

}  // namespace
