// Rendering a whole document of full sheets to PDF, SVG and PNG through the Qt device.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "adapters/sheet_export.h"
#include "document/sheet_set.h"
#include "text/literal.h"

namespace {

using namespace tallyform;
using namespace tallyform::text::literals;
using model::DocumentKind;

// A document of `count` sheets with every cell written and the title block filled in.
document::SheetSet FullDocument(model::DocumentKind kind, int count) {
  document::SheetSet set(kind);
  for (int i = 1; i < count; ++i) set.AddSheet(model::LayoutOf(kind).following_top_offset);
  const std::string texts[] = {"R1-R4, R7",
                               std::string{"Резистор С2-33Н-0,125-10 кОм±5%-А-Д-В ОЖО.467.093 ТУ"_cp}, "4",
                               std::string{"Конденсатор К10-17б-Н90"_cp}, std::string{"АБВГ.468157.001"_cp}};
  for (std::size_t s = 0; s < set.sheet_count(); ++s) {
    document::CTableRows& sheet = set.sheet(s);
    for (std::size_t r = 0; r < sheet.row_count(); ++r) {
      for (std::size_t c = 0; c < sheet.row(r).cell_count(); ++c) {
        sheet.cell(r, c).SetText(texts[(r + c + s) % std::size(texts)]);
        sheet.cell(r, c).SetAttributes(r % 7 == 0 ? document::kFillHeading : document::kFillLeft);
      }
    }
  }
  set.sheet(0).SetTitleField(document::TitleField::kDesignation, "АБВГ.468157.001ПЭ3"_cp);
  set.sheet(0).SetTitleField(document::TitleField::kProductName, "Усилитель мощности звуковой частоты"_cp);
  return set;
}

std::filesystem::path Scratch(const char* name) {
  return std::filesystem::temp_directory_path() / ("tallyform-bench-" + std::to_string(::getpid()) + name);
}

void BM_RenderPdf(benchmark::State& state) {
  document::SheetSet set =
      FullDocument(static_cast<model::DocumentKind>(state.range(0)), static_cast<int>(state.range(1)));
  const auto file = Scratch(".pdf");
  for (auto _ : state) adapters::ExportPdf(set, file, adapters::ExportOptions{});
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
  std::filesystem::remove(file);
}
BENCHMARK(BM_RenderPdf)->Args({0, 100})->Args({1, 100})->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RenderSvg(benchmark::State& state) {
  document::SheetSet set = FullDocument(model::DocumentKind::kElementList, 10);
  const auto folder = Scratch("-svg");
  for (auto _ : state) adapters::ExportSvg(set, folder, adapters::ExportOptions{});
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RenderSvg)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RenderPng(benchmark::State& state) {
  document::SheetSet set = FullDocument(model::DocumentKind::kElementList, 10);
  const auto folder = Scratch("-png");
  for (auto _ : state) adapters::ExportPng(set, folder, adapters::ExportOptions{});
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RenderPng)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
