// Fitting and splitting with the Qt measurer on texts a filled document holds.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "adapters/qt_text_measurer.h"
#include "document/text_fitting.h"
#include "text/literal.h"

namespace {

using namespace tallyform;
using namespace tallyform::text::literals;

constexpr double kHeight = 3.5;           // text height of a table cell, mm
constexpr double kDesignatorCell = 20.0;  // column widths of the list of elements, mm
constexpr double kNameCell = 110.0;
constexpr double kNarrowNameCell = 60.0;

std::vector<std::string> Texts() {
  return {
      "R1",
      "R1-R4, R7, R9-R12, R15, R18-R21, R25, R27-R30, R33",
      "C1, C3, C5, C7, C9, C11, C13",
      std::string{"Резистор С2-33Н-0,125-10 кОм±5%-А-Д-В ОЖО.467.093 ТУ"_cp},
      std::string{"Конденсатор К10-17б-Н90-0,1 мкФ-В ОЖО.460.107 ТУ"_cp},
      std::string{"Микросхема К1533ЛА3 бК0.348.806-01 ТУ"_cp},
      std::string{"Резисторы"_cp},
  };
}

void BM_Width(benchmark::State& state) {
  const adapters::QtTextMeasurer measurer;
  const std::string name{"Резистор С2-33Н-0,125-10 кОм±5%-А-Д-В ОЖО.467.093 ТУ"_cp};
  for (auto _ : state) benchmark::DoNotOptimize(measurer.Width(name, kHeight));
}
BENCHMARK(BM_Width);

void BM_Fits(benchmark::State& state) {
  const adapters::QtTextMeasurer measurer;
  const auto texts = Texts();
  for (auto _ : state) {
    for (const auto& t : texts) benchmark::DoNotOptimize(document::Fits(measurer, kHeight, kNameCell, t));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}
BENCHMARK(BM_Fits);

void BM_SplitDesignatorRange(benchmark::State& state) {
  const adapters::QtTextMeasurer measurer;
  const std::string range = "R1-R4, R7, R9-R12, R15, R18-R21, R25, R27-R30, R33";
  for (auto _ : state) {
    benchmark::DoNotOptimize(document::Split(measurer, kHeight, kDesignatorCell, range));
  }
}
BENCHMARK(BM_SplitDesignatorRange);

void BM_SplitLongName(benchmark::State& state) {
  const adapters::QtTextMeasurer measurer;
  const std::string name{"Резистор С2-33Н-0,125-10 кОм±5%-А-Д-В ОЖО.467.093 ТУ"_cp};
  for (auto _ : state) {
    benchmark::DoNotOptimize(document::Split(measurer, kHeight, kNarrowNameCell, name));
  }
}
BENCHMARK(BM_SplitLongName);

// What filling 20,000 elements asks of fitting: designator and name of each, split when too wide.
void BM_Fill20000Elements(benchmark::State& state) {
  const adapters::QtTextMeasurer measurer;
  const auto texts = Texts();
  std::vector<std::string> lines;
  for (auto _ : state) {
    for (int i = 0; i < 20000; ++i) {
      const std::string& designator = texts[static_cast<std::size_t>(i) % 3];
      const std::string& name = texts[3 + static_cast<std::size_t>(i) % 4];
      lines.clear();
      if (!document::Fits(measurer, kHeight, kDesignatorCell, designator)) {
        document::Split(measurer, kHeight, kDesignatorCell, designator, lines);
      }
      if (!document::Fits(measurer, kHeight, kNarrowNameCell, name)) {
        document::Split(measurer, kHeight, kNarrowNameCell, name, lines);
      }
      benchmark::DoNotOptimize(lines.data());
    }
  }
}
BENCHMARK(BM_Fill20000Elements)->Unit(benchmark::kMillisecond);

void BM_MakeMeasurer(benchmark::State& state) {
  for (auto _ : state) {
    const adapters::QtTextMeasurer measurer;
    benchmark::DoNotOptimize(measurer.Width("R1", kHeight));
  }
}
BENCHMARK(BM_MakeMeasurer)->Unit(benchmark::kMicrosecond);

}  // namespace
