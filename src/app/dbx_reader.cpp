#include "app/dbx_reader.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "elements/ascii_reader.h"
#include "elements/list_data.h"
#include "elements/value_normalization.h"
#include "model/attributes.h"
#include "model/element_kinds.h"
#include "model/platform.h"
#include "pcad/dbx_status.h"
#include "ports/dbx.h"
#include "ports/prompts.h"
#include "text/literal.h"
#include "valuecheck/value_check.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;

void AddName(archive::StringList& names, std::string_view name) {
  if (std::find(names.begin(), names.end(), name) == names.end()) names.emplace_back(name);
}

// Opens the design; false (the status shown) when it cannot be.
bool Open(ports::Dbx& dbx, ports::Prompts& prompts, const std::string& design, ports::DbxHandle& handle) {
  const std::int32_t status = dbx.OpenDesign(ports::kDbxVersion, design, handle);
  if (pcad::DbxOpened(status)) return true;
  pcad::ShowDbxStatus(prompts, status);
  return false;
}

// Walks the components that are elements (designators not beginning with a digit) and their attributes.
template <typename OnComponent>
void WalkComponents(ports::Dbx& dbx, ports::DbxHandle handle, OnComponent on_component) {
  ports::DbxComponent component;
  for (auto status = dbx.GetFirstComponent(handle, component); status == 0;
       status = dbx.GetNextComponent(handle, component)) {
    if (model::BeginsWithDigit(component.designator)) continue;
    std::vector<ports::DbxAttribute> attributes;
    ports::DbxAttribute attribute;
    for (auto a = dbx.GetFirstCompAttribute(handle, component.designator, attribute); a == 0;
         a = dbx.GetNextCompAttribute(handle, attribute)) {
      attributes.push_back(attribute);
    }
    on_component(component, attributes);
  }
}

}  // namespace

std::string DbxCloseQuestion(const std::filesystem::path& path) {
  return std::string("Программа завершила работу с файлом P-CAD "_cp) + model::PathText(path) + ".\r\n" +
         std::string("Закрыть файл?"_cp);
}

bool ReadDesignThroughDbx(ports::Dbx& dbx, ports::Prompts& prompts, const model::ElementKinds& kinds,
                          valuecheck::ValueCheck& check, const std::filesystem::path& path,
                          DbxDesignKind kind, bool append, elements::ListData& data, bool& mismatch) {
  const std::string design = (kind == DbxDesignKind::kBoard ? "pcb:" : "sch:") + model::Utf8FromPath(path);
  const std::string& value_role = data.roles[model::kRoleValue];
  const std::string& package_role = data.roles[model::kRolePackage];

  // Pass 1: the attribute names.
  ports::DbxHandle handle = 0;
  if (!Open(dbx, prompts, design, handle)) return false;
  archive::StringList names = append ? data.attribute_names : archive::StringList{};
  WalkComponents(dbx, handle,
                 [&](const ports::DbxComponent&, const std::vector<ports::DbxAttribute>& attributes) {
                   for (const ports::DbxAttribute& attribute : attributes) {
                     if (std::find(names.begin(), names.end(), attribute.name) != names.end()) continue;
                     names.push_back(attribute.name);
                     if (attribute.name == value_role && !package_role.empty()) AddName(names, package_role);
                   }
                 });
  AddName(names, model::kQuantity);
  AddName(names, model::kGoesInto);
  if (const std::int32_t closed = dbx.CloseDesign(handle, ""); closed != 0)
    pcad::ShowDbxStatus(prompts, closed);

  // Pass 2: the elements.
  if (!Open(dbx, prompts, design, handle)) return false;
  valuecheck::ReportRun run(check);
  if (!append) {
    check.ClearReport();
    check.DeleteReportFile();
  }
  const std::string file = elements::FileText(path);
  std::string goes_into;
  if (auto it = data.designations.find(file); it != data.designations.end()) goes_into = it->second;
  archive::StringList prefixes = append ? data.prefixes : archive::StringList{};
  elements::ComponentList read;
  bool failed = false;
  WalkComponents(
      dbx, handle,
      [&](const ports::DbxComponent& component, const std::vector<ports::DbxAttribute>& attributes) {
        const std::string& designator = component.designator;
        auto element = std::make_unique<elements::Element>();
        for (const ports::DbxAttribute& attribute : attributes) {
          if (attribute.name == model::kValue) {
            element->Set(attribute.name, elements::NormalizeValue(designator.front(), attribute.value));
          } else {
            element->Set(attribute.name, attribute.value);
          }
        }
        if (!package_role.empty()) element->Set(package_role, component.pattern_name);
        element->Set(model::kQuantity, "1");
        element->Set(model::kFile, file);
        element->Set(model::kGoesInto, goes_into);
        element->Set(model::kGroup, kinds.PluralName(designator));
        element->Set(model::kRowsInGroup, "1");
        const std::string_view prefix = model::DesignatorPrefix(designator);
        AddName(prefixes, prefix);
        if (const auto cls = valuecheck::CheckedClass(designator);
            cls && !check.Check(*cls, std::string(element->Get(model::kRefDes)),
                                std::string(element->Get(model::kType)),
                                std::string(element->Get(model::kValue)), file)) {
          failed = true;
        }
        read.Append(std::move(element));
      });

  if (append) {
    data.elements.AppendList(std::move(read));
  } else {
    data.elements = std::move(read);
    mismatch = false;
  }
  data.attribute_names = std::move(names);
  data.prefixes = std::move(prefixes);
  if (failed) mismatch = true;

  const bool close_file = prompts.TitledQuestion(std::string("Вопрос"_cp), DbxCloseQuestion(path));
  if (const std::int32_t closed = dbx.CloseDesign(handle, close_file ? "FileClose" : ""); closed != 0) {
    pcad::ShowDbxStatus(prompts, closed);
  }
  return true;
}

}  // namespace tallyform::app
