// tallyform-cli read / check: the element list of designs as JSON, and the value check alone.

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/dbx_reader.h"
#include "app/read_workflow.h"
#include "cli/cli_prompts.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "elements/ascii_reader.h"
#include "elements/list_data.h"
#include "model/errors.h"
#include "model/platform.h"
#include "text/cp1251.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::cli {
namespace {

using namespace tallyform::text::literals;

struct ReadOptions {
  std::vector<std::string> files;
  std::vector<std::string> dbx;
  bool json = false;
  bool strict = false;
};

// Reads the designs, saying on standard error what the user should hear about them; the run's value check
// tells the counts and whether its report was written.
// The designs named with --dbx ("sch:FILE" or "pcb:FILE") are read through the design link after the files,
// appended to them; a design the link cannot open is tallyform::UnreadableFile with the link's message.
valuecheck::ValueCheck ReadDesigns(app::Application& application, const ReadOptions& options,
                                   elements::ListData& data, bool& mismatch) {
  const std::vector<std::string>& files = options.files;
  app::ReadOutcome outcome =
      app::ReadDesigns(application, std::vector<std::filesystem::path>(files.begin(), files.end()), data);
  for (const std::string& warning : outcome.warnings) PrintWarning(warning);
  mismatch = outcome.mismatch;
  bool append = !files.empty();
  for (const std::string& name : options.dbx) {
    const bool board = name.starts_with("pcb:");
    if (!board && !name.starts_with("sch:")) {
      throw BadUsage("read: --dbx expects sch:FILE or pcb:FILE, got \"" + text::Cp1251FromUnknown(name) +
                     "\"");
    }
    const std::filesystem::path path = std::filesystem::absolute(name.substr(4));
    CliPrompts prompts;
    if (!app::ReadDesignThroughDbx(application.dbx(), prompts, application.kinds(), outcome.check, path,
                                   board ? app::DbxDesignKind::kBoard : app::DbxDesignKind::kSchematic,
                                   append, data, mismatch)) {
      throw UnreadableFile(std::string("Не удается прочитать файл "_cp) + model::PathText(path) +
                           std::string(" через связь с P-CAD."_cp));
    }
    append = true;
  }
  return std::move(outcome.check);
}

// The report's path, UTF-8; null when the report could not be written.
Json ReportPath(const valuecheck::ValueCheck& check) {
  if (check.report_failure()) return Json(nullptr);
  return Json(text::ToUtf8(model::PathText(check.report_path())));
}

int RunRead(const ReadOptions& options) {
  app::Application application(app::ProgramFolder());
  PrintStartUpWarnings(application);
  elements::ListData data;
  bool mismatch = false;
  const valuecheck::ValueCheck check = ReadDesigns(application, options, data, mismatch);

  std::ostream& out = std::cout;
  out << "{";
  WriteElementData(out, data);
  out << ",\n  \"mismatch\": " << (mismatch ? "true" : "false")
      << ",\n  \"report\": " << Compact(ReportPath(check)) << "\n}\n";

  if (mismatch) {
    std::string warning(
        "В открытом файле был обнаружен ряд несоответствий номиналов резисторов и/или "
        "конденсаторов их заданной точности."_cp);
    if (!check.report_failure()) {
      warning += std::string(" Отчет: "_cp) + model::PathText(check.report_path());
    }
    PrintWarning(warning);
  }
  return kOk;
}

int RunCheck(const ReadOptions& options) {
  app::Application application(app::ProgramFolder());
  PrintStartUpWarnings(application);
  elements::ListData data;
  bool mismatch = false;
  const valuecheck::ValueCheck check = ReadDesigns(application, options, data, mismatch);

  const std::size_t mismatches = check.mismatch_count();
  const std::size_t unanalysable = check.unanalysable_count();
  if (options.json) {
    Json out;
    out["report"] = ReportPath(check);
    out["mismatches"] = mismatches;
    out["unanalysable"] = unanalysable;
    Json files = Json::array();
    for (const std::string& file : options.files) files.push_back(text::ToUtf8(elements::FileText(file)));
    out["files"] = std::move(files);
    std::cout << out.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
  } else {
    if (!check.report_failure()) std::cout << "report: " << ReportPath(check).get<std::string>() << '\n';
    std::cout << "values off their series: " << mismatches << '\n'
              << "elements that cannot be analysed: " << unanalysable << '\n';
  }
  if (mismatches > 0 || (options.strict && unanalysable > 0)) return kMismatch;
  return kOk;
}

}  // namespace

void AddReadCommands(CLI::App& app, Outcome& outcome) {
  auto read_options = std::make_shared<ReadOptions>();
  CLI::App* read = app.add_subcommand(
      "read", "Read the element list of P-CAD ASCII designs (.sch, .pcb, .net) and print it as JSON");
  read->add_option("files", read_options->files, "Designs, read into one list in the order given");
  read->add_option("--dbx", read_options->dbx,
                   "sch:FILE or pcb:FILE: a design read through the P-CAD design link, after the files");
  read->callback([read_options, &outcome] {
    if (read_options->files.empty() && read_options->dbx.empty())
      throw BadUsage("read: name a design or --dbx");
    outcome.status = RunRead(*read_options);
  });

  auto check_options = std::make_shared<ReadOptions>();
  CLI::App* check = app.add_subcommand(
      "check", "Check resistor and capacitor values against their standard series; writes errors.log");
  check->add_option("files", check_options->files, "Designs to check")->required();
  check->add_flag("--json", check_options->json, "Print the report path and the counts as JSON");
  check->add_flag("--strict", check_options->strict,
                  "Exit with status 3 also when an element cannot be analysed");
  check->callback([check_options, &outcome] { outcome.status = RunCheck(*check_options); });
}

}  // namespace tallyform::cli
