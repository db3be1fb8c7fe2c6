// Preparing and filling both bills of purchased items from 20,000 elements with the Qt measurer: joining
// neighbours into ranges, ordering and merging items, and writing them into the sheets with fitting,
// splitting and the value check. The generated board merges into few items; the distinct board keeps every
// element an item of its own, a row each.

#include <benchmark/benchmark.h>

#include <string>

#include "adapters/qt_text_measurer.h"
#include "document/fill_bill.h"
#include "document/fill_simple_bill.h"
#include "document/sheet_set.h"
#include "elements/default_headings.h"
#include "elements/element_order.h"
#include "model/element_kinds.h"
#include "support/generated_board.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform;
using model::DocumentKind;

constexpr std::size_t kElements = 20000;

// A generated board read once, sorted for each bill on request. The distinct board gives every element a
// name of its own, so that no two merge.
class Board : public bench::GeneratedBoard {
 public:
  explicit Board(bool distinct) : GeneratedBoard(kElements, distinct ? "bills-distinct" : "bills") {
    if (distinct) {
      for (auto& e : data().elements.storage())
        e->Set("Type", std::string(e->Get("Type")) + " " + std::string(e->Get("RefDes")));
    }
  }

  // The list sorted for the kind, with the kind's default headings.
  elements::ListData DataFor(model::DocumentKind kind) const {
    elements::ListData sorted = data();
    elements::SortElements(sorted.elements, sorted.roles, kind);
    elements::ApplyDefaultHeadings(sorted.headings, sorted.roles, kind);
    return sorted;
  }
};

Board& TheBoard(bool distinct) {
  static Board generated(false);
  static Board each_its_own(true);
  return distinct ? each_its_own : generated;
}

void PrepareAndFill(benchmark::State& state, model::DocumentKind kind, bool distinct) {
  Board& board = TheBoard(distinct);
  const elements::ListData data = board.DataFor(kind);
  const adapters::QtTextMeasurer measurer;
  const document::FillServices services{measurer, board.kinds(), board.check()};
  document::SheetSet sheets(kind);
  std::size_t items = 0;
  for (auto _ : state) {
    elements::ComponentList copy = data.elements;
    bool mismatch = false;
    {
      valuecheck::ReportRun run(board.check());
      board.check().ClearReport();
      document::PreparePurchased(copy, data.roles);
      if (kind == model::DocumentKind::kPurchasedBill) {
        document::FillBill(sheets, copy, data.headings, data.roles, services, mismatch);
      } else {
        document::FillSimpleBill(sheets, copy, data.headings, data.roles,
                                 elements::MergeChoice::kSeparateLists, services, mismatch);
      }
    }
    items = copy.count();
    benchmark::DoNotOptimize(mismatch);
  }
  state.counters["items"] = static_cast<double>(items);
  state.counters["sheets"] = static_cast<double>(sheets.sheet_count());
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kElements));
}

void BM_PrepareAndFillBill(benchmark::State& state) {
  PrepareAndFill(state, model::DocumentKind::kPurchasedBill, false);
}
void BM_PrepareAndFillSimpleBill(benchmark::State& state) {
  PrepareAndFill(state, model::DocumentKind::kSimpleBill, false);
}
void BM_PrepareAndFillBillDistinct(benchmark::State& state) {
  PrepareAndFill(state, model::DocumentKind::kPurchasedBill, true);
}
void BM_PrepareAndFillSimpleBillDistinct(benchmark::State& state) {
  PrepareAndFill(state, model::DocumentKind::kSimpleBill, true);
}
BENCHMARK(BM_PrepareAndFillBill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareAndFillSimpleBill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareAndFillBillDistinct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareAndFillSimpleBillDistinct)->Unit(benchmark::kMillisecond);

}  // namespace
