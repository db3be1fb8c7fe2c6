// tallyform-cli fill: the options turned into a fill request, the fill workflow run, its outcome printed.

#include <QString>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "adapters/qt_system_info.h"
#include "adapters/qt_text_measurer.h"
#include "app/application.h"
#include "app/fill_workflow.h"
#include "app/settings_file.h"
#include "cli/cli_prompts.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/qt_session.h"
#include "document/document.h"
#include "model/errors.h"
#include "model/messages.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::cli {
namespace {

using namespace tallyform::text::literals;

struct FillOptions {
  std::string kind;
  std::vector<std::string> files;
  std::string output;
  std::string pdf;
  std::string from;
  std::optional<std::string> editor;
  std::optional<int> gap;
  std::optional<int> tail;
  bool merge = false;
  std::optional<std::string> roles;
  std::vector<std::string> headings;
  std::vector<std::string> designations;
  std::optional<std::string> join;
  std::vector<std::string> join_rows;
  std::vector<std::string> titles;
  std::string font;
};

std::string Cp(const std::string& typed) {
  return text::Cp1251FromUnknown(typed);
}

std::pair<std::string, std::string> SplitPair(const std::string& option, const std::string& value) {
  return SplitNameValue("fill", option, value);
}

// The options as the fill workflow takes them: texts in code page 1251, pairs split.
app::FillRequest RequestOf(const FillOptions& options) {
  app::FillRequest request;
  if (options.kind == "list") request.kind = model::DocumentKind::kElementList;
  if (options.kind == "bill") request.kind = model::DocumentKind::kPurchasedBill;
  if (options.kind == "simple") request.kind = model::DocumentKind::kSimpleBill;
  request.from = options.from;
  request.designs.assign(options.files.begin(), options.files.end());
  request.output = options.output;
  if (options.roles) {
    std::vector<std::string> names;
    std::size_t from = 0;
    for (;;) {
      const std::size_t comma = options.roles->find(',', from);
      names.push_back(Cp(options.roles->substr(from, comma - from)));
      if (comma == std::string::npos) break;
      from = comma + 1;
    }
    request.roles = std::move(names);
  }
  for (const std::string& heading : options.headings) {
    auto [attribute, title] = SplitPair("--heading", heading);
    request.headings.emplace_back(Cp(attribute), Cp(title));
  }
  for (const std::string& designation : options.designations) {
    auto [file, text] = SplitPair("--designation", designation);
    request.designations.emplace_back(file, Cp(text));
  }
  if (options.join) {
    const std::size_t colon = options.join->rfind(':');
    const std::string method = colon == std::string::npos ? std::string() : options.join->substr(colon + 1);
    if (colon == 0 || (method != "link" && method != "substitute")) {
      throw BadUsage("fill: --join expects RESULT:link or RESULT:substitute");
    }
    elements::JoinSpec spec;
    spec.result = Cp(options.join->substr(0, colon));
    spec.method = method == "link" ? elements::JoinMethod::kLink : elements::JoinMethod::kSubstitute;
    for (const std::string& row : options.join_rows) {
      auto [attribute, text] = SplitPair("--join-row", row);
      spec.rows.push_back({Cp(attribute), Cp(text)});
    }
    request.join = std::move(spec);
  } else if (!options.join_rows.empty()) {
    throw BadUsage("fill: --join-row needs --join");
  }
  for (const std::string& title : options.titles) {
    auto [field, text] = SplitPair("--title", title);
    const std::optional<document::TitleField> known = document::TitleFieldOfKey(field);
    if (!known) throw BadUsage("fill: --title: no title block field \"" + Cp(field) + "\"");
    request.titles.emplace_back(*known, Cp(text));
  }
  request.gap = options.gap;
  request.tail = options.tail;
  request.merge = options.merge;
  if (options.editor) request.editor = Cp(*options.editor);
  return request;
}

int RunFill(const FillOptions& options) {
  const app::FillRequest request = RequestOf(options);
  if (!options.pdf.empty()) {
    std::vector<std::filesystem::path> inputs = request.designs;
    if (!request.from.empty()) inputs.push_back(request.from);
    inputs.push_back(request.output);
    app::RefuseOverwritingInputs(options.pdf, inputs);
  }

  EnsureQtSession();
  WarnAboutMissingFont(options.font);
  app::Application application(app::ProgramFolder());
  PrintStartUpWarnings(application);
  const adapters::QtTextMeasurer measurer(QString::fromStdString(options.font));
  adapters::QtSystemInfo system;
  app::SettingsFile settings(app::SettingsFile::In(application.folder()));
  // No one is there to answer: the sort choice keeps what --merge says, and the roles the workflow cannot
  // accept are refused as bad usage before the dialog would be shown.
  CliPrompts prompts;
  app::FillOutcome outcome = app::RunFill(application, request, {measurer, prompts, settings, system});
  for (const std::string& warning : outcome.warnings) PrintWarning(warning);
  const document::Document& doc = outcome.session.document();
  if (!options.pdf.empty()) WriteDocumentPdf(doc, options.pdf, options.font);

  const std::string report = outcome.report ? Cp(outcome.report->string()) : std::string();
  Json out = Json::object();
  out["output"] = Utf8(Cp(std::filesystem::absolute(doc.path()).string()));
  out["kind"] = static_cast<int>(doc.kind());
  out["elements"] = doc.data().elements.count();
  out["sheets"] = doc.sheets().sheet_count();
  out["editor"] = Utf8(doc.editor_name());
  out["mismatch"] = outcome.mismatch;
  out["report"] = outcome.report ? Json(Utf8(report)) : Json(nullptr);
  if (!options.pdf.empty()) out["pdf"] = Utf8(Cp(std::filesystem::absolute(options.pdf).string()));
  std::cout << Compact(out) << '\n';
  if (outcome.mismatch) {
    PrintWarning(model::OneLine(model::kDocumentMismatch) +
                 (outcome.report ? std::string(" Отчет: "_cp) + report : std::string()));
  }
  return kOk;
}

}  // namespace

void AddFillCommand(CLI::App& app, Outcome& outcome) {
  auto options = std::make_shared<FillOptions>();
  CLI::App* fill = app.add_subcommand(
      "fill",
      "Read designs (or take a saved document's list), fill a document of a kind and save it as .enum");
  fill->add_option("--kind", options->kind, "Document kind: list (list of elements), bill, simple")
      ->check(CLI::IsMember({"list", "bill", "simple"}));
  fill->add_option("files", options->files, "Designs, read into one list in the order given");
  fill->add_option("-o,--output", options->output, "The document file to write (OUT.enum)")->required();
  fill->add_option("--from", options->from,
                   "Fill this saved document again, keeping its title block, settings and history; without "
                   "designs its own element list is filled");
  fill->add_option("--pdf", options->pdf, "Also draw every sheet into this PDF file, one page per sheet");
  fill->add_option("--font", options->font,
                   "Fit (and draw with --pdf) the texts in this font family instead of the sheet font");
  fill->add_option("--editor", options->editor,
                   "Editor's name for the history record (default: the name the editor dialog proposes)");
  fill->add_option("--gap", options->gap, "Empty rows between groups (0 to 99)");
  fill->add_option("--tail", options->tail, "Empty rows at the end of a sheet");
  fill->add_flag(
      "--merge", options->merge,
      "Simple bill: list the elements of all designs in one list (default: one section per design)");
  fill->add_option("--roles", options->roles,
                   "Attribute roles DESIGNATOR,NAME,VALUE[,SUPPLY] (attribute names; SUPPLY may be empty)");
  fill->add_option("--heading", options->headings,
                   "ATTRIBUTE=TITLE: the document column an attribute goes into; repeatable; when given, "
                   "replaces the default headings")
      ->allow_extra_args(false);
  fill->add_option("--designation", options->designations,
                   "FILE=TEXT: the designation of the unit a design's elements go into; repeatable")
      ->allow_extra_args(false);
  fill->add_option("--join", options->join,
                   "RESULT:link or RESULT:substitute: join attributes into RESULT with the --join-row rows");
  fill->add_option("--join-row", options->join_rows,
                   "ATTR=TEXT, in order: link writes TEXT then ATTR's value; substitute replaces TEXT by it")
      ->allow_extra_args(false);
  fill->add_option("--title", options->titles,
                   "FIELD=TEXT: a title block field, by its name in dump's \"title\"; repeatable")
      ->allow_extra_args(false);
  fill->callback([options, &outcome] { outcome.status = RunFill(*options); });
}

}  // namespace tallyform::cli
