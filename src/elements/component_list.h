#pragma once
// The element list (CComponentList): the ordered, owned elements of one or more designs.

#include <cstddef>
#include <memory>
#include <vector>

#include "elements/element.h"

namespace tallyform::archive {
class ArchiveReader;
class ArchiveWriter;
}  // namespace tallyform::archive

namespace tallyform::elements {

class ComponentList {
 public:
  ComponentList() = default;
  ComponentList(const ComponentList& other) { CopyFrom(other); }
  ComponentList& operator=(const ComponentList& other) {
    if (this != &other) CopyFrom(other);
    return *this;
  }
  ComponentList(ComponentList&&) noexcept = default;
  ComponentList& operator=(ComponentList&&) noexcept = default;

  std::size_t count() const { return elements_.size(); }
  bool empty() const { return elements_.empty(); }
  Element& at(std::size_t i) { return *elements_[i]; }
  const Element& at(std::size_t i) const { return *elements_[i]; }

  /// Stores another element at the index and hands back the one that was there.
  std::unique_ptr<Element> Replace(std::size_t i, std::unique_ptr<Element> element);
  /// Inserts before the index (index = count appends).
  void Insert(std::size_t i, std::unique_ptr<Element> element);
  void Append(std::unique_ptr<Element> element) { elements_.push_back(std::move(element)); }
  /// Removes `n` elements from the index and hands them to the caller.
  std::vector<std::unique_ptr<Element>> Remove(std::size_t i, std::size_t n = 1);
  /// Moves every element of the other list to the end of this one.
  void AppendList(ComponentList&& other);
  void Clear() { elements_.clear(); }
  /// Clears this list, then appends a deep copy of every element of the other list, in order.
  void CopyFrom(const ComponentList& other);

  /// Direct access for algorithms that reorder the list (sorting, merging).
  std::vector<std::unique_ptr<Element>>& storage() { return elements_; }
  const std::vector<std::unique_ptr<Element>>& storage() const { return elements_; }

  /// The element count, then each element as an object of class CMapStringToString.
  void Serialize(archive::ArchiveWriter& ar) const;
  /// Reads the layout Serialize writes and appends the elements read; throws DamagedFile.
  void Deserialize(archive::ArchiveReader& ar);

  friend bool operator==(const ComponentList& a, const ComponentList& b);

 private:
  std::vector<std::unique_ptr<Element>> elements_;
};

/// Writes one element: its pair count, then each name and value string.
void SerializeElement(archive::ArchiveWriter& ar, const Element& element);
/// Reads one element's pairs into `element`.
void DeserializeElement(archive::ArchiveReader& ar, Element& element);

}  // namespace tallyform::elements
