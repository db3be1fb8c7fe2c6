#include "app/fill_workflow.h"

#include <algorithm>
#include <system_error>

#include "app/application.h"
#include "app/editor_identity.h"
#include "app/open_workflow.h"
#include "app/read_workflow.h"
#include "document/fill_parameters.h"
#include "elements/ascii_reader.h"
#include "elements/default_headings.h"
#include "elements/element_order.h"
#include "model/errors.h"
#include "model/fill_parameters.h"
#include "model/platform.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;

bool Listed(const archive::StringList& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Sets the designations given and the "Куда входит" of every element from the designation map, as the
// designation dialog does.
void ApplyDesignations(const FillRequest& request, elements::ListData& data) {
  if (request.designations.empty()) return;
  for (const auto& [file, text] : request.designations) {
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

// The roles as the request names them, checked as the roles dialog checks its choices: a name the attribute
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

void CheckRequest(const FillRequest& request) {
  if (request.designs.empty() && request.from.empty()) {
    throw BadUsage("fill: give the designs to read, or --from DOC.enum");
  }
  if (!request.kind && request.from.empty()) throw BadUsage("fill: --kind is required without --from");
  if (request.roles && (request.roles->size() < 3 || request.roles->size() > 4)) {
    throw BadUsage("fill: --roles expects DESIGNATOR,NAME,VALUE[,SUPPLY]");
  }
  if (request.gap) model::ValidateGap(*request.gap);
  if (request.tail && request.kind) model::ValidateTail(*request.kind, *request.tail);
  std::vector<std::filesystem::path> inputs = request.designs;
  if (!request.from.empty()) inputs.push_back(request.from);
  if (!request.output.empty()) RefuseOverwritingInputs(request.output, inputs);
}

}  // namespace

std::string NoElementsMessage() {
  return std::string(
      "В прочитанных файлах нет ни одного элемента: у компонентов нет позиционных обозначений, "
      "начинающихся с буквы."_cp);
}

void RefuseOverwritingInputs(const std::filesystem::path& output,
                             const std::vector<std::filesystem::path>& inputs) {
  for (const std::filesystem::path& input : inputs) {
    std::error_code error;
    // Identity, not spelling: another path to the same file (a link, "./", another case on some systems).
    const bool same = std::filesystem::equivalent(output, input, error) ||
                      (error && std::filesystem::absolute(output, error).lexically_normal() ==
                                    std::filesystem::absolute(input, error).lexically_normal());
    if (same) {
      throw BadUsage("fill: the output " + model::PathText(output) + " is the input " +
                     model::PathText(input) + "; it would be overwritten");
    }
  }
}

bool PrepareFill(model::DocumentKind kind, elements::ListData& data, model::FillParameters& parameters,
                 bool& sorted, elements::MergeChoice& merge, const FillDialogs& dialogs,
                 ports::Prompts& prompts) {
  if (data.elements.empty()) return false;
  if (elements::RolesIncomplete(data.roles, data.attribute_names) && !dialogs.roles(data, merge, sorted)) {
    return false;
  }
  std::optional<elements::ColumnMapping> mapping =
      dialogs.mapping(elements::ProposedColumnMapping(data.attribute_names, data.headings, parameters));
  if (!mapping) return false;
  elements::ApplyColumnMapping(*mapping, kind, data.headings, parameters);
  if (elements::NeedsSortChoice(kind, data.designations)) {
    sorted = elements::SortWithChoice(data.elements, data.roles, kind, data.designations, merge, prompts) ||
             sorted;
  }
  if (!sorted) {
    elements::SortElements(data.elements, data.roles, kind, merge);
    sorted = true;
  }
  return true;
}

document::FillTools FillToolsOf(const Application& application, const ports::TextMeasurer& measurer) {
  return {measurer, application.kinds(), application.value_series(), application.report_path()};
}

FillOutcome RunFill(Application& application, const FillRequest& request, const FillPorts& ports) {
  CheckRequest(request);

  DocumentSession session =
      request.from.empty() ? DocumentSession(document::Document(*request.kind)) : OpenDocument(request.from);
  const document::Document& doc = session.document();
  const model::DocumentKind kind = doc.kind();
  if (request.kind && *request.kind != kind) {
    throw BadUsage("fill: the kind asked for differs from the kind of " + model::PathText(request.from));
  }
  if (request.tail) model::ValidateTail(kind, *request.tail);
  if (request.merge && kind != model::DocumentKind::kSimpleBill) {
    throw BadUsage("fill: --merge applies to --kind simple");
  }
  const elements::MergeChoice merge =
      request.merge ? elements::MergeChoice::kOneList : elements::MergeChoice::kSeparateLists;

  std::vector<std::string> warnings;
  // The element list window's copy of the document's data. The package role is never stored: it always
  // holds its default.
  elements::ListData data = doc.data();
  data.roles[model::kRolePackage] = std::string(model::kPattern);
  bool sorted = true;
  if (!request.designs.empty()) {
    data.designations.clear();
    ReadOutcome read = ReadDesigns(application, request.designs, data);
    warnings = std::move(read.warnings);
    // Each design gets its entry in the designation map; a saved document brings its own entries.
    for (std::size_t i = 0; i < request.designs.size(); ++i) {
      if (!read.saved_documents[i]) data.designations.try_emplace(elements::FileText(request.designs[i]));
    }
    data.roles = model::DefaultRoles();
    if (data.headings.empty()) elements::ApplyDefaultHeadings(data.headings, data.roles, kind);
    sorted = false;
  }
  if (data.elements.empty()) throw DamagedFile(NoElementsMessage());
  ApplyDesignations(request, data);
  elements::MergeChoice chosen = merge;
  if (request.roles) {
    const std::vector<std::string>& names = *request.roles;
    if (names.size() > 3 && !names[3].empty() && !Listed(data.attribute_names, names[3])) {
      throw BadUsage("fill: --roles: no attribute \"" + names[3] + "\" in the list");
    }
    sorted = AcceptRoles(data, kind, SelectionOf(names, data.attribute_names), chosen, ports.prompts, {}) ||
             sorted;
  }
  if (request.join) {
    if (!Listed(data.attribute_names, request.join->result)) {
      throw BadUsage("fill: --join: no attribute \"" + request.join->result + "\" in the list");
    }
    elements::JoinAttributes(data.elements, *request.join);
  }

  // The dialogs of the fill action, answered from the request.
  FillDialogs dialogs;
  dialogs.roles = [&](elements::ListData& list, elements::MergeChoice& choice, bool& was_sorted) {
    was_sorted = AcceptRoles(list, kind, elements::ProposedRoles(list.roles, list.attribute_names), choice,
                             ports.prompts, " (--roles)") ||
                 was_sorted;
    return true;
  };
  dialogs.mapping = [&](elements::ColumnMapping mapping) -> std::optional<elements::ColumnMapping> {
    if (!request.headings.empty()) {
      for (elements::HeadingRow& row : mapping.rows) row.title.clear();
      for (const auto& heading : request.headings) {
        const std::string& attribute = heading.first;
        const auto row =
            std::find_if(mapping.rows.begin(), mapping.rows.end(),
                         [&](const elements::HeadingRow& r) { return r.attribute == attribute; });
        if (row == mapping.rows.end())
          throw BadUsage("fill: --heading: no attribute \"" + attribute + "\" in the list");
        row->title = heading.second;
      }
    }
    if (request.gap) mapping.parameters.gap = *request.gap;
    if (request.tail) mapping.parameters.tail = *request.tail;
    return mapping;
  };
  model::FillParameters parameters = doc.fill_parameters();
  if (!PrepareFill(kind, data, parameters, sorted, chosen, dialogs, ports.prompts)) {
    throw DamagedFile(NoElementsMessage());
  }
  session.Apply(
      commands::Fill{{std::move(data), parameters, chosen}, FillToolsOf(application, ports.measurer)});
  if (!request.titles.empty())
    session.Apply(commands::TitleBlock{request.titles, std::nullopt, std::nullopt});

  if (!request.output.empty()) {
    // Only proposed when not given: the name the editor dialog would offer, without storing anything.
    session.Save(
        request.output,
        request.editor ? *request.editor : EditorIdentity(ports.settings, ports.system).PeekProposal(),
        ports.system);
  }
  const bool mismatch = session.document().mismatch();
  std::optional<std::filesystem::path> report = application.report_path();
  if (const std::optional<std::string>& failure = session.document().value_report()->report_failure()) {
    report.reset();
    if (std::find(warnings.begin(), warnings.end(), *failure) == warnings.end()) warnings.push_back(*failure);
  }
  return FillOutcome{std::move(session), mismatch, std::move(report), std::move(warnings)};
}

}  // namespace tallyform::app
