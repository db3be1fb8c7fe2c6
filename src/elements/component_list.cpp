#include "elements/component_list.h"

#include "archive/archive.h"
#include "model/errors.h"
#include "model/messages.h"

namespace tallyform::elements {

std::unique_ptr<Element> ComponentList::Replace(std::size_t i, std::unique_ptr<Element> element) {
  elements_[i].swap(element);
  return element;
}

void ComponentList::Insert(std::size_t i, std::unique_ptr<Element> element) {
  elements_.insert(elements_.begin() + static_cast<std::ptrdiff_t>(i), std::move(element));
}

std::vector<std::unique_ptr<Element>> ComponentList::Remove(std::size_t i, std::size_t n) {
  auto first = elements_.begin() + static_cast<std::ptrdiff_t>(i);
  auto last = first + static_cast<std::ptrdiff_t>(n);
  std::vector<std::unique_ptr<Element>> removed(std::make_move_iterator(first),
                                                std::make_move_iterator(last));
  elements_.erase(first, last);
  return removed;
}

void ComponentList::AppendList(ComponentList&& other) {
  elements_.reserve(elements_.size() + other.elements_.size());
  for (auto& e : other.elements_) elements_.push_back(std::move(e));
  other.elements_.clear();
}

void ComponentList::CopyFrom(const ComponentList& other) {
  std::vector<std::unique_ptr<Element>> copy;
  copy.reserve(other.elements_.size());
  for (const auto& e : other.elements_) copy.push_back(std::make_unique<Element>(*e));
  elements_ = std::move(copy);
}

bool operator==(const ComponentList& a, const ComponentList& b) {
  if (a.count() != b.count()) return false;
  for (std::size_t i = 0; i < a.count(); ++i) {
    if (!(a.at(i) == b.at(i))) return false;
  }
  return true;
}

void SerializeElement(archive::ArchiveWriter& ar, const Element& element) {
  ar.WriteCount(static_cast<std::uint32_t>(element.size()));
  for (const auto& [name, value] : element.pairs()) {
    ar.WriteString(name);
    ar.WriteString(value);
  }
}

void DeserializeElement(archive::ArchiveReader& ar, Element& element) {
  // Each pair takes at least two length bytes.
  std::uint32_t n = ar.ReadCount(2);
  std::vector<Element::Pair> pairs;
  pairs.reserve(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    std::string name = ar.ReadString();
    pairs.emplace_back(std::move(name), ar.ReadString());
  }
  element.SetAll(std::move(pairs));
}

void ComponentList::Serialize(archive::ArchiveWriter& ar) const {
  ar.WriteCount(static_cast<std::uint32_t>(elements_.size()));
  for (const auto& e : elements_) {
    ar.WriteObjectTag(archive::kStringMap);
    SerializeElement(ar, *e);
  }
}

namespace {
// About the bytes an element's copy occupies, for bounding what references may copy.
std::size_t CopyWeight(const Element& element) {
  std::size_t weight = 1;
  for (const auto& [name, value] : element.pairs()) weight += name.size() + value.size() + 2;
  return weight;
}
}  // namespace

void ComponentList::Deserialize(archive::ArchiveReader& ar) {
  // An element takes at least its two-byte tag: a reference to an earlier element has no data of its own.
  std::uint32_t n = ar.ReadCount(2);
  std::vector<std::unique_ptr<Element>> read;
  read.reserve(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    archive::ObjectTag tag = ar.ReadObjectTag({archive::kStringMap});
    auto element = std::make_unique<Element>();
    switch (tag.kind) {
      case archive::ObjectTag::Kind::kNull:
        throw DamagedFile(std::string(model::kDamagedArchive));
      case archive::ObjectTag::Kind::kNew:
        DeserializeElement(ar, *element);
        ar.RegisterObject(tag.object_index, element.get());
        break;
      case archive::ObjectTag::Kind::kReference: {
        // The list owns its elements, so an element named twice becomes two equal elements.
        const auto& referenced = *static_cast<const Element*>(ar.ReferencedObject(tag.object_index));
        ar.ChargeCopy(CopyWeight(referenced));
        *element = referenced;
        break;
      }
    }
    read.push_back(std::move(element));
  }
  for (auto& e : read) elements_.push_back(std::move(e));
}

}  // namespace tallyform::elements
