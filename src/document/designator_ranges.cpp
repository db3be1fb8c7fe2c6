#include "document/designator_ranges.h"

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text/case_fold.h"
#include "text/numbers.h"

namespace tallyform::document {
namespace {

using elements::Element;
using model::Roles;

bool Joinable(const Element& a, const Element& b, const model::Roles& roles, bool same_unit_only) {
  if (same_unit_only && a.Get(model::kGoesInto) != b.Get(model::kGoesInto)) return false;
  const std::string_view role_designator = roles[model::kRoleDesignator];
  if (model::DesignatorPrefix(a.Get(role_designator)) != model::DesignatorPrefix(b.Get(role_designator))) {
    return false;
  }
  for (int slot : {model::kRoleName, model::kRoleValue, model::kRolePackage}) {
    const std::string_view name = roles[static_cast<std::size_t>(slot)];
    if (!text::EqualNoCase(a.Get(name), b.Get(name))) return false;
  }
  return true;
}

// The designator of the first element of a run after the next one is joined to it: the first designator
// stays and the newest replaces whatever followed it.
std::string JoinedDesignator(std::string_view first, std::string_view next) {
  std::size_t cut = first.find(", ");
  if (cut == std::string_view::npos) cut = first.find("...");
  std::string joined;
  if (cut == std::string_view::npos) {
    joined.reserve(first.size() + 2 + next.size());
    joined.append(first).append(", ").append(next);
  } else {
    joined.reserve(cut + 3 + next.size());
    joined.append(first.substr(0, cut)).append("...").append(next);
  }
  return joined;
}

// The case-folded name, value, package and unit of an item, each with its length in front, so that no two
// different tuples give the same key.
std::string MergeKey(const Element& e, const model::Roles& roles) {
  std::string key;
  const std::string_view parts[] = {e.Get(roles[model::kRoleName]), e.Get(roles[model::kRoleValue]),
                                    e.Get(roles[model::kRolePackage]), e.Get(model::kGoesInto)};
  for (std::string_view part : parts) {
    key.append(std::to_string(part.size())).push_back(':');
    key.append(text::Fold(part));
  }
  return key;
}

}  // namespace

void JoinDesignators(elements::ComponentList& list, const model::Roles& roles, bool same_unit_only) {
  auto& items = list.storage();
  if (items.size() < 2) return;
  const std::string_view role_designator = roles[model::kRoleDesignator];
  // `kept` is the element every following one is compared with; joined elements are dropped, the others
  // move down behind it.
  std::size_t kept = 0;
  for (std::size_t next = 1; next < items.size(); ++next) {
    Element& a = *items[kept];
    const Element& b = *items[next];
    if (Joinable(a, b, roles, same_unit_only)) {
      a.Set(role_designator, JoinedDesignator(a.Get(role_designator), b.Get(role_designator)));
      a.Set(model::kQuantity, text::FormatD(static_cast<long long>(text::Atoi(a.Get(model::kQuantity))) + 1));
      items[next].reset();
    } else {
      ++kept;
      if (kept != next) items[kept] = std::move(items[next]);
    }
  }
  items.resize(kept + 1);
}

void OrderAndMergePurchased(elements::ComponentList& list, const model::Roles& roles) {
  auto& items = list.storage();
  const std::string_view role_name = roles[model::kRoleName];

  // Within each run of equal "Group", a stable sort by the folded name: byte order of folded texts is the
  // order of CompareNoCase.
  std::vector<std::pair<std::string, std::unique_ptr<Element>>> run;
  for (std::size_t start = 0; start < items.size();) {
    const std::string_view group = items[start]->Get(model::kGroup);
    std::size_t end = start + 1;
    while (end < items.size() && items[end]->Get(model::kGroup) == group) ++end;
    if (end - start > 1) {
      run.clear();
      for (std::size_t i = start; i < end; ++i) {
        std::string folded = text::Fold(items[i]->Get(role_name));
        run.emplace_back(std::move(folded), std::move(items[i]));
      }
      std::stable_sort(run.begin(), run.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      for (std::size_t i = start; i < end; ++i) items[i] = std::move(run[i - start].second);
    }
    start = end;
  }

  // Every item goes into the first earlier item with its key; the earlier items that survive have
  // pairwise different keys, so the first with the key is the one remembered.
  const std::string_view role_designator = roles[model::kRoleDesignator];
  std::unordered_map<std::string, std::size_t> first_with_key;
  first_with_key.reserve(items.size());
  std::size_t kept = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto [found, inserted] = first_with_key.try_emplace(MergeKey(*items[i], roles), kept);
    if (inserted) {
      if (kept != i) items[kept] = std::move(items[i]);
      ++kept;
      continue;
    }
    Element& f = *items[found->second];
    const Element& e = *items[i];
    std::string designator(f.Get(role_designator));
    designator.append(", ").append(e.Get(role_designator));
    f.Set(role_designator, designator);
    const long long quantity =
        static_cast<long long>(text::Atoi(f.Get(model::kQuantity))) + text::Atoi(e.Get(model::kQuantity));
    f.Set(model::kQuantity, text::FormatD(quantity));
    items[i].reset();
  }
  items.resize(kept);
}

void CountGroupRows(elements::ComponentList& list) {
  auto& items = list.storage();
  const std::size_t count = items.size();
  if (count < 2) return;
  for (std::size_t i = 0;;) {
    Element& a = *items[i];
    const std::string_view group = a.Get(model::kGroup);
    std::size_t j = i + 1;
    while (j < count && items[j]->Get(model::kGroup) == group) ++j;
    if (j - i > 1) {
      // A run of one keeps its text as it is, even when that is no number.
      const long long rows =
          static_cast<long long>(text::Atoi(a.Get(model::kRowsInGroup))) + static_cast<long long>(j - i - 1);
      const std::string rows_text = text::FormatD(rows);
      for (std::size_t k = i; k < j; ++k) items[k]->Set(model::kRowsInGroup, rows_text);
    }
    if (j >= count - 1) break;
    i = j;
  }
}

}  // namespace tallyform::document
