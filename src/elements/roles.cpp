#include "elements/roles.h"

#include <algorithm>

#include "elements/default_headings.h"
#include "model/errors.h"
#include "ports/prompts.h"

namespace tallyform::elements {
namespace {

bool Contains(const archive::StringList& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::optional<std::string> ChosenIfListed(const std::string& name, const archive::StringList& names) {
  if (name.empty() || !Contains(names, name)) return std::nullopt;
  return name;
}

bool Offered(model::DocumentKind kind, std::string_view title) {
  const auto offered = OfferedHeadings(kind);
  return std::find(offered.begin(), offered.end(), title) != offered.end();
}

// Substitutes `value` for every occurrence of `pattern`, scanning on after each inserted value.
std::string ReplaceAll(std::string_view text, std::string_view pattern, std::string_view value) {
  if (pattern.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, from)) {
    out.append(text.substr(from, at - from)).append(value);
    from = at + pattern.size();
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace

RoleSelection ProposedRoles(const model::Roles& roles, const archive::StringList& attribute_names) {
  return {ChosenIfListed(roles[model::kRoleDesignator], attribute_names),
          ChosenIfListed(roles[model::kRoleName], attribute_names),
          ChosenIfListed(roles[model::kRoleValue], attribute_names),
          ChosenIfListed(roles[model::kRoleSupplyDoc], attribute_names)};
}

bool RolesIncomplete(const model::Roles& roles, const archive::StringList& attribute_names) {
  for (int slot : {model::kRoleDesignator, model::kRoleName, model::kRoleValue, model::kRoleSupplyDoc}) {
    if (!Contains(attribute_names, roles[static_cast<std::size_t>(slot)])) return true;
  }
  return false;
}

std::optional<std::string_view> SetRoles(model::Roles& roles, const RoleSelection& selection) {
  const struct {
    const std::optional<std::string>& chosen;
    model::RoleSlot slot;
    std::string_view warning;
  } required[] = {
      {selection.designator, model::kRoleDesignator, kChooseDesignatorWarning},
      {selection.name, model::kRoleName, kChooseNameWarning},
      {selection.value, model::kRoleValue, kChooseValueWarning},
  };
  for (const auto& role : required) {
    std::string& slot = roles[role.slot];
    if (!role.chosen) {
      slot.clear();
      return role.warning;
    }
    slot = *role.chosen;
  }
  roles[model::kRoleSupplyDoc] = selection.supply_document.value_or(std::string());
  roles[model::kRolePackage] = std::string(model::kPattern);
  return std::nullopt;
}

RolesOutcome AcceptRoles(ListData& data, model::DocumentKind kind, const RoleSelection& selection,
                         MergeChoice& merge, ports::Prompts& prompts) {
  RolesOutcome outcome;
  if (const auto warning = SetRoles(data.roles, selection)) {
    prompts.Warning(std::string(*warning));
    return outcome;
  }
  outcome.accepted = true;
  outcome.sorted = SortWithChoice(data.elements, data.roles, kind, data.designations, merge, prompts);
  data.headings.clear();
  ApplyDefaultHeadings(data.headings, data.roles, kind);
  return outcome;
}

ColumnMapping ProposedColumnMapping(const archive::StringList& attribute_names,
                                    const archive::StringMap& headings,
                                    const model::FillParameters& parameters) {
  ColumnMapping mapping;
  mapping.parameters = parameters;
  mapping.rows.reserve(attribute_names.size());
  for (const std::string& name : attribute_names) {
    const auto it = headings.find(name);
    mapping.rows.push_back({name, it != headings.end() ? it->second : std::string()});
  }
  return mapping;
}

void ApplyColumnMapping(const ColumnMapping& mapping, model::DocumentKind kind, archive::StringMap& headings,
                        model::FillParameters& parameters) {
  for (const HeadingRow& row : mapping.rows) {
    if (!Offered(kind, row.title)) {
      throw BadUsage(std::string("В документе этого вида нет колонки \""_cp) + row.title + "\".");
    }
  }
  model::Validate(kind, mapping.parameters);
  headings.clear();
  for (const HeadingRow& row : mapping.rows) headings.insert_or_assign(row.attribute, row.title);
  parameters = mapping.parameters;
}

void JoinAttributes(ComponentList& list, const JoinSpec& spec) {
  if (spec.result.empty()) return;
  const bool any_row = std::any_of(spec.rows.begin(), spec.rows.end(),
                                   [](const JoinRow& row) { return !row.attribute.empty(); });
  if (!any_row) return;
  for (auto& element : list.storage()) {
    std::string running(element->Get(spec.result));
    for (const JoinRow& row : spec.rows) {
      if (row.attribute.empty()) continue;
      const std::string_view value = element->Get(row.attribute);
      if (spec.method == JoinMethod::kLink) {
        running.append(row.text).append(value);
      } else {
        running = ReplaceAll(running, row.text, value);
      }
    }
    element->Set(spec.result, running);
  }
}

}  // namespace tallyform::elements
