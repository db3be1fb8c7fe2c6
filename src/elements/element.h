#pragma once
// One element: the named text attributes of one component, as the design carries them.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallyform::elements {

/// Attribute name to attribute value, both code page 1251 text. Names compare byte for byte and occur at
/// most once; pairs keep the order in which they were first set.
class Element {
 public:
  using Pair = std::pair<std::string, std::string>;

  /// The value of the attribute, or nullptr when the element lacks it.
  const std::string* Find(std::string_view name) const;
  /// The value of the attribute; an absent attribute reads as the empty text.
  std::string_view Get(std::string_view name) const;
  bool Has(std::string_view name) const { return Find(name) != nullptr; }
  /// Sets the attribute, replacing the value of an existing one.
  void Set(std::string_view name, std::string_view value);
  void Set(std::string&& name, std::string&& value);
  /// Literal pairs would otherwise fit both overloads above equally well.
  void Set(const char* name, const char* value) { Set(std::string_view(name), std::string_view(value)); }
  /// Sets every pair, in order, as Set does, but in time linear in the number of pairs (for elements read
  /// from files, which may hold any number of them).
  void SetAll(std::vector<Pair>&& pairs);
  /// Removes the attribute; false when it was absent.
  bool Remove(std::string_view name);

  std::size_t size() const { return pairs_.size(); }
  const std::vector<Pair>& pairs() const { return pairs_; }
  void Reserve(std::size_t n) { pairs_.reserve(n); }

  friend bool operator==(const Element&, const Element&) = default;

 private:
  std::vector<Pair> pairs_;
};

}  // namespace tallyform::elements
