#include "app/element_list_session.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <utility>

#include "app/application.h"
#include "app/dbx_reader.h"
#include "app/design_reader.h"
#include "app/fill_workflow.h"
#include "app/value_report.h"
#include "elements/default_headings.h"
#include "model/attributes.h"
#include "model/errors.h"
#include "model/messages.h"
#include "ports/prompts.h"
#include "ports/shell.h"

namespace tallyform::app {
namespace {

// The roles a fill cannot do without: each names an attribute of the list.
bool FillRolesPresent(const model::Roles& roles, const archive::StringList& names) {
  for (std::size_t slot : {model::kRoleDesignator, model::kRoleName, model::kRoleValue}) {
    const std::string& role = roles[slot];
    if (role.empty() || std::find(names.begin(), names.end(), role) == names.end()) return false;
  }
  return true;
}

}  // namespace

ElementListSession::ElementListSession(Application& application, const document::Document& document,
                                       ports::Prompts& prompts, ports::Shell& shell)
    : application_(application),
      prompts_(prompts),
      shell_(shell),
      kind_(document.kind()),
      data_(document.data()),
      parameters_(document.fill_parameters()),
      mismatch_(document.mismatch()),
      sorted_(!document.data().attribute_names.empty()),
      check_(application.NewValueCheck()) {
  // The package role is never stored: it always holds its default.
  data_.roles[model::kRolePackage] = std::string(model::kPattern);
}

std::vector<std::string> ElementListSession::ColumnNames() const {
  std::vector<std::string> names;
  for (const std::string& name : data_.attribute_names) {
    if (name != model::kQuantity) names.push_back(name);
  }
  return names;
}

void ElementListSession::StartHistory() {
  ring_.Clear();
}

bool ElementListSession::Undo() {
  if (!ring_.Undo(data_.elements)) return false;
  sorted_ = false;
  return true;
}

bool ElementListSession::Redo() {
  if (!ring_.Redo(data_.elements)) return false;
  sorted_ = false;
  return true;
}

void ElementListSession::AddElements(ElementSource source, const std::filesystem::path& path, bool append) {
  // Everything is prepared on copies and taken only once the source has been read whole.
  elements::ListData read;
  if (append) {
    read = data_;
  } else {
    read.headings = data_.headings;
  }
  const bool pcad = source == ElementSource::kPcadSchematic || source == ElementSource::kPcadBoard;
  if (source == ElementSource::kAsciiDesign || pcad) {
    const std::string file = elements::FileText(path);
    read.designations.try_emplace(file);
    if (std::optional<archive::StringMap> edited = prompts_.Designations(read.designations)) {
      read.designations = std::move(*edited);
      for (auto& element : read.elements.storage()) {
        const auto it = read.designations.find(std::string(element->Get(model::kFile)));
        element->Set(model::kGoesInto, it != read.designations.end() ? it->second : std::string());
      }
    }
  }
  read.roles = model::DefaultRoles();
  bool mismatch = mismatch_;
  DesignReader reader(application_.kinds(), check_);
  if (pcad) {
    const DbxDesignKind kind =
        source == ElementSource::kPcadBoard ? DbxDesignKind::kBoard : DbxDesignKind::kSchematic;
    if (!ReadDesignThroughDbx(application_.dbx(), prompts_, application_.kinds(), check_, path, kind, append,
                              read, mismatch)) {
      return;
    }
  } else if (source == ElementSource::kAsciiDesign) {
    reader.ReadFile(path, append, read, mismatch);
  } else {
    reader.ReadSavedFile(path, append, read, mismatch);
  }

  if (append) {
    ring_.Push(std::move(data_.elements));  // the list before the read, kept for undo
  } else {
    StartHistory();
  }
  data_ = std::move(read);
  mismatch_ = mismatch;
  read_ = true;
  sorted_ = false;
  if (mismatch_ && prompts_.WarningQuestion(model::FileMismatchQuestion())) ShowReport();
  if (data_.headings.empty()) elements::ApplyDefaultHeadings(data_.headings, data_.roles, kind_);
}

void ElementListSession::SetDesignations(archive::StringMap designations) {
  data_.designations = std::move(designations);
  for (auto& element : data_.elements.storage()) {
    const auto it = data_.designations.find(std::string(element->Get(model::kFile)));
    element->Set(model::kGoesInto, it != data_.designations.end() ? it->second : std::string());
  }
}

std::vector<KindRow> ElementListSession::KindRows() const {
  std::vector<KindRow> rows;
  for (const std::string& code : data_.prefixes) {
    KindRow row{code, {}, {}};
    if (const model::CElementName* kind = application_.kinds().Find(code)) {
      row.singular = kind->singular;
      row.plural = kind->plural;
    }
    // Before the first row whose code is greater, by bytes: equal codes keep their order.
    const auto at = std::upper_bound(rows.begin(), rows.end(), row, [](const KindRow& a, const KindRow& b) {
      return std::string_view(a.code) < std::string_view(b.code);
    });
    rows.insert(at, std::move(row));
  }
  return rows;
}

void ElementListSession::SetKinds(const std::vector<KindRow>& rows) {
  model::ElementKinds& kinds = application_.kinds();
  for (const KindRow& row : rows) {
    // A row left without names would blank the kind and hide the shorter prefixes it falls back to.
    if (row.singular.empty() && row.plural.empty()) continue;
    kinds.Set(row.code, row.plural, row.singular);
  }
  try {
    kinds.Save(application_.ElementNamesPath());
  } catch (const UnreadableFile& e) {
    prompts_.Warning(e.message());
  }
  const std::string& designator = data_.roles[model::kRoleDesignator];
  for (auto& element : data_.elements.storage()) {
    const model::CElementName* kind = kinds.Find(model::DesignatorPrefix(element->Get(designator)));
    if (kind != nullptr && !kind->plural.empty() && element->Get(model::kGroup) != kind->plural) {
      element->Set(model::kGroup, kind->plural);
    }
  }
}

elements::RoleSelection ElementListSession::ProposedRoles() const {
  return elements::ProposedRoles(data_.roles, data_.attribute_names);
}

bool ElementListSession::AcceptRoles(const elements::RoleSelection& selection) {
  const elements::RolesOutcome outcome = elements::AcceptRoles(data_, kind_, selection, merge_, prompts_);
  if (outcome.sorted) sorted_ = true;
  return outcome.accepted;
}

elements::ColumnMapping ElementListSession::ProposedMapping() const {
  return elements::ProposedColumnMapping(data_.attribute_names, data_.headings, parameters_);
}

std::vector<std::string> ElementListSession::OfferedTitles() const {
  std::vector<std::string> titles;
  for (std::string_view title : elements::OfferedHeadings(kind_)) titles.emplace_back(title);
  return titles;
}

void ElementListSession::SetMapping(const elements::ColumnMapping& mapping) {
  elements::ApplyColumnMapping(mapping, kind_, data_.headings, parameters_);
}

void ElementListSession::Join(const elements::JoinSpec& spec) {
  elements::ComponentList before = data_.elements;
  elements::JoinAttributes(data_.elements, spec);
  ring_.Push(std::move(before));
}

void ElementListSession::Sort() {
  if (elements::SortWithChoice(data_.elements, data_.roles, kind_, data_.designations, merge_, prompts_)) {
    sorted_ = true;
  }
}

void ElementListSession::ShowReport() {
  if (read_) {
    valuecheck::ShowReport(shell_, check_);
    return;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(application_.report_path(), error)) {
    prompts_.Information(std::string(kNoReportYet));
    return;
  }
  shell_.Open(application_.report_path());
}

FillActionEnd ElementListSession::FillAction() {
  if (data_.elements.empty()) return FillActionEnd::kClose;
  FillDialogs dialogs;
  dialogs.roles = [this](elements::ListData& data, elements::MergeChoice& merge, bool& sorted) {
    elements::RoleSelection shown = elements::ProposedRoles(data.roles, data.attribute_names);
    while (std::optional<elements::RoleSelection> chosen = prompts_.RoleChoice(shown, data.attribute_names)) {
      const elements::RolesOutcome outcome = elements::AcceptRoles(data, kind_, *chosen, merge, prompts_);
      if (outcome.accepted) {
        sorted = outcome.sorted || sorted;
        break;
      }
      shown = *chosen;  // the dialog stays open as the user left it
    }
    // Without a designator, a name or a value there is nothing to fill: back to the window.
    return FillRolesPresent(data.roles, data.attribute_names);
  };
  dialogs.mapping = [this](elements::ColumnMapping proposed) {
    return prompts_.Mapping(proposed, OfferedTitles());
  };
  if (!PrepareFill(kind_, data_, parameters_, sorted_, merge_, dialogs, prompts_)) {
    return FillActionEnd::kBackToWindow;
  }
  return FillActionEnd::kFill;
}

FillHandOver ElementListSession::HandOver() const {
  return FillHandOver{data_, parameters_, merge_};
}

}  // namespace tallyform::app
