// Drawing full sheets of each document kind on the recording device of the tests.

#include <benchmark/benchmark.h>

#include <string>

#include "../tests/support/recording_device.h"
#include "presentation/sheet_drawing.h"
#include "text/literal.h"

namespace {

using namespace tallyform;
using namespace tallyform::text::literals;
using model::DocumentKind;

// A sheet set of the kind whose first sheet has every cell written, as a filled document has, with the
// title block filled in.
document::SheetSet FullSheet(model::DocumentKind kind) {
  document::SheetSet set(kind);
  document::CTableRows& sheet = set.sheet(0);
  const std::string texts[] = {"R1-R4, R7",
                               std::string{"Резистор С2-33Н-0,125-10 кОм±5%-А-Д-В ОЖО.467.093 ТУ"_cp}, "4",
                               std::string{"Конденсатор К10-17б-Н90"_cp}, "АБВГ.468157.001"};
  for (std::size_t r = 0; r < sheet.row_count(); ++r) {
    for (std::size_t c = 0; c < sheet.row(r).cell_count(); ++c) {
      sheet.cell(r, c).SetText(texts[(r + c) % std::size(texts)]);
      sheet.cell(r, c).SetAttributes(r % 7 == 0 ? document::kFillHeading : document::kFillLeft);
    }
  }
  sheet.SetTitleField(document::TitleField::kDesignation, "АБВГ.468157.001ПЭ3"_cp);
  sheet.SetTitleField(document::TitleField::kProductName, "Усилитель мощности звуковой частоты"_cp);
  sheet.SetTitleField(document::TitleField::kDevelopedBy, "Иванов"_cp);
  sheet.SetCustomerApproval(true);
  return set;
}

// At 1200 dpi, as PDF pages are drawn: the shrinking of long texts measures at large character heights.
void BM_DrawFullSheet(benchmark::State& state) {
  document::SheetSet set = FullSheet(static_cast<model::DocumentKind>(state.range(0)));
  testing::RecordingDevice device(0, 0, /*printing=*/true, 1200);
  presentation::SheetView printout;
  printout.SetMapping(presentation::PrintingMapping(set, 1200, 1200));
  for (auto _ : state) {
    device.Forget();
    presentation::DrawSheet(set, printout, device, 1);
    benchmark::DoNotOptimize(device.texts.data());
  }
  state.counters["texts"] = static_cast<double>(device.texts.size());
  state.counters["lines"] = static_cast<double>(device.lines.size());
}
BENCHMARK(BM_DrawFullSheet)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// On the screen, with the selection highlighted.
void BM_DrawFullSheetOnScreen(benchmark::State& state) {
  document::SheetSet set = FullSheet(model::DocumentKind::kPurchasedBill);
  testing::RecordingDevice device(1600, 1200);
  presentation::SheetView window;
  presentation::ScreenView view;
  view.page_height = 1100;
  for (auto _ : state) {
    device.Forget();
    view.selection = {800, 300};
    presentation::DrawSheet(set, window, device, 1, view);
    benchmark::DoNotOptimize(device.texts.data());
  }
}
BENCHMARK(BM_DrawFullSheetOnScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
