// tallyform-cli fill: the whole road of a document: read the designs (or take a saved document's list),
// set roles, designations, joins and the column mapping, sort, prepare, fill, save.

#include "document/fill_command.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "adapters/qt_settings_store.h"
#include "adapters/qt_shell.h"
#include "adapters/qt_system_info.h"
#include "adapters/qt_text_measurer.h"
#include "app/application.h"
#include "app/editor_identity.h"
#include "cli/cli_prompts.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/qt_session.h"
#include "document/document.h"
#include "document/fill_parameters.h"
#include "elements/ascii_reader.h"
#include "elements/default_headings.h"
#include "elements/element_order.h"
#include "elements/list_data.h"
#include "elements/roles.h"
#include "model/errors.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::cli {
namespace {

using namespace tallyform::text::literals;
using model::DocumentKind;

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
};

// The options as the core takes them: texts in code page 1251, pairs split.
struct ParsedOptions {
  std::optional<model::DocumentKind> kind;
  std::optional<std::vector<std::string>> roles;
  std::vector<std::pair<std::string, std::string>> headings;
  std::vector<std::pair<std::string, std::string>> designations;  // file as typed, designation
  std::optional<elements::JoinSpec> join;
  std::vector<std::pair<document::TitleField, std::string>> titles;
};

model::DocumentKind KindOf(const std::string& name) {
  if (name == "bill") return model::DocumentKind::kPurchasedBill;
  if (name == "simple") return model::DocumentKind::kSimpleBill;
  return model::DocumentKind::kElementList;
}

std::string Cp(const std::string& typed) {
  return text::Cp1251FromUnknown(typed);
}

// NAME=TEXT, split at the first "=" (the text may hold any character, "=" included).
std::pair<std::string, std::string> SplitPair(const std::string& option, const std::string& value) {
  const std::size_t at = value.find('=');
  if (at == std::string::npos || at == 0) {
    throw BadUsage("fill: " + option + " expects NAME=TEXT, got \"" + Cp(value) + "\"");
  }
  return {value.substr(0, at), value.substr(at + 1)};
}

ParsedOptions Parse(const FillOptions& options) {
  ParsedOptions parsed;
  if (options.files.empty() && options.from.empty()) {
    throw BadUsage("fill: give the designs to read, or --from DOC.enum");
  }
  if (!options.kind.empty()) parsed.kind = KindOf(options.kind);
  if (!parsed.kind && options.from.empty()) throw BadUsage("fill: --kind is required without --from");
  if (options.roles) {
    std::vector<std::string> names;
    std::size_t from = 0;
    for (;;) {
      const std::size_t comma = options.roles->find(',', from);
      names.push_back(Cp(options.roles->substr(from, comma - from)));
      if (comma == std::string::npos) break;
      from = comma + 1;
    }
    if (names.size() < 3 || names.size() > 4) {
      throw BadUsage("fill: --roles expects DESIGNATOR,NAME,VALUE[,SUPPLY]");
    }
    parsed.roles = std::move(names);
  }
  for (const std::string& heading : options.headings) {
    auto [attribute, title] = SplitPair("--heading", heading);
    parsed.headings.emplace_back(Cp(attribute), Cp(title));
  }
  for (const std::string& designation : options.designations) {
    auto [file, text] = SplitPair("--designation", designation);
    parsed.designations.emplace_back(file, Cp(text));
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
    parsed.join = std::move(spec);
  } else if (!options.join_rows.empty()) {
    throw BadUsage("fill: --join-row needs --join");
  }
  for (const std::string& title : options.titles) {
    auto [field, text] = SplitPair("--title", title);
    std::size_t f = 0;
    while (f < document::kTitleFieldCount &&
           document::TitleFieldKey(static_cast<document::TitleField>(f)) != field) {
      ++f;
    }
    if (f == document::kTitleFieldCount)
      throw BadUsage("fill: --title: no title block field \"" + Cp(field) + "\"");
    parsed.titles.emplace_back(static_cast<document::TitleField>(f), Cp(text));
  }
  return parsed;
}

bool Listed(const archive::StringList& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The CLI's prompts, except that the report question is left to the summary at the end, which names the
// report file instead of offering to open it.
class FillPrompts : public CliPrompts {
 public:
  bool WarningQuestion(const std::string&) override { return false; }
};

// Sets the designations given and the "Куда входит" of every element from the designation map, as the
// designation dialog does.
void ApplyDesignations(const ParsedOptions& parsed, elements::ListData& data) {
  if (parsed.designations.empty()) return;
  for (const auto& [file, text] : parsed.designations) {
    const std::string key = elements::FileText(file);
    const auto it = data.designations.find(key);
    if (it == data.designations.end()) {
      throw BadUsage("fill: --designation: \"" + key + "\" is not one of the designs");
    }
    it->second = text;
  }
  for (auto& element : data.elements.storage()) {
    const auto it = data.designations.find(std::string(element->Get(model::kFile)));
    element->Set(model::kGoesInto, it != data.designations.end() ? it->second : std::string());
  }
}

// The roles as --roles names them, checked as the roles dialog checks its choices: a name the attribute
// name list lacks is no choice.
elements::RoleSelection SelectionOf(const std::vector<std::string>& names,
                                    const archive::StringList& listed) {
  auto choice = [&](std::size_t i) -> std::optional<std::string> {
    if (i >= names.size() || names[i].empty() || !Listed(listed, names[i])) return std::nullopt;
    return names[i];
  };
  return {choice(0), choice(1), choice(2), choice(3)};
}

// Accepts the roles as the roles dialog would, refusing with its warning where it would stay open.
bool AcceptRoles(elements::ListData& data, model::DocumentKind kind, const elements::RoleSelection& selection,
                 elements::MergeChoice& merge, ports::Prompts& prompts, std::string_view hint) {
  model::Roles probe = data.roles;
  if (const auto warning = elements::SetRoles(probe, selection)) {
    throw BadUsage(std::string(*warning) + std::string(hint));
  }
  return elements::AcceptRoles(data, kind, selection, merge, prompts).sorted;
}

int RunFill(const FillOptions& options) {
  const ParsedOptions parsed = Parse(options);
  // Values the user typed are refused before anything is read.
  if (options.gap) model::ValidateGap(*options.gap);
  if (options.tail && parsed.kind) model::ValidateTail(*parsed.kind, *options.tail);

  EnsureQtSession();
  app::Application application(app::ProgramFolder());
  document::Document doc =
      options.from.empty() ? document::Document(*parsed.kind) : document::Document::FromFile(options.from);
  const model::DocumentKind kind = doc.kind();
  if (parsed.kind && *parsed.kind != kind) {
    throw BadUsage("fill: --kind " + options.kind + " differs from the kind of " + options.from);
  }
  if (options.tail) model::ValidateTail(kind, *options.tail);
  if (options.merge && kind != model::DocumentKind::kSimpleBill)
    throw BadUsage("fill: --merge applies to --kind simple");
  elements::MergeChoice merge =
      options.merge ? elements::MergeChoice::kOneList : elements::MergeChoice::kSeparateLists;
  FillPrompts prompts;

  // The element list window's copy of the document's data. The package role is never stored: it always
  // holds its default.
  elements::ListData data = doc.data();
  data.roles[model::kRolePackage] = std::string(model::kPattern);
  bool sorted = true;
  if (!options.files.empty()) {
    bool read_mismatch = false;
    data.designations.clear();
    ReadDesigns(application, options.files, data, read_mismatch);
    for (const std::string& file : options.files) data.designations.try_emplace(elements::FileText(file));
    data.roles = model::DefaultRoles();
    if (data.headings.empty()) elements::ApplyDefaultHeadings(data.headings, data.roles, kind);
    sorted = false;
  }
  ApplyDesignations(parsed, data);
  if (parsed.roles) {
    const std::vector<std::string>& names = *parsed.roles;
    if (names.size() > 3 && !names[3].empty() && !Listed(data.attribute_names, names[3])) {
      throw BadUsage("fill: --roles: no attribute \"" + names[3] + "\" in the list");
    }
    sorted = AcceptRoles(data, kind, SelectionOf(*parsed.roles, data.attribute_names), merge, prompts, {}) ||
             sorted;
  }
  if (parsed.join) {
    if (!Listed(data.attribute_names, parsed.join->result)) {
      throw BadUsage("fill: --join: no attribute \"" + parsed.join->result + "\" in the list");
    }
    elements::JoinAttributes(data.elements, *parsed.join);
  }

  // The fill action: roles the list lacks are asked for, then the column mapping, then the order.
  if (elements::RolesIncomplete(data.roles, data.attribute_names)) {
    const std::string hint = " (--roles)";
    sorted = AcceptRoles(data, kind, elements::ProposedRoles(data.roles, data.attribute_names), merge,
                         prompts, hint) ||
             sorted;
  }
  elements::ColumnMapping mapping =
      elements::ProposedColumnMapping(data.attribute_names, data.headings, doc.fill_parameters());
  if (!parsed.headings.empty()) {
    for (elements::HeadingRow& row : mapping.rows) row.title.clear();
    for (const auto& [attribute, title] : parsed.headings) {
      const auto row = std::find_if(mapping.rows.begin(), mapping.rows.end(),
                                    [&](const elements::HeadingRow& r) { return r.attribute == attribute; });
      if (row == mapping.rows.end())
        throw BadUsage("fill: --heading: no attribute \"" + attribute + "\" in the list");
      row->title = title;
    }
  }
  if (options.gap) mapping.parameters.gap = *options.gap;
  if (options.tail) mapping.parameters.tail = *options.tail;
  model::FillParameters parameters;
  elements::ApplyColumnMapping(mapping, kind, data.headings, parameters);
  if (elements::NeedsSortChoice(kind, data.designations)) {
    sorted = elements::SortWithChoice(data.elements, data.roles, kind, data.designations, merge, prompts) ||
             sorted;
  }
  if (!sorted) elements::SortElements(data.elements, data.roles, kind, merge);

  doc.SetListData(std::move(data));
  document::SetFillParameters(doc.settings_table(), kind, parameters);
  const adapters::QtTextMeasurer measurer;
  adapters::QtShell shell;
  document::FillDocument(
      doc,
      {measurer, application.kinds(), application.value_series(), application.report_path(), prompts, shell},
      merge);
  for (const auto& [field, text] : parsed.titles) doc.settings_table().SetTitleField(field, text);

  adapters::QtSystemInfo system;
  if (options.editor) {
    doc.SetEditorName(Cp(*options.editor));
  } else {
    // Only proposed: the name the editor dialog would offer, without storing anything.
    adapters::QtSettingsStore settings(adapters::QtSettingsStore::FileIn(application.folder()));
    doc.SetEditorName(app::EditorIdentity(settings, system).PeekProposal());
  }
  doc.Save(options.output, system);
  // Drawn after saving, so the file holds the fill as it is, whatever the drawing marks in the sheets.
  if (!options.pdf.empty()) WriteDocumentPdf(doc, options.pdf);

  const std::string report = Cp(application.report_path().string());
  Json out = Json::object();
  out["output"] = Utf8(Cp(std::filesystem::absolute(doc.path()).string()));
  out["kind"] = static_cast<int>(kind);
  out["elements"] = doc.data().elements.count();
  out["sheets"] = doc.sheets().sheet_count();
  out["editor"] = Utf8(doc.editor_name());
  out["mismatch"] = doc.mismatch();
  out["report"] = Utf8(report);
  if (!options.pdf.empty()) out["pdf"] = Utf8(Cp(std::filesystem::absolute(options.pdf).string()));
  std::cout << Compact(out) << '\n';
  if (doc.mismatch()) {
    PrintWarning(std::string("В данном документе обнаружен ряд несоответствий номиналов резисторов и/или "
                             "конденсаторов их заданной точности. Отчет: "_cp) +
                 report);
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
