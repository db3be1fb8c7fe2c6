#include "elements/element.h"

#include <algorithm>
#include <unordered_map>

namespace tallyform::elements {

// Elements hold about ten attributes, so a linear scan beats any hashed or ordered map here.
const std::string* Element::Find(std::string_view name) const {
  for (const auto& [key, value] : pairs_) {
    if (key == name) return &value;
  }
  return nullptr;
}

std::string_view Element::Get(std::string_view name) const {
  const std::string* value = Find(name);
  return value ? std::string_view(*value) : std::string_view();
}

void Element::Set(std::string_view name, std::string_view value) {
  for (auto& [key, old] : pairs_) {
    if (key == name) {
      old.assign(value);
      return;
    }
  }
  pairs_.emplace_back(std::string(name), std::string(value));
}

void Element::Set(std::string&& name, std::string&& value) {
  for (auto& [key, old] : pairs_) {
    if (key == name) {
      old = std::move(value);
      return;
    }
  }
  pairs_.emplace_back(std::move(name), std::move(value));
}

void Element::SetAll(std::vector<Pair>&& pairs) {
  // Reserving first keeps the names in place, so the index may hold views of them.
  pairs_.reserve(pairs_.size() + pairs.size());
  std::unordered_map<std::string_view, std::size_t> place;
  place.reserve(pairs_.size() + pairs.size());
  for (std::size_t i = 0; i < pairs_.size(); ++i) place.emplace(pairs_[i].first, i);
  for (auto& [name, value] : pairs) {
    auto it = place.find(name);
    if (it != place.end()) {
      pairs_[it->second].second = std::move(value);
    } else {
      pairs_.emplace_back(std::move(name), std::move(value));
      place.emplace(pairs_.back().first, pairs_.size() - 1);
    }
  }
}

bool Element::Remove(std::string_view name) {
  auto it = std::find_if(pairs_.begin(), pairs_.end(), [&](const Pair& p) { return p.first == name; });
  if (it == pairs_.end()) return false;
  pairs_.erase(it);
  return true;
}

}  // namespace tallyform::elements
