// The value check of a whole reading: 50,000 elements, every one a resistor or capacitor, checked in one
// run that writes the report once at its end.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "text/cp1251.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform::text::literals;
using tallyform::valuecheck::ComponentClass;
using tallyform::valuecheck::ReportRun;
using tallyform::valuecheck::ValueCheck;

struct Element {
  ComponentClass cls;
  std::string designator;
  std::string type;
  std::string value;
  std::string file;
};

// `off_series_percent` of the elements have values off their series; one in fifty cannot be analysed.
std::vector<Element> MakeReading(std::size_t count, int off_series_percent) {
  const std::vector<std::string> resistor_values = {"4,7 кОм", "10 кОм", "1,5 кОм", "220 Ом", "33 кОм"};
  const std::vector<std::string> resistor_off = {"4,6 кОм", "95 Ом", "47 кОм", "30 кОм", "1,23 МОм"};
  const std::vector<std::string> tolerances = {"5", "1", "10", "20", "2"};
  std::vector<Element> reading;
  reading.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const bool resistor = i % 5 < 3;
    const bool off = static_cast<int>(i * 7919 % 100) < off_series_percent;
    const std::string file = "D:\\pcb\\board" + std::to_string(i / 10000) + ".pcb";
    std::string value(off ? resistor_off[i % 5] : resistor_values[i % 5]);
    value = std::string(tallyform::text::FromUtf8(value));
    std::string tolerance = resistor ? (off ? "5" : "10") : tolerances[i % 5];
    if (!off && resistor && i % 5 == 1) tolerance = "5";
    std::string type =
        std::string(resistor ? "Р1-12-0,125-"_cp : "К10-17-"_cp) + value + "-" + tolerance + "%";
    if (i % 50 == 0) type = std::string("Р1-12"_cp);
    reading.push_back({resistor ? ComponentClass::kResistor : ComponentClass::kCapacitor,
                       (resistor ? "R" : "C") + std::to_string(i + 1), std::move(type), std::move(value),
                       file});
  }
  return reading;
}

void CheckReading(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "tallyform-bench-valuecheck";
  std::filesystem::create_directories(folder);
  ValueCheck check(folder / "errors.log");
  const auto reading = MakeReading(50000, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ReportRun run(check);
    check.ClearReport();
    check.DeleteReportFile();
    for (const Element& e : reading) {
      benchmark::DoNotOptimize(check.Check(e.cls, e.designator, e.type, e.value, e.file));
    }
  }
  state.counters["mismatches"] = static_cast<double>(check.mismatch_count());
  state.counters["unanalysable"] = static_cast<double>(check.unanalysable_count());
  state.counters["report_bytes"] = static_cast<double>(std::filesystem::file_size(check.report_path()));
  std::filesystem::remove_all(folder);
}
BENCHMARK(CheckReading)->Arg(0)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
