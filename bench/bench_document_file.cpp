// Saving and opening a large document: 500 sheets of a list of elements with every cell filled, as a
// long list leaves them. Each should take well under 0.2 s.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/document_session.h"
#include "document/document.h"
#include "ports/system_info.h"
#include "text/literal.h"

namespace {

using namespace tallyform::text::literals;
using tallyform::document::Document;
using tallyform::model::DocumentKind;

class FixedSystemInfo : public tallyform::ports::SystemInfo {
 public:
  std::string ComputerName() override { return "BENCH"; }
  std::string UserName() override { return "bench"; }
  std::string RegisteredOwner() override { return "bench"; }
  std::tm LocalTime() override { return std::tm{}; }
};

constexpr int kSheets = 500;

Document LargeDocument() {
  tallyform::document::SheetSet set(DocumentKind::kElementList);
  const int top = tallyform::model::LayoutOf(DocumentKind::kElementList).following_top_offset;
  for (int i = 1; i < kSheets; ++i) set.AddSheet(top);
  const std::string name(("Резистор Р1-12-0,125-4,7 кОм±5%-М ОЖО.467.093 ТУ"_cp));
  int designator = 1;
  for (const auto& sheet : set.sheets()) {
    for (auto& row : sheet->rows()) {
      for (auto& cell : row.cells()) {
        cell.SetText(cell.column() == 2 ? name : "R" + std::to_string(designator++));
        cell.SetAttributes(0x200000);
      }
    }
  }
  tallyform::document::SheetArray sheets;
  set.SwapSheets(sheets);
  return Document::Assemble({DocumentKind::kElementList, std::move(sheets), {}, {}});
}

std::filesystem::path BenchFile() {
  return std::filesystem::temp_directory_path() / ("tallyform-bench-" + std::to_string(getpid()) + ".enum");
}

void BM_SaveDocument(benchmark::State& state) {
  tallyform::app::DocumentSession session(LargeDocument());
  FixedSystemInfo system;
  const auto path = BenchFile();
  for (auto _ : state) session.Save(path, std::nullopt, system);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_OpenDocument(benchmark::State& state) {
  FixedSystemInfo system;
  const auto path = BenchFile();
  tallyform::app::DocumentSession(LargeDocument()).Save(path, std::nullopt, system);
  for (auto _ : state) {
    Document doc = Document::FromFile(path);
    benchmark::DoNotOptimize(doc.sheets().sheet_count());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_OpenDocument)->Unit(benchmark::kMillisecond);

}  // namespace
