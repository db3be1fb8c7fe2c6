#include "elements/element.h"

#include <algorithm>

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

bool Element::Remove(std::string_view name) {
  auto it = std::find_if(pairs_.begin(), pairs_.end(), [&](const Pair& p) { return p.first == name; });
  if (it == pairs_.end()) return false;
  pairs_.erase(it);
  return true;
}

}  // namespace tallyform::elements
