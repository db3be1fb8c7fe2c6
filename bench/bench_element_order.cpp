// Sorting element lists of 5,000 and 20,000 elements for each document kind: the n log n sort taken when
// the designators compare consistently, and the exact insertion sort that designators differing only in
// letter case fall back to.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "design_generator.h"
#include "elements/element_order.h"

namespace {

using namespace tallyform;
using elements::MergeChoice;
using model::DocumentKind;

// Elements of three design files in a scrambled order, numbered per prefix so that few designators repeat.
// With `mixed_case`, one prefix in twenty is written in lower case.
elements::ComponentList MakeList(std::size_t count, bool mixed_case) {
  static constexpr std::string_view kPrefixes[] = {"R",  "R",  "R",  "C",  "C", "DD",
                                                   "DA", "VT", "VD", "XS", "L", "HL"};
  static constexpr std::string_view kFiles[] = {"D:\\Projects\\amplifier.sch", "D:\\Projects\\power.sch",
                                                "D:\\Projects\\display.pcb"};
  bench::detail::Lcg random(7);
  std::vector<std::size_t> counters(std::size(kPrefixes));
  elements::ComponentList list;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t p = random.Next(std::size(kPrefixes));
    std::string designator(kPrefixes[p]);
    if (mixed_case && random.Next(20) == 0) designator[0] = static_cast<char>(designator[0] - 'A' + 'a');
    designator += std::to_string(++counters[p]);
    auto e = std::make_unique<elements::Element>();
    e->Set("RefDes", designator);
    e->Set("Type", "Part");
    e->Set(model::kFile, kFiles[random.Next(std::size(kFiles))]);
    list.Append(std::move(e));
  }
  // Scrambled: swap each element with a random one.
  auto& items = list.storage();
  for (std::size_t i = items.size(); i > 1; --i)
    std::swap(items[i - 1], items[random.Next(static_cast<std::uint32_t>(i))]);
  return list;
}

void Sort(benchmark::State& state, model::DocumentKind kind, MergeChoice merge, bool mixed_case) {
  const elements::ComponentList input = MakeList(static_cast<std::size_t>(state.range(0)), mixed_case);
  const model::Roles roles = model::DefaultRoles();
  elements::SortMethod method = elements::SortMethod::kMerge;
  for (auto _ : state) {
    state.PauseTiming();
    elements::ComponentList list = input;
    state.ResumeTiming();
    method = elements::SortElements(list, roles, kind, merge);
    benchmark::DoNotOptimize(list.storage().data());
    state.PauseTiming();
    list = elements::ComponentList();
    state.ResumeTiming();
  }
  state.counters["insertion"] = method == elements::SortMethod::kInsertion ? 1 : 0;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SortList(benchmark::State& state) {
  Sort(state, model::DocumentKind::kElementList, MergeChoice::kSeparateLists, false);
}
void BM_SortBill(benchmark::State& state) {
  Sort(state, model::DocumentKind::kPurchasedBill, MergeChoice::kSeparateLists, false);
}
void BM_SortSimpleBillOneList(benchmark::State& state) {
  Sort(state, model::DocumentKind::kSimpleBill, MergeChoice::kOneList, false);
}
void BM_SortSimpleBillSeparateLists(benchmark::State& state) {
  Sort(state, model::DocumentKind::kSimpleBill, MergeChoice::kSeparateLists, false);
}
// Designators that differ only in letter case: the exact insertion sort.
void BM_SortListMixedCase(benchmark::State& state) {
  Sort(state, model::DocumentKind::kElementList, MergeChoice::kSeparateLists, true);
}

BENCHMARK(BM_SortList)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortBill)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSimpleBillOneList)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortSimpleBillSeparateLists)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortListMixedCase)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
