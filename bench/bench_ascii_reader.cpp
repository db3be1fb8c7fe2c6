// The whole road of reading a design: the file into memory, the component blocks into elements, the values
// through the check. MB/s on the real designs of the samples folder when present, else on a generated board
// that is mostly layout text.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/design_reader.h"
#include "design_generator.h"
#include "elements/ascii_reader.h"
#include "model/element_kinds.h"
#include "valuecheck/value_check.h"

namespace {

using namespace tallyform;

// The samples folder lies beside the project's root.
std::filesystem::path SamplesFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "shared" / "samples";
}

// The program's files of one benchmark, in a folder of its own.
class Scratch {
 public:
  Scratch() {
    folder_ = std::filesystem::temp_directory_path() / ("tallyform-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    kinds_.FillBuiltIn();
  }
  ~Scratch() { std::filesystem::remove_all(folder_); }

  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    auto path = folder_ / name;
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  const std::filesystem::path& folder() const { return folder_; }
  const model::ElementKinds& kinds() const { return kinds_; }

 private:
  std::filesystem::path folder_;
  model::ElementKinds kinds_;
};

void ReadDesignFile(benchmark::State& state, const std::filesystem::path& path, Scratch& scratch) {
  valuecheck::ValueCheck check(scratch.folder() / "errors.log");
  app::DesignReader reader(scratch.kinds(), check);
  const auto bytes = std::filesystem::file_size(path);
  std::size_t elements = 0;
  for (auto _ : state) {
    elements::ListData data;
    bool mismatch = false;
    reader.ReadFile(path, false, data, mismatch);
    elements = data.elements.count();
    benchmark::DoNotOptimize(mismatch);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["elements"] = static_cast<double>(elements);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// 50,000 components of netlist text only, read from a file and checked.
void BM_ReadAndCheck50k(benchmark::State& state) {
  Scratch scratch;
  bench::DesignOptions options;
  options.components = 50000;
  const auto path = scratch.Write("netlist50k.pcb", bench::GenerateDesign(options));
  ReadDesignFile(state, path, scratch);
}
BENCHMARK(BM_ReadAndCheck50k)->Unit(benchmark::kMillisecond);

// The same design from memory: the reader and the checks without the file system.
void BM_ReadBytes50k(benchmark::State& state) {
  Scratch scratch;
  bench::DesignOptions options;
  options.components = 50000;
  const std::string design = bench::GenerateDesign(options);
  valuecheck::ValueCheck check(scratch.folder() / "errors.log");
  app::DesignReader reader(scratch.kinds(), check);
  for (auto _ : state) {
    elements::ListData data;
    bool mismatch = false;
    reader.ReadBytes(design, "D:\\board.pcb", false, data, mismatch);
    benchmark::DoNotOptimize(data.elements.count());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * design.size()));
}
BENCHMARK(BM_ReadBytes50k)->Unit(benchmark::kMillisecond);

// Real boards: mostly layout text that the reader skips.
void BM_ReadBoards(benchmark::State& state) {
  Scratch scratch;
  std::vector<std::filesystem::path> boards;
  const std::filesystem::path samples = SamplesFolder();
  if (std::filesystem::is_directory(samples)) {
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
      if (entry.path().extension() != ".md") boards.push_back(entry.path());
    }
  }
  if (boards.empty()) {
    bench::DesignOptions options;
    options.components = 300;
    options.padding_bytes = 2'000'000;
    boards.push_back(scratch.Write("padded.pcb", bench::GenerateDesign(options)));
  }
  valuecheck::ValueCheck check(scratch.folder() / "errors.log");
  app::DesignReader reader(scratch.kinds(), check);
  std::uintmax_t total = 0;
  for (const auto& board : boards) total += std::filesystem::file_size(board);
  for (auto _ : state) {
    for (const auto& board : boards) {
      elements::ListData data;
      bool mismatch = false;
      reader.ReadFile(board, false, data, mismatch);
      benchmark::DoNotOptimize(data.elements.count());
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
  state.counters["files"] = static_cast<double>(boards.size());
}
BENCHMARK(BM_ReadBoards)->Unit(benchmark::kMillisecond);

}  // namespace
