// Assembly drawing preparation on the published boards through the design server: the whole procedure (copy,
// offer, walk, RefDes2 on every component, save), a fresh copy each time. Skipped when the samples folder is
// absent.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/assembly_drawing.h"
#include "model/refdes2.h"
#include "pcad/design_server.h"
#include "ports/progress.h"
#include "ports/prompts.h"

namespace {

using namespace tallyform;

std::filesystem::path SamplesFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "shared" / "samples";
}

// Yes to the overwrite question, the first layer and style with CENTER in the dialog; nothing else is asked.
class Answers : public ports::Prompts {
 public:
  void Warning(const std::string&) override {}
  void ErrorMessage(const std::string&) override {}
  void Information(const std::string&) override {}
  bool Question(const std::string&) override { return false; }
  bool WarningQuestion(const std::string&) override { return false; }
  void TitledMessage(ports::MessageIcon, const std::string&, const std::string&) override {}
  bool TitledQuestion(const std::string&, const std::string&) override { return true; }
  std::optional<std::filesystem::path> OpenFileName(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<model::RefDes2Choice> RefDes2Properties(const model::RefDes2Offer& offer) override {
    if (offer.layers.empty()) return std::nullopt;
    return model::RefDes2Choice{offer.layers.front().id, 0, 5, true};
  }
  std::optional<std::filesystem::path> SaveFileName(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::optional<std::string> EditorName(const std::string&) override { return std::nullopt; }
  std::optional<std::size_t> SortChoice(const std::string&, const std::vector<std::string>&,
                                        std::size_t) override {
    return std::nullopt;
  }
  std::optional<std::map<std::string, std::string>> Designations(
      const std::map<std::string, std::string>&) override {
    return std::nullopt;
  }
  std::optional<model::RoleSelection> RoleChoice(const model::RoleSelection&,
                                                 const std::vector<std::string>&) override {
    return std::nullopt;
  }
  std::optional<model::ColumnMapping> Mapping(const model::ColumnMapping&,
                                              const std::vector<std::string>&) override {
    return std::nullopt;
  }
};

class NoProgress : public ports::Progress {
 public:
  void Start(int) override {}
  void Step() override {}
  void Finish() override {}
};

void PrepareBoard(benchmark::State& state, const char* name) {
  const std::filesystem::path sample = SamplesFolder() / name;
  if (!std::filesystem::exists(sample)) {
    state.SkipWithError("the samples folder is absent");
    return;
  }
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tallyform-bench-sb-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path board = folder / name;
  std::filesystem::copy_file(sample, board, std::filesystem::copy_options::overwrite_existing);
  Answers answers;
  NoProgress progress;
  std::size_t added = 0;
  for (auto _ : state) {
    pcad::DesignServer server;
    const app::AssemblyOutcome outcome = app::PrepareAssemblyDrawing(board, server, answers, progress);
    if (outcome.result != app::AssemblyResult::kDone) state.SkipWithError("the procedure did not finish");
    added = outcome.added;
  }
  state.counters["components"] = static_cast<double>(added);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(sample)));
  std::filesystem::remove_all(folder);
}

BENCHMARK_CAPTURE(PrepareBoard, zxinet, "zxinet.pcb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PrepareBoard, TurboFMpro, "TurboFMpro.pcb")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PrepareBoard, ep4f23_286_v2, "ep4f23_286_v2.pcb")->Unit(benchmark::kMillisecond);

}  // namespace
